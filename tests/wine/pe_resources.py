#!/usr/bin/env python3
"""Reads the resources of a Windows program (PE32 or PE32+) for the binary
checks, with the standard library only.

  pe_resources.py list EXE        one line per resource: TYPE NAME LANGUAGE SIZE
  pe_resources.py manifest EXE    the text of every RT_MANIFEST, each after a
                                  line "== manifest NAME"; each must be
                                  well-formed XML
  pe_resources.py icon EXE ID     the pixel sizes of icon group ID, one a line,
                                  each checked against its RT_ICON image
  pe_resources.py version EXE     the version resource's strings: BLOCK KEY=VALUE

Exits 0 on success, 1 when the file or a resource is missing or malformed,
2 on bad usage. Types and names are numbers, or strings in quotes.
"""

import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24


class Malformed(Exception):
    pass


class Image:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise Malformed("no MZ header")
        pe = self.u32(0x3C)
        if d[pe:pe + 4] != b"PE\0\0":
            raise Malformed("no PE signature")
        sections = self.u16(pe + 6)
        optional_size = self.u16(pe + 20)
        optional = pe + 24
        magic = self.u16(optional)
        if magic == 0x10B:
            directories = optional + 96
        elif magic == 0x20B:
            directories = optional + 112
        else:
            raise Malformed("unknown optional header 0x%x" % magic)
        self.resource_rva = self.u32(directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            s = table + 40 * i
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", d, s + 8)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer))
        if self.resource_rva == 0:
            self.resources = []
        else:
            self.root = self.offset(self.resource_rva)
            self.resources = list(self.walk())

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for address, size, pointer in self.sections:
            if address <= rva < address + size:
                return pointer + rva - address
        raise Malformed("address 0x%x is in no section" % rva)

    def name(self, field):
        if field & 0x80000000:
            at = self.root + (field & 0x7FFFFFFF)
            length = self.u16(at)
            return '"%s"' % self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        return field

    def entries(self, directory):
        named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
        for i in range(named + numbered):
            field, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
            yield self.name(field), target

    def walk(self):
        """(type, name, language, bytes) for every resource: the directory
        has three levels, type, name and language."""
        for rtype, t in self.entries(self.root):
            if not t & 0x80000000:
                raise Malformed("type %s is not a directory" % rtype)
            for rname, n in self.entries(self.root + (t & 0x7FFFFFFF)):
                if not n & 0x80000000:
                    raise Malformed("name %s is not a directory" % rname)
                for language, leaf in self.entries(self.root + (n & 0x7FFFFFFF)):
                    if leaf & 0x80000000:
                        raise Malformed("resource %s/%s nests too deep" % (rtype, rname))
                    rva, size = struct.unpack_from("<II", self.data, self.root + leaf)
                    at = self.offset(rva)
                    if at + size > len(self.data):
                        raise Malformed("resource %s/%s runs past the file" % (rtype, rname))
                    yield rtype, rname, language, self.data[at:at + size]

    def find(self, rtype, rname=None):
        return [r for r in self.resources if r[0] == rtype and (rname is None or r[1] == rname)]


def icon_sizes(image, group_id):
    groups = image.find(RT_GROUP_ICON, group_id)
    if not groups:
        raise Malformed("no icon group %s" % group_id)
    sizes = []
    for _, _, _, data in groups:
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        if reserved != 0 or kind != 1 or len(data) < 6 + 14 * count:
            raise Malformed("icon group %s is malformed" % group_id)
        for i in range(count):
            width, height, _, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
            icons = image.find(RT_ICON, icon_id)
            if not icons or len(icons[0][3]) != size:
                raise Malformed("icon group %s names image %d, which is missing or of another size" %
                                (group_id, icon_id))
            sizes.append("%dx%d %d-bit" % (width or 256, height or 256, bits))
    return sizes


def version_strings(data):
    """Walks VS_VERSIONINFO: nodes of wLength, wValueLength, wType, a
    UTF-16 key, padding to 4 bytes, the value, padding, then children."""

    def node(at, end, path, out):
        length, value_length, kind = struct.unpack_from("<HHH", data, at)
        if length == 0 or at + length > end:
            raise Malformed("version node at %d is malformed" % at)
        key_end = at + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value_bytes = value_length * 2 if kind == 1 else value_length
        if len(path) == 2 and path[0] == "StringFileInfo":
            out.append("%s %s=%s" % (path[1], key, data[value_at:value_at + value_bytes].decode("utf-16-le").rstrip("\0")))
        child = (value_at + value_bytes + 3) & ~3
        while child < at + length:
            child = node(child, at + length, path + [key] if path or key != "VS_VERSION_INFO" else [], out)
        return (at + length + 3) & ~3

    out = []
    node(0, len(data), [], out)
    return out


def main(argv):
    if len(argv) < 3 or argv[1] not in ("list", "manifest", "icon", "version") or \
            (argv[1] == "icon") != (len(argv) == 4):
        print(__doc__, file=sys.stderr)
        return 2
    try:
        image = Image(argv[2])
        if argv[1] == "list":
            for rtype, rname, language, data in image.resources:
                print(rtype, rname, language, len(data))
        elif argv[1] == "manifest":
            for _, rname, _, data in image.find(RT_MANIFEST):
                # Windows refuses to start a program whose manifest is not
                # well-formed XML (a side-by-side configuration error).
                try:
                    ElementTree.fromstring(data)
                except ElementTree.ParseError as error:
                    raise Malformed("manifest %s is not well-formed XML: %s" % (rname, error))
                print("== manifest %s" % rname)
                print(data.decode("utf-8"))
        elif argv[1] == "icon":
            for size in icon_sizes(image, int(argv[3])):
                print(size)
        else:
            found = image.find(RT_VERSION)
            if not found:
                raise Malformed("no version resource")
            for line in version_strings(found[0][3]):
                print(line)
    except (OSError, Malformed, struct.error, UnicodeDecodeError) as error:
        print("pe_resources: %s: %s" % (argv[2], error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
