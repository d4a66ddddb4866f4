"""Makes a package that wixl has just written the same bytes for the same content, wherever and
whenever it is built. Run by the CMake target "msi" on wixl's output, once msibuild has set in it
the rows wixl cannot write (packaging/CMakeLists.txt):
    python3 packaging/normalise_msi.py [--source-dir DIR] WIXL_OUTPUT.msi PACKAGE.msi

wixl (msitools 0.101) leaves four things in a package that change from one run to the next, and
msibuild's edits, made with the same library, keep them as they are and add none:
  - the product code (Product Id="*"), a random GUID in the string pool;
  - the package code (the summary information's revision number), a random GUID;
  - the summary information's creation and last-saved times: the time of the run;
  - the cabinet's date and time of each file: the file's modification time.
Every other byte already follows from the content; the compound file's directory holds no
times. This script rewrites the four in place, each to a value of the same size, so nothing
moves: the two times become SOURCE_DATE_EPOCH (from the environment, else the commit time of
HEAD), and the two codes are derived from the package's content with those four blanked. A
package with other content gets other codes (Windows Installer takes one package code for one
package, and one product code for one product: every build stays a new product that replaces the
old, as with "*"); the same content gets the same ones.
"""
from __future__ import annotations

import argparse
import datetime
import hashlib
import os
import struct
import subprocess
import sys
import uuid
from pathlib import Path

SIGNATURE = b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1"
END_OF_CHAIN = 0xFFFFFFFA  # this and above: no further sector
BLANK_GUID = b"{00000000-0000-0000-0000-000000000000}"
# Any fixed namespace will do; this one is ours, so the codes are ours alone.
NAMESPACE = uuid.UUID("5b0d3c6e-2f41-4a8e-9d17-6c0e4b9a2f53")
FILETIME_EPOCH = 11644473600  # seconds from 1601-01-01 (FILETIME's origin) to 1970-01-01
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
SUMMARY, STRING_POOL, STRING_DATA, PROPERTY = ("\x05SummaryInformation", "\u4840_StringPool",
                                               "\u4840_StringData", "\u4840Property")
DOS_EPOCH = 315532800  # 1980-01-01, the earliest time a cabinet holds
VT_LPSTR, VT_FILETIME = 30, 64


