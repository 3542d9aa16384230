"""An FTP server for the publishing tests: one account whose home is the
given folder, on a loopback port, with explicit TLS required for the
commands and the files (AUTH TLS, PROT P) when a certificate is given.

Usage: ftp-server.py PORT HOME USER PASSWORD CERTIFICATE|- KEY|-
"""
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer


class EarlyTlsDTPHandler(TLS_DTPHandler):
    """libcurl (7.87 on) starts the TLS handshake of a data connection before
    it sends the transfer command. pyftpdlib takes bytes that arrive before
    the command for a closed connection; here the handshake goes on."""

    def readable(self):
        if self._ssl_accepting and not self._initialized:
            return True
        return super().readable()


port, home, user, password, certificate, key = sys.argv[1:7]
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, home, perm="elradfmwMT")
if certificate == "-":
    handler = FTPHandler
else:
    handler = TLS_FTPHandler
    handler.certfile = certificate
    handler.keyfile = key
    handler.tls_control_required = True
    handler.tls_data_required = True
    handler.dtp_handler = EarlyTlsDTPHandler
handler.authorizer = authorizer
handler.banner = "test server ready"
server = FTPServer(("127.0.0.1", int(port)), handler)
server.serve_forever()
