"""A DNS server on 127.0.0.1 for the delivery tests, built on dnslib.

Answers MX and A questions from the records given, NXDOMAIN for every other name, and prints
the port it listens on; every question goes to questions.txt in the folder given.

    dns_peer.py FOLDER [--address A] [--port P] [--mx DOMAIN=PREFERENCE:HOST]...
                [--a HOST=ADDRESS]... [--ns ZONE=HOST@ADDRESS]... [--delegate ZONE=HOST@ADDRESS]...

--ns answers the zone's NS question with the server and its address; --delegate refers every
question below the zone to that server (authority and glue records), as a parent zone does.
"""
import argparse
import pathlib
import time

from dnslib import A, MX, NS, QTYPE, RCODE, RR
from dnslib.server import BaseResolver, DNSLogger, DNSServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--ns", action="append", default=[])
    parser.add_argument("--delegate", action="append", default=[])
    parser.add_argument("--mx", action="append", default=[])
    parser.add_argument("--a", action="append", default=[])
    parser.add_argument("--seconds", type=float, default=60)
    options = parser.parse_args()
    questions = open(options.folder / "questions.txt", "a", buffering=1)
    delegations = []
    records = {}
    for entry in options.mx:
        domain, value = entry.split("=", 1)
        preference, host = value.split(":", 1)
        records.setdefault((domain, "MX"), []).append(RR(
            domain, QTYPE.MX, rdata=MX(host, int(preference)), ttl=60))
    for entry in options.a:
        host, address = entry.split("=", 1)
        records.setdefault((host, "A"), []).append(RR(host, QTYPE.A, rdata=A(address), ttl=60))
    for entry in options.ns:
        zone, value = entry.split("=", 1)
        host, address = value.split("@", 1)
        records.setdefault((zone, "NS"), []).append(RR(zone, QTYPE.NS, rdata=NS(host), ttl=60))
        records.setdefault(("glue", zone), []).append(
            RR(host, QTYPE.A, rdata=A(address), ttl=60))
    for entry in options.delegate:
        zone, value = entry.split("=", 1)
        host, address = value.split("@", 1)
        delegations.append((zone, RR(zone, QTYPE.NS, rdata=NS(host), ttl=60),
                            RR(host, QTYPE.A, rdata=A(address), ttl=60)))

    class Resolver(BaseResolver):
        def resolve(self, request, handler):
            name = str(request.q.qname).rstrip(".")
            kind = QTYPE[request.q.qtype]
            questions.write(f"{options.address} {kind} {name}\n")
            reply = request.reply()
            answers = records.get((name, kind))
            known = any(key[0] == name for key in records)
            if answers:
                for answer in answers:
                    reply.add_answer(answer)
                for glue in records.get(("glue", name), []) if kind == "NS" else []:
                    reply.add_ar(glue)
                return reply
            for zone, ns, glue in delegations:
                if name == zone or name.endswith("." + zone):
                    reply.add_auth(ns)
                    reply.add_ar(glue)
                    return reply
            if not known:
                reply.header.rcode = RCODE.NXDOMAIN
            return reply

    server = DNSServer(Resolver(), address=options.address, port=options.port,
                       logger=DNSLogger("-request,-reply,-truncated,-error,-recv,-send,-data"))
    server.start_thread()
    print(server.server.server_address[1], flush=True)
    time.sleep(options.seconds)


if __name__ == "__main__":
    main()
