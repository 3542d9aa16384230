"""An SFTP server for the publishing tests that knows one account by its
password only (no keys), asked either as a password or keyboard-interactive,
serving a folder as its root, on a loopback port. OpenSSH's sshd can check a
password only against the system's accounts, which a test must not touch.

Usage: sftp-password-server.py PORT HOST_KEY ROOT USER PASSWORD password|keyboard-interactive
"""
import asyncio
import sys

import asyncssh

port, host_key, root, user, password, method = sys.argv[1:7]


class Server(asyncssh.SSHServer):
    def begin_auth(self, username):
        return True

    def public_key_auth_supported(self):
        return False

    def password_auth_supported(self):
        return method == "password"

    def validate_password(self, username, given):
        return username == user and given == password

    def kbdint_auth_supported(self):
        return method == "keyboard-interactive"

    def get_kbdint_challenge(self, username, lang, submethods):
        return "", "", "", [("Password: ", False)]

    def validate_kbdint_response(self, username, responses):
        return username == user and list(responses) == [password]


class Sftp(asyncssh.SFTPServer):
    def __init__(self, chan):
        super().__init__(chan, chroot=root)


async def main():
    await asyncssh.listen("127.0.0.1", int(port), server_host_keys=[host_key], server_factory=Server,
                          sftp_factory=Sftp, allow_scp=False)
    await asyncio.Event().wait()


asyncio.run(main())
