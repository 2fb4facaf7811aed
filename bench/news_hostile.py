#!/usr/bin/env python3
"""Usage: news_hostile.py NEWS_PROBE [CASE...]

Runs the news page view (bench/news_probe) against the hostile news pages and connections a
plain-HTTP news server, or anyone on the way to it, can send. A server on the loopback
serves each case; the probe loads it with a 5 s time limit and watches the shown page for
3 s more. For each case one line: the probe's own figures (load time, CPU during the load
and after it, the event loop's longest wait, resident memory), or how it ended when it did
not end by itself within 40 s (killed as frozen, or a crash), and what the server saw: the
bytes it sent and how long after the request the probe closed the connection ("open" when
the probe never did: something was still reading in the background when it exited).
The probe runs under a 4 GB address-space limit so that a page that eats memory ends in a
failed allocation instead of taking the machine.
"""
import os
import resource
import socket
import socketserver
import subprocess
import sys
import threading
import time

MARQUEE = b"<marquee>news</marquee>"


def page(body):
    return b"<html><body>" + body + b"</body></html>"


PAGES = {
    "table_5000_deep": page(b"<table><tr><td>" * 5000 + b"<marquee>deep</marquee>"),
    "table_24_deep": page(b"<table><tr><td>" * 24 + b"<marquee>deep</marquee>"),
    "colspan_65535": page(b"<marquee><table><tr>" +
                          b"<td colspan=65535 rowspan=65535>a</td>" * 2000),
    "word_1mb": page(MARQUEE + b"a" * 1_000_000),
    "div_50000_deep": page(MARQUEE + b"<div>" * 50_000 + b"x"),
    "b_100000_deep": page(MARQUEE + b"<b>" * 100_000 + b"x"),
    "ul_li_50000_deep": page(MARQUEE + b"<ul><li>" * 50_000 + b"x"),
    "marquee_1mb": page(b"<marquee>" + b"news item " * 100_000 + b"</marquee>"),
}
# Answers that never end, sent as fast as the probe takes them.
ENDLESS = {
    "endless_status_line": (b"HTTP/1.1 200 ", b"O" * 65536),
    "endless_header_line": (b"HTTP/1.1 200 OK\r\nX-Long: ", b"a" * 65536),
    "endless_header_list": (b"HTTP/1.1 200 OK\r\n", b"X-A: b\r\n" * 8192),
    "endless_100_continue": (b"", b"HTTP/1.1 100 Continue\r\n\r\n" * 2048),
}


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        case = self.server.case
        start = time.monotonic()
        sent = 0
        try:
            request = b""
            while b"\r\n\r\n" not in request:
                piece = self.request.recv(4096)
                if not piece:
                    return
                request += piece
            if case in PAGES:
                body = PAGES[case]
                head = (b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                        str(len(body)).encode() + b"\r\nConnection: close\r\n\r\n")
                self.request.sendall(head + body)
                sent = len(head) + len(body)
                # Waits for the probe to close its end.
                self.request.settimeout(60)
                while self.request.recv(4096):
                    pass
            else:
                first, again = ENDLESS[case]
                self.request.sendall(first)
                sent = len(first)
                while True:
                    self.request.sendall(again)
                    sent += len(again)
        except OSError:
            pass
        finally:
            self.server.seen = (sent, time.monotonic() - start)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))


def process_figures(pid):
    """CPU time and resident memory of a running process, from /proc."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    memory = {}
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            name, _, value = line.partition(":")
            memory[name] = value.strip()
    return "cpu %.1f s  resident %s  peak %s" % (cpu, memory.get("VmRSS"), memory.get("VmHWM"))


def run(probe, case):
    server = Server(("127.0.0.1", 0), Handler)
    server.case = case
    server.seen = None
    threading.Thread(target=server.serve_forever, daemon=True).start()
    address = "http://127.0.0.1:%d/rjshengji/gg.htm?id=zhavik&an=err" % server.server_address[1]
    env = {"QT_QPA_PLATFORM": "offscreen", "PATH": "/usr/bin:/bin"}
    probe_process = subprocess.Popen([probe, address, "5000", "3000"], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, preexec_fn=limit_memory, env=env)
    try:
        out, err = probe_process.communicate(timeout=40)
        if probe_process.returncode == 0:
            figures = out.decode().strip()
        elif probe_process.returncode < 0:
            figures = "crashed (signal %d)" % -probe_process.returncode
        else:
            figures = "failed (exit %d): %s" % (probe_process.returncode,
                                                err.decode().strip()[-120:])
    except subprocess.TimeoutExpired:
        figures = "frozen: killed after 40 s, " + process_figures(probe_process.pid)
        probe_process.kill()
        probe_process.communicate()
    time.sleep(0.2)
    seen = server.seen
    server.shutdown()
    server.server_close()
    if seen is None:
        connection = "server: connection open when the probe ended"
    else:
        connection = "server: %.1f MB sent, closed after %.1f s" % (seen[0] / 1e6, seen[1])
    print("%-22s %s\n%-22s %s" % (case, figures, "", connection), flush=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cases = sys.argv[2:] or list(PAGES) + list(ENDLESS)
    for case in cases:
        if case not in PAGES and case not in ENDLESS:
            sys.exit("no such case: " + case)
        run(sys.argv[1], case)


if __name__ == "__main__":
    main()
