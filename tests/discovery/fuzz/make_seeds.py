#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses, one folder per target.

The corpora in seeds/ are committed; after changing this script, write them anew with
    tests/discovery/fuzz/make_seeds.py tests/discovery/fuzz/seeds
Inputs that once broke a harness live in seeds/<target>/regression-* and are
kept by hand, not written here.
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
    return item(kind, s + b"\0")


def network(mac_tail=0x5E, ip_last=20):
    return bytes([2, 0x1A, 0x2B, 0x3C, 0x4D, mac_tail, 0, 0, 192, 168, 1, ip_last, 255, 255, 255, 0,
                  192, 168, 1, 1, 1, 0, 0, 0])


def account(user=b"admin", password=b"secret"):
    return user.ljust(128, b"\0") + password.ljust(256, b"\0") + bytes(4)


def reply_items(name=b"Lobby", net=None):
    return [text(0x101, b"1.2.3"), text(0x102, name), text(0x103, b"CX-200"), item(2, net or network()),
            item(4, account()), text(6, b"rtsp://192.168.1.20:554/one"), text(7, b"rtsp://192.168.1.20:554/two"),
            text(0xE007, b"rtsp://192.168.1.20:554/three"), text(8, b"http://192.168.1.20")]


def reply(items):
    return header(1, len(items)) + b"".join(items)


# The offset of the MAC's last two bytes in a reply whose network item follows three text items.
def mac_offset(items):
    return 28 + sum(len(i) for i in items[:3]) + 4 + 4


good = reply_items()
control = bytes(range(1, 32)) * 4
rogue = [text(0x101, control[:120]), text(0x102, control[:120]), text(0x103, control[:120]), item(2, network(0x77, 99)),
         item(4, control[:128] + control[:120] + bytes(140)), text(8, control[:120])]


# Reply parser input: buffer choice (0: full size, n: n * 512 bytes), then per datagram copies, patch offset, length.
def datagrams(blocks, *entries):
    out = bytes([blocks])
    for data, copies, patch in entries:
        out += struct.pack("<HHH", copies, patch, len(data)) + data
    return out


def single(data):
    return datagrams(0, (data, 1, 0))


parse_packet = {
    "reply": single(reply(good)),
    "reply-minimal": single(header(1, 4) + b"".join(good[:4])),
    "probe": single(header(0, 0)),
    "set-request": single(header(2, 1) + item(2, network())),
    "short": single(reply(good)[:20]),
    "bad-marker": single(b"XCDP" + reply(good)[4:]),
    "overrun": single(reply(good)[:-3]),
    "huge-count": single(header(1, 0x7FFFFFFF) + b"".join(good)),
    "negative-count": single(header(1, -1) + b"".join(good)),
    "short-network": single(header(1, 1) + item(2, network()[:10])),
    "long-values": single(header(1, 3) + item(0x102, b"n" * 300) + item(2, network()) + item(8, b"w" * 400)),
    "answers-twice": datagrams(0, (reply(good), 2, 0)),
    "full-table": datagrams(0, (reply(good), 600, mac_offset(good))),
    "escaped-texts-full-buffer": datagrams(0, (reply(good), 3, mac_offset(good)),
                                           (reply(rogue), 250, mac_offset(rogue))),
    "escaped-texts-small-buffer": datagrams(200, (reply(good), 3, mac_offset(good)),
                                            (reply(rogue), 250, mac_offset(rogue))),
}


# Scan document input: record count (up to 16), then per record 24 network bytes and each
# text field as a length of two bytes (low byte, then one bit for 256 more) and its bytes.
def field(value):
    return bytes([len(value) & 0xFF, len(value) >> 8]) + value


def record(texts):
    return network() + b"".join(field(t) for t in texts)


