#!/usr/bin/env python3
"""Writes an old/new pair of documents with long texts, for the inline text difference.

Each of COUNT <doc> elements holds one paragraph of LOW to HIGH words; a fifth of them have one
to six word edits in the new document (insertions, deletions, replacements). BLOBS <blob>
elements hold base64 data of 40 to 400 kB with five ten-character edits each.
  gen_texts.py OUTDIR [--count N] [--words LOW,HIGH] [--blobs N]
"""
import argparse
import base64
import os
import random

WORDS = ("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda omicron sigma "
         "tau upsilon omega river stone cloud maple harbor amber linen copper").split()


def edit(rng, text, edits):
    words = text.split(" ")
    for _ in range(edits):
        k = rng.randrange(len(words))
        op = rng.random()
        if op < 0.4:
            words.insert(k, rng.choice(WORDS).upper())
        elif op < 0.7 and len(words) > 1:
            del words[k]
        else:
            words[k] = rng.choice(WORDS) + "x"
    return " ".join(words)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("outdir")
    ap.add_argument("--count", type=int, default=3000)
    ap.add_argument("--words", default="20,1500")
    ap.add_argument("--blobs", type=int, default=0)
    ap.add_argument("--seed", type=int, default=5)
    args = ap.parse_args()
    low, high = (int(x) for x in args.words.split(","))
    rng = random.Random(args.seed)
    old, new = [], []
    for i in range(args.count):
        text = " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))
        changed = edit(rng, text, rng.randint(1, 6)) if rng.random() < 0.2 else text
        old.append(f'<doc id="d{i}"><p>{text}</p></doc>\n')
        new.append(f'<doc id="d{i}"><p>{changed}</p></doc>\n')
    for i in range(args.blobs):
        data = base64.b64encode(rng.randbytes(rng.randint(30000, 300000))).decode()
        chars = list(data)
        for _ in range(5):
            k = rng.randrange(len(chars))
            chars[k:k + 10] = list("EDITEDEDIT")
        old.append(f'<blob id="b{i}">{data}</blob>\n')
        new.append(f'<blob id="b{i}">{"".join(chars)}</blob>\n')
    os.makedirs(args.outdir, exist_ok=True)
    for name, items in (("old.xml", old), ("new.xml", new)):
        with open(os.path.join(args.outdir, name), "w", encoding="utf-8") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n<docs>\n')
            f.writelines(items)
            f.write("</docs>\n")


if __name__ == "__main__":
    main()
