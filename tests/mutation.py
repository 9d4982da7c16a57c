#!/usr/bin/env python3
"""Measures how well the unit tests guard portable sources: each small change
(a mutant) of a source file is built and the unit tests are run against it.
A mutant the tests fail on is killed; one they pass survives, and is either a
gap in the tests or a change that does not alter behaviour (equivalent),
which only a reader can tell.

    python3 tests/mutation.py core/capture/screen_choice.cpp [more files]

It builds in build/mutation, changes the files in place one mutant at a time
and always puts them back. It prints each survivor and the score per file.
"""
import argparse
import os
import re
import signal
import subprocess
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(REPO, "build", "mutation")
TESTS = os.path.join(BUILD, "tests", "vorlane_unit_tests")

# Pattern, replacement: each match of a pattern in a line of code is one mutant.
OPERATORS = [
    (r"(?<![<>=!-])<(?![<=])", "<="),
    (r"<=", "<"),
    (r"(?<![<>=-])>(?![>=])", ">="),
    (r">=", ">"),
    (r"==", "!="),
    (r"!=", "=="),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r" \+ ", " - "),
    (r" - ", " + "),
    (r" \* ", " / "),
    (r"\+\+", "--"),
    (r"--", "++"),
    (r"\+=", "-="),
    (r"-=", "+="),
    (r"!(?!=)", ""),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"std::min\b", "std::max"),
    (r"std::max\b", "std::min"),
    (r"(?<![\w.])(\d+)(?![\w.])", lambda m: str(int(m.group(1)) + 1)),
    (r"(?<![\w.])([1-9]\d*)(?![\w.])", lambda m: str(int(m.group(1)) - 1)),
]

# A statement that ends on its line; removing a declaration does not build, and does not count.
STATEMENT = re.compile(r"^\s*(?!return\b|break\b|continue\b)\S.*;\s*$")


def code_part(line):
    """The line without its comment and with string and character literals blanked."""
    line = re.sub(r'"(\\.|[^"\\])*"', lambda m: '"' + " " * (len(m.group(0)) - 2) + '"', line)
    line = re.sub(r"'(\\.|[^'\\])*'", lambda m: "'" + " " * (len(m.group(0)) - 2) + "'", line)
    cut = line.find("//")
    return line if cut < 0 else line[:cut]


def mutants(lines):
    """(line index, description, new line) for every mutant of the file."""
    for index, line in enumerate(lines):
        stripped = line.strip()
        if not stripped or stripped.startswith(("#", "//", "namespace", "}")):
            continue
        code = code_part(line)
        for pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, code):
                new = replacement(match) if callable(replacement) else replacement
                mutated = line[:match.start()] + new + line[match.end():]
                yield index, f"{match.group(0).strip()} -> {new.strip() or 'nothing'}", mutated
        if STATEMENT.match(code):
            yield index, "statement removed", ""


def build():
    return subprocess.run(["cmake", "--build", BUILD, "--target", "vorlane_unit_tests", "-j2"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def tests_pass(gtest_filter):
    try:
        return subprocess.run([TESTS, "--gtest_brief=1", f"--gtest_filter={gtest_filter}"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def run_file(path, gtest_filter):
    with open(path) as source:
        original = source.read()
    lines = original.split("\n")
    killed, survived, stillborn = 0, [], 0
    try:
        for index, what, mutated in mutants(lines):
            changed = lines[:index] + ([mutated] if mutated else []) + lines[index + 1:]
            with open(path, "w") as source:
                source.write("\n".join(changed))
            if not build():
                stillborn += 1
            elif tests_pass(gtest_filter):
                survived.append((index + 1, what, mutated.strip() or lines[index].strip()))
            else:
                killed += 1
    finally:
        with open(path, "w") as source:
            source.write(original)
    return killed, survived, stillborn


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("files", nargs="+")
    parser.add_argument("--filter", default="*", help="the unit tests to run, as a GoogleTest filter")
    options = parser.parse_args()
    # Ended from outside, it still puts the mutated file back on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("ended before all mutants were tried"))
    # The library's own bounds checks make a read past the end fail a test,
    # as the sanitized build of the unit tests does.
    subprocess.run(["cmake", "-S", REPO, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Debug",
                    "-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS"], check=True,
                   stdout=subprocess.DEVNULL)
    if not build() or not tests_pass(options.filter):
        sys.exit("the unit tests do not build and pass as they are")
    for path in options.files:
        killed, survived, stillborn = run_file(os.path.join(REPO, path), options.filter)
        for line, what, text in survived:
            print(f"{path}:{line}: survived ({what}): {text}")
        total = killed + len(survived)
        score = 100 * killed / total if total else 100
        print(f"{path}: {killed} of {total} killed ({score:.0f} %), {stillborn} did not build")
    build()


if __name__ == "__main__":
    main()
