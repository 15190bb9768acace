#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A hostile CalDAV and feed server on 127.0.0.1 for the tests.

It listens on two ports and prints "PORT OTHER_PORT" on its first line. The first part of
a request's path names the mode: http://127.0.0.1:PORT/<mode>/cal/ is a calendar, and
http://127.0.0.1:PORT/<mode>/feed.ics a subscription feed. Each mode is one function in
MODES (marked @mode), called with the request; it answers through the helpers of Request.

GET /_log (either port) answers the requests seen so far, one JSON object a line:
method, port, path, whether Authorization came, and for streamed answers the bytes sent
and whether the client closed the connection. The server ends on SIGTERM.
"""

import json
import socket
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

LOG = []
LOG_LOCK = threading.Lock()
PORTS = []

MULTISTATUS = (b'<?xml version="1.0"?><D:multistatus xmlns:D="DAV:" '
               b'xmlns:C="urn:ietf:params:xml:ns:caldav">')


def event(uid, summary):
    return ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\n"
            f"UID:{uid}\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260312\r\n"
            f"SUMMARY:{summary}\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n").encode()


def collection(href, token=None):
    tok = f"<D:sync-token>{token}</D:sync-token>" if token else ""
    return (f"<D:response><D:href>{href}</D:href><D:propstat><D:prop><D:resourcetype>"
            f"<D:collection/><C:calendar/></D:resourcetype>{tok}</D:prop>"
            "<D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>").encode()


def member(href, etag, data=None):
    body = ""
    if data is not None:
        text = data.decode().replace("&", "&amp;").replace("<", "&lt;")
        body = f"<C:calendar-data>{text}</C:calendar-data>"
    return (f"<D:response><D:href>{href}</D:href><D:propstat><D:prop>"
            f"<D:getetag>\"{etag}\"</D:getetag>{body}</D:prop>"
            "<D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>").encode()


class Request(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    # What the request was, as the modes see it.
    def setup_request(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.body = self.rfile.read(length) if length else b""
        parts = self.path.split("/", 2)
        self.mode = parts[1] if len(parts) > 1 else ""
        self.rest = "/" + parts[2] if len(parts) > 2 else "/"
        self.port = self.server.server_address[1]
        self.entry = {"method": self.command, "port": self.port, "path": self.path,
                      "auth": "Authorization" in self.headers}

    def record(self):
        with LOG_LOCK:
            LOG.append(self.entry)

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def multistatus(self, inner):
        self.answer(207, MULTISTATUS + inner + b"</D:multistatus>",
                    [("Content-Type", "application/xml; charset=utf-8")])

    # Sends `first`, then `piece` again and again as chunks, `pause` seconds apart, until
    # the client goes away or `limit` bytes went out; records what was sent.
    def stream(self, status, first, piece, pause=0.0, limit=None, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        sent = 0
        self.entry["closed"] = False
        data = first
        try:
            while limit is None or sent < limit:
                self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
                self.wfile.flush()
                sent += len(data)
                self.entry["sent"] = sent
                data = piece
                if pause:
                    time.sleep(pause)
            self.wfile.write(b"0\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError, socket.timeout):
            self.entry["closed"] = True
        self.close_connection = True

    def handle_any(self):
        self.setup_request()
        if self.mode == "_log":
            with LOG_LOCK:
                text = "".join(json.dumps(e) + "\n" for e in LOG)
            return self.answer(200, text.encode())
        self.record()
        answer = MODES.get(self.mode)
        if answer is None:
            return self.answer(404)
        answer(self)

    do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_OPTIONS = handle_any


# The modes: each answers one request. `r.rest` is the path after the mode. A new mode is
# one more function marked @mode.
MODES = {}


def mode(f):
    MODES[f.__name__] = f
    return f


@mode
def endless(r):
    """An answer that never ends: a multistatus (or a feed) streamed as fast as it goes."""
    if r.rest.endswith(".ics"):
        return r.stream(200, b"BEGIN:VCALENDAR\r\nVERSION:2.0\r\n",
                        b"X-FILLER:" + b"x" * 65000 + b"\r\n",
                        headers=[("Content-Type", "text/calendar")])
    r.stream(207, MULTISTATUS + collection(f"/{r.mode}/cal/", "t1"),
             b"<D:response><D:href>/x/</D:href></D:response>" * 1400,
             headers=[("Content-Type", "application/xml")])


@mode
def slow(r):
    """One byte a second of an answer that would be well-formed."""
    whole = event("slow", "Slow") if r.rest.endswith(".ics") else (
        MULTISTATUS + collection(f"/{r.mode}/cal/", "t1") + b"</D:multistatus>")
    r.stream(207 if r.command == "PROPFIND" else 200, whole[:1], b" ", pause=1.0,
             headers=[("Content-Type", "application/xml")])


@mode
def steady(r):
    """A feed that takes two seconds at a healthy 400 kB a second, then ends."""
    r.stream(200, b"BEGIN:VCALENDAR\r\n", b"X-FILLER:" + b"x" * 19989 + b"\r\n", pause=0.05,
             limit=800000, headers=[("Content-Type", "text/calendar")])


TOKENS = [0]


@mode
def token507(r):
    """Each sync-collection REPORT: truncated (507) with no change and a new token."""
    if r.command == "REPORT" and b"sync-collection" in r.body:
        TOKENS[0] += 1
        return r.multistatus(
            f"<D:response><D:href>/{r.mode}/cal/</D:href>"
            "<D:status>HTTP/1.1 507 Insufficient Storage</D:status></D:response>"
            f"<D:sync-token>n{TOKENS[0]}</D:sync-token>".encode())
    if r.command == "PROPFIND":
        return r.multistatus(collection(f"/{r.mode}/cal/", "n0"))
    r.answer(404)


@mode
def redirect(r):
    """The first port sends everything to the same path on the other port."""
    if r.port == PORTS[0]:
        return r.answer(307, headers=[("Location",
                                       f"http://127.0.0.1:{PORTS[1]}{r.path}")])
    if r.command == "PROPFIND":
        return r.multistatus(collection(f"/{r.mode}/cal/", "r1"))
    r.answer(404)


@mode
def dotdot(r):
    """A listing whose hrefs climb out of the calendar; multiget answers whatever is asked."""
    cal = f"/{r.mode}/cal/"
    outside = [f"{cal}../elsewhere/ev1.ics", f"{cal}./../../x/ev2.ics",
               f"{cal}%2e%2e/elsewhere/ev3.ics", f"http://127.0.0.1:{PORTS[1]}{cal}ev4.ics",
               f"{cal}a%2f..%2f..%2fev5.ics"]
    hrefs = outside + [f"{cal}./ok.ics"]
    if r.command == "PROPFIND":
        return r.multistatus(collection(cal, "d1") +
                             b"".join(member(h, i) for i, h in enumerate(hrefs)))
    if r.command == "REPORT":
        return r.multistatus(b"".join(member(h, i, event(f"u{i}", f"E{i}"))
                                      for i, h in enumerate(hrefs)))
    r.answer(404)


# The calendar of the modes that first sync in full: SERVED events listed by the first
# PROPFIND (with a token), fetched by multiget; PUTs stored. After that first listing the
# mode's `later` answers every listing and sync-collection REPORT.
SERVED = 300
FULL = {}  # mode -> {path: etag} once listed in full


def full_then(r, later):
    cal = f"/{r.mode}/cal/"
    store = FULL.get(r.mode)
    if r.command == "PUT":
        if store is None:
            return r.answer(409)
        store[r.path] = f"p{len(store)}"
        return r.answer(201, headers=[("ETag", f'"{store[r.path]}"')])
    if r.command == "REPORT" and b"calendar-multiget" in r.body:
        hrefs = [h.split(b"<", 1)[0].decode() for h in r.body.split(b"href>")[1::2]]
        return r.multistatus(b"".join(member(h, "s", event(h, "Served " + h.split("/")[-1]))
                                      for h in hrefs))
    if store is None and r.command == "PROPFIND":
        FULL[r.mode] = store = {f"{cal}s{i}.ics": "s" for i in range(SERVED)}
        return r.multistatus(collection(cal, "f1") +
                             b"".join(member(h, e) for h, e in store.items()))
    if store is None:
        return r.answer(404)
    later(r)


@mode
def emptied(r):
    """After the full sync the calendar is empty: the token is refused and the listing
    names only the calendar, as a server whose storage failed."""
    def later(r):
        if r.command == "REPORT":
            return r.answer(403, b'<?xml version="1.0"?><D:error xmlns:D="DAV:">'
                            b'<D:valid-sync-token/></D:error>',
                            [("Content-Type", "application/xml")])
        r.multistatus(collection(f"/{r.mode}/cal/", "f2"))
    full_then(r, later)


DTD = []


@mode
def dtd(r):
    """After the full sync every listing is a 40 MB answer holding only a DTD."""
    def later(r):
        if not DTD:
            decl = b"<!ENTITY e%d \"" + b"x" * 1000 + b"\">\n"
            DTD.append(b'<?xml version="1.0"?>\n<!DOCTYPE D:multistatus [\n' +
                       b"".join(decl % i for i in range(40 * 1024)) + b"]>\n")
        r.answer(207, DTD[0], [("Content-Type", "application/xml")])
    full_then(r, later)


def main():
    servers = [ThreadingHTTPServer(("127.0.0.1", 0), Request) for _ in range(2)]
    for s in servers:
        s.daemon_threads = True
        PORTS.append(s.server_address[1])
        threading.Thread(target=s.serve_forever, daemon=True).start()
    print(PORTS[0], PORTS[1], flush=True)
    try:
        threading.Event().wait()  # until a signal ends the process
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
