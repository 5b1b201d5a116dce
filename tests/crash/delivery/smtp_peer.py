"""An SMTP server on 127.0.0.1 for the delivery tests, built on aiosmtpd.

Prints the port it listens on, then writes every command it gets to dialogue.txt and every
message to message-N.eml in the folder given. It ends after --seconds or when killed.

    smtp_peer.py FOLDER [--port P] [--auth LOGIN:PASSWORD] [--no-ehlo] [--no-login]
                 [--refuse ADDRESS]
"""
import argparse
import asyncio
import pathlib
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--auth")
    parser.add_argument("--no-ehlo", action="store_true")
    parser.add_argument("--no-login", action="store_true")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--seconds", type=float, default=60)
    options = parser.parse_args()
    dialogue = open(options.folder / "dialogue.txt", "a", buffering=1)
    messages = []

    class Handler:
        async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
            if address in options.refuse:
                return "550 no such user"
            envelope.rcpt_tos.append(address)
            return "250 OK"

        async def handle_DATA(self, server, session, envelope):
            messages.append(envelope.content)
            (options.folder / f"message-{len(messages)}.eml").write_bytes(envelope.content)
            dialogue.write(f"(message for {','.join(envelope.rcpt_tos)})\n")
            return "250 OK queued"

    def authenticator(server, session, envelope, mechanism, data):
        dialogue.write(f"(authenticated {mechanism} {data.login.decode()}:"
                       f"{data.password.decode()})\n")
        expected = options.auth.split(":", 1)
        ok = isinstance(data, LoginPassword) and [data.login.decode(),
                                                  data.password.decode()] == expected
        return AuthResult(success=ok, handled=False)

    class RecordingSMTP(SMTP):
        def _record(self, verb, arg):
            dialogue.write(f"{verb} {arg}\n" if arg else f"{verb}\n")

    for verb in ("EHLO", "HELO", "MAIL", "RCPT", "DATA", "RSET", "QUIT", "NOOP", "AUTH"):
        original = getattr(SMTP, "smtp_" + verb)

        def wrapped(self, arg, _original=original, _verb=verb):
            self._record(_verb, arg)
            if _verb == "EHLO" and options.no_ehlo:
                return self.push("502 5.5.2 EHLO not here")
            return _original(self, arg)

        setattr(RecordingSMTP, "smtp_" + verb, wrapped)

    def factory():
        return RecordingSMTP(
            Handler(), hostname="peer.test", auth_require_tls=False,
            authenticator=authenticator if options.auth else None,
            auth_exclude_mechanism=["LOGIN"] if options.no_login else ["PLAIN"])

    async def serve():
        server = await asyncio.get_running_loop().create_server(
            factory, "127.0.0.1", options.port)
        print(server.sockets[0].getsockname()[1], flush=True)
        await asyncio.sleep(options.seconds)

    asyncio.run(serve())


if __name__ == "__main__":
    sys.exit(main())
