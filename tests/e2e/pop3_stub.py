#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A POP3 server on 127.0.0.1 for the end-to-end mail check.

Usage: pop3_stub.py PORT_FILE LOG_FILE COUNT PASSWORD

Listens on a free port, which it writes to PORT_FILE, and answers each connection as a
mailbox holding COUNT messages would; a PASS other than PASSWORD is refused. Every command
line it receives goes to LOG_FILE. It offers no STLS (CAPA is refused) and ends by itself
after 110 seconds.
"""
import os
import socket
import sys
import time

LIFETIME = 110


def serve(conn, log, count, password):
    conn.settimeout(30)
    conn.sendall(b"+OK stub ready\r\n")
    pending = b""
    while True:
        data = conn.recv(4096)
        if not data:
            return
        pending += data
        while b"\r\n" in pending:
            line, pending = pending.split(b"\r\n", 1)
            text = line.decode("utf-8", "replace")
            log.write(text + "\n")
            log.flush()
            word, _, arg = text.partition(" ")
            if word == "USER":
                reply = "+OK"
            elif word == "PASS":
                reply = "+OK" if arg == password else "-ERR wrong password"
            elif word == "STAT":
                reply = "+OK %d %d" % (count, 1024 * count)
            elif word == "QUIT":
                conn.sendall(b"+OK bye\r\n")
                return
            else:
                reply = "-ERR unknown command"
            conn.sendall(reply.encode() + b"\r\n")


def main():
    port_file, log_file, count, password = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    with open(port_file + ".part", "w") as f:
        f.write(str(server.getsockname()[1]))
    os.rename(port_file + ".part", port_file)

    deadline = time.monotonic() + LIFETIME
    with open(log_file, "a") as log:
        while time.monotonic() < deadline:
            server.settimeout(max(0.1, deadline - time.monotonic()))
            try:
                conn, _ = server.accept()
            except socket.timeout:
                break
            with conn:
                try:
                    serve(conn, log, count, password)
                except (OSError, socket.timeout):
                    pass


if __name__ == "__main__":
    main()