class CompoundFile:
    """The streams of an OLE compound file, each as the file offsets of its bytes, so that a
    stream is read and patched in place, whichever sectors (or mini sectors) hold it."""

    def __init__(self, data: bytearray):
        if data[:8] != SIGNATURE:
            raise ValueError("not a compound file")
        self.data = data
        self.sector = 1 << struct.unpack_from("<H", data, 30)[0]
        self.mini = 1 << struct.unpack_from("<H", data, 32)[0]
        (_, dir_start, _, self.cutoff, minifat_start, _, difat_start,
         difat_count) = struct.unpack_from("<8I", data, 44)
        fat_sectors = [s for s in struct.unpack_from("<109I", data, 76) if s < END_OF_CHAIN]
        for _ in range(difat_count):
            entries = self._words(difat_start)
            fat_sectors += [s for s in entries[:-1] if s < END_OF_CHAIN]
            difat_start = entries[-1]
        self.fat = [e for s in fat_sectors for e in self._words(s)]
        self.minifat = [e for s in self._chain(minifat_start) for e in self._words(s)]
        self.streams: dict[str, list[int]] = {}
        entries = [self._at(s) + i * 128 for s in self._chain(dir_start)
                   for i in range(self.sector // 128)]
        root = entries[0]
        self.mini_stream = self._offsets(*struct.unpack_from("<IQ", data, root + 116), big=True)
        for entry in entries[1:]:
            if data[entry + 66] != 2:  # streams only
                continue
            length = struct.unpack_from("<H", data, entry + 64)[0]
            name = data[entry:entry + max(length - 2, 0)].decode("utf-16-le")
            start, size = struct.unpack_from("<IQ", data, entry + 116)
            self.streams[decode_name(name)] = self._offsets(start, size, big=size >= self.cutoff)

    def _at(self, sector: int) -> int:
        return (sector + 1) * self.sector

    def _words(self, sector: int) -> tuple[int, ...]:
        return struct.unpack_from(f"<{self.sector // 4}I", self.data, self._at(sector))

    def _chain(self, start: int, fat: list[int] | None = None) -> list[int]:
        fat, chain = self.fat if fat is None else fat, []
        while start < END_OF_CHAIN:
            chain.append(start)
            start = fat[start]
        return chain

    def _offsets(self, start: int, size: int, big: bool) -> list[int]:
        if big:
            return [self._at(s) + i for s in self._chain(start) for i in range(self.sector)][:size]
        return [self.mini_stream[s * self.mini + i]
                for s in self._chain(start, self.minifat) for i in range(self.mini)][:size]

    def read(self, stream: str) -> bytes:
        return bytes(self.data[o] for o in self.streams[stream])

    def write(self, stream: str, position: int, value: bytes) -> None:
        offsets = self.streams[stream]
        for i, byte in enumerate(value):
            self.data[offsets[position + i]] = byte


def decode_name(name: str) -> str:
    """Windows Installer packs its stream names two characters to one; tables start with U+4840."""
    def char(x: int) -> str:
        return "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz._"[x]
    out = []
    for c in map(ord, name):
        if 0x3800 <= c < 0x4800:
            out += [char((c - 0x3800) & 0x3F), char(((c - 0x3800) >> 6) & 0x3F)]
        elif 0x4800 <= c < 0x4840:
            out.append(char(c - 0x4800))
        else:
            out.append(chr(c))
    return "".join(out)


def summary_values(stream: bytes) -> dict[int, tuple[int, int]]:
    """The summary information's properties: {property id: (type, offset of its value)}."""
    section = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    values = {}
    for i in range(count):
        pid, offset = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        values[pid] = (struct.unpack_from("<I", stream, section + offset)[0], section + offset + 4)
    return values


def cabinet_times(cab: bytes) -> list[int]:
    """Offsets in a cabinet of each file's date and time (two 16-bit DOS words)."""
    if cab[:4] != b"MSCF":
        raise ValueError("the embedded cabinet is not one")
    files_at, = struct.unpack_from("<I", cab, 16)
    count, = struct.unpack_from("<H", cab, 28)
    offsets = []
    for _ in range(count):
        offsets.append(files_at + 10)
        files_at = cab.index(b"\0", files_at + 16) + 1  # past the file's zero-ended name
    return offsets


def source_date_epoch(source_dir: Path) -> int:
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    done = subprocess.run(["git", "-C", str(source_dir), "log", "-1", "--format=%ct"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("normalise_msi: no SOURCE_DATE_EPOCH and no git history to take it from: "
                 "set SOURCE_DATE_EPOCH")
    return int(done.stdout)


def normalise(data: bytearray, epoch: int) -> None:
    cf = CompoundFile(data)
    summary = cf.read(SUMMARY)
    values = summary_values(summary)
    filetime = struct.pack("<Q", (epoch + FILETIME_EPOCH) * 10_000_000)
    for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM):
        kind, at = values[pid]
        assert kind == VT_FILETIME, (pid, kind)
        cf.write(SUMMARY, at, filetime)

    kind, at = values[PID_REVNUMBER]
    assert kind == VT_LPSTR and struct.unpack_from("<I", summary, at)[0] == len(BLANK_GUID) + 1
    package_at = at + 4  # past the length

    # The product code is the one string of the pool that wixl made up: find it by its value.
    product = product_code(cf)
    pool = cf.read(STRING_DATA)
    assert pool.count(product) == 1, "the product code once in the string pool"
    product_at = pool.index(product)

    stamp = datetime.datetime.fromtimestamp(max(epoch, DOS_EPOCH), datetime.timezone.utc)
    dos = struct.pack("<HH", (stamp.year - 1980) << 9 | stamp.month << 5 | stamp.day,
                      stamp.hour << 11 | stamp.minute << 5 | stamp.second // 2)
    for name in cf.streams:
        if not name.startswith("\u4840") and cf.read(name)[:4] == b"MSCF":
            for at in cabinet_times(cf.read(name)):
                cf.write(name, at, dos)

    cf.write(SUMMARY, package_at, BLANK_GUID)
    cf.write(STRING_DATA, product_at, BLANK_GUID)
    content = hashlib.sha256(data).hexdigest()
    for stream, at, role in ((SUMMARY, package_at, "package"),
                             (STRING_DATA, product_at, "product")):
        code = uuid.uuid5(NAMESPACE, f"{role} {content}")
        cf.write(stream, at, f"{{{code}}}".upper().encode("ascii"))


def product_code(cf: CompoundFile) -> bytes:
    """The product code as the Property table holds it: two string ids per row, pool-indexed."""
    pool = cf.read(STRING_POOL)
    data = cf.read(STRING_DATA)
    wide = struct.unpack_from("<I", pool, 0)[0] & 0x80000000  # string ids of 3 bytes, not 2
    strings, at = [b""], 0  # string ids count from 1
    for i in range(4, len(pool), 4):
        length, refs = struct.unpack_from("<HH", pool, i)
        if length == 0 and refs:
            raise ValueError("a string of 64 KiB or more in the pool: not read here")
        strings.append(data[at:at + length])
        at += length
    table = cf.read(PROPERTY)
    size = 3 if wide else 2
    rows = len(table) // (2 * size)
    ids = [int.from_bytes(table[k * size:(k + 1) * size], "little") for k in range(2 * rows)]
    for key, value in zip(ids[:rows], ids[rows:]):
        if strings[key] == b"ProductCode":
            return strings[value]
    raise ValueError("no ProductCode in the Property table")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--source-dir", type=Path, default=Path(__file__).resolve().parents[1])
    parser.add_argument("wixl_output", type=Path)
    parser.add_argument("package", type=Path)
    args = parser.parse_args()
    data = bytearray(args.wixl_output.read_bytes())
    normalise(data, source_date_epoch(args.source_dir))
    args.package.write_bytes(data)


if __name__ == "__main__":
    main()
