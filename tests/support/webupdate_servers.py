#!/usr/bin/env python3
"""Loopback servers for the web-update tests.

  webupdate_servers.py http ROOT [--tls CERT KEY] [--user U --password P]
  webupdate_servers.py ftp ROOT --user U --password P

Each binds 127.0.0.1 on a free port, prints "PORT <n>" on one line and
serves until stdin closes. HTTP paths:
  /files/NAME          the file ROOT/NAME
  /auth/NAME           the same behind Basic authentication (401 otherwise)
  /redirect/NAME       302 to /files/NAME;  /redirect-abs/URL  302 to URL
  /short/NAME          announces 100 bytes more than the file holds
  /long/NAME           sends 100 bytes more than announced
  /trickle/NAME        announces the file, sends one byte each 20 ms
  /endless-headers     header lines without end
  /slow-headers        one header byte per second
  /endless-body        a body without a length that never ends
  /slow-body/NAME      announces the file, sends one byte each 3 s (slow loris)
  /count/PATH          how many requests PATH has seen (plain number)
"""
import base64
import os
import sys
import threading
import time


def serve_http(root, tls, user, password):
    import http.server
    import ssl

    counts = {}
    lock = threading.Lock()

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def send_bytes(self, code, body, length=None, extra=()):
            self.send_response(code)
            for k, v in extra:
                self.send_header(k, v)
            self.send_header("Content-Length", str(len(body) if length is None else length))
            self.end_headers()
            self.wfile.write(body)

        def file(self, name):
            path = os.path.join(root, os.path.basename(name))
            if not os.path.isfile(path):
                return None
            with open(path, "rb") as f:
                return f.read()

        def do_GET(self):
            path = self.path
            with lock:
                counts[path] = counts.get(path, 0) + 1
            kind, _, rest = path[1:].partition("/")
            if kind == "count":
                with lock:
                    n = counts.get("/" + rest, 0)
                return self.send_bytes(200, str(n).encode())
            if kind == "endless-headers":
                self.send_response(200)
                try:
                    i = 0
                    while True:
                        self.wfile.write(b"X-Filler-%d: %s\r\n" % (i, b"a" * 200))
                        i += 1
                except OSError:
                    return
            if kind == "slow-headers":
                try:
                    for b in b"HTTP/1.1 200 OK\r\nX-Slow: " + b"a" * 1000:
                        self.wfile.write(bytes([b]))
                        self.wfile.flush()
                        time.sleep(1)
                except OSError:
                    return
            if kind == "endless-body":
                self.send_response(200)
                self.send_header("Connection", "close")
                self.end_headers()
                self.close_connection = True
                try:
                    while True:
                        self.wfile.write(b"z" * 65536)
                except OSError:
                    return
            if kind == "slow-body":
                body = self.file(rest) or b""
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.close_connection = True
                try:
                    for b in body:
                        self.wfile.write(bytes([b]))
                        self.wfile.flush()
                        time.sleep(3)
                except OSError:
                    pass
                return
            if kind == "redirect":
                return self.send_bytes(302, b"", extra=[("Location", "/files/" + rest)])
            if kind == "redirect-abs":
                return self.send_bytes(302, b"", extra=[("Location", rest)])
            if kind == "auth":
                expected = "Basic " + base64.b64encode((user + ":" + password).encode("utf-8")).decode()
                if self.headers.get("Authorization") != expected:
                    return self.send_bytes(401, b"no", extra=[("WWW-Authenticate", 'Basic realm="t"')])
            body = self.file(rest)
            if body is None:
                return self.send_bytes(404, b"not found")
            if kind == "short":
                self.send_bytes(200, body, length=len(body) + 100)
                self.close_connection = True
                return
            if kind == "long":
                self.send_bytes(200, body + b"x" * 100, length=len(body))
                self.close_connection = True
                return
            if kind == "trickle":
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                try:
                    for b in body:
                        self.wfile.write(bytes([b]))
                        self.wfile.flush()
                        time.sleep(0.02)
                except OSError:
                    pass
                self.close_connection = True
                return
            self.send_bytes(200, body)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(tls[0], tls[1])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    return server, server.server_address[1], server.serve_forever


def serve_ftp(root, user, password):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import ThreadedFTPServer
    import logging

    logging.basicConfig(level=logging.CRITICAL)
    logging.getLogger("pyftpdlib").setLevel(logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.masquerade_address = None
    handler.passive_ports = None
    server = ThreadedFTPServer(("127.0.0.1", 0), handler)
    return server, server.address[1], lambda: server.serve_forever(timeout=0.2, blocking=True)


def main():
    args = sys.argv[1:]
    kind, root = args[0], args[1]
    opts = {}
    i = 2
    while i < len(args):
        if args[i] == "--tls":
            opts["tls"] = (args[i + 1], args[i + 2])
            i += 3
        else:
            opts[args[i][2:]] = args[i + 1]
            i += 2
    if kind == "http":
        server, port, run = serve_http(root, opts.get("tls"), opts.get("user", ""), opts.get("password", ""))
    else:
        server, port, run = serve_ftp(root, opts["user"], opts["password"])
    threading.Thread(target=run, daemon=True).start()
    print("PORT %d" % port, flush=True)
    sys.stdin.read()  # the test closes our stdin when it is done
    os._exit(0)


if __name__ == "__main__":
    main()
