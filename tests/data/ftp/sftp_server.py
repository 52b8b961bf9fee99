"""A local SFTP server for the upload tests.

Usage: sftp_server.py HOME USER PASSWORD_FILE HOST_KEY [AUTHORIZED_KEYS]

Serves HOME (as the root of the server's file system) to USER, who logs in
with the whole content of PASSWORD_FILE (UTF-8) or, with AUTHORIZED_KEYS,
with one of those keys. HOST_KEY is the server's private key, an Ed25519 key
made on the first use. Listens on 127.0.0.1 and a free port; prints the port
and the host key's SHA-256 fingerprint ("SHA256:...") on the first lines of
standard output, and ends when standard input closes.
"""
import asyncio
import os
import sys
import threading
import warnings

warnings.simplefilter("ignore")
import asyncssh  # noqa: E402


def main():
    home, user, password_file, host_key = sys.argv[1:5]
    authorized_keys = sys.argv[5] if len(sys.argv) > 5 else None
    with open(password_file, "rb") as f:
        password = f.read().decode("utf-8")
    if not os.path.exists(host_key):
        asyncssh.generate_private_key("ssh-ed25519").write_private_key(host_key)

    class Server(asyncssh.SSHServer):
        def begin_auth(self, username):
            return True

        def password_auth_supported(self):
            return True

        def validate_password(self, username, given):
            return username == user and given == password

    async def start():
        server = await asyncssh.create_server(
            Server, "127.0.0.1", 0,
            server_host_keys=[host_key],
            authorized_client_keys=authorized_keys,
            sftp_factory=lambda channel: asyncssh.SFTPServer(channel, chroot=home),
            allow_scp=False)
        print(server.sockets[0].getsockname()[1], flush=True)
        key = asyncssh.read_private_key(host_key)
        print(key.get_fingerprint("sha256"), flush=True)

    def end_with_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_stdin, daemon=True).start()
    loop = asyncio.new_event_loop()
    loop.run_until_complete(start())
    loop.run_forever()


if __name__ == "__main__":
    main()
