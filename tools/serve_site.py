#!/usr/bin/env python3
"""Serves the built web site from this machine only, until interrupted.

Usage: serve_site.py SITE_DIR PORT
The types that browsers insist on are set here, whatever the Python version
knows: WebAssembly must come as application/wasm to be compiled as it streams
in, the manifest and modules as what they are.
"""
import functools
import http.server
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


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}


def main():
    site, port = sys.argv[1], int(sys.argv[2])
    handler = functools.partial(SiteHandler, directory=site)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"Ruvo is served at http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops it)", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
