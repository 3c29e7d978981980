#!/usr/bin/env python3
"""A relay that adds latency, for ssh's ProxyCommand: copies standard input to a TCP connection
and the connection to standard output, handing on every chunk DELAY_MS after it arrived (order
kept, no cap on throughput beyond that). Exits when either side closes, once what it had
received from that side is handed on.

Usage: delay-relay.py HOST PORT DELAY_MS
"""

import collections
import os
import socket
import sys
import threading
import time

CHUNK = 256 * 1024


class DelayedPipe:
    """One direction: a reader queues each chunk with its due time, a writer hands it on then."""

    def __init__(self, read, write, finish, delay, done):
        self.read, self.write, self.finish = read, write, finish
        self.delay = delay
        self.done = done
        self.queue = collections.deque()
        self.ready = threading.Condition()

    def start(self):
        threading.Thread(target=self.reading, daemon=True).start()
        threading.Thread(target=self.writing, daemon=True).start()

    def reading(self):
        while True:
            try:
                data = self.read(CHUNK)
            except OSError:
                data = b""
            with self.ready:
                self.queue.append((time.monotonic() + self.delay, data))
                self.ready.notify()
            if not data:
                return

    def writing(self):
        try:
            while True:
                with self.ready:
                    while not self.queue:
                        self.ready.wait()
                    due, data = self.queue.popleft()
                wait = due - time.monotonic()
                if wait > 0:
                    time.sleep(wait)
                if not data:
                    self.finish()
                    break
                view = memoryview(data)
                while view:
                    view = view[self.write(view):]
        except OSError:
            pass
        self.done.set()


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: delay-relay.py HOST PORT DELAY_MS")
    host, port, delay = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]) / 1000.0
    connection = socket.create_connection((host, port))
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    stdin, stdout = sys.stdin.fileno(), sys.stdout.fileno()
    done = threading.Event()

    def close_connection_side():
        connection.shutdown(socket.SHUT_WR)

    def close_stdout():
        os.close(stdout)

    DelayedPipe(lambda n: os.read(stdin, n), connection.send, close_connection_side, delay,
                done).start()
    DelayedPipe(connection.recv, lambda data: os.write(stdout, data), close_stdout, delay,
                done).start()
    done.wait()
    # The threads may still block in a read; leave without waiting for them.
    os._exit(0)


if __name__ == "__main__":
    main()
