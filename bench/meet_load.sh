#!/usr/bin/env bash
# The Release korva on a drawn and scored meet of 500, 3,000 and 12,000
# athletes, each figure beside its anchor in the same run; by hand, not by
# CI:  bench/meet_load.sh [seconds] [sizes...]
# The meet is bench/large_meet.h grown to the size (six grades, 50 athletes a
# class, three contests each) and scored by bench/large_meet_scored.sql; the
# test server makes the data folder once per size, then the program people
# run serves a copy of it. Pages and feeds are measured with wrk (its timeout
# raised, so that slow answers count in the 99th percentile) beside nginx
# serving the same bytes with open_file_cache; uploads beside a bare SQLite
# program making the same transaction with the server's pragmas and the same
# sync before each answer. Loopback
# only. Needs wrk, nginx, curl, python3 (apt-get install wrk nginx curl).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
sizes=${*:-500 3000 12000}
for tool in wrk nginx curl python3 iconv; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install wrk nginx curl)" >&2; exit 1; }
done

build=build/bench-meet
cmake -S . -B $build -DCMAKE_BUILD_TYPE=Release -DKORVA_TESTS=ON >/dev/null
cmake --build $build -j4 --target korva korva_test_server >$build/build.log 2>&1 || { tail -20 $build/build.log >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -f "$work/nginx/nginx.pid" ] && nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -s stop 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wrk_p99() {  # url seconds connections [cookie] -> "req/s p99ms"
  local out
  out=$(wrk -t4 -c"$3" -d"$2"s --timeout 30s --latency ${4:+-H "Cookie: $4"} -H "Sec-Fetch-Site: same-origin" "$1")
  echo "$(echo "$out" | awk '/Requests\/sec/ {print $2}') $(echo "$out" | awk '$1 == "99%" {print $2}')"
}
row() { printf '%-44s %-26s %-26s %s\n' "$@"; }

# The finals of contests 2 to 41 wait for their results again, so that the
# clerks' uploads are stored (each clerk leaves one lane of its final empty,
# so that no upload counts a round); class 1 gets its teacher's account;
# registration is closed, as before an order book.
cat >"$work/open_finals.sql" <<'SQL'
UPDATE qrtb331 SET qrtb341 = 1;
UPDATE qrtb479 SET qrtb485 = NULL, qrtb487 = 0, qrtb488 = 0 WHERE qrtb481 BETWEEN 4 AND 82 AND qrtb481 % 2 = 0;
UPDATE qrtb444 SET qrtb458 = 0 WHERE qrtb445 BETWEEN 4 AND 82 AND qrtb445 % 2 = 0;
INSERT INTO qrtb7 (qrtb8, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) VALUES (1, '9352', '', '', 1, 1, 1);
SQL

# The meet of n athletes: the large meet's SQL with its class, athlete and
# entry counts scaled.
meet_sql() {
  local n=$1 classes=$(( ($1 + 299) / 300 * 6 ))
  local per_grade=$(( classes / 6 ))
  sed -n '/kLargeMeetSql = R"sql(/,/)sql";/p' bench/large_meet.h | sed '1d;$d' |
    sed -e "s/WHERE i < 59)/WHERE i < $((classes - 1)))/" \
        -e "s/i \/ 10 + 1, i % 10 + 1, printf('%d%02d班', i \/ 10 + 1, i % 10 + 1)/i \/ $per_grade + 1, i % $per_grade + 1, printf('%d%03d班', i \/ $per_grade + 1, i % $per_grade + 1)/" \
        -e "s/CASE WHEN i % 10 = 0 THEN printf('%d01', i \/ 10 + 1)/CASE WHEN i % $per_grade = 0 THEN printf('%d0001', i \/ $per_grade + 1)/" \
        -e "s/WHERE i < 2999)/WHERE i < $((n - 1)))/" \
        -e "s/(i % 60) \/ 10 + 1, i % 60 + 1, i \/ 60 % 2 + 1/(i % $classes) \/ $per_grade + 1, i % $classes + 1, i \/ $classes % 2 + 1/" \
        -e "s/WHERE i < 8999)/WHERE i < $((3 * n - 1)))/" \
        -e "s/((i \/ 3 % 60) \/ 10) \* 2 + (i \/ 3 \/ 60 % 2 + 1)/((i \/ 3 % $classes) \/ $per_grade) * 2 + (i \/ 3 \/ $classes % 2 + 1)/"
}

