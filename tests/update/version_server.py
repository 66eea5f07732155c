#!/usr/bin/env python3
"""Plays the maker's web server for the update tests, on 127.0.0.1.

Usage: version_server.py PORT TOKEN

The test that starts it steers it over a control connection to PORT + 1: it sends TOKEN first
(answered "ok"; any other first line is hung up on), then one command per line, each answered
with one line once it is in force:
  serve STATUS [HEXBODY]  ok   GET /downloads/VelmoraVersion.ini gets STATUS and the body
  big                     ok   ... gets 200 and 10 MB without a length
  hang                    ok   connections are accepted and never answered
  down                    ok   nothing listens on PORT (the state it starts in)
  count                   N    connections accepted on PORT so far
Other paths get 404. The server ends when that control connection closes, however the test
ended, or when no test takes control within a minute. The control port is its lock: a second
server (another checkout's tests) waits until it is free, so one test at a time owns PORT.
"""
import os
import socket
import sys
import threading
import time

VERSION_REQUEST = b"GET /downloads/VelmoraVersion.ini "


def bind(port, patience):
    deadline = time.monotonic() + patience
    while True:
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            sock.bind(("127.0.0.1", port))
            return sock
        except OSError:
            sock.close()
            if time.monotonic() > deadline:
                sys.exit(1)
            time.sleep(0.1)


class HttpSide:
    def __init__(self, port):
        self.port, self.mode, self.listener, self.count, self.held = port, ("down",), None, 0, []
        self.lock = threading.Lock()

    def set_mode(self, mode):
        with self.lock:
            for conn in self.held:
                conn.close()
            self.held, self.mode = [], mode
        if mode[0] != "down" and not self.listener:
            self.listener = bind(self.port, 10)
            self.listener.listen(16)
            threading.Thread(target=self.accept_all, args=(self.listener,), daemon=True).start()
        elif mode[0] == "down" and self.listener:
            self.listener.shutdown(socket.SHUT_RDWR)  # wakes the accepting thread
            self.listener.close()
            self.listener = None

    def accept_all(self, listener):
        while True:
            try:
                conn, _ = listener.accept()
            except OSError:
                return
            with self.lock:
                self.count += 1
                if self.mode[0] == "hang":
                    self.held.append(conn)
                    continue
                mode = self.mode
            threading.Thread(target=self.answer, args=(conn, mode), daemon=True).start()

    def answer(self, conn, mode):
        with conn:
            try:
                request = b""
                while b"\r\n\r\n" not in request and len(request) < 65536:
                    chunk = conn.recv(4096)
                    if not chunk:
                        return
                    request += chunk
                if not request.startswith(VERSION_REQUEST):
                    mode = ("serve", 404, b"")
                if mode[0] == "big":
                    conn.sendall(b"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")
                    for _ in range(160):
                        conn.sendall(b"x" * 65536)
                    return
                _, status, body = mode
                head = b"HTTP/1.1 %d X\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % (status, len(body))
                conn.sendall(head + body)
            except OSError:  # the client hung up early, as it should on a 10 MB body
                pass


def main():
    port, token = int(sys.argv[1]), sys.argv[2].encode()
    # A Unix program started from Wine gets Wine's own streams: let go of them, so that no test
    # runner waits for this process to close them.
    quiet = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(quiet, fd)
    control = bind(port + 1, 90)
    control.listen(4)
    deadline = time.monotonic() + 60
    while True:
        control.settimeout(max(deadline - time.monotonic(), 0.01))
        try:
            conn, _ = control.accept()
        except OSError:
            return
        conn.settimeout(None)
        stream = conn.makefile("rb")
        if stream.readline().strip() == token:
            break
        conn.close()
    http = HttpSide(port)
    conn.sendall(b"ok\n")
    for line in stream:
        words = line.split()
        if words and words[0] == b"serve":
            http.set_mode(("serve", int(words[1]), bytes.fromhex(words[2].decode()) if len(words) > 2 else b""))
        elif words and words[0] in (b"big", b"hang", b"down"):
            http.set_mode((words[0].decode(),))
        elif words and words[0] == b"count":
            with http.lock:
                conn.sendall(b"%d\n" % http.count)
            continue
        else:
            conn.sendall(b"unknown\n")
            continue
        conn.sendall(b"ok\n")


if __name__ == "__main__":
    main()
    os._exit(0)
