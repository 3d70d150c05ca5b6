#!/usr/bin/env python3
"""Runs two zov-cli builds on random document pairs under random settings and reports every
pair whose result file, exit status or standard output differs between them.

    bench/samebytes.py OLD_CLI NEW_CLI [--pairs 500] [--seed 1] [--keep DIR]

Meant for rewrites that must not change any result: build the old revision once, keep its
zov-cli, and compare. Documents mix elements, attributes, texts with white space, entities and
characters beyond the BMP, comments, processing instructions (ZOV ones too), CDATA sections;
the second document is a mutation of the first. Settings switch every mode and mark flag, and
now and then empty the mark texts or add an anchor.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

NAMES = ["a", "b", "c", "item", "x:y", "rec"]
ATTRS = ["id", "k", "v", "xmlns:x", "n"]
WORDS = ["alpha", "beta", "gamma", "A", "  spaced  out ", "tab\there", "line\nbreak", "&amp;",
         "&lt;&gt;", "quote\"s", "apos's", "é", "€", "\U0001F600", "]]>", "&#13;", "1", "22"]

BOOLS = ["use_hashmode", "normalize_spaces", "add_del_nodes_2_res", "enable_shiftmode",
         "enable_contentmode", "ignore_attributes", "ignore_attribute_order", "cmp_attr_contents",
         "do_txtdiff", "txtdiff_casesensitive", "usecm_cm", "usecm_pc", "usecm_cc", "usecm_ac",
         "usecm_acc", "usecm_pcc", "usecm_pac", "usecm_pcac", "usecm_add", "usecm_del"]
MARKS = ["complete_match", "position_change", "content_change", "attribute_change",
         "attribute_and_content_change", "position_and_content_change",
         "position_and_attribute_change", "position_and_content_and_attribute_change",
         "element_added", "element_deleted"]


def esc(text, quote=False):
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return text.replace('"', "&quot;") if quote else text


class Node:
    def __init__(self, kind, name="", text="", attrs=None, children=None):
        self.kind, self.name, self.text = kind, name, text
        self.attrs = attrs or []
        self.children = children or []

    def copy(self):
        return Node(self.kind, self.name, self.text, list(self.attrs),
                    [c.copy() for c in self.children])

    def xml(self):
        if self.kind == "text":
            return self.text  # already markup-safe, entities kept as written
        if self.kind == "comment":
            return f"<!--{self.text}-->"
        if self.kind == "cdata":
            return f"<![CDATA[{self.text}]]>"
        if self.kind == "pi":
            return f"<?{self.name} {self.text}?>" if self.text else f"<?{self.name}?>"
        attrs = "".join(f' {k}="{esc(v, True)}"' for k, v in self.attrs)
        if not self.children:
            return f"<{self.name}{attrs}/>"
        inner = "".join(c.xml() for c in self.children)
        return f"<{self.name}{attrs}>{inner}</{self.name}>"


def rand_text(rng):
    words = [rng.choice(WORDS) for _ in range(rng.randint(1, 4))]
    text = " ".join(w if w.startswith("&") else esc(w) for w in words)
    if rng.random() < 0.2:
        text = "  " + text + " \n "
    return text


def rand_node(rng, depth):
    r = rng.random()
    if depth <= 0 or r < 0.3:
        k = rng.random()
        if k < 0.75:
            return Node("text", text=rand_text(rng))
        if k < 0.85:
            return Node("comment", text=rng.choice(["c", " note ", "x-y", ""]))
        if k < 0.93:
            return Node("pi", name=rng.choice(["ZOV", "p", "zov"]),
                        text=rng.choice(["element deleted x", "position change 1", "d", "",
                                         "content change"]))
        return Node("cdata", text=rng.choice(["raw <x>", "  ", "a]]b", ""]))
    node = Node("element", name=rng.choice(NAMES))
    if rng.random() < 0.5:
        for k in rng.sample(ATTRS, rng.randint(1, 3)):
            value = rng.choice(["1", "2", "a b", "", "x", "\t<&>", "http://e/x"])
            if k == "xmlns:x":
                value = "http://e/x"
            node.attrs.append((k, value))
    for _ in range(rng.randint(0, 5)):
        child = rand_node(rng, depth - 1)
        # Adjacent texts would merge on reading; keep the documents honest.
        if child.kind == "text" and node.children and node.children[-1].kind == "text":
            continue
        node.children.append(child)
    return node


def mutate(rng, node, depth):
    out = node.copy()
    if out.kind != "element":
        if out.kind == "text" and rng.random() < 0.3:
            out.text = rand_text(rng)
        return out
    kids = [mutate(rng, c, depth - 1) if rng.random() < 0.8 else c.copy() for c in out.children]
    if kids and rng.random() < 0.3:
        del kids[rng.randrange(len(kids))]
    if rng.random() < 0.3:
        kids.insert(rng.randint(0, len(kids)), rand_node(rng, depth - 1))
    if len(kids) > 1 and rng.random() < 0.3:
        kids.insert(rng.randint(0, len(kids) - 1), kids.pop(rng.randrange(len(kids))))
    if out.attrs and rng.random() < 0.3:
        k, _ = out.attrs[0]
        out.attrs[0] = (k, rng.choice(["1", "2", "changed"])) if k != "xmlns:x" else out.attrs[0]
    if rng.random() < 0.2:
        out.attrs.reverse()
    merged = []
    for k in kids:
        if k.kind == "text" and merged and merged[-1].kind == "text":
            continue
        merged.append(k)
    out.children = merged
    return out


def rand_doc(rng):
    # The prefix x is declared on every root, so that x:y elements are namespace-well-formed.
    root = Node("element", name="r", attrs=[("xmlns:x", "http://e/x")],
                children=[rand_node(rng, 3) for _ in range(rng.randint(0, 8))])
    merged = []
    for k in root.children:
        if k.kind == "text" and merged and merged[-1].kind == "text":
            continue
        merged.append(k)
    root.children = merged
    return root


def prolog(rng):
    return rng.choice(['<?xml version="1.0" encoding="UTF-8"?>\n', "",
                       '<?xml version="1.0"?>\n<!-- c -->\n'])


def config(rng):
    params = {k: rng.choice(["true", "false"]) for k in BOOLS}
    params["write_log"] = "false"
    params["savemode"] = rng.choice(["0", "1"])
    params["element_indent"] = rng.choice(["0", "2", "4"])
    params["txt_minsubstr"] = rng.choice(["1", "3"])
    if rng.random() < 0.1:
        params[rng.choice(MARKS)] = ""
    anchors = ""
    if rng.random() < 0.3:
        anchors = ('    <zovanchor name="item" absolute="%s" normalize-spaces="yes">\n'
                   '      <path>%s</path>\n    </zovanchor>\n'
                   % (rng.choice(["yes", "no"]), rng.choice(["@id", "a", "@k", "b/@v"])))
    body = "".join(f"    <{k}>{esc(v)}</{k}>\n" for k, v in params.items())
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<zov_cfg>\n  <parameters>\n' + body
            + "  </parameters>\n  <anchors>\n" + anchors + "  </anchors>\n</zov_cfg>\n")


def run(cli, folder):
    out = os.path.join(folder, "result.xml")
    if os.path.exists(out):
        os.remove(out)
    proc = subprocess.run([cli, "-cfg", "cfg.xml", "-o", out, "old.xml", "new.xml"], cwd=folder,
                          capture_output=True, timeout=120)
    data = open(out, "rb").read() if os.path.exists(out) else None
    return proc.returncode, proc.stdout, data


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("old")
    ap.add_argument("new")
    ap.add_argument("--pairs", type=int, default=500)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--keep", help="folder for the pairs that differ")
    args = ap.parse_args()
    args.old, args.new = os.path.abspath(args.old), os.path.abspath(args.new)
    work = tempfile.mkdtemp(prefix="samebytes-")
    differ = 0
    try:
        for n in range(args.pairs):
            rng = random.Random(args.seed * 1000003 + n)
            first = rand_doc(rng)
            second = mutate(rng, first, 4) if rng.random() < 0.9 else rand_doc(rng)
            with open(os.path.join(work, "old.xml"), "w", encoding="utf-8") as f:
                f.write(prolog(rng) + first.xml())
            with open(os.path.join(work, "new.xml"), "w", encoding="utf-8") as f:
                f.write(prolog(rng) + second.xml())
            with open(os.path.join(work, "cfg.xml"), "w", encoding="utf-8") as f:
                f.write(config(rng))
            if run(args.old, work) != run(args.new, work):
                differ += 1
                print(f"pair {n}: results differ", flush=True)
                if args.keep:
                    dest = os.path.join(args.keep, f"pair-{n}")
                    os.makedirs(dest, exist_ok=True)
                    for name in ("old.xml", "new.xml", "cfg.xml"):
                        shutil.copy(os.path.join(work, name), dest)
    finally:
        shutil.rmtree(work)
    print(f"{args.pairs} pairs, {differ} differ")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
