#!/usr/bin/env python3
"""Writes small STL files into the folder given: the seeds of fuzz_stl_read.

Binary files (a tetrahedron, one facet, none, a degenerate facet, one cut short) and ASCII files
(the same shapes, one with odd spacing and case, one cut short), all a few hundred bytes.
"""
import os
import struct
import sys

TETRA = [((0, 0, 0), (1, 0, 0), (0, 1, 0)), ((0, 0, 0), (0, 0, 1), (1, 0, 0)),
         ((0, 0, 0), (0, 1, 0), (0, 0, 1)), ((1, 0, 0), (0, 0, 1), (0, 1, 0))]
ONE = TETRA[:1]
DEGENERATE = [((1, 1, 1), (1, 1, 1), (1, 1, 1))]


def binary(facets, count=None):
    out = bytearray(b"seed".ljust(80, b" "))
    out += struct.pack("<I", len(facets) if count is None else count)
    for facet in facets:
        out += struct.pack("<3f", 0, 0, 0)
        for corner in facet:
            out += struct.pack("<3f", *corner)
        out += struct.pack("<H", 0)
    return bytes(out)


def ascii(facets, name="seed", odd=False):
    lines = ["solid " + name]
    for facet in facets:
        lines.append("  facet normal 0 0 0" if not odd else "FACET   NORMAL 0e0 -0 +0")
        lines.append("    outer loop")
        for corner in facet:
            lines.append("      vertex %r %r %r" % corner if not odd else
                         "\tVERTEX %g\t%g %.3e" % corner)
        lines.append("    endloop")
        lines.append("  endfacet")
    lines.append("endsolid " + name)
    return ("\r\n" if odd else "\n").join(lines).encode() + b"\n"


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "tetra.stl": binary(TETRA),
        "one.stl": binary(ONE),
        "empty.stl": binary([]),
        "degenerate.stl": binary(DEGENERATE),
        "count_too_big.stl": binary(ONE, count=5),
        "cut.stl": binary(TETRA)[:-20],
        "tetra_ascii.stl": ascii(TETRA),
        "odd_ascii.stl": ascii(TETRA, odd=True),
        "degenerate_ascii.stl": ascii(DEGENERATE + DEGENERATE),
        "cut_ascii.stl": ascii(ONE)[:-30],
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
