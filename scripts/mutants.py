#!/usr/bin/env python3
# mutants.py -- plants simple faults in the lines a change touches, one at a time, and lists the
# ones no test caught.
"""Mutation testing for Quillmere.

Each mutant is one small fault in one source line: a comparison flipped (< and <=, > and >=,
== and !=, && and ||), a constant changed by one (an integer by 1, a decimal in its last digit),
a call statement dropped, or an if/while condition negated. For each mutant the script rebuilds
the unit-test programs incrementally in their own build folder, runs them (stopping at the first
failure) and records whether a test caught it. The source is always put back, also on Ctrl-C.

  scripts/mutants.py                         lines changed against main
  scripts/mutants.py --base HEAD~3           lines changed in the last three commits
  scripts/mutants.py gallery/door_action.cpp every line of the files named
"""
import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAYERS = ("platform", "pictures", "loading", "gallery", "render", "app")
# The unit-test programs that exercise each layer.
TESTS_FOR_LAYER = {
    "platform": ["quillmere_logic_tests", "quillmere_fs_tests", "quillmere_gl_tests"],
    "gallery": ["quillmere_logic_tests", "quillmere_fs_tests"],
    "pictures": ["quillmere_logic_tests", "quillmere_fs_tests", "quillmere_gl_tests"],
    "loading": ["quillmere_logic_tests", "quillmere_fs_tests", "quillmere_gl_tests"],
    "render": ["quillmere_logic_tests", "quillmere_gl_tests"],
    "app": ["quillmere_logic_tests", "quillmere_gl_tests"],
}

COMPARISONS = [(" <= ", " < "), (" >= ", " > "), (" < ", " <= "), (" > ", " >= "),
               (" == ", " != "), (" != ", " == "), (" && ", " || "), (" || ", " && ")]
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d+|\d+)(f?)(?![\w.])")
CALL_STATEMENT = re.compile(r"^(\s*)(?!return\b|delete\b)[A-Za-z_][\w:]*(\.|->)?[\w]*\s*\(.*\);\s*$")
FUNCTION_HEAD = re.compile(r"^(?!\s*(?:if|while|for|switch|else|return)\b)[\w:<>,\s\*&]+\(.*\)\s*(const\s*)?\{$")
# Calls whose loss no test of behaviour could see.
UNOBSERVABLE_CALLS = ("fflush(",)
CONDITION = re.compile(r"^(\s*(?:\}\s*else\s+)?(?:if|while)\s*)\((.*)\)(\s*\{?\s*)$")


