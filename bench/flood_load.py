#!/usr/bin/env python3
"""What a hostile client on the school network can do to the server, run by
hand (not by CI):  bench/flood_load.py [seconds]

Builds the server in Release (as bench/web_load.sh does), starts it on a
free loopback port with the large meet of bench/open_meet_bench.cpp, and
measures, each over loopback and bounded in time:
  - the class home page under wrk (100 keep-alive connections) alone, and
    while 1,100 slow connections from one address trickle a byte every ten
    seconds (reconnecting when closed); then 4 teachers' latency while
    4,300 such connections from 80 addresses reconnect as soon as they are
    closed, and how many of 145 newcomers get in;
  - the server's memory while 600 connections from twenty addresses send
    1 MB bodies that never finish;
  - the server's memory and session count after requests without a cookie
    for images and for pages;
  - 10,000 password guesses without cookies;
  - 500 connections opened at once.
Needs wrk (apt-get install wrk). The slow clients use the loopback
addresses 127.0.0.2 and up.
"""
import os
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SECONDS = int(sys.argv[1]) if len(sys.argv) > 1 else 10
BUILD = os.path.join(ROOT, "build", "bench-web")


def build_server():
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release", "-DKORVA_TESTS=ON"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "-j4", "--target", "korva_test_server"], check=True,
                   stdout=subprocess.DEVNULL)
    # The test server serves images from "image" beside itself.
    subprocess.run(["cp", "-r", os.path.join(ROOT, "resources", "image"), os.path.join(BUILD, "tests")], check=True)


def large_meet_sql(folder):
    text = open(os.path.join(ROOT, "bench", "open_meet_bench.cpp"), encoding="utf-8").read()
    sql = text[text.index('R"sql(') + 6:text.index(')sql"')]
    path = os.path.join(folder, "large_meet.sql")
    open(path, "w", encoding="utf-8").write(sql)
    return path


class Server:
    def __init__(self, folder):
        self.out = open(os.path.join(folder, "server.out"), "w+")
        self.process = subprocess.Popen([os.path.join(BUILD, "tests", "korva_test_server"), "--meet",
                                         large_meet_sql(folder)], stdin=subprocess.PIPE, stdout=self.out,
                                        stderr=subprocess.DEVNULL)
        for _ in range(300):
            self.out.seek(0)
            text = self.out.read()
            if "ready" in text:
                self.port = int(re.search(r"port=(\d+)", text).group(1))
                return
            time.sleep(0.1)
        raise SystemExit("the server did not start")

    def rss_mb(self):
        status = open(f"/proc/{self.process.pid}/status").read()
        return int(re.search(r"VmRSS:\s+(\d+)", status).group(1)) / 1024

    def threads(self):
        status = open(f"/proc/{self.process.pid}/status").read()
        return int(re.search(r"Threads:\s+(\d+)", status).group(1))

    def descriptors(self):
        return len(os.listdir(f"/proc/{self.process.pid}/fd"))

    def stop(self):
        self.process.stdin.close()
        self.process.wait(timeout=30)


def exchange(port, data, source="127.0.0.1", timeout=10):
    """Sends data on a new connection and returns what came back until close
    or a whole answer."""
    with socket.create_connection(("127.0.0.1", port), timeout=timeout, source_address=(source, 0)) as s:
        s.sendall(data)
        reply = b""
        while True:
            head_end = reply.find(b"\r\n\r\n")
            if head_end >= 0:
                length = re.search(rb"Content-Length: (\d+)", reply[:head_end])
                if length and len(reply) >= head_end + 4 + int(length.group(1)):
                    return reply
            chunk = s.recv(65536)
            if not chunk:
                return reply
            reply += chunk


def cookie_of(reply):
    """The session cookie and its companion, as the browser sends them back."""
    found = re.search(rb"Set-Cookie: session=brimly(\d+)E", reply)
    return f"session=brimly{found.group(1).decode()}E; site=brimly{found.group(1).decode()}E" if found else ""


def sign_in_teacher(port):
    body = b"BanJi=1&PassWord=9352"
    first = exchange(port, b"GET / HTTP/1.1\r\nHost: localhost\r\n\r\n")
    reply = exchange(port, b"POST /index.html HTTP/1.1\r\nHost: localhost\r\nCookie: " + cookie_of(first).encode() +
                     b"\r\nContent-Length: %d\r\n\r\n" % len(body) + body)
    return cookie_of(reply)


