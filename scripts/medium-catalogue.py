#!/usr/bin/env python3
"""Reads what the medium assembly needs from a printer catalogue (config.xml):

  medium-catalogue.py models CONFIG   each Printer's name, one a line, in file
                                      order, without repeats
  medium-catalogue.py files CONFIG    each driver file the catalogue names
                                      (Driver, Data, Config, Help, DependsFile
                                      of i386, amd64 and ia64), one a line, as
                                      written, without repeats

A real XML parser, so quoting, entities, comments and the declared encoding
are read as Setup reads them. Only the elements Setup reads count: Printer
directly in the top-level Printers, file sets directly in a Printer, files
directly in a file set. Exits 1 when the file is unreadable or not a
catalogue, with the reason on standard error.
"""

import sys
import xml.etree.ElementTree as ElementTree

ARCHITECTURES = ("i386", "amd64", "ia64")
FILES = ("Driver", "Data", "Config", "Help", "DependsFile")


def unique(items):
    seen = set()
    return [i for i in items if not (i in seen or seen.add(i))]


def main(argv):
    if len(argv) != 3 or argv[1] not in ("models", "files"):
        print(__doc__, file=sys.stderr)
        return 2
    try:
        root = ElementTree.parse(argv[2]).getroot()
    except (OSError, ElementTree.ParseError) as error:
        print("medium-catalogue: %s: %s" % (argv[2], error), file=sys.stderr)
        return 1
    if root.tag != "Printers":
        print("medium-catalogue: %s: the top-level element is %s, not Printers" % (argv[2], root.tag),
              file=sys.stderr)
        return 1
    printers = [p for p in root if p.tag == "Printer"]
    if argv[1] == "models":
        lines = unique(p.get("name", "") for p in printers)
    else:
        lines = unique((f.text or "") for p in printers for s in p if s.tag in ARCHITECTURES
                       for f in s if f.tag in FILES)
    out = sys.stdout.buffer
    for line in lines:
        if "\n" in line or "\r" in line:
            print("medium-catalogue: %s: a line break in %r" % (argv[2], line), file=sys.stderr)
            return 1
        out.write(line.encode("utf-8") + b"\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
