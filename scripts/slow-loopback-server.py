#!/usr/bin/env python3
"""An HTTP server on the loopback interface whose answers trickle in (64 KiB at 2 KiB/s), so that
a download runs for a while. Prints its port, then serves until killed. Used as the HTTP proxy."""
import http.server
import time


class Slow(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Length", str(64 * 1024))
        self.end_headers()
        try:
            for _ in range(64):
                self.wfile.write(b"\0" * 1024)
                self.wfile.flush()
                time.sleep(0.5)
        except OSError:  # the program went away
            pass

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Slow)
print(server.server_address[1], flush=True)
server.serve_forever()
