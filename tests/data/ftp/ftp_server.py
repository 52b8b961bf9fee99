"""A local FTP server for the upload tests.

Usage: ftp_server.py HOME USER PASSWORD_FILE [CERTIFICATE]

Serves HOME to USER, whose password is the whole content of PASSWORD_FILE
(UTF-8), on 127.0.0.1 and a free port. With CERTIFICATE (a PEM file holding
the key and a self-signed certificate for 127.0.0.1, made on the first use)
the server speaks explicit TLS and refuses clear-text sessions. Prints the
port and, with TLS, the certificate's SHA-256 fingerprint
("SHA256:AA:BB:...") on the first lines of standard output, and ends when
standard input closes, so the server never outlives the test that started it.
"""
import hashlib
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


def make_certificate(path):
    from OpenSSL import crypto

    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.get_subject().CN = "127.0.0.1"
    cert.set_serial_number(int.from_bytes(os.urandom(8), "big"))
    cert.gmtime_adj_notBefore(-60)
    cert.gmtime_adj_notAfter(24 * 3600)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.add_extensions([crypto.X509Extension(b"subjectAltName", False, b"IP:127.0.0.1")])
    cert.sign(key, "sha256")
    with open(path, "wb") as f:
        f.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))
        f.write(crypto.dump_certificate(crypto.FILETYPE_PEM, cert))


def fingerprint(path):
    from OpenSSL import crypto

    with open(path, "rb") as f:
        cert = crypto.load_certificate(crypto.FILETYPE_PEM, f.read())
    digest = hashlib.sha256(crypto.dump_certificate(crypto.FILETYPE_ASN1, cert)).hexdigest().upper()
    return "SHA256:" + ":".join(digest[i:i + 2] for i in range(0, len(digest), 2))


def tls_handler(certificate):
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class DataChannel(TLS_DTPHandler):
        # A client may start the data channel's handshake before it names
        # the transfer; the stock channel takes that early read for a
        # disconnection.
        def readable(self):
            return self._ssl_accepting or super().readable()

    if not os.path.exists(certificate):
        make_certificate(certificate)
    handler = TLS_FTPHandler
    handler.certfile = certificate
    handler.dtp_handler = DataChannel
    handler.tls_control_required = True
    handler.tls_data_required = True
    return handler


def main():
    home, user, password_file = sys.argv[1:4]
    certificate = sys.argv[4] if len(sys.argv) > 4 else None
    with open(password_file, "rb") as f:
        password = f.read().decode("utf-8")
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, home, perm="elradfmwMT")
    handler = tls_handler(certificate) if certificate else FTPHandler
    handler.authorizer = authorizer
    handler.banner = "test server ready"
    # A refused login is answered at once, not after the usual pause.
    handler.auth_failed_timeout = 0
    config_logging(level=logging.WARNING)
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    if certificate:
        print(fingerprint(certificate), flush=True)

    def end_with_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_stdin, daemon=True).start()
    server.serve_forever(timeout=0.2, handle_exit=False)


if __name__ == "__main__":
    main()
