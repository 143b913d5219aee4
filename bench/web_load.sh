#!/usr/bin/env bash
# Load test of the web server beside nginx, run by hand (not by CI):
#   bench/web_load.sh [seconds] [connections]
# Builds the server in Release, starts it on a free loopback port with a
# fresh data folder, and runs wrk (keep-alive connections, one session
# cookie as a browser keeps it) against a small template page
# ("/AdminIndex.html"), "/admin.css" and the class teacher's home page
# ("/ShowClass.html") of the large meet of bench/open_meet_bench.cpp (3,000
# athletes); then nginx serves files of the same bytes on another port and
# gets the same runs. Needs wrk and nginx
# (apt-get install wrk nginx).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
connections=${2:-100}
threads=4
for tool in wrk nginx curl; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install wrk nginx curl)" >&2; exit 1; }
done

cmake -S . -B build/bench-web -DCMAKE_BUILD_TYPE=Release -DKORVA_TESTS=ON >/dev/null
cmake --build build/bench-web -j4 --target korva_test_server >build/bench-web/build.log 2>&1 || { tail -20 build/bench-web/build.log >&2; exit 1; }

work=$(mktemp -d)
server_pid=""
nginx_started=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$nginx_started" ] && nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -s stop 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The server prints "port=<n>" and "ready"; its standard input stays open
# through the fifo until the end.
# The large meet's SQL, as the open-meet benchmark holds it.
sed -n '/R"sql(/,/)sql"/p' bench/open_meet_bench.cpp | sed '1d;$d' >"$work/large_meet.sql"
mkfifo "$work/stdin"
build/bench-web/tests/korva_test_server --meet "$work/large_meet.sql" <"$work/stdin" >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
exec 3>"$work/stdin"
for _ in $(seq 100); do grep -q ready "$work/server.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^port=//p' "$work/server.out")
[ -n "$port" ] || { echo "server did not start" >&2; cat "$work/server.err" >&2; exit 1; }

cookie=$(curl -si "http://127.0.0.1:$port/AdminIndex.html" | sed -n 's/^Set-Cookie: session=brimly\([0-9]*\)E.*/session=brimly\1E; site=brimly\1E/p' | tr -d '\r')
curl -s -H "Cookie: $cookie" "http://127.0.0.1:$port/AdminIndex.html" >"$work/page.html"
curl -s -H "Cookie: $cookie" "http://127.0.0.1:$port/admin.css" >"$work/admin.css"
# The teacher of class 1 (50 of the 3,000 athletes).
# Signing in gives the session a new number: the one of the login's answer.
teacher=$(curl -si "http://127.0.0.1:$port/" | sed -n 's/^Set-Cookie: session=brimly\([0-9]*\)E.*/session=brimly\1E; site=brimly\1E/p' | tr -d '\r')
teacher=$(curl -si -H "Cookie: $teacher" --data "BanJi=1&PassWord=9352" "http://127.0.0.1:$port/index.html" |
  sed -n 's/^Set-Cookie: session=brimly\([0-9]*\)E.*/session=brimly\1E; site=brimly\1E/p' | tr -d '\r')
curl -s -H "Cookie: $teacher" "http://127.0.0.1:$port/ShowClass.html" >"$work/class.html"
iconv -f GBK -t UTF-8 "$work/class.html" | grep -q "运动员0000" || { echo "the class home page did not come" >&2; exit 1; }

# nginx with the same bodies, one worker per core, no access log.
mkdir -p "$work/nginx/html" "$work/nginx/logs"
cp "$work/page.html" "$work/admin.css" "$work/class.html" "$work/nginx/html/"
nginx_port=$((port + 1))
while curl -s "http://127.0.0.1:$nginx_port/" >/dev/null 2>&1; do nginx_port=$((nginx_port + 1)); done
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  keepalive_requests 1000000;
  client_body_temp_path $work/nginx/tmp;
  proxy_temp_path $work/nginx/tmp;
  fastcgi_temp_path $work/nginx/tmp;
  uwsgi_temp_path $work/nginx/tmp;
  scgi_temp_path $work/nginx/tmp;
  types { text/html html; text/css css; }
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/nginx/html;
  }
}
CONF
chmod -R a+rX "$work"  # the workers run as an unprivileged user
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf"
nginx_started=1
sleep 0.3

run() {  # name url [cookie]
  local out
  if [ -n "${3:-}" ]; then
    out=$(wrk -t$threads -c"$connections" -d"${seconds}s" --latency -H "Cookie: $3" "$2")
  else
    out=$(wrk -t$threads -c"$connections" -d"${seconds}s" --latency "$2")
  fi
  local rate p99 errors
  rate=$(echo "$out" | awk '/Requests\/sec/ {print $2}')
  p99=$(echo "$out" | awk '$1 == "99%" {print $2}')
  errors=$(echo "$out" | grep -E "Non-2xx|Socket errors" | tr '\n' ' ' || true)
  printf "%-28s %12s req/s   p99 %8s   %s\n" "$1" "$rate" "$p99" "$errors"
}

echo "wrk: $threads threads, $connections keep-alive connections, ${seconds}s each; page $(wc -c <"$work/page.html") bytes, css $(wc -c <"$work/admin.css") bytes"
run "korva /AdminIndex.html" "http://127.0.0.1:$port/AdminIndex.html" "$cookie"
run "nginx page.html" "http://127.0.0.1:$nginx_port/page.html"
run "korva /admin.css" "http://127.0.0.1:$port/admin.css" "$cookie"
run "nginx admin.css" "http://127.0.0.1:$nginx_port/admin.css"
echo "class home page $(wc -c <"$work/class.html") bytes"
run "korva /ShowClass.html" "http://127.0.0.1:$port/ShowClass.html" "$teacher"
run "nginx class.html" "http://127.0.0.1:$nginx_port/class.html"