def wrk(url, cookie=None, connections=100, seconds=SECONDS):
    command = ["wrk", "-t4", f"-c{connections}", f"-d{seconds}s", "--latency", url]
    if cookie:
        command[1:1] = ["-H", f"Cookie: {cookie}"]
    out = subprocess.run(command, capture_output=True, text=True).stdout
    rate = re.search(r"Requests/sec:\s+([\d.]+)", out)
    p99 = re.search(r"\s99%\s+(\S+)", out)
    errors = " ".join(line.strip() for line in out.splitlines() if "Non-2xx" in line or "Socket errors" in line)
    return f"{float(rate.group(1)) if rate else 0:10.0f} req/s  p99 {p99.group(1) if p99 else '-':>8}  {errors}"


class SlowFlood:
    """count connections, per_address from each of 127.0.0.<first> on, each
    sending one byte of a request head every ten seconds; a connection the
    server closes is opened again."""

    def __init__(self, port, count, per_address, first=2):
        self.port, self.stop, self.refused, self.timed_out = port, False, 0, 0
        self.sources = [f"127.0.0.{first + i // per_address}" for i in range(count)]
        self.sockets = [self.open(source) for source in self.sources]
        self.thread = threading.Thread(target=self.trickle)
        self.thread.start()

    def open(self, source):
        s = socket.socket()
        s.bind((source, 0))
        s.connect(("127.0.0.1", self.port))
        s.setblocking(False)
        s.send(b"G")
        return s

    def note_answer(self, s):
        try:
            data = s.recv(4096)
        except BlockingIOError:
            return False
        except OSError:
            data = b""
        if b" 503 " in data[:16]:
            self.refused += 1
        elif b" 408 " in data[:16]:
            self.timed_out += 1
        return True

    def trickle(self):
        while not self.stop:
            for i, s in enumerate(self.sockets):
                if self.stop:
                    break
                if self.note_answer(s):
                    s.close()
                    try:
                        self.sockets[i] = self.open(self.sources[i])
                    except OSError:
                        pass
                    continue
                try:
                    s.send(b"E")
                except OSError:
                    pass
            for _ in range(100):
                if self.stop:
                    break
                time.sleep(0.1)

    def close(self):
        self.stop = True
        self.thread.join()
        for s in self.sockets:
            s.close()


class ReconnectingFlood:
    """count connections spread over addresses loopback addresses from
    127.0.0.<first> on, each sending a byte of a request head every ten
    seconds; one the server answers or closes is opened again at once."""

    def __init__(self, port, count, addresses, first=2):
        import selectors
        self.port, self.stop, self.refused, self.timed_out, self.opened = port, False, 0, 0, 0
        self.selector = selectors.DefaultSelector()
        self.sources = [f"127.0.0.{first + i % addresses}" for i in range(count)]
        for i in range(count):
            self.open(i)
        self.thread = threading.Thread(target=self.run)
        self.thread.start()

    def open(self, i):
        s = socket.socket()
        s.bind((self.sources[i], 0))
        s.settimeout(1)
        try:
            s.connect(("127.0.0.1", self.port))
            s.send(b"G")
        except OSError:
            s.close()
            return
        s.setblocking(False)
        self.opened += 1
        self.selector.register(s, 1, i)  # EVENT_READ

    def run(self):
        last_trickle = time.time()
        while not self.stop:
            for key, _ in self.selector.select(timeout=0.2):
                s, i = key.fileobj, key.data
                try:
                    data = s.recv(4096)
                except OSError:
                    data = b""
                self.refused += b" 503 " in data[:16]
                self.timed_out += b" 408 " in data[:16]
                self.selector.unregister(s)
                s.close()
                if not self.stop:
                    self.open(i)
            if time.time() - last_trickle >= 10:
                last_trickle = time.time()
                for key in list(self.selector.get_map().values()):
                    try:
                        key.fileobj.send(b"E")
                    except OSError:
                        pass

    def close(self):
        self.stop = True
        self.thread.join()
        for key in list(self.selector.get_map().values()):
            key.fileobj.close()


def newcomers(port, count, first=200):
    """count new clients, each from an address of its own, each asking once
    for the style sheet; how many were answered 200 within five seconds."""
    answered = 0
    for i in range(count):
        try:
            reply = exchange(port, b"GET /admin.css HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n",
                             source=f"127.0.{1 + i // 250}.{first + i % 50}", timeout=5)
            answered += reply.startswith(b"HTTP/1.1 200")
        except OSError:
            pass
    return answered


