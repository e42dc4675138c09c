#!/usr/bin/env python3
"""Writes the SAT texts of the shared corpus drawings' 3D solids, bodies and regions into the
folder given: the seeds of fuzz_sat_read.

The drawings are read in place (first argument after the folder, by default the shared corpus);
group 1 starts a SAT line and group 3 continues it; "^ " stands for "^", then every character c
other than a space for chr(159 - c).
"""
import os
import sys

DRAWINGS = ["ezdxf_3dsolids.dxf", "ezdxf_torus_r2000.dxf", "ezdxf_torus_r2004.dxf",
            "ezdxf_torus_r2010.dxf", "libredwg_example_2000.dxf", "libredwg_2000_TS1.dxf"]


def decipher(line):
    line = line.replace("^ ", "^")
    return "".join(c if c == " " else chr(159 - ord(c)) for c in line)


def texts(path):
    with open(path, encoding="latin-1", newline="") as f:
        lines = [line.rstrip("\r") for line in f.read().split("\n")]
    current = None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1]
        if code == "0":
            if current is not None:
                yield "".join(current)
            current = [] if value in ("3DSOLID", "BODY", "REGION") else None
        elif current is not None and code == "1":
            current.append(decipher(value) + "\n")
        elif current is not None and code == "3" and current:
            current[-1] = current[-1][:-1] + decipher(value) + "\n"


def main():
    out = sys.argv[1]
    corpus = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "..", "..", "shared",
                                                                "corpus", "dxf")
    os.makedirs(out, exist_ok=True)
    for drawing in DRAWINGS:
        for n, text in enumerate(texts(os.path.join(corpus, drawing))):
            with open(os.path.join(out, "%s_%d.sat" % (drawing[:-4], n)), "w", encoding="latin-1") as f:
                f.write(text)


if __name__ == "__main__":
    main()
