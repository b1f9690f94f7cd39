#!/usr/bin/env python3
"""Writes the seed corpus of the reply parser's fuzzer: valid and broken replies.

The corpus in seeds/ is committed; after changing this script, write it anew with
    tests/discovery/fuzz/make_seeds.py tests/discovery/fuzz/seeds
"""
import os
import struct
import sys

MARK = 0x50444350


def header(command, count, target=bytes(8)):
    return struct.pack("<II8s8si", MARK, command, bytes(8), target, count)


def item(kind, value):
    return struct.pack("<HH", kind, len(value)) + value


def text(kind, s):
    return item(kind, s.encode() + b"\0")


network = bytes([2, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0, 0, 192, 168, 1, 20, 255, 255, 255, 0,
                 192, 168, 1, 1, 1, 0, 0, 0])
account = b"admin".ljust(128, b"\0") + b"secret".ljust(256, b"\0") + bytes(4)
items = [text(0x101, "1.2.3"), text(0x102, "Lobby"), text(0x103, "CX-200"), item(2, network),
         item(4, account), text(6, "rtsp://192.168.1.20:554/one"), text(7, "rtsp://192.168.1.20:554/two"),
         text(0xE007, "rtsp://192.168.1.20:554/three"), text(8, "http://192.168.1.20")]
reply = header(1, len(items)) + b"".join(items)
# A set request as the workstation sends it to 02-00-00-00-00-01 (user
# "administrator" cut to 9 bytes, password "secret"), but with no name item.
set_target = bytes([2, 0, 0, 0, 0, 1, 0, 0])
set_account = b"administr".ljust(128, b"\0") + b"secret".ljust(256, b"\0") + bytes(4)

seeds = {
    "reply": reply,
    "reply-minimal": header(1, 4) + b"".join(items[:4]),
    "probe": header(0, 0),
    "set-request": header(2, 1) + item(2, network),
    "set-request-without-name": header(2, 2, set_target) + item(2, network) + item(4, set_account),
    "short": reply[:20],
    "bad-marker": b"XCDP" + reply[4:],
    "overrun": reply[:-3],
    "huge-count": header(1, 0x7FFFFFFF) + b"".join(items),
    "negative-count": header(1, -1) + b"".join(items),
    "short-network": header(1, 1) + item(2, network[:10]),
    "long-values": header(1, 3) + item(0x102, b"n" * 300) + item(2, network) + item(8, b"w" * 400),
}
out = sys.argv[1]
os.makedirs(out, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
