#!/usr/bin/env python3
"""Hand-made mutants of the engine, the read-ahead and the configuration.

Each line of mutants.txt is  FILE @@ OLD @@ NEW @@ GTEST_FILTER @@ NAME : the
text OLD (a "\n" in it joins two lines), which must stand exactly once in FILE,
becomes NEW; the unit tests
(build/native, configured as for quick rebuilds) are built and run, and the
mutant is killed when the build or a test fails. A line whose OLD no longer
stands once is reported SKIP. The tree is put back after every mutant: run it
on a clean tree, and build nothing else meanwhile.

  tests/mutants/run-mutants.py [NAME ...]     all mutants, or the ones named
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.join(ROOT, 'build', 'native')
LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'mutants.txt')


def build():
    return subprocess.run(['cmake', '--build', BUILD, '-j2', '--target', 'orvl_tests'],
                          capture_output=True, text=True, errors='replace').returncode == 0


def verdict(test_filter):
    if not build():
        return 'KILLED (build)'
    try:
        run = subprocess.run([os.path.join(BUILD, 'orvl_tests'), f'--gtest_filter={test_filter}'],
                             capture_output=True, text=True, errors='replace', timeout=600,
                             cwd=BUILD)
    except subprocess.TimeoutExpired:
        return 'KILLED (timeout)'
    if run.returncode == 0:
        return 'SURVIVED'
    failed = sorted({line.split('] ')[1].split(' ')[0] for line in run.stdout.splitlines()
                     if line.startswith('[  FAILED  ]') and '.' in line})
    return 'KILLED by ' + ', '.join(failed[:3])


def main():
    wanted = set(sys.argv[1:])
    counts = {'KILLED': 0, 'SURVIVED': 0, 'SKIP': 0}
    for line in open(LIST, encoding='utf-8'):
        if not line.strip() or line.startswith('#'):
            continue
        path, old, new, test_filter, name = line.rstrip('\n').split(' @@ ')
        old, new = old.replace('\\n', '\n'), new.replace('\\n', '\n')  # "\n" joins lines
        if wanted and name not in wanted:
            continue
        full = os.path.join(ROOT, path)
        text = open(full, encoding='utf-8').read()
        if text.count(old) != 1:
            result = 'SKIP'
        else:
            with open(full, 'w', encoding='utf-8') as out:
                out.write(text.replace(old, new))
            try:
                result = verdict(test_filter)
            finally:
                with open(full, 'w', encoding='utf-8') as out:
                    out.write(text)
        counts[result.split(' ')[0]] += 1
        print(f'{name}: {result}', flush=True)
    build()
    print(f"{counts['KILLED']} killed, {counts['SURVIVED']} survived, {counts['SKIP']} skipped")


if __name__ == '__main__':
    main()
