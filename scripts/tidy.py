#!/usr/bin/env python3
"""Runs clang-tidy, with the checks of .clang-tidy, over every source of the
program: the Windows ones as the MinGW-w64 target, with its headers.

    scripts/tidy.py [--build BUILD_FOLDER] [SOURCE...]

BUILD_FOLDER is a built folder of the windows preset (build/windows by
default); its compile_commands.json names the sources and how they are
compiled, and that of the policy template generator, built for this machine,
names the generator's own source. Given sources, only those are checked.
Prints what clang-tidy finds and fails on any finding. Several sources go to
one clang-tidy, one clang-tidy a processor.
"""
import argparse
import concurrent.futures
import json
import os
import re
import subprocess
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The folders of the program's own sources: the layers and the generator of the policy templates.
PRODUCT = ("base", "core", "services", "ui", "app", "policies")
BATCH = 4


def product_sources(database):
    """The program's sources in a compilation database."""
    try:
        with open(os.path.join(database, "compile_commands.json")) as commands:
            entries = json.load(commands)
    except FileNotFoundError:
        raise SystemExit(f"No compile_commands.json in {database}: configure and build the windows preset first.")
    folders = tuple(os.path.join(REPO, folder) + os.sep for folder in PRODUCT)
    return sorted({entry["file"] for entry in entries if entry["file"].startswith(folders)}), entries


def standard_library_folders(compiler):
    """Where the cross compiler finds the C++ standard library's headers:
    clang knows the MinGW target, but not where Debian put these."""
    report = subprocess.run([compiler, "-xc++", "-E", "-v", "-"], input="", capture_output=True, text=True).stderr
    listing = report.split("#include <...> search starts here:", 1)[1].split("End of search list.", 1)[0]
    return [folder.strip() for folder in listing.splitlines() if "/c++" in folder]


def commands(build):
    """(database, extra arguments, sources) for the cross build and for the generator."""
    windows, entries = product_sources(build)
    compiler = entries[0]["command"].split()[0] if "command" in entries[0] else entries[0]["arguments"][0]
    cross = ["--extra-arg=--target=x86_64-w64-mingw32"]
    cross += [f"--extra-arg=-isystem{folder}" for folder in standard_library_folders(compiler)]
    generator = os.path.join(build, "policy_generator")
    native, _ = product_sources(generator)
    return [(build, cross, windows), (generator, [], [source for source in native if source not in windows])]


def tidy(database, extra, sources):
    headers = "^" + re.escape(REPO + os.sep) + "(" + "|".join(PRODUCT) + ")/"
    return subprocess.run(["clang-tidy", "--quiet", "-p", database, f"--header-filter={headers}", *extra, *sources],
                          capture_output=True, text=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(REPO, "build", "windows"))
    parser.add_argument("sources", nargs="*")
    args = parser.parse_args()
    wanted = {os.path.abspath(source) for source in args.sources}
    jobs = []
    for database, extra, sources in commands(os.path.abspath(args.build)):
        sources = [source for source in sources if not wanted or source in wanted]
        jobs += [(database, extra, sources[i:i + BATCH]) for i in range(0, len(sources), BATCH)]
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        for result in pool.map(lambda job: tidy(*job), jobs):
            if result.returncode != 0:
                failed += 1
                # Only the findings: not clang-tidy's counts of what it left out.
                print("\n".join(line for line in (result.stdout + result.stderr).splitlines()
                                if not re.match(r"^\d+ warnings? (and \d+ errors? )?generated\.$", line)))
    count = sum(len(sources) for _, _, sources in jobs)
    print(f"clang-tidy: {count} sources, {'findings in ' + str(failed) + ' of ' + str(len(jobs)) + ' runs' if failed else 'nothing found'}.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
