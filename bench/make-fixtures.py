#!/usr/bin/env python3
"""Makes the directories the performance table is measured on, once:
  flat/   COUNT files
  tree/   2*COUNT files in COUNT/20 directories (50 top folders, the rest below them)
  empty/  nothing
Sizes vary (sparse files) so that size columns and totals do real work.
Usage: make-fixtures.py ROOT COUNT   (a "ready" file marks a finished set)"""
import os
import sys

FILES_PER_DIRECTORY = 40
TOP_FOLDERS = 50


def make_files(directory, first, count):
    os.makedirs(directory, exist_ok=True)
    for number in range(first, first + count):
        path = os.path.join(directory, "report-%07d.txt" % number)
        with open(path, "wb") as handle:
            handle.truncate((number * 2654435761) % 5000000)


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


def main():
    root, count = sys.argv[1], int(sys.argv[2])
    ready = os.path.join(root, "ready")
    if os.path.exists(ready):
        return
    make_files(os.path.join(root, "flat"), 0, count)
    make_tree(os.path.join(root, "tree"), 2 * count)
    os.makedirs(os.path.join(root, "empty"), exist_ok=True)
    open(ready, "w").close()


if __name__ == "__main__":
    main()
