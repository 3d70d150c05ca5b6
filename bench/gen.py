#!/usr/bin/env python3
"""Writes old/new document pairs for the benchmark.

Record lists: every record has an id attribute, a few more attributes and 3 to 6 child
elements with text. Variants of the new document:
  textchange  1% of the records have one child text changed
  frontinsert one record inserted at the very front, so every later record shifts
  blockmove   blocks of records moved elsewhere in the list
  mixed       all three at once
Record shapes other than the plain one (front insertion only, unless asked otherwise):
  attrs       twelve attributes per record and attributes on the child elements
  deep        records nested five levels deep (head, body, sections, paragraphs)
  mixedtext   mixed content: text runs with inline elements between them
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


def words(rng, low, high):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))


def make_attrs_record(rng, rid):
    extra = "".join(f' a{k}="{rng.choice(WORDS)}{rng.randint(0, 99)}"' for k in range(9))
    attrs = f' id="r{rid}" kind="{rng.choice("abc")}" rev="{rng.randint(1, 9)}"{extra}'
    children = "".join(
        f'<{f} lang="{rng.choice(("en", "de", "fr"))}" n="{rng.randint(1, 5)}">'
        f"{words(rng, 1, 3)} {rid}</{f}>"
        for f in rng.sample(FIELDS, rng.randint(3, 5)))
    return f"  <record{attrs}>{children}</record>\n"


def make_deep_record(rng, rid):
    head = f"<head><name>{words(rng, 1, 2)} {rid}</name><code>c{rid}</code></head>"
    sections = "".join(
        "<section><title>" + words(rng, 1, 2) + "</title><list>"
        + "".join(f"<item><para>{words(rng, 2, 4)}</para></item>"
                  for _ in range(rng.randint(1, 2)))
        + "</list></section>"
        for _ in range(rng.randint(1, 2)))
    return f'  <record id="r{rid}">{head}<body>{sections}</body></record>\n'


def make_mixedtext_record(rng, rid):
    inline = ("b", "i", "em", "code")
    para = "".join(
        f"{words(rng, 2, 5)} <{t}>{words(rng, 1, 2)}</{t}> "
        for t in (rng.choice(inline) for _ in range(rng.randint(1, 3))))
    return (f'  <record id="r{rid}"><p>{para}{words(rng, 1, 3)} {rid}</p>'
            f"<note>{words(rng, 1, 4)}</note></record>\n")


SHAPES = {
    "plain": make_record,
    "attrs": make_attrs_record,
    "deep": make_deep_record,
    "mixedtext": make_mixedtext_record,
}


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


def records_pair(n, variant, seed, shape="plain"):
    rng = random.Random(seed)
    make = SHAPES[shape]
    old = [make(rng, i) for i in range(n)]
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
        new.insert(0, make(rng, n + 1))
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
    ap.add_argument("--shapes", default="",
                    help="record shapes besides plain, e.g. attrs,deep,mixedtext")
    ap.add_argument("--shape-variants", default="frontinsert")
    ap.add_argument("--chain-depth", type=int, default=200000)
    ap.add_argument("--seed", type=int, default=7)
    args = ap.parse_args()
    jobs = [("plain", v) for v in args.variants.split(",") if v]
    jobs += [(shape, v) for shape in args.shapes.split(",") if shape
             for v in args.shape_variants.split(",") if v]
    for n in (int(s) for s in args.sizes.split(",") if s):
        for shape, variant in jobs:
            name = variant if shape == "plain" else f"{variant}-{shape}"
            d = os.path.join(args.outdir, f"{name}-{n}")
            os.makedirs(d, exist_ok=True)
            if os.path.exists(os.path.join(d, "new.xml")):
                continue
            old, new = records_pair(n, variant, args.seed, shape)
            write(os.path.join(d, "old.xml"), old)
            write(os.path.join(d, "new.xml"), new)
    if args.chain_depth > 0:
        d = os.path.join(args.outdir, f"chain-{args.chain_depth}")
        os.makedirs(d, exist_ok=True)
        if not os.path.exists(os.path.join(d, "new.xml")):
            write_chain(d, args.chain_depth)


if __name__ == "__main__":
    main()
