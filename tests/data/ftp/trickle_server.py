"""A server that never gets to the point, for the upload time limits.

Usage: trickle_server.py INTERVAL

Accepts connections on 127.0.0.1 and a free port and sends every client a
"220-" line every INTERVAL seconds, never the final reply. Prints the port on
the first line of standard output, and ends when standard input closes or
after two minutes, whichever comes first.
"""
import os
import socket
import sys
import threading
import time


def trickle(connection, interval):
    try:
        while True:
            connection.sendall(b"220-still getting ready\r\n")
            time.sleep(interval)
    except OSError:
        connection.close()


def main():
    interval = float(sys.argv[1])
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    print(listener.getsockname()[1], flush=True)

    def end_with_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_stdin, daemon=True).start()
    threading.Timer(120, lambda: os._exit(0)).start()
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=trickle, args=(connection, interval), daemon=True).start()


if __name__ == "__main__":
    main()