def unfinished_bodies(port, count, per_address):
    held, refused = [], 0
    body = b"x" * 900_000
    for i in range(count):
        s = socket.socket()
        s.bind((f"127.0.0.{2 + i // per_address}", 0))
        s.connect(("127.0.0.1", port))
        s.sendall(b"POST /index.html HTTP/1.1\r\nHost: localhost\r\nContent-Length: 1000000\r\n\r\n")
        s.settimeout(0.05)
        try:
            s.sendall(body)
            answer = s.recv(64)
        except (socket.timeout, OSError):
            answer = b""
        if b" 503 " in answer:
            refused += 1
            s.close()
        else:
            held.append(s)
    return held, refused


def guesses(port, count):
    answers = {"wrong": 0, "locked": 0, "signed in": 0}
    wrong = "用户名或密码错误".encode("gbk")
    locked = "您已连续输入三次错误的密码".encode("gbk")
    with socket.create_connection(("127.0.0.1", port), source_address=("127.0.0.50", 0)) as s:
        reader = s.makefile("rb")
        start = time.time()
        for batch in range(0, count, 100):
            requests = b""
            for i in range(batch, min(count, batch + 100)):
                body = b"BanJi=2&PassWord=%04d" % i
                requests += (b"POST /index.html HTTP/1.1\r\nHost: localhost\r\nOrigin: http://localhost\r\n"
                             b"Content-Length: %d\r\n\r\n" % len(body) + body)
            s.sendall(requests)
            for _ in range(batch, min(count, batch + 100)):
                length = 0
                while True:
                    line = reader.readline()
                    if line.startswith(b"Content-Length:"):
                        length = int(line.split(b":")[1])
                    if line == b"\r\n":
                        break
                page = reader.read(length)
                answers["wrong"] += wrong in page
                answers["locked"] += locked in page
                answers["signed in"] += b"ShowClass.html" in page
        return answers, time.time() - start


def main():
    build_server()
    with tempfile.TemporaryDirectory() as folder:
        server = Server(folder)
        port = server.port
        base = f"http://127.0.0.1:{port}"
        try:
            teacher = sign_in_teacher(port)
            print(f"server on port {port}, {server.rss_mb():.0f} MB, {server.descriptors()} descriptors")
            print("class home page, 100 keep-alive connections:")
            print("  alone                          ", wrk(base + "/ShowClass.html", teacher))
            flood = SlowFlood(port, 1100, 1100)
            time.sleep(1)
            print("  1,100 slow from one address    ", wrk(base + "/ShowClass.html", teacher),
                  f"server descriptors {server.descriptors()}")
            flood.close()
            print(f"    the flood's connections answered 503: {flood.refused}, 408: {flood.timed_out}")
            flood = ReconnectingFlood(port, 4300, 80)
            time.sleep(1)
            print("  4,300 slow from 80 addresses, reconnecting at once:")
            print("    4 teachers                   ", wrk(base + "/ShowClass.html", teacher, connections=4),
                  f"server descriptors {server.descriptors()}, {server.rss_mb():.0f} MB, "
                  f"threads {server.threads()}")
            print(f"    145 newcomers answered: {newcomers(port, 145)}")
            flood.close()
            print(f"    the flood's connections opened {flood.opened}, answered 503: {flood.refused}, "
                  f"408: {flood.timed_out}")
            time.sleep(1)

            before = server.rss_mb()
            held, refused = unfinished_bodies(port, 600, 30)
            print(f"600 unfinished 1 MB bodies from 20 addresses: {len(held)} held, {refused} refused, "
                  f"memory {before:.0f} -> {server.rss_mb():.0f} MB")
            print("  the site meanwhile             ", wrk(base + "/ShowClass.html", teacher, seconds=3))
            for s in held:
                s.close()

            before = server.rss_mb()
            print("images without a cookie        ", wrk(base + "/tip.jpg"), f"memory {before:.0f} -> {server.rss_mb():.0f} MB")
            before = server.rss_mb()
            print("pages without a cookie         ", wrk(base + "/AdminIndex.html"),
                  f"memory {before:.0f} -> {server.rss_mb():.0f} MB")
            print("  the signed-in teacher after it:", b"200 OK" in exchange(
                port, b"GET /ShowClass.html HTTP/1.1\r\nHost: localhost\r\nCookie: " + teacher.encode() + b"\r\n\r\n")[:20])

            answers, took = guesses(port, 10000)
            print(f"10,000 guesses without cookies in {took:.1f} s: {answers}")

            print("500 connections opened at once ", wrk(base + "/admin.css", connections=500, seconds=5))
        finally:
            server.stop()


if __name__ == "__main__":
    main()
