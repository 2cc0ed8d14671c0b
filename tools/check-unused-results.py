#!/usr/bin/env python3
"""Finds dropped result codes that GCC lets through.

GCC does not warn when the result of a [[nodiscard]] virtual call is dropped;
clang does. This runs clang's front end alone (no code generation) over every
source file of the project listed in a build's compile_commands.json, with the
same include paths and definitions, and fails on any ignored result.

Usage: check-unused-results.py BUILD_DIR [JOBS]
"""
import json
import os
import shlex
import shutil
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

CLANG = os.environ.get("KOR_CLANG", "clang++-14")
# Only the project's own sources: generated and third-party files are not ours.
OWN_FOLDERS = ("host", "KORImmersiveConfiguration", "apps", "tests", "bench")
# Flags that decide what the file means; everything else is GCC's business.
KEPT_WITH_VALUE = ("-I", "-isystem", "-D", "-U", "-include")
# Every other warning is the GCC build's concern; only dropped results matter here.
CHECK_FLAGS = ["-fsyntax-only", "-std=c++20", "-Wno-everything",
               "-Wunused-result", "-Werror=unused-result"]


def front_end_flags(entry):
    words = shlex.split(entry["command"]) if "command" in entry else entry["arguments"]
    kept = []
    i = 1
    while i < len(words):
        word = words[i]
        joined = next((f for f in KEPT_WITH_VALUE if word.startswith(f) and word != f), None)
        if word in KEPT_WITH_VALUE and i + 1 < len(words):
            kept += [word, words[i + 1]]
            i += 1
        elif joined:
            kept.append(word)
        i += 1
    return kept


def check(item):
    path, directory, flags = item
    run = subprocess.run([CLANG, *CHECK_FLAGS, *flags, path], cwd=directory,
                         capture_output=True, text=True)
    return path, run.returncode, run.stderr


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    if not shutil.which(CLANG):
        sys.exit(f"check-unused-results: {CLANG} not found (scripts/install-deps.sh installs it)")
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count() or 1
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    database = os.path.join(build, "compile_commands.json")
    try:
        with open(database) as f:
            entries = json.load(f)
    except OSError as error:
        sys.exit(f"check-unused-results: cannot read {database}: {error.strerror}"
                 " (configure the build first)")

    items = {}
    for entry in entries:
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        relative = os.path.relpath(path, root)
        if relative.split(os.sep)[0] in OWN_FOLDERS and path not in items:
            items[path] = (path, entry["directory"], front_end_flags(entry))

    failed = 0
    with ThreadPoolExecutor(max_workers=jobs) as pool:
        for path, code, output in pool.map(check, sorted(items.values())):
            if code != 0:
                failed += 1
                sys.stderr.write(output)
    print(f"check-unused-results: {len(items)} files, {failed} with dropped results")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
