"""Reads the version resource of a Windows program or library file: the
fixed numbers and the strings of its StringFileInfo. Standard library only,
so that it needs neither Wine nor Windows.

    info = read_version(Path("QUILX.EXE"))
    info.file_version      -> (1, 0, 0, 0)
    info.strings["ProductVersion"] -> "1.0.0"
    read_manifest(Path("QUILX.EXE")) -> "<?xml ..."
"""

from __future__ import annotations

import struct
from dataclasses import dataclass, field
from pathlib import Path

RT_VERSION = 16
RT_MANIFEST = 24
FIXED_SIGNATURE = 0xFEEF04BD


@dataclass
class VersionInfo:
    file_version: tuple[int, int, int, int]
    product_version: tuple[int, int, int, int]
    file_type: int
    strings: dict[str, str] = field(default_factory=dict)


class NoVersion(Exception):
    pass


def _sections(data: bytes) -> tuple[list[tuple[int, int, int, int]], int]:
    """(virtual address, virtual size, raw offset, raw size) of each section,
    and where the PE header begins."""
    if data[:2] != b"MZ":
        raise NoVersion("not an MZ file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise NoVersion("no PE header")
    count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    out = []
    for i in range(count):
        vsize, vaddr, rsize, roff = struct.unpack_from("<IIII", data, table + i * 40 + 8)
        out.append((vaddr, vsize, roff, rsize))
    return out, pe


def _resource_directory_rva(data: bytes, pe: int) -> tuple[int, int]:
    magic = struct.unpack_from("<H", data, pe + 24)[0]
    dirs = pe + 24 + (112 if magic == 0x20B else 96)
    return struct.unpack_from("<II", data, dirs + 2 * 8)   # entry 2: resources


def _file_offset(sections, rva: int) -> int:
    for vaddr, vsize, roff, rsize in sections:
        if vaddr <= rva < vaddr + max(vsize, rsize):
            return roff + rva - vaddr
    raise NoVersion(f"address {rva:#x} is in no section")


def _entries(data: bytes, directory: int) -> list[tuple[int, int]]:
    """(name or id, offset field) of each entry of a resource directory."""
    named, ids = struct.unpack_from("<HH", data, directory + 12)
    return [struct.unpack_from("<II", data, directory + 16 + i * 8) for i in range(named + ids)]


def _version_block(data: bytes) -> bytes:
    return _first_resource(data, RT_VERSION)


def _first_resource(data: bytes, kind: int) -> bytes:
    """The first resource of a type (its first name, first language)."""
    sections, pe = _sections(data)
    rsrc_rva, rsrc_size = _resource_directory_rva(data, pe)
    if not rsrc_rva:
        raise NoVersion("no resources")
    root = _file_offset(sections, rsrc_rva)
    node = root
    for want in (kind, None, None):             # type, first name, first language
        found = None
        for name, offset in _entries(data, node):
            if want is None or name == want:
                found = offset
                break
        if found is None:
            raise NoVersion(f"no resource of type {kind}")
        if found & 0x80000000:
            node = root + (found & 0x7FFFFFFF)
        else:
            leaf = root + found
            break
    else:
        raise NoVersion("resource tree deeper than three levels")
    rva, size = struct.unpack_from("<II", data, leaf)
    start = _file_offset(sections, rva)
    return data[start:start + size]


def _align4(n: int) -> int:
    return (n + 3) & ~3


def _node(block: bytes, pos: int) -> tuple[int, int, int, str, int]:
    """(length, value length, type, key, value offset) of a version node."""
    length, value_length, kind = struct.unpack_from("<HHH", block, pos)
    key_end = pos + 6
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = block[pos + 6:key_end].decode("utf-16-le")
    return length, value_length, kind, key, _align4(key_end + 2)


def _children(block: bytes, start: int, end: int):
    pos = _align4(start)
    while pos < end:
        length = struct.unpack_from("<H", block, pos)[0]
        if length == 0:
            break
        yield pos
        pos = _align4(pos + length)


def read_manifest(path: Path) -> str:
    """The application manifest a program carries, as text."""
    return _first_resource(Path(path).read_bytes(), RT_MANIFEST).decode("utf-8")


def read_version(path: Path) -> VersionInfo:
    block = _version_block(Path(path).read_bytes())
    length, value_length, _, key, value = _node(block, 0)
    if key != "VS_VERSION_INFO" or value_length < 52:
        raise NoVersion(f"version resource begins with {key!r}")
    fixed = struct.unpack_from("<13I", block, value)
    if fixed[0] != FIXED_SIGNATURE:
        raise NoVersion("fixed file information has no signature")

    def four(ms: int, ls: int) -> tuple[int, int, int, int]:
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    info = VersionInfo(four(fixed[2], fixed[3]), four(fixed[4], fixed[5]), fixed[9])
    for child in _children(block, value + value_length, length):
        c_len, _, _, c_key, c_value = _node(block, child)
        if c_key != "StringFileInfo":
            continue
        for table in _children(block, c_value, child + c_len):
            t_len, _, _, _, t_value = _node(block, table)
            for string in _children(block, t_value, table + t_len):
                s_len, s_value_len, _, s_key, s_value = _node(block, string)
                raw = block[s_value:s_value + 2 * s_value_len].decode("utf-16-le")
                info.strings[s_key] = raw.split("\0", 1)[0]
    return info
