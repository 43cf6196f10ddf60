#!/usr/bin/python3
"""Writes the golden symbols of the encoder tests with an independent encoder.

Run once with Debian's python3-qrcodegen (Project Nayuki's QR Code generator):
    /usr/bin/python3 tests/encoder/golden/make_golden.py tests/encoder/golden
Segments, version, level and mask are all forced, so the symbols do not depend
on that encoder's own choices. Each file holds a few "key value" lines that
say how to build the same symbol, then one line per module row: '#' dark,
'.' light.
"""
import sys

from qrcodegen import QrCode, QrSegment

LEVELS = {"L": QrCode.Ecc.LOW, "M": QrCode.Ecc.MEDIUM, "Q": QrCode.Ecc.QUARTILE, "H": QrCode.Ecc.HIGH}


def kanji_segment(sjis):
    """Kanji mode: each double-byte Shift-JIS character as 13 bits."""
    bits = []
    for i in range(0, len(sjis), 2):
        code = (sjis[i] << 8) | sjis[i + 1]
        code -= 0x8140 if code <= 0x9FFC else 0xC140
        value = (code >> 8) * 0xC0 + (code & 0xFF)
        bits += [(value >> b) & 1 for b in range(12, -1, -1)]
    return QrSegment(QrSegment.Mode.KANJI, len(sjis) // 2, bits)


def structured_append_segment(index, count, parity):
    """The structured-append header: mode 0011, no character count, then the
    symbol position, the last position and the parity of the whole data."""
    bits = [(index >> b) & 1 for b in range(3, -1, -1)]
    bits += [(count - 1 >> b) & 1 for b in range(3, -1, -1)]
    bits += [(parity >> b) & 1 for b in range(7, -1, -1)]
    return QrSegment(QrSegment.Mode(0x3, (0, 0, 0)), 0, bits)


def write(folder, name, text, segments, version, level, mask, structure=None):
    qr = QrCode.encode_segments(segments, LEVELS[level], version, version, mask, False)
    assert qr.get_version() == version and qr.get_mask() == mask
    lines = [f"text {text.hex().upper()}", f"version {version}", f"level {level}", f"mask {mask}"]
    if structure:
        lines.append("structure {} {} {:02X}".format(*structure))
    n = qr.get_size()
    for y in range(n):
        lines.append("".join("#" if qr.get_module(x, y) else "." for x in range(n)))
    with open(f"{folder}/{name}.txt", "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


def main(folder):
    text = b"MOSAIKO 2026"
    for mask in range(8):
        write(folder, f"v1q_mask{mask}", text, [QrSegment.make_alphanumeric(text.decode())], 1, "Q", mask)

    long_text = b"a list report with qr codes, printed line by line; every module of it checked against a golden copy"
    write(folder, "v7m_bytes", long_text, [QrSegment.make_bytes(long_text)], 7, "M", 4)

    kanji = "漢字のテスト、表計算".encode("shift_jis")
    write(folder, "v3h_kanji", kanji, [kanji_segment(kanji)], 3, "H", 6)

    # Symbol 2 of 3 of a structured-append run whose whole data has parity 0x5A.
    piece = b"31415926535897932384"
    structure = (2, 3, 0x5A)
    write(folder, "v2l_structured", piece,
          [structured_append_segment(1, 3, 0x5A), QrSegment.make_numeric(piece.decode())], 2, "L", 1, structure)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
