"""A local FTP server for the upload tests.

Usage: ftp_server.py HOME USER PASSWORD_FILE

Serves HOME to USER, whose password is the whole content of PASSWORD_FILE
(UTF-8), on 127.0.0.1 and a free port. Prints the port on the first line of
standard output and ends when standard input closes, so the server never
outlives the test that started it.
"""
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


def main():
    home, user, password_file = sys.argv[1:4]
    with open(password_file, "rb") as f:
        password = f.read().decode("utf-8")
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, home, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "test server ready"
    # A refused login is answered at once, not after the usual pause.
    handler.auth_failed_timeout = 0
    config_logging(level=logging.WARNING)
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)

    def end_with_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_stdin, daemon=True).start()
    server.serve_forever(timeout=0.2, handle_exit=False)


if __name__ == "__main__":
    main()
