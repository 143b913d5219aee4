#!/usr/bin/env bash
# Load test of the results board's feeds beside nginx, run by hand (not by
# CI):
#   bench/board_load.sh [seconds] [connections]
# Builds the server in Release and starts it with the large meet of
# bench/large_meet.h, scored by bench/large_meet_scored.sql (3,000
# athletes, about 380 counted rounds in the print queue). wrk (keep-alive
# connections, no cookie, as a board polls) then asks for the result feed
# as a board that has seen all but the newest table, as an idle board that
# has seen everything, and for the points feed of the school and of one
# grade; nginx serves files of the same bytes on another port in the same
# run. Meanwhile a clerk counts the one open final, and the feed must hold
# its table at the first poll after the counting upload's reply. Needs wrk
# and nginx (apt-get install wrk nginx).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
connections=${2:-500}
threads=4
for tool in wrk nginx curl iconv python3; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install wrk nginx curl)" >&2; exit 1; }
done

cmake -S . -B build/bench-board -DCMAKE_BUILD_TYPE=Release -DKORVA_TESTS=ON >/dev/null
cmake --build build/bench-board -j4 --target korva_test_server >build/bench-board/build.log 2>&1 ||
  { tail -20 build/bench-board/build.log >&2; exit 1; }

work=$(mktemp -d)
server_pid=""
nginx_started=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$nginx_started" ] && nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -s stop 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

sed -n '/kLargeMeetSql = R"sql(/,/)sql";/p' bench/large_meet.h | sed '1d;$d' >"$work/large_meet.sql"
mkfifo "$work/stdin"
build/bench-board/tests/korva_test_server --meet "$work/large_meet.sql" --meet bench/large_meet_scored.sql \
  <"$work/stdin" >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
exec 3>"$work/stdin"
for _ in $(seq 300); do grep -q ready "$work/server.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^port=//p' "$work/server.out")
password=$(sed -n 's/^password=//p' "$work/server.out")
[ -n "$port" ] || { echo "server did not start" >&2; cat "$work/server.err" >&2; exit 1; }
base="http://127.0.0.1:$port"

# The queue's newest number, from a fresh board's first poll of one grade.
newest=$(curl -s "$base/GetPbDate.html?CjNo=0&ClassId=1" | sed -n 's/.*id="NowID" type="hidden" value="\([0-9]*\)".*/\1/p' | head -1)
[ -n "$newest" ] || { echo "the result feed gave no table" >&2; exit 1; }
one_new="/GetPbDate.html?CjNo=$((newest - 1))&ClassId=0"
idle="/GetPbDate.html?CjNo=$newest&ClassId=0"
school="/GetPbDate2.html?GradeId=0&ClassId=0"
grade="/GetPbDate2.html?GradeId=1&ClassId=0"

# nginx with the same bodies, one worker per core, no access log.
mkdir -p "$work/nginx/html" "$work/nginx/logs" "$work/nginx/tmp"
curl -s "$base$one_new" >"$work/nginx/html/one_new.html"
curl -s "$base$idle" >"$work/nginx/html/idle.html"
curl -s "$base$school" >"$work/nginx/html/school.html"
curl -s "$base$grade" >"$work/nginx/html/grade.html"
iconv -f GBK -t UTF-8 "$work/nginx/html/grade.html" | grep -q "风&nbsp;云&nbsp;榜" || { echo "no points board" >&2; exit 1; }
nginx_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 2048; }
http {
  access_log off;
  keepalive_requests 1000000;
  client_body_temp_path $work/nginx/tmp;
  proxy_temp_path $work/nginx/tmp;
  fastcgi_temp_path $work/nginx/tmp;
  uwsgi_temp_path $work/nginx/tmp;
  scgi_temp_path $work/nginx/tmp;
  types { text/html html; }
  server {
    listen 127.0.0.1:$nginx_port backlog=4096;
    root $work/nginx/html;
  }
}
CONF
chmod -R a+rX "$work"  # the workers run as an unprivileged user
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf"
nginx_started=1
sleep 0.3

