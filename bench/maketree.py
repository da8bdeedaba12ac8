#!/usr/bin/env python3
"""Generates the benchmark tree: about 500,000 small text files with mixed-case names.

Usage: maketree.py FOLDER [FILES]. Deterministic (fixed seed); one file in a hundred holds the
phrase "Quasarneedle" in varying letter case, for the content benchmarks.
"""
import os
import random
import sys

WORDS = ("alpha beta gamma delta file folder search window engine thread value table "
         "index cache block buffer stream phrase match level target mask filter size time "
         "create modify access include return static const struct class public private").split()
EXTENSIONS = [".h", ".H", ".c", ".cpp", ".CPP", ".txt", ".md", ".json", ".py", ".Hpp", ""]
STEMS = ["Main", "util", "README", "Test_case", "config", "MakeFile", "widget", "Parser", "io"]
PHRASES = ["Quasarneedle", "quasarneedle", "QUASARNEEDLE"]


def main():
    root = sys.argv[1]
    total = int(sys.argv[2]) if len(sys.argv) > 2 else 500_000
    rng = random.Random(20261211)
    files_per_folder = 100
    folders = total // files_per_folder
    made = 0
    for f in range(folders):
        # Four levels: 10 x 10 x 10 x n.
        path = os.path.join(root, "Dir%d" % (f % 10), "sub%d" % (f // 10 % 10),
                            "Level%d" % (f // 100 % 10), "leaf%d" % (f // 1000))
        os.makedirs(path, exist_ok=True)
        for i in range(files_per_folder):
            name = "%s%d%s" % (rng.choice(STEMS), i, rng.choice(EXTENSIONS))
            words = [rng.choice(WORDS) for _ in range(rng.randint(20, 300))]
            if rng.randrange(100) == 0:
                words.insert(rng.randrange(len(words)), rng.choice(PHRASES))
            data = (" ".join(words) + "\n").encode()
            fd = os.open(os.path.join(path, name), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
            os.write(fd, data)
            os.close(fd)
            made += 1
    print("made %d files in %d folders below %s" % (made, folders, root))


if __name__ == "__main__":
    main()
