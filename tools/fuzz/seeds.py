#!/usr/bin/env python3
"""Writes a small seed corpus for every libFuzzer harness of tools/fuzz.

    seeds.py <demo data dir> <out dir>

Writes into <out dir>/<harness>/ a few hand-made inputs in the harness's
own input layout, and the demo data files it reads; what else the folder
holds (inputs a fuzzer run added) stays. Files
above MAX_SEED_BYTES are left out: libFuzzer runs every seed before it
mutates, and one big map (the 345 KB stress map) held the level harness at
a few runs a second. The inputs that once crashed a harness are kept as
seeds, so every run tries them again first.
"""
import os
import struct
import sys
import zlib

MAX_SEED_BYTES = 16 * 1024


def bmp(width, height, depth):
    """An uncompressed bottom-up BMP file; 8-bit ones carry a grey palette."""
    palette = b"".join(bytes((i, i, i, 0)) for i in range(256)) if depth == 8 else b""
    line = (width * depth // 8 + 3) & ~3
    pixels = bytes((x * 37 + y * 11) & 0xFF for y in range(height) for x in range(line))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, 0, len(pixels), 2835, 2835,
                       256 if depth == 8 else 0, 0)
    return header + info + palette + pixels


def anim(width, height, depth, frames):
    """The test plug-in's animation file: "ZANM", four sizes, palette, rows."""
    palette = bytes(1024) if depth == 8 else b""
    line = (width * depth // 8 + 3) & ~3
    rows = bytes(i & 0xFF for i in range(line * height * frames))
    return b"ZANM" + struct.pack("<IIII", width, height, depth, frames) + palette + rows


def demo_files(data, folder, suffix):
    path = os.path.join(data, folder)
    if not os.path.isdir(path):
        return []
    found = []
    for name in sorted(os.listdir(path)):
        full = os.path.join(path, name)
        if name.endswith(suffix) and os.path.isfile(full) and os.path.getsize(full) <= MAX_SEED_BYTES:
            with open(full, "rb") as f:
                found.append((name, f.read()))
    return found


def seeds(data, repo):
    maps = demo_files(data, "Data/Maps", ".map")
    # The beam count alone, the file ending there: an empty map that loads.
    maps.append(("empty.map", struct.pack("<i", 0)))
    lists = demo_files(data, "Data/Maps", ".rota")
    digests = dict(demo_files(data, "Data/Maps", ".rotb"))
    images = [("icon.bmp", b) for _, b in demo_files(data, "", "icon.bmp")]
    images += [("grey8.bmp", bmp(5, 3, 8)), ("rgb24.bmp", bmp(3, 2, 24)), ("rgb32.bmp", bmp(2, 2, 32))]
    script = os.path.join(repo, "game/actors/tests/playthrough/Landfall.script")
    with open(script, "rb") as f:
        landfall = f.read()
    text = b"The quick brown fox jumps over the lazy dog. " * 8

    return {
        "FuzzMapFile": maps,
        "FuzzMapLevel": maps,
        # The pack list, 0x01, then its integrity file.
        "FuzzMapPack": [(n, b + b"\x01" + digests.get(n[:-1] + "b", b"")) for n, b in lists]
        + [("list-only", b"Landfall\nCore\n")],
        "FuzzSaveGame": [("zeros", bytes(398)), ("short", b"Default\x00")],
        "FuzzConfig": [("Input.dat", b"FIRE_PRIME\t= 32\nFIRE_ALT\t= 1001\nCW_PRIME\t= 275\n"
                                     b"CCW_PRIME\t= 276\nSensi\t= 1.5\n")],
        "FuzzInputScript": [("Landfall.script", landfall[:MAX_SEED_BYTES]),
                            ("short.script", b"map Landfall\n# a comment\n10 FIRE BOOST\n5 CW mouse=-3\n20\n")],
        "FuzzHiScoreReply": [("reply", b"ACE PILOT /1 12000 /2 BOB /1 900 /2\r\n"),
                             ("bad-score", b"X /1 99999999999 /2 Y /1 5 /2")],
        # Order byte (two bits per read: 16-bit, terminated, 32-bit), then blocks.
        "FuzzFileBlocks": [("blocks", b"\x24" + struct.pack("<H", 3) + b"abc" + struct.pack("<H", 2) + b"de"
                            + struct.pack("<I", 4) + b"wxyz")],
        "FuzzBmpFile": images,
        # Output depth index byte, then the file.
        "FuzzPluginFiles": [(n, bytes((i % 5,)) + b) for i, (n, b) in enumerate(images)]
        + [("anim8", b"\x03" + anim(4, 2, 8, 2)), ("anim24", b"\x00" + anim(3, 3, 24, 1))],
        # Depth index, width, height, window, effect, parameter; then the block.
        "FuzzRleBlock": [("empty-rows", bytes((0, 3, 1, 0, 0, 3, 1, 0, 0, 0)) + bytes(8)),
                         ("rgb", bytes((3, 7, 1, 1, 0, 5, 1, 2, 9, 1)) + bytes(range(40)))],
        # Unit flags, capacity (two bytes), packed bytes.
        "FuzzRleUnpack": [("bytes", b"\x00\x40\x00" + bytes((3, 1, 2, 3, 0x83, 9))),
                          ("words", b"\x01\x00\x01" + bytes((2, 1, 0, 2, 0, 0x81, 7, 7)))],
        # Operation byte and argument byte pairs; "0a 77" and "0a 80" write
        # more than the source holds, and once overran the harness's buffer.
        "FuzzStreamOps": [("write-72947", b"\x0a\x77"), ("write-78464", b"\x0a\x80"),
                          ("read-78464", b"\x00\x80\x04\x80"),
                          ("mixed", bytes((0, 5, 1, 0, 2, 3, 8, 0xF0, 4, 7, 5, 0x90, 11, 2, 3, 1)))],
        # A whole zlib stream (odd size: read to its end) or sized (even).
        "FuzzInflate": [("stored", zlib.compress(text[:100], 0)), ("fast", zlib.compress(text, 1)),
                        ("best", zlib.compress(text + bytes(range(256)), 9)), ("empty", zlib.compress(b"", 6))],
        # Texts split at zero bytes, 0xFF ends a format's group.
        "FuzzDialogTypes": [("two", b"BMP\x00bmp\x00dib\x00\xffAnimation\x00zan\x00"),
                            ("no-exts", b"Plain\x00\xff\xffWide %s%s\x00e\x00")],
    }


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: seeds.py <demo data dir> <out dir>")
    data, out = sys.argv[1], sys.argv[2]
    repo = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    for harness, files in seeds(data, repo).items():
        folder = os.path.join(out, harness)
        os.makedirs(folder, exist_ok=True)
        for name, content in files:
            assert len(content) <= MAX_SEED_BYTES, (harness, name)
            with open(os.path.join(folder, name), "wb") as f:
                f.write(content)


if __name__ == "__main__":
    main()