run() {  # name url
  local out rate p99 errors
  out=$(wrk -t$threads -c"$connections" -d"${seconds}s" --latency "$2")
  rate=$(echo "$out" | awk '/Requests\/sec/ {print $2}')
  p99=$(echo "$out" | awk '$1 == "99%" {print $2}')
  errors=$(echo "$out" | grep -E "Non-2xx|Socket errors" | tr '\n' ' ' || true)
  printf "%-34s %12s req/s   p99 %8s   %s\n" "$1" "$rate" "$p99" "$errors"
}

echo "wrk: $threads threads, $connections keep-alive connections, ${seconds}s each"
echo "result feed, one new table: $(wc -c <"$work/nginx/html/one_new.html") bytes"
run "korva GetPbDate.html (one new)" "$base$one_new"
run "nginx one_new.html" "http://127.0.0.1:$nginx_port/one_new.html"
echo "result feed, nothing new: $(wc -c <"$work/nginx/html/idle.html") bytes"
run "korva GetPbDate.html (idle)" "$base$idle"
run "nginx idle.html" "http://127.0.0.1:$nginx_port/idle.html"
echo "points feed, whole school: $(wc -c <"$work/nginx/html/school.html") bytes"
run "korva GetPbDate2.html (school)" "$base$school"
run "nginx school.html" "http://127.0.0.1:$nginx_port/school.html"
echo "points feed, one grade: $(wc -c <"$work/nginx/html/grade.html") bytes"
run "korva GetPbDate2.html (grade)" "$base$grade"
run "nginx grade.html" "http://127.0.0.1:$nginx_port/grade.html"

# A clerk counts the open final while the boards poll: round 2, the final
# of contest 1, whose eight are the best of its preliminary (the entries
# and results of bench/large_meet.h and large_meet_scored.sql, worked out
# again here). The poll right after the counting reply holds its table.
finalists=$(awk 'BEGIN {
  for (i = 0; i < 9000; i++) {
    t = int(i / 3)
    contest = int((t % 60) / 10) * 2 + (int(t / 60) % 2 + 1) + 12 * ((t + 5 * (i % 3)) % 16)
    if (contest == 1) print 1000 + ((t + 1) * 7919) % 500, t + 1
  }
}' | sort -n -k1,1 -k2,2 | head -8 | awk '{print $2}')
session=$(curl -si "$base/AdminIndex.html" | sed -n 's/^Set-Cookie: session=brimly\([0-9]*\)E.*/session=brimly\1E; site=brimly\1E/p' | tr -d '\r')
admin=$(curl -si -H "Cookie: $session" --data "UserName=admin&PassWord=$password" "$base/AdminIndex.html" |
  sed -n 's/^Set-Cookie: session=brimly\([0-9]*\)E.*/session=brimly\1E; site=brimly\1E/p' | tr -d '\r')
wrk -t$threads -c"$connections" -d"${seconds}s" --latency "$base$idle" >"$work/during.txt" &
wrk_pid=$!
sleep 1
place=0
for athlete in $finalists; do
  place=$((place + 1))
  reply=$(curl -s -H "Cookie: $admin" "$base/upcj.html?Dstr=2=$athlete=0=-65535=-65535=-65535=1=8.${place}0")
done
feed=$(curl -s "$base$idle")
wait "$wrk_pid"
printf "%-34s %12s req/s   p99 %8s\n" "korva idle polls while counting" \
  "$(awk '/Requests\/sec/ {print $2}' "$work/during.txt")" "$(awk '$1 == "99%" {print $2}' "$work/during.txt")"
echo "counting upload answered ${reply:0:2}; the next poll: $(echo "$feed" | iconv -f GBK -t UTF-8 |
  sed -n 's/.*id="NowID" type="hidden" value="\([0-9]*\)".*/new table \1/p' | head -1)," \
  "$(echo "$feed" | iconv -f GBK -t UTF-8 | grep -o '<div style="float:left">[^<]*' | sed 's/.*>//' | head -1)"
[ "${reply:0:2}" = "04" ] && [ "$(echo "$feed" | grep -c 'value="'$((newest + 1))'"')" -ge 1 ] ||
  { echo "the counted final was not in the feed at the next poll" >&2; exit 1; }
