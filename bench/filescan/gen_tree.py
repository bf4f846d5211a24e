#!/usr/bin/env python3
"""Generates the file-search benchmark tree: FILES empty files spread evenly
over FOLDERS folders (50 top folders, the rest below them), names of a
typical temporary folder's length. The same arguments give the same tree."""
import argparse
import os


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("root")
    ap.add_argument("--files", type=int, default=100000)
    ap.add_argument("--folders", type=int, default=5000)
    args = ap.parse_args()
    tops = 50
    per_top = args.folders // tops
    dirs = [os.path.join(args.root, f"top{a:02d}", f"sub{b:03d}") for a in range(tops)
            for b in range(per_top)]
    for d in dirs:
        os.makedirs(d, exist_ok=True)
    for i in range(args.files):
        d = dirs[i % len(dirs)]
        with open(os.path.join(d, f"tmp{i:06d}_cache.dat"), "wb"):
            pass
    folders = len(dirs) + tops
    print(f"{args.files} files in {folders} folders under {args.root}")


if __name__ == "__main__":
    main()
