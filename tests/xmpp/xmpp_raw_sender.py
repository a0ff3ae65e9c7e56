#!/usr/bin/python3
"""Logs in to the test server as USER and sends each line of standard input
as it stands, raw XML, then logs out: a peer that says what no well-behaved
client would.

    xmpp_raw_sender.py SERVER_DIR USER < stanzas

SERVER_DIR is the folder prosody_server.sh made (port, cert.pem, password).
Exits 1 when the login fails.
"""
import asyncio
import pathlib
import sys

import slixmpp


class RawSender(slixmpp.ClientXMPP):
    def __init__(self, address, password, lines):
        super().__init__(address, password)
        self.lines = lines
        self.sent = False
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("failed_auth", lambda _: self.disconnect())

    async def start(self, _):
        for line in self.lines:
            self.send_raw(line)
        self.sent = True
        await asyncio.sleep(0.3)
        self.disconnect()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    folder = pathlib.Path(sys.argv[1])
    port = int((folder / "port").read_text().strip())
    password = (folder / "password").read_text().strip()
    lines = [line for line in sys.stdin.read().split("\n") if line.strip()]
    sender = RawSender(sys.argv[2] + "@localhost", password, lines)
    sender.ca_certs = folder / "cert.pem"
    sender.connect(("127.0.0.1", port))
    sender.loop.call_later(20, sender.disconnect)
    sender.process(forever=False)
    sys.exit(0 if sender.sent else 1)


if __name__ == "__main__":
    main()
