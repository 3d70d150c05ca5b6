#!/usr/bin/env python3
"""Writes old/new document pairs for the benchmark.

Record lists: every record has an id attribute, a few more attributes and 3 to 6 child
elements with text. Variants of the new document:
  textchange  1% of the records have one child text changed
  frontinsert one record inserted at the very front, so every later record shifts
  blockmove   blocks of records moved elsewhere in the list
  mixed       all three at once
A chain variant nests elements 200,000 deep and changes a text near the bottom.
"""
import argparse
import os
import random

FIELDS = ["name", "city", "street", "phone", "mail", "note", "title", "code"]
WORDS = ("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda omicron sigma "
         "tau upsilon omega river stone cloud maple harbor amber linen copper").split()


def make_record(rng, rid):
    n = rng.randint(3, 6)
    fields = rng.sample(FIELDS, n)
    attrs = f' id="r{rid}" kind="{rng.choice("abc")}" rev="{rng.randint(1, 9)}"'
    children = "".join(
        f"<{f}>{' '.join(rng.choice(WORDS) for _ in range(rng.randint(1, 4)))} {rid}</{f}>"
        for f in fields)
    return f"  <record{attrs}>{children}</record>\n"


def change_text(rng, rec):
    # Replace the text of the first child: keeps the structure, changes one leaf.
    start = rec.index("><", rec.index("<record")) + 2
    open_end = rec.index(">", start)
    close = rec.index("</", open_end)
    return rec[:open_end + 1] + "changed " + rng.choice(WORDS) + rec[close:]


def write(path, records):
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<records>\n')
        f.writelines(records)
        f.write("</records>\n")


def records_pair(n, variant, seed):
    rng = random.Random(seed)
    old = [make_record(rng, i) for i in range(n)]
    new = list(old)
    if variant in ("textchange", "mixed"):
        for i in rng.sample(range(n), max(1, n // 100)):
            new[i] = change_text(rng, new[i])
    if variant in ("blockmove", "mixed"):
        block = max(1, n // 50)
        for _ in range(5):
            src = rng.randrange(0, n - block)
            chunk = new[src:src + block]
            del new[src:src + block]
            dst = rng.randrange(0, len(new))
            new[dst:dst] = chunk
    if variant in ("frontinsert", "mixed"):
        new.insert(0, make_record(rng, n + 1))
    return old, new


def write_chain(dirpath, depth):
    for name, leaf in (("old.xml", "bottom text"), ("new.xml", "bottom text changed")):
        with open(os.path.join(dirpath, name), "w", encoding="utf-8") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
            f.write("".join(f'<n d="{i % 10}">' for i in range(depth)))
            f.write(f"<leaf>{leaf}</leaf>")
            f.write("</n>" * depth)
            f.write("\n")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("outdir")
    ap.add_argument("--sizes", default="1000,10000,100000,1000000")
    ap.add_argument("--variants", default="textchange,frontinsert,blockmove,mixed")
    ap.add_argument("--chain-depth", type=int, default=200000)
    ap.add_argument("--seed", type=int, default=7)
    args = ap.parse_args()
    for n in (int(s) for s in args.sizes.split(",") if s):
        for variant in (v for v in args.variants.split(",") if v):
            d = os.path.join(args.outdir, f"{variant}-{n}")
            os.makedirs(d, exist_ok=True)
            if os.path.exists(os.path.join(d, "new.xml")):
                continue
            old, new = records_pair(n, variant, args.seed)
            write(os.path.join(d, "old.xml"), old)
            write(os.path.join(d, "new.xml"), new)
    if args.chain_depth > 0:
        d = os.path.join(args.outdir, f"chain-{args.chain_depth}")
        os.makedirs(d, exist_ok=True)
        if not os.path.exists(os.path.join(d, "new.xml")):
            write_chain(d, args.chain_depth)


if __name__ == "__main__":
    main()