plain = [b"1.2", b"Lobby", b"CX-200", b"", b"admin", b"secret", b"rtsp://a/1", b"rtsp://a/2", b"rtsp://a/3", b"http://a"]
hostile = [b"1.\xe9.3", b"Caf\xe9 Bar", b"\x1b[2J\x1b[31mRED", b"slot3", b"\"quoted\"\\", b"p\xe4sswort",
           b"line\nbreak\ttab", b"\xf0\x9f\x93\xb7\xed\xa0\x80", b"\xc0\xaf\xff\xfe", b"\xe2\x82"]
widths = [128, 128, 128, 128, 128, 256, 255, 255, 255, 128]
full = [b"\x01" * w for w in widths]
latin = [bytes([0x80 + (i % 128)]) * w for i, w in enumerate(widths)]

scan_document = {
    "one-camera": bytes([1]) + record(plain),
    "hostile-texts": bytes([2]) + record(hostile) + record(plain),
    "full-width": bytes([2]) + record(full) + record(latin),
    "sixteen-records": bytes([16]) + b"".join(record(hostile if i % 2 else full) for i in range(16)),
}

cameras = [bytes([2, 0, 0, 0, 0, 1, 0, 0]), bytes([2, 0, 0, 0, 0, 2, 0, 0])]
credentials = b"admin".ljust(128, b"\0") + b"secret".ljust(256, b"\0") + bytes(4)
set_network = cameras[0] + bytes([10, 0, 0, 9, 255, 255, 0, 0, 10, 0, 0, 1, 1, 0, 0, 0])
multi_entry = cameras[1] + bytes([192, 168, 1, 50]) + credentials
camsim_requests = {
    "probe": header(0, 0),
    "set": header(2, 3, cameras[0]) + item(2, set_network) + item(1, b"Renamed".ljust(28, b"\0"))
    + item(4, credentials),
    "set-wrong-password": header(2, 3, cameras[0]) + item(2, set_network) + item(1, b"x\0")
    + item(4, credentials.replace(b"secret", b"secreT")),
    "factory": header(2, 2, cameras[1]) + item(4, credentials) + item(0x1001, b"\0"),
    "multi": header(0x10000002, 2) + struct.pack("<HH", 1, 1) + multi_entry + item(2, bytes(24)),
    "short": header(2, 1)[:20],
    "overrun": header(2, 3, cameras[0]) + item(2, set_network) + struct.pack("<HH", 1, 200) + b"abc",
}



# Echo-reply parser input: one received ICMP datagram, read both with and without an IPv4 header.
def ipv4(payload, options=b"", ttl=64):
    words = 5 + len(options) // 4
    return struct.pack(">BBHHHBBH4s4s", 0x40 | words, 0, 4 * words + len(payload), 0x1234, 0, ttl, 1, 0,
                       bytes([192, 168, 1, 20]), bytes([192, 168, 1, 2])) + options + payload


def echo(kind=0, identifier=7, sequence=9, tick=0x12345678):
    return struct.pack("<BBHHHII", kind, 0, 0, identifier, sequence, 0, tick) + bytes(range(0x20, 0x40))


request = echo(8)
echo_reply = {
    "reply-raw": ipv4(echo()),
    "reply-datagram": echo(),
    "reply-truncated": ipv4(echo())[:20 + 12],
    "header-length-too-large": bytes([0x4F]) + ipv4(echo())[1:40],
    "reply-with-options": ipv4(echo(), options=bytes([7, 11, 4]) + bytes(8) + bytes([0])),
    "destination-unreachable": ipv4(struct.pack("<BBHI", 3, 3, 0, 0) + ipv4(request)[:28]),
}

targets = {"parse_packet_fuzz": parse_packet, "scan_document_fuzz": scan_document,
           "camsim_requests_fuzz": camsim_requests, "echo_reply_fuzz": echo_reply}
out = sys.argv[1]
for target, seeds in targets.items():
    os.makedirs(os.path.join(out, target), exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(out, target, name), "wb") as f:
            f.write(data)
