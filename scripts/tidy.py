#!/usr/bin/env python3
"""Runs clang-tidy, with the checks of .clang-tidy, over every source of the
program: the Windows ones as the MinGW-w64 target, with its headers.

    scripts/tidy.py [--build BUILD_FOLDER] [SOURCE...]

BUILD_FOLDER is a built folder of the windows preset (build/windows by
default); its compile_commands.json names the sources and how they are
compiled, and that of the policy template generator, built for this machine,
names the generator's own source. Given sources, only those are checked.
Prints what clang-tidy finds and fails on any finding.

The sources of a library, compiled alike, are checked as one translation
unit that includes them all: the system's headers, which take most of
clang-tidy's time, are then read and matched once a library rather than once
a source. Sources that the compiler finds fault with together (two of them
name something alike in their own unnamed namespaces) are checked one by one
instead, so that only their own findings are reported. One clang-tidy a
processor.
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


def alike(entry):
    """How a source is compiled, without the source and its object file."""
    words = entry["command"].split() if "command" in entry else list(entry["arguments"])
    at = words.index("-o")
    del words[at:at + 2]
    return entry["directory"], tuple(word for word in words if word not in ("-c", entry["file"]))


def unity_jobs(database, extra, sources, folder):
    """(database, extra arguments, [unity source], members) for each library's sources compiled alike, in a
    compilation database of their own in folder."""
    with open(os.path.join(database, "compile_commands.json")) as commands:
        entries = {entry["file"]: entry for entry in json.load(commands)}
    groups = {}
    for source in sources:
        groups.setdefault(alike(entries[source]), []).append(source)
    os.makedirs(folder, exist_ok=True)
    unity_entries, jobs = [], []
    for number, ((directory, words), members) in enumerate(sorted(groups.items())):
        unity = os.path.join(folder, f"unity-{number}.cpp")
        with open(unity, "w") as text:
            text.writelines(f'#include "{member}"  // NOLINT(bugprone-suspicious-include)\n' for member in members)
        unity_entries.append({"directory": directory, "file": unity,
                              "command": " ".join([*words, "-o", unity + ".obj", "-c", unity])})
        jobs.append((folder, extra, [unity], members))
    with open(os.path.join(folder, "compile_commands.json"), "w") as commands:
        json.dump(unity_entries, commands, indent=1)
    return jobs


def tidy_together(job):
    """A library checked as one; its sources one by one where they do not compile together."""
    database, extra, unity, members, alone = job
    result = tidy(database, extra, unity)
    if "[clang-diagnostic-" not in result.stdout:
        return [result]
    return [tidy(alone, extra, [member]) for member in members]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(REPO, "build", "windows"))
    parser.add_argument("sources", nargs="*")
    args = parser.parse_args()
    wanted = {os.path.abspath(source) for source in args.sources}
    build = os.path.abspath(args.build)
    jobs = []
    for number, (database, extra, sources) in enumerate(commands(build)):
        sources = [source for source in sources if not wanted or source in wanted]
        folder = os.path.join(build, "tidy", str(number))
        jobs += [(*job, database) for job in unity_jobs(database, extra, sources, folder)]
    failed = runs = 0
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        for results in pool.map(tidy_together, jobs):
            for result in results:
                runs += 1
                if result.returncode != 0:
                    failed += 1
                    # Only the findings: not clang-tidy's counts of what it left out.
                    print("\n".join(line for line in (result.stdout + result.stderr).splitlines()
                                    if not re.match(r"^\d+ warnings? (and \d+ errors? )?generated\.$", line)))
    count = sum(len(members) for _, _, _, members, _ in jobs)
    print(f"clang-tidy: {count} sources, {'findings in ' + str(failed) + ' of ' + str(runs) + ' runs' if failed else 'nothing found'}.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
