#!/usr/bin/env python3
"""Generates the duplicate finder's benchmark tree.

About 50,000 files and 2 GB in 1,000 folders (20 x 50): mostly small files
(so many share a size by chance and must be opened), some medium and a few
large ones; about 13 % are exact copies of another file, 2 % have the size
and all the bytes of another file but the last few, and a few are empty.
The tree is the same for the same seed.
"""
import argparse
import os
import random


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("root")
    ap.add_argument("--files", type=int, default=50000)
    ap.add_argument("--seed", type=int, default=20261210)
    args = ap.parse_args()
    rnd = random.Random(args.seed)
    dirs = [os.path.join(args.root, f"d{a:02d}", f"s{b:02d}") for a in range(20) for b in range(50)]
    for d in dirs:
        os.makedirs(d, exist_ok=True)

    def size_of():
        r = rnd.random()
        if r < 0.70:
            return rnd.randint(200, 8192)
        if r < 0.96:
            return rnd.randint(8193, 131072)
        return rnd.randint(131073, 1000000)

    originals = []  # (path, size, seed) of files that copies may repeat
    total = 0
    n_copy = int(args.files * 0.13)
    n_late = int(args.files * 0.02)
    n_empty = 40
    n_orig = args.files - n_copy - n_late - n_empty
    kinds = ["orig"] * n_orig + ["copy"] * n_copy + ["late"] * n_late + ["empty"] * n_empty
    # Originals first so that copies have something to copy.
    head, tail = kinds[:n_orig // 2], kinds[n_orig // 2:]
    rnd.shuffle(tail)
    kinds = head + tail
    for i, kind in enumerate(kinds):
        path = os.path.join(dirs[rnd.randrange(len(dirs))], f"f{i:06d}.bin")
        if kind == "empty":
            data = b""
        elif kind == "orig" or not originals:
            size = size_of()
            data = rnd.randbytes(size)
            originals.append((path, size))
        else:
            src, size = originals[rnd.randrange(len(originals))]
            with open(src, "rb") as f:
                data = f.read()
            if kind == "late":  # same size, differs only near the end
                tail_bytes = bytearray(data[-3:])
                tail_bytes[-1] ^= 0x5A
                data = data[:-3] + bytes(tail_bytes)
        with open(path, "wb") as f:
            f.write(data)
        total += len(data)
    print(f"{len(kinds)} files, {total / 1e9:.2f} GB in {len(dirs)} folders")


if __name__ == "__main__":
    main()
