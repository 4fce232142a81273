#!/usr/bin/env python3
"""Makes an installer built by wixl the same bytes for the same contents.

wixl stamps each package with a random package code and the current time (the
summary information's revision number, created and last-saved times). This
rewrites them in place: the times become EPOCH, and the package code is derived
from a hash of the package with those three fields blanked, so a package with
other contents still gets another code, as Windows Installer requires.

Usage: msi_stamp.py PACKAGE.msi EPOCH
"""
import hashlib
import struct
import sys
import uuid

FREE, END = 0xFFFFFFFF, 0xFFFFFFFE
SUMMARY = "\x05SummaryInformation"
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64


def fail(message):
    sys.exit(f"msi_stamp: {message}")


class Compound:
    """Just enough of the compound file format to find one stream's bytes."""

    def __init__(self, data):
        if data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
            fail("not a compound file")
        self.data = data
        self.sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
        (fat_count, dir_start, _, self.cutoff, minifat_start, _, _, difat_count) = struct.unpack_from("<8I", data, 0x2C)
        if difat_count:
            fail("package too large for this reader")
        difat = struct.unpack_from("<109I", data, 0x4C)[:fat_count]
        self.fat = [n for s in difat for n in struct.unpack_from(f"<{self.sector // 4}I", data, self.offset(s))]
        self.directory = b"".join(self.read_sector(s) for s in self.chain(dir_start))
        self.minifat = [n for s in self.chain(minifat_start)
                        for n in struct.unpack_from(f"<{self.sector // 4}I", data, self.offset(s))]
        self.root_sectors = list(self.chain(self.entry(0)[1]))

    def offset(self, sector):
        return (sector + 1) * self.sector

    def read_sector(self, sector):
        return self.data[self.offset(sector):self.offset(sector) + self.sector]

    def chain(self, start, table=None):
        table, seen = table or self.fat, set()
        while start not in (END, FREE):
            if start in seen or start >= len(table):
                fail("broken sector chain")
            seen.add(start)
            yield start
            start = table[start]

    def entry(self, index):
        e = self.directory[index * 128:(index + 1) * 128]
        name = e[:max(struct.unpack_from("<H", e, 64)[0] - 2, 0)].decode("utf-16-le")
        return name, struct.unpack_from("<I", e, 116)[0], struct.unpack_from("<I", e, 120)[0]

    def stream_offsets(self, wanted):
        """The file offset of each byte of the stream named wanted."""
        for index in range(len(self.directory) // 128):
            name, start, size = self.entry(index)
            if name != wanted:
                continue
            if size >= self.cutoff:
                spans = [(self.offset(s), self.sector) for s in self.chain(start)]
            else:
                per = self.sector // self.mini
                spans = [(self.offset(self.root_sectors[m // per]) + (m % per) * self.mini, self.mini)
                         for m in self.chain(start, self.minifat)]
            offsets = [o + i for o, n in spans for i in range(n)][:size]
            if len(offsets) != size:
                fail(f"stream {wanted!r} is shorter than its entry says")
            return offsets
        fail(f"no stream {wanted!r}")


def summary_fields(stream):
    """(stream position, length) of the package code's text and of the two times."""
    (sections,) = struct.unpack_from("<I", stream, 24)
    if sections < 1:
        fail("summary information has no section")
    (section,) = struct.unpack_from("<I", stream, 44)
    _, count = struct.unpack_from("<II", stream, section)
    fields = {}
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        at += section
        (vt,) = struct.unpack_from("<I", stream, at)
        if pid == PID_REVISION and vt == VT_LPSTR:
            (length,) = struct.unpack_from("<I", stream, at + 4)
            fields[pid] = (at + 8, length - 1)
        elif pid in (PID_CREATED, PID_SAVED) and vt == VT_FILETIME:
            fields[pid] = (at + 4, 8)
    if sorted(fields) != [PID_REVISION, PID_CREATED, PID_SAVED] or fields[PID_REVISION][1] != 38:
        fail("summary information lacks the package code or the times")
    return fields


def main():
    if len(sys.argv) != 3:
        fail("usage: msi_stamp.py PACKAGE.msi EPOCH")
    path, epoch = sys.argv[1], int(sys.argv[2])
    data = bytearray(open(path, "rb").read())
    offsets = Compound(bytes(data)).stream_offsets(SUMMARY)
    stream = bytearray(data[o] for o in offsets)
    fields = summary_fields(stream)

    def put(pid, value):
        at, length = fields[pid]
        stream[at:at + length] = value
        for i in range(at, at + length):
            data[offsets[i]] = stream[i]

    filetime = struct.pack("<Q", (epoch + 11644473600) * 10_000_000)
    put(PID_CREATED, filetime)
    put(PID_SAVED, filetime)
    put(PID_REVISION, b"{" + b"0" * 36 + b"}")
    code = uuid.UUID(bytes=hashlib.sha256(data).digest()[:16], version=4)
    put(PID_REVISION, ("{%s}" % str(code).upper()).encode())
    open(path, "wb").write(data)


if __name__ == "__main__":
    main()
