#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The token-introspection endpoint (RFC 7662) Dovecot asks on loopback: "fresh-token" is
# active for the user, every other token is not. Writes its port to PORT_FILE.
# token_endpoint.py PORT_FILE USER
import http.server
import json
import os
import sys
import urllib.parse

port_file, user = sys.argv[1:3]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0))).decode()
        token = urllib.parse.parse_qs(body).get("token", [""])[0]
        reply = {"active": True, "username": user} if token == "fresh-token" else {"active": False}
        data = json.dumps(reply).encode()
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(port_file + ".tmp", port_file)
server.serve_forever()
