"""Enters a linked exe's load configuration in its PE header. The program defines the structure
(`_load_config_used`, src/app/load_config.cpp) and GNU ld (binutils 2.40) places it in the image,
but leaves the header's load-configuration directory (data directory 10) empty, so Windows would
never read it. Run by the build on the program it has just linked:
    python3 cmake/load_config.py PROGRAM.exe LINK.map
The structure's address comes from the link's map; the bytes there must begin with the structure's
size for the exe's word size. The directory then holds its address and that size, and the header's
checksum, where the link set one, is made true again. Nothing here depends on when or where the
build runs, so the build stays reproducible.
"""
from __future__ import annotations

import re
import struct
import sys
from array import array
from pathlib import Path

SYMBOL = "_load_config_used"  # the map names it so on both word sizes
LOAD_CONFIG = 10  # the data directory's entry
# Per optional-header magic: the structure's size (through SEHandlerCount), and the offsets in
# the optional header of the image base (and its width) and of the data directories.
LAYOUT = {0x10B: (0x48, 28, "<I", 96), 0x20B: (0x70, 24, "<Q", 112)}
CHECKSUM_AT = 64  # in the optional header, the same for both


def symbol_address(map_text: str) -> int:
    found = re.findall(rf"^\s+0x([0-9a-fA-F]+)\s+{SYMBOL}\s*$", map_text, re.MULTILINE)
    if len(found) != 1:
        raise ValueError(f"the link map names {SYMBOL} {len(found)} times, not once")
    return int(found[0], 16)


def file_offset(data: bytes, sections_at: int, count: int, rva: int) -> int:
    for i in range(count):
        _, vsize, va, raw_size, raw_at = struct.unpack_from("<8sIIII", data, sections_at + 40 * i)
        if va <= rva < va + min(vsize, raw_size):
            return raw_at + rva - va
    raise ValueError(f"no section holds the address {rva:#x}")


def checksum(data: bytes, at: int) -> int:
    """The PE checksum: the file's 16-bit words (the checksum field as zero) added with the
    carries folded back in, plus the file's length."""
    words = array("H", data + b"\0" * (len(data) % 2))
    words[at // 2] = words[at // 2 + 1] = 0
    total = sum(words)
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def enter_load_config(data: bytearray, address: int) -> None:
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    size, base_at, base_format, directories_at = LAYOUT[magic]
    rva = address - struct.unpack_from(base_format, data, opt + base_at)[0]
    at = file_offset(data, opt + optional_size, sections, rva)
    if struct.unpack_from("<I", data, at)[0] != size:
        raise ValueError(f"{SYMBOL} at {rva:#x} does not begin with its size {size:#x}")
    struct.pack_into("<II", data, opt + directories_at + 8 * LOAD_CONFIG, rva, size)
    if struct.unpack_from("<I", data, opt + CHECKSUM_AT)[0]:
        struct.pack_into("<I", data, opt + CHECKSUM_AT, checksum(bytes(data), opt + CHECKSUM_AT))


def main(argv: list[str]) -> int:
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    exe, link_map = Path(argv[0]), Path(argv[1])
    data = bytearray(exe.read_bytes())
    try:
        enter_load_config(data, symbol_address(link_map.read_text(errors="replace")))
    except ValueError as e:
        print(f"{exe}: {e}", file=sys.stderr)
        return 1
    exe.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
