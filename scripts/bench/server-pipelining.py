#!/usr/bin/env python3
"""The folder server's memory while one client pipelines requests and reads no answer.

Usage: scripts/bench/server-pipelining.py VELMORA_REDIRECT [SECONDS]
Serves a folder with a 4 MB file, then sends GET requests for it without reading for SECONDS
(default 5); prints the bytes the client got to send and the server's resident memory before
and after.
"""
import os
import socket
import subprocess
import sys
import tempfile
import time


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def main():
    program = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 5
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "big.mp4"), "wb") as f:
            f.write(os.urandom(4 << 20))
        server = subprocess.Popen([program, "--serve", folder], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE)
        url = server.stdout.readline().decode().strip()
        port = int(url.rsplit(":", 1)[1].strip("/"))
        time.sleep(0.3)
        before = rss_kb(server.pid)
        request = f"GET /big.mp4 HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n".encode() * 1000
        client = socket.create_connection(("127.0.0.1", port))
        client.setblocking(False)
        sent = 0
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            try:
                sent += client.send(request)
            except BlockingIOError:
                time.sleep(0.01)
        after = rss_kb(server.pid)
        print(f"sent {sent / 1e6:.1f} MB of requests; server memory {before / 1024:.1f} MiB "
              f"before, {after / 1024:.1f} MiB after")
        client.close()
        server.stdin.close()
        server.wait(timeout=10)


if __name__ == "__main__":
    main()