# The data folder of the meet of n athletes, drawn and scored, and the
# administrator's password.
make_folder() {
  local n=$1 dir=$work/data$1
  meet_sql "$n" >"$work/meet$n.sql"
  mkfifo "$work/stdin$n"
  $build/tests/korva_test_server --meet "$work/meet$n.sql" --meet bench/large_meet_scored.sql \
    --meet "$work/open_finals.sql" <"$work/stdin$n" >"$work/maker$n.out" 2>"$work/maker$n.err" &
  local pid=$!
  exec 7>"$work/stdin$n"
  for _ in $(seq 3000); do grep -q ready "$work/maker$n.out" 2>/dev/null && break; sleep 0.1; done
  # The server is idle: its files are whole.
  cp -r "$(sed -n 's/^data=//p' "$work/maker$n.out")" "$dir"
  exec 7>&-
  wait "$pid" || true
  sed -n 's/^password=//p' "$work/maker$n.out"
}

# Starts the Release korva on a copy of the folder; sets port and start_ms.
start_korva() {
  local n=$1
  rm -rf "$work/xdg$n" && mkdir -p "$work/xdg$n" && cp -r "$work/data$n" "$work/xdg$n/korva"
  local t0
  t0=$(date +%s%N)
  XDG_DATA_HOME=$work/xdg$n $build/korva >"$work/korva$n.out" 2>&1 &
  korva_pid=$!
  pids+=("$korva_pid")
  for _ in $(seq 3000); do
    port=$(sed -n 's/.*http:\/\/[0-9.]*\(:[0-9]*\)\{0,1\}\/.*/\1/p' "$work/korva$n.out" | head -1)
    grep -q 'http://' "$work/korva$n.out" && port=${port#:} && port=${port:-80}
    [ -n "$port" ] && curl -sf -o /dev/null "http://127.0.0.1:$port/" && break
    sleep 0.001
  done
  start_ms=$(( ($(date +%s%N) - t0) / 1000000 ))
}

# Changes are sent as a page of the site sends them (a browser's
# Sec-Fetch-Site), or the server refuses them.
signin() {  # page form-path body -> session cookie
  local first
  first=$(curl -si "http://127.0.0.1:$port$1" | sed -n 's/^Set-Cookie: \(session=brimly[0-9]*E\).*/\1/p' | tr -d '\r')
  curl -si -H "Cookie: $first" -H "Sec-Fetch-Site: same-origin" --data "$3" "http://127.0.0.1:$port$2" |
    sed -n 's/^Set-Cookie: \(session=brimly[0-9]*E\).*/\1/p' | tr -d '\r'
}

# nginx with open_file_cache over the saved bytes of every page measured.
start_nginx() {
  mkdir -p "$work/nginx/html" "$work/nginx/logs" "$work/nginx/tmp"
  nginx_port=$(free_port)
  cat >"$work/nginx/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 4096; }
http {
  access_log off;
  keepalive_requests 1000000;
  open_file_cache max=1000 inactive=60s;
  client_body_temp_path $work/nginx/tmp;
  proxy_temp_path $work/nginx/tmp;
  fastcgi_temp_path $work/nginx/tmp;
  uwsgi_temp_path $work/nginx/tmp;
  scgi_temp_path $work/nginx/tmp;
  default_type text/html;
  server { listen 127.0.0.1:$nginx_port; root $work/nginx/html; }
}
CONF
  nginx -p "$work/nginx" -c "$work/nginx/nginx.conf"
}

# Measures one page beside nginx serving its bytes: name path cookie connections.
measure_page() {
  local name=$1 path=$2 cookie=$3 c=$4 file
  file=$(echo "$name" | tr -c 'a-zA-Z0-9\n' '_').html
  curl -s -H "Cookie: $cookie" -H "Sec-Fetch-Site: same-origin" "http://127.0.0.1:$port$path" >"$work/nginx/html/$file"
  local ours theirs
  ours=$(wrk_p99 "http://127.0.0.1:$port$path" "$seconds" "$c" "$cookie")
  theirs=$(wrk_p99 "http://127.0.0.1:$nginx_port/$file" "$seconds" "$c")
  local ratio
  ratio=$(python3 -c "print(f'{float(\"${ours%% *}\")/float(\"${theirs%% *}\"):.3f}')")
  row "$name ($c conn, $(stat -c %s "$work/nginx/html/$file") B)" "$ours" "$theirs" "$ratio"
}

# Clerks uploading results of a counted final again at once, each on its own
# keep-alive connection; prints "uploads/s p99ms maxms" (and a failed count).
uploads() {  # cookie clerks seconds
  python3 - "$port" "$1" "$2" "$3" "$work/data$n" <<'PY'
import glob, http.client, sqlite3, sys, threading, time
port, cookie, clerks, seconds = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
meet = sqlite3.connect(glob.glob(sys.argv[5] + "/ydh*.dat")[0])
finals = {}
for r, a in meet.execute("SELECT qrtb481, qrtb484 FROM qrtb479 WHERE qrtb481 BETWEEN 4 AND 82 AND qrtb481 % 2 = 0"
                         " ORDER BY qrtb481, qrtb483"):
    finals.setdefault(r, []).append(a)
rounds = sorted(finals)
times, failed = [], [0]
lock = threading.Lock()
def clerk(k):
    c = http.client.HTTPConnection("127.0.0.1", port, timeout=120)
    end, i = time.time() + seconds, 0
    while time.time() < end:
        r = rounds[k % len(rounds)]
        athlete = finals[r][i % (len(finals[r]) - 1)]
        path = f"/upcj.html?Dstr={r}={athlete}=0=-65535=-65535=-65535=1=12.{10 + i % 80}"
        t = time.time()
        try:
            c.request("GET", path, headers={"Cookie": cookie, "Sec-Fetch-Site": "same-origin"})
            body = c.getresponse().read()
            if body[:2] not in (b"01", b"03", b"06"): failed[0] += 1
        except Exception:
            failed[0] += 1
            c = http.client.HTTPConnection("127.0.0.1", port, timeout=120)
        with lock: times.append(time.time() - t)
        i += 1
threads = [threading.Thread(target=clerk, args=(k,)) for k in range(clerks)]
t0 = time.time()
for t in threads: t.start()
for t in threads: t.join()
times.sort()
n = len(times)
print(f"{n / (time.time() - t0):.0f}/s p99 {times[int(n * 0.99) - 1] * 1000:.1f}ms max {times[-1] * 1000:.1f}ms"
      + (f" ({failed[0]} failed)" if failed[0] else ""))
PY
}

# The bare program: the same lane update with the meet file's pragmas, one
# transaction each, from as many threads taking turns as the server's
# writers do; each then waits, after its turn, until the -wal file is synced
# past its commit, one sync serving every commit made before it began.
bare_uploads() {  # folder clerks seconds
  python3 - "$1" "$2" "$3" <<'PY'
import glob, os, sqlite3, sys, threading, time
folder, clerks, seconds = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
meet = [f for f in glob.glob(folder + "/ydh*.dat")][0]
times, lock = [], threading.Lock()
made, synced, syncing, cv = [0], [0], [False], threading.Condition()
def wait_synced(mine):
    with cv:
        while synced[0] < mine:
            if syncing[0]:
                cv.wait()
                continue
            syncing[0], target = True, made[0]
            cv.release()
            try:
                fd = os.open(meet + "-wal", os.O_RDONLY)
                os.fdatasync(fd)
                os.close(fd)
            finally:
                cv.acquire()
            syncing[0], synced[0] = False, target
            cv.notify_all()
# The lanes the clerks upload to: the open finals' (the last of each left empty).
finals = {}
for r, lane in sqlite3.connect(meet).execute(
        "SELECT qrtb481, qrtb480 FROM qrtb479 WHERE qrtb481 BETWEEN 4 AND 82 AND qrtb481 % 2 = 0"
        " ORDER BY qrtb481, qrtb483"):
    finals.setdefault(r, []).append(lane)
rounds = sorted(finals)
def clerk(k):
    db = sqlite3.connect(meet, timeout=60, isolation_level=None, check_same_thread=False)
    db.execute("PRAGMA journal_mode=WAL"); db.execute("PRAGMA synchronous=NORMAL")
    end, i = time.time() + seconds, 0
    while time.time() < end:
        t = time.time()
        with lock:  # the server's writers take turns too
            db.execute("BEGIN IMMEDIATE")
            lanes = finals[rounds[k % len(rounds)]]
            db.execute("UPDATE qrtb479 SET qrtb485 = ? WHERE qrtb480 = ?", (1210 + i % 80, lanes[i % (len(lanes) - 1)]))
            db.execute("COMMIT")
            with cv:
                made[0] += 1
                mine = made[0]
        wait_synced(mine)
        times.append(time.time() - t); i += 1
threads = [threading.Thread(target=clerk, args=(k,)) for k in range(clerks)]
t0 = time.time()
for t in threads: t.start()
for t in threads: t.join()
times.sort(); n = len(times)
print(f"{n / (time.time() - t0):.0f}/s p99 {times[int(n * 0.99) - 1] * 1000:.1f}ms max {times[-1] * 1000:.1f}ms")
PY
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
start_nginx
for n in $sizes; do
  password=$(make_folder "$n")
  start_korva "$n"
  echo
  echo "== $n athletes: cold start to the first page ${start_ms} ms"
  admin=$(signin /AdminIndex.html /AdminIndex.html "UserName=admin&PassWord=$password")
  clerk=$admin
  teacher=$(signin / /index.html "BanJi=1&PassWord=9352")
  row "what" "korva req/s p99" "nginx req/s p99" "ratio"
  measure_page "administrator's home" /Admin.html "$admin" 100
  measure_page "class results page" /SeeClassCJ.html "$teacher" 8
  measure_page "one session's check-in sheets" "/printzx.html?str=1-1-1" "$admin" 8
  measure_page "score-entry page, one heat" "/InputScore.html?MatchTabe=3&zhu=1" "$admin" 8
  measure_page "one round's check-in sheet" "/ViewTable.html?str=1-1-0-0" "$admin" 100
  # Uploads while 50 connections read the pages above in turn.
  cat >"$work/mix.lua" <<LUA
local paths = {"/Admin.html", "/SeeClassCJ.html", "/printzx.html?str=1-1-1", "/InputScore.html?MatchTabe=3&zhu=1",
               "/ViewTable.html?str=1-1-0-0", "/ShowClass.html", "/Print2.html", "/Print3.html",
               "/AdminIndex.html", "/admin.css", "/Print1.html"}
local i = 0
request = function()
  i = i + 1
  return wrk.format("GET", paths[i % #paths + 1], {["Cookie"] = "$admin", ["Sec-Fetch-Site"] = "same-origin"})
end
LUA
  wrk -t4 -c50 -d"$((seconds + 2))"s --timeout 30s -s "$work/mix.lua" "http://127.0.0.1:$port" >"$work/mix.out" &
  mix=$!
  sleep 1
  row "one clerk uploading under 50 readers" "$(uploads "$clerk" 1 "$seconds")" "" ""
  wait "$mix"
  row "  the readers meanwhile" "$(awk '/Requests\/sec/ {print $2}' "$work/mix.out") req/s" "" ""
  # The same readers and one clerk while the order book is made again and
  # again (numbered, drawn where undrawn, its document read and written).
  books() {  # seconds -> books written
    local end=$(( $(date +%s) + $1 )) count=0 state
    while [ "$(date +%s)" -lt "$end" ]; do
      state=$(curl -s -H "Cookie: $admin" -H "Sec-Fetch-Site: same-origin" "http://127.0.0.1:$port/MakeCXC1991.html")
      [ "$state" = 1 ] || { echo "refused ($state) after $count"; return; }
      for _ in $(seq 6000); do
        state=$(curl -s -H "Cookie: $admin" "http://127.0.0.1:$port/YdhCXCJingDu1991.html")
        [ "$state" = 200 ] || [ "$state" = 150 ] || [ "$state" = 5 ] && break
        sleep 0.01
      done
      count=$((count + 1))
    done
    echo "$count"
  }
  books "$((seconds + 2))" >"$work/books.out" &
  book=$!
  wrk -t4 -c50 -d"$((seconds + 2))"s --timeout 30s --latency -s "$work/mix.lua" "http://127.0.0.1:$port" >"$work/mix.out" &
  mix=$!
  sleep 1
  during=$(uploads "$clerk" 1 "$seconds")
  wait "$mix" "$book"
  row "order book made $(cat "$work/books.out") times: 1 clerk" "$during" "" ""
  row "  the readers meanwhile" "$(awk '/Requests\/sec/ {print $2}' "$work/mix.out") req/s p99 $(awk '$1 == "99%" {print $2}' "$work/mix.out")" "" ""
  row "20 clerks uploading at once" "$(uploads "$clerk" 20 "$seconds")" "bare: $(bare_uploads "$work/xdg$n/korva" 20 "$seconds")" ""
  kill "$korva_pid"; wait "$korva_pid" 2>/dev/null || true
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
