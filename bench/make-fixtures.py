#!/usr/bin/env python3
"""Makes the directories the performance table is measured on, once each:
  flat/    COUNT files named report-NNNNNNN.txt
  tree/    2*COUNT such files in COUNT/20 directories (50 top folders, the rest below them)
  varied/  COUNT files with names like users' own: 3 to 60 characters, blanks,
           mixed case, several extensions or none
  skewed/  2*COUNT files with such names in COUNT/20 folders nested up to 8 deep,
           where the share a folder gets falls steeply with its creation order:
           the root and the first folders hold thousands, most hold a handful
  empty/   nothing
A uniform fixture hides costs that varied names and lopsided trees show.
Sizes vary (sparse files) so that size columns and totals do real work; names and
shapes come from a fixed seed, so every machine makes the same sets.
Usage: make-fixtures.py ROOT COUNT   (a "ready-SET" file marks each finished set)"""
import os
import random
import sys

FILES_PER_DIRECTORY = 40
TOP_FOLDERS = 50
SKEWED_DEPTH = 8
SEED = 26


def file_size(number):
    return (number * 2654435761) % 5000000


def make_file(path, number):
    with open(path, "wb") as handle:
        handle.truncate(file_size(number))


def make_files(directory, first, count):
    os.makedirs(directory, exist_ok=True)
    for number in range(first, first + count):
        make_file(os.path.join(directory, "report-%07d.txt" % number), number)


def make_tree(root, files):
    directories = files // FILES_PER_DIRECTORY
    below_each_top = directories // TOP_FOLDERS - 1
    number = 0
    for top in range(TOP_FOLDERS):
        top_path = os.path.join(root, "project-%02d" % top)
        make_files(top_path, number, FILES_PER_DIRECTORY)
        number += FILES_PER_DIRECTORY
        for module in range(below_each_top):
            make_files(os.path.join(top_path, "module-%03d" % module), number, FILES_PER_DIRECTORY)
            number += FILES_PER_DIRECTORY


# ---------------------------------------------------------------- varied names

EXTENSIONS = [".txt"] * 6 + [".jpg"] * 5 + [".pdf"] * 4 + [".docx"] * 3 + [".h", ".cpp", ".html",
              ".xlsx", ".mp3", ".tar.gz", ".JPG", ".Log", ".json", ".c", ".7z", ".jpeg"] + [""] * 6
SEPARATORS = [" "] * 6 + ["-", "_", ".", ""]
LETTERS = "abcdefghijklmnopqrstuvwxyz" * 4 + "0123456789" + "\u00e9\u00fc\u00f1"


def random_word(rng):
    word = "".join(rng.choice(LETTERS) for _ in range(rng.randint(1, 10)))
    shape = rng.random()
    if shape < 0.4:
        return word.capitalize()
    if shape < 0.5:
        return word.upper()
    return word


def random_name(rng):
    """3 to 60 characters, most between 10 and 30; no blank or dot at either end."""
    length = 3 + int(57 * rng.random() ** 2)
    extension = rng.choice(EXTENSIONS)
    stem_length = max(1, length - len(extension))
    stem = random_word(rng)
    while len(stem) < stem_length:
        stem += rng.choice(SEPARATORS) + random_word(rng)
    stem = stem[:stem_length].rstrip(" .-_") or "x"
    return stem + extension


class VariedNames:
    """Distinct names even as the file system folds case, one folder at a time."""

    def __init__(self, rng):
        self.rng = rng

    def make(self, count, taken=None):
        taken, names = set(taken or ()), []
        while len(names) < count:
            name = random_name(self.rng)
            if name.casefold() not in taken:
                taken.add(name.casefold())
                names.append(name)
        return names


def make_varied_files(directory, names, first):
    os.makedirs(directory, exist_ok=True)
    for offset, name in enumerate(names):
        make_file(os.path.join(directory, name), first + offset)


def make_varied(root, count):
    make_varied_files(root, VariedNames(random.Random(SEED)).make(count), 0)


def skewed_folders(rng, folders):
    """Relative paths of the folders in creation order, root first; a new folder
    goes below an earlier one, the early ones more often, never deeper than the limit."""
    paths, depths = [""], [0]
    names = VariedNames(rng).make(folders)
    for name in names:
        while True:
            parent = int(len(paths) * rng.random() ** 2)
            if depths[parent] < SKEWED_DEPTH:
                break
        paths.append(os.path.join(paths[parent], name))
        depths.append(depths[parent] + 1)
    return paths


def skewed_shares(folders, files):
    """Files per folder falling as 1/(order+1); what rounding leaves goes to the root."""
    weights = [1.0 / (order + 1) for order in range(folders)]
    total = sum(weights)
    shares = [max(1, int(files * weight / total)) for weight in weights]
    shares[0] += files - sum(shares)
    return shares


def make_skewed(root, files):
    rng = random.Random(SEED + 1)
    folders = skewed_folders(rng, files // FILES_PER_DIRECTORY)
    shares = skewed_shares(len(folders), files)
    below = {}
    for path in folders[1:]:
        below.setdefault(os.path.dirname(path), set()).add(os.path.basename(path).casefold())
    number = 0
    for path, share in zip(folders, shares):
        directory = os.path.join(root, path)
        make_varied_files(directory, VariedNames(rng).make(share, below.get(path)), number)
        number += share


def make_empty(root, _count):
    os.makedirs(root, exist_ok=True)


SETS = [
    ("flat", lambda path, count: make_files(path, 0, count)),
    ("tree", lambda path, count: make_tree(path, 2 * count)),
    ("varied", make_varied),
    ("skewed", lambda path, count: make_skewed(path, 2 * count)),
    ("empty", make_empty),
]


def main():
    root, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(root, exist_ok=True)
    for name, make in SETS:
        ready = os.path.join(root, "ready-" + name)
        if os.path.exists(ready):
            continue
        make(os.path.join(root, name), count)
        open(ready, "w").close()


if __name__ == "__main__":
    main()