def run(command, timeout=None, quiet=True):
    out = subprocess.DEVNULL if quiet else None
    try:
        return subprocess.run(command, cwd=ROOT, stdout=out, stderr=out,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return None


def changed_lines(base, files):
    """Line numbers (1-based) per file: every line of the named files, or the lines that differ
    from base in the layer folders."""
    result = {}
    if files:
        for path in files:
            with open(os.path.join(ROOT, path)) as source:
                result[path] = set(range(1, len(source.read().splitlines()) + 1))
        return result
    # Against the point where the change left base, so that later work on base does not count.
    fork = subprocess.run(["git", "merge-base", base, "HEAD"], cwd=ROOT, capture_output=True,
                          text=True, check=True).stdout.strip()
    diff = subprocess.run(["git", "diff", "-U0", fork, "--"] +
                          [layer + "/*.cpp" for layer in LAYERS],
                          cwd=ROOT, capture_output=True, text=True, check=True).stdout
    path = None
    for line in diff.splitlines():
        if line.startswith("+++ "):
            path = line[6:] if line.startswith("+++ b/") else None
        elif line.startswith("@@") and path:
            added = re.search(r"\+(\d+)(?:,(\d+))?", line)
            start, count = int(added.group(1)), int(added.group(2) or "1")
            result.setdefault(path, set()).update(range(start, start + count))
    return result


def bump(number, suffix):
    if "." in number:
        digits = number.rstrip("0") if number.rstrip("0")[-1] != "." else number
        last = int(digits[-1])
        return digits[:-1] + str((last + 1) % 10) + suffix
    return str(int(number) + 1) + suffix


def mutations(code):
    """The mutants of one line of code (comment already removed), as (kind, new code)."""
    found = []
    for old, new in COMPARISONS:
        at = code.find(old)
        if at >= 0:
            found.append(("flip '%s'" % old.strip(), code[:at] + new + code[at + len(old):]))
    for match in NUMBER.finditer(code):
        if code[:match.start()].rstrip().endswith("#"):
            continue
        found.append(("constant %s" % match.group(0),
                      code[:match.start()] + bump(match.group(1), match.group(2)) +
                      code[match.end():]))
    if CALL_STATEMENT.match(code) and code.count("(") == code.count(")") and \
            not code.strip().startswith(UNOBSERVABLE_CALLS):
        found.append(("drop call", CALL_STATEMENT.match(code).group(1) + ";"))
    condition = CONDITION.match(code)
    if condition and condition.group(2).count("(") == condition.group(2).count(")"):
        found.append(("negate condition", "%s(!(%s))%s" % condition.groups()))
    return found


def collect(lines_by_file):
    mutants = []
    for path in sorted(lines_by_file):
        with open(os.path.join(ROOT, path)) as source:
            lines = source.read().split("\n")
        in_comment = False
        for number, line in enumerate(lines, 1):
            stripped = line.strip()
            if in_comment or stripped.startswith("/*"):
                in_comment = "*/" not in stripped
                continue
            if number not in lines_by_file[path] or not stripped:
                continue
            if stripped.startswith(("//", "#", "static_assert")):
                continue
            code, _, comment = line.partition("//")
            if '"' in code or FUNCTION_HEAD.match(code.rstrip()):
                continue  # leave messages, format strings and signatures alone
            for kind, new_code in mutations(code.rstrip()):
                new_line = new_code + ("  //" + comment if comment else "")
                mutants.append((path, number, kind, line, new_line))
    return mutants


def tests_for(path, chosen):
    return chosen or TESTS_FOR_LAYER.get(path.split("/")[0], TESTS_FOR_LAYER["app"])


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("files", nargs="*", help="mutate every line of these files")
    parser.add_argument("--base", default="main", help="git base of the change (default main)")
    parser.add_argument("--max", type=int, default=40, help="most mutants to try (default 40)")
    parser.add_argument("--timeout", type=int, default=300,
                        help="seconds per test program run (default 300)")
    parser.add_argument("--build-dir", default="build-mutants")
    parser.add_argument("--tests", nargs="+", help="test programs to run (default by layer)")
    parser.add_argument("--seed", type=int, default=1, help="which mutants a cap keeps")
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    options = parser.parse_args()

    mutants = collect(changed_lines(options.base, options.files))
    if len(mutants) > options.max:
        random.Random(options.seed).shuffle(mutants)
        mutants = sorted(mutants[:options.max], key=lambda m: (m[0], m[1]))
    if options.list or not mutants:
        for path, number, kind, _, new_line in mutants:
            print("%s:%d %s: %s" % (path, number, kind, new_line.strip()))
        print("%d mutants" % len(mutants))
        return 0

    build = os.path.join(ROOT, options.build_dir)
    programs = sorted({p for m in mutants for p in tests_for(m[0], options.tests)})
    if run(["cmake", "-S", ".", "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
            "-DQUILLMERE_TESTS=ON"]) != 0:
        sys.exit("mutants: cannot configure " + build)
    jobs = os.environ.get("JOBS", "2")

    def build_and_test(programs):
        if run(["cmake", "--build", build, "-j", jobs, "--target"] + programs) != 0:
            return "no-build"
        for program in programs:
            code = run([os.path.join(build, "tests", program), "--gtest_fail_fast",
                        "--gtest_brief=1"], timeout=options.timeout)
            if code is None:
                return "timeout"
            if code != 0:
                return "killed"
        return "survived"

    print("mutants: baseline build and tests (%s)" % " ".join(programs), flush=True)
    if build_and_test(programs) != "survived":
        sys.exit("mutants: the tests do not pass without mutants; fix that first")

    # Put the source back whatever happens: normal end, an error, Ctrl-C or a kill.
    current = {}

    def restore():
        for path, text in current.items():
            with open(os.path.join(ROOT, path), "w") as source:
                source.write(text)
        current.clear()

    interrupted = []

    def stop(signum, _frame):
        restore()
        interrupted.append(signum)
        sys.exit(128 + signum)

    signal.signal(signal.SIGINT, stop)
    signal.signal(signal.SIGTERM, stop)
    results = []
    try:
        for index, (path, number, kind, line, new_line) in enumerate(mutants, 1):
            with open(os.path.join(ROOT, path)) as source:
                original = source.read()
            lines = original.split("\n")
            if lines[number - 1] != line:
                continue
            lines[number - 1] = new_line
            current[path] = original
            with open(os.path.join(ROOT, path), "w") as source:
                source.write("\n".join(lines))
            started = time.time()
            outcome = build_and_test(tests_for(path, options.tests))
            restore()
            results.append((outcome, path, number, kind, new_line.strip()))
            print("[%d/%d] %-9s %s:%d %s (%.0f s)" % (index, len(mutants), outcome, path, number,
                                                     kind, time.time() - started), flush=True)
    finally:
        restore()
        # Rebuild the unmutated source so the build folder matches the tree again; an
        # interrupted run leaves that to the next build.
        if not interrupted:
            run(["cmake", "--build", build, "-j", jobs, "--target"] + programs)

    # A mutant that makes a test hang past the timeout counts as caught.
    survivors = [r for r in results if r[0] == "survived"]
    counted = [r for r in results if r[0] != "no-build"]
    print("\n%d mutants built, %d caught, %d not caught" %
          (len(counted), len(counted) - len(survivors), len(survivors)))
    for outcome, path, number, kind, new_line in survivors:
        print("  %s %s:%d %s: %s" % (outcome, path, number, kind, new_line))
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
