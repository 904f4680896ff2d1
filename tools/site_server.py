#!/usr/bin/python3
"""The maker's site on loopback: the version file, a home page and a forum page.

`make run` starts it before the tool, so the start-up version check passes on a fresh
machine; the tests start it with other version texts. It stops by itself after
--lifetime seconds or --max-requests requests, whichever comes first.
"""
import argparse
import html
import http.server
import json
import sys
import time
import urllib.parse

HOME_PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Tarvok DIY</title></head>
<body><h1>Tarvok 卡牌 DIY 工具</h1><p>当前版本 {version}</p></body></html>
"""

FORUM_PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Tarvok forum</title></head>
<body><h1>{kw}</h1><p>Tarvok forum</p></body></html>
"""


def parse_args(argv=None):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--port", type=int, default=8642, help="0 picks a free port (printed on stdout)")
    p.add_argument("--version", default="1.0", help="text served as /tarvokdiy.txt")
    p.add_argument("--body-file", help="serve this file's bytes as /tarvokdiy.txt instead")
    p.add_argument("--lifetime", type=float, default=3600.0, help="seconds until the server stops")
    p.add_argument("--max-requests", type=int, default=10000)
    p.add_argument("--log", help="append one JSON line per request (method, path, headers)")
    return p.parse_args(argv)


def make_handler(version_body, version_text, log_path):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"
        timeout = 5  # a client that sends nothing must not hold the one serving thread

        def log_message(self, fmt, *args):
            sys.stderr.write("site: " + fmt % args + "\n")

        def record(self):
            if not log_path:
                return
            entry = {"requestline": self.requestline, "method": self.command, "path": self.path,
                     "version": self.request_version, "headers": list(self.headers.items())}
            with open(log_path, "a", encoding="utf-8") as f:
                f.write(json.dumps(entry, ensure_ascii=False) + "\n")

        def send(self, status, body, content_type):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(body)

        def do_GET(self):
            self.record()
            url = urllib.parse.urlsplit(self.path)
            if url.path == "/tarvokdiy.txt":
                self.send(200, version_body, "text/plain")
            elif url.path in ("", "/"):
                self.send(200, HOME_PAGE.format(version=version_text).encode("utf-8"), "text/html; charset=utf-8")
            elif url.path == "/f":
                kw = urllib.parse.parse_qs(url.query).get("kw", ["Tarvok"])[0]
                self.send(200, FORUM_PAGE.format(kw=html.escape(kw)).encode("utf-8"), "text/html; charset=utf-8")
            else:
                self.send(404, b"<html><body><h1>404 Not Found</h1></body></html>\n", "text/html")

        do_HEAD = do_GET

    return Handler


class Server(http.server.HTTPServer):
    timeout = 0.5  # handle_request returns at least this often, so the deadline is kept
    idle = False

    def handle_timeout(self):
        self.idle = True


def main(argv=None):
    a = parse_args(argv)
    if a.body_file:
        with open(a.body_file, "rb") as f:
            body = f.read()
    else:
        body = a.version.encode("utf-8")
    server = Server(("127.0.0.1", a.port), make_handler(body, a.version, a.log))
    print(f"listening on 127.0.0.1:{server.server_address[1]}", flush=True)
    deadline = time.monotonic() + a.lifetime
    served = 0
    try:
        while time.monotonic() < deadline and served < a.max_requests:
            server.idle = False
            server.handle_request()
            served += 0 if server.idle else 1
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
