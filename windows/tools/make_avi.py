#!/usr/bin/env python3
"""Writes a small uncompressed AVI for the player check under wine: 64x48,
24 bits, 10 frames per second, each frame four solid quadrants (red, green,
blue, yellow from top left), with 8-bit mono silence, and an idx1 index.
Usage: make_avi.py OUT.avi [SECONDS]"""
import struct
import sys

W, H, FPS = 64, 48, 10
RATE = 8000
QUADRANTS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]  # TL, TR, BL, BR


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def lst(kind, body):
    return b"LIST" + struct.pack("<I", len(body) + 4) + kind + body


def frame():
    stride = (W * 3 + 3) // 4 * 4
    rows = []
    for y in range(H - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(W):
            r, g, b = QUADRANTS[(2 if y >= H // 2 else 0) + (1 if x >= W // 2 else 0)]
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - W * 3))
    return b"".join(rows)


def main():
    out = sys.argv[1]
    frames = int(float(sys.argv[2]) * FPS) if len(sys.argv) > 2 else 2 * FPS
    picture = frame()
    audio_per_frame = RATE // FPS
    avih = struct.pack("<14I", 1000000 // FPS, 0, 0, 0x10, frames, 0, 2, 0, W, H, 0, 0, 0, 0)
    vstrh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, FPS, 0, frames,
                                            len(picture), 0xFFFFFFFF, 0, 0, 0, W, H)
    vstrf = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(picture), 0, 0, 0, 0)
    astrh = b"auds" + b"\0\0\0\0" + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, RATE, 0,
                                                frames * audio_per_frame, audio_per_frame,
                                                0xFFFFFFFF, 1, 0, 0, 0, 0)
    astrf = struct.pack("<HHIIHHH", 1, 1, RATE, RATE, 1, 8, 0)
    hdrl = lst(b"hdrl", chunk(b"avih", avih)
               + lst(b"strl", chunk(b"strh", vstrh) + chunk(b"strf", vstrf))
               + lst(b"strl", chunk(b"strh", astrh) + chunk(b"strf", astrf)))
    movi_body = b""
    index = b""
    for _ in range(frames):
        for cid, data, flags in ((b"00db", picture, 0x10), (b"01wb", b"\x80" * audio_per_frame, 0x10)):
            offset = 4 + len(movi_body)  # from the 'movi' fourcc
            index += cid + struct.pack("<III", flags, offset, len(data))
            movi_body += chunk(cid, data)
    body = b"AVI " + hdrl + lst(b"movi", movi_body) + chunk(b"idx1", index)
    with open(out, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


if __name__ == "__main__":
    main()
