#!/usr/bin/env python3
"""Serves the built web site from this machine only, until interrupted.

Usage: serve_site.py SITE_DIR PORT [--plain]
The types that browsers insist on are set here, whatever the Python version
knows: WebAssembly must come as application/wasm to be compiled as it streams
in, the manifest and modules as what they are. Text and the game's module go
out gzip-compressed to a browser that takes it, as a web host sends them
(--plain: as they are); the soundfont, the fonts and the pictures as they are.
"""
# SPDX-License-Identifier: MIT
import functools
import gzip
import http.server
import io
import os
import sys

TYPES = {
    ".wasm": "application/wasm",
    ".js": "text/javascript",
    ".mjs": "text/javascript",
    ".webmanifest": "application/manifest+json",
    ".json": "application/json",
    ".sf2": "application/octet-stream",
    ".mid": "audio/midi",
    # The notices name a font in Japanese.
    ".txt": "text/plain; charset=utf-8",
}
COMPRESSED = {".html", ".css", ".js", ".mjs", ".wasm", ".webmanifest", ".json", ".ico"}


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}
    plain = False
    packed = {}  # path -> (modification time, the file gzip-compressed)

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            if not self.path.split("?", 1)[0].endswith("/"):
                return super().send_head()  # sent on to the folder's own address
            path = os.path.join(path, "index.html")
        if (self.plain or "gzip" not in self.headers.get("Accept-Encoding", "")
                or os.path.splitext(path)[1] not in COMPRESSED or not os.path.isfile(path)):
            return super().send_head()
        stamp = os.stat(path).st_mtime_ns
        if self.packed.get(path, (None,))[0] != stamp:
            with open(path, "rb") as source:
                self.packed[path] = (stamp, gzip.compress(source.read(), 9, mtime=0))
        body = self.packed[path][1]
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Vary", "Accept-Encoding")
        self.end_headers()
        return io.BytesIO(body)


def main():
    site, port = sys.argv[1], int(sys.argv[2])
    SiteHandler.plain = "--plain" in sys.argv[3:]
    handler = functools.partial(SiteHandler, directory=site)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"Ruvo is served at http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops it)", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
