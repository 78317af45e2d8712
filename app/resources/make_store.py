#!/usr/bin/env python3
"""Builds the main window's firmware store as a resource: the firmware image
(item 0, scrambled, held in one stored deflate block) and the connector
picture (item 1, compressed at zlib's default level), written in the class
library's binary form of a component's stored properties.

    make_store.py OUT_STORE OUT_FIRMWARE_BIN PINOUT_PNG
"""
import struct
import sys
import zlib

FW_NAME = "00_RYX-VORIRA_42_m88_OK.bin"
FW_FILE = "00_RYX-VORIRA_42_m88_OK_4.2.0.22.bin"
FW_SIZE = 7664
PINOUT_NAME = "RYX_VORIRA_RIRAV_PINOUT_640x488.png"

# The keys of UnscrambleImage (app/UnscrambleImage.cpp): seed and step of
# the key for odd positions, then for even positions. Change both together.
SEED_A, STEP_A, SEED_B, STEP_B = 0x5A, 0x3D, 0xC3, 0x71


def firmware():
    """A small ATmega88 program: PB5 as output, toggled forever with a busy
    delay between changes; then the version markers the updater reads."""
    words = [
        0xC000,  # 0: rjmp 1
        0xE200,  # 1: ldi r16, 0x20
        0xB904,  # 2: out DDRB, r16
        0xB115,  # 3: in r17, PORTB
        0x2710,  # 4: eor r17, r16
        0xB915,  # 5: out PORTB, r17
        0xEF8F,  # 6: ldi r24, 0xFF
        0xEF9F,  # 7: ldi r25, 0xFF
        0x9701,  # 8: sbiw r24, 1
        0xF7F1,  # 9: brne 8
        0xCFF8,  # 10: rjmp 3
    ]
    code = b"".join(struct.pack("<H", w) for w in words)
    text = b"RYX-VORira programmer\0ver:4.2.0\0bld:22\0"
    image = code + text
    # Erased flash up to the application area the bootloader accepts.
    return image + b"\xff" * (FW_SIZE - len(image))


def scramble(data):
    a, b = SEED_A, SEED_B
    out = bytearray(data)
    for i in range(len(out)):
        if i % 2 == 0:  # 1st, 3rd, ... byte
            out[i] ^= a
            a = (a + STEP_A) & 0xFF
        else:
            out[i] ^= b
            b = (b + STEP_B) & 0xFF
    return bytes(out)


def held(content, level):
    return zlib.compress(struct.pack("<I", len(content)) + content, level)


def short_string(s):
    b = s.encode("ascii")
    return bytes([len(b)]) + b


def value_int(v):
    if -128 <= v <= 127:
        return b"\x02" + struct.pack("<b", v)
    if -32768 <= v <= 32767:
        return b"\x03" + struct.pack("<h", v)
    return b"\x04" + struct.pack("<i", v)


def value_string(s):
    b = s.encode("utf-8")
    if len(b) < 256 and b.isascii():
        return b"\x06" + bytes([len(b)]) + b
    return b"\x14" + struct.pack("<I", len(b)) + b


def ratio(size, original):
    return "100%" if original == 0 else "%.2f%%" % (size / original * 100)


def item(name, file_name, content, held_bytes):
    out = b"\x01"  # the item's property list
    out += short_string("Name") + value_string(name)
    out += short_string("FileName") + value_string(file_name)
    out += short_string("FileSize") + value_int(len(content))
    out += short_string("Size") + value_int(len(held_bytes))
    out += short_string("Ratio") + value_string(ratio(len(held_bytes), len(content)))
    block = struct.pack("<I", len(held_bytes)) + held_bytes
    out += short_string("StoredItem") + b"\x0a" + struct.pack("<I", len(block)) + block
    return out + b"\x00"


def main():
    out_store, out_fw, pinout_png = sys.argv[1:4]
    fw = scramble(firmware())
    with open(out_fw, "wb") as f:
        f.write(fw)
    with open(pinout_png, "rb") as f:
        png = f.read()
    items = [(FW_NAME, FW_FILE, fw, held(fw, 0)),
             (PINOUT_NAME, PINOUT_NAME, png, held(png, zlib.Z_DEFAULT_COMPRESSION))]
    original = sum(len(i[2]) for i in items)
    size = sum(len(i[3]) for i in items)
    blob = b"TPF0" + short_string("TmxStorage") + short_string("mxStorage1")
    blob += short_string("OriginalSize") + value_int(original)
    blob += short_string("Ratio") + value_string(ratio(size, original))
    blob += short_string("Size") + value_int(size)
    blob += short_string("StoredItems") + b"\x0e" + b"".join(item(*i) for i in items) + b"\x00"
    blob += short_string("Version") + value_string("1.21")
    blob += b"\x00\x00"  # end of properties, no children
    with open(out_store, "wb") as f:
        f.write(blob)


if __name__ == "__main__":
    main()
