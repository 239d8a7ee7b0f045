#!/usr/bin/env python3
"""Mutation testing for the library: how many planted faults do the tests catch?

Plants one fault at a time in the library sources (src/, platform/src/ and the public headers),
rebuilds incrementally, runs the tests and counts the mutant as killed when a test fails or times
out, survived when all pass, and build-failed (left out of the rate) when it does not compile.
The mutants are a seeded sample of all candidate sites, so two runs with the same --seed and
--count on the same library sources try the same faults whatever the tests are.

Usage (from the source root, or pass --source):
  tools/mutate.py [--seed 1] [--count 200] [--build-dir build-mutate] > mutants.log
  tools/mutate.py --list            # print the sampled mutants without running them
  tools/mutate.py --ids 12,40       # run only these mutants of the sample (e.g. old survivors)
  tools/mutate.py --matrix kills.jsonl       # record which test cases kill each mutant
  tools/mutate.py --report kills.jsonl --without 'Quaternions\..*Sweep'
                                    # which mutants would survive without those cases

--matrix runs every test binary whole instead of stopping at the first failure and writes one
JSON line per mutant with the failing test cases, so a test can be judged by what it alone
catches; a rerun with the same file resumes where the last one stopped.

The build directory is configured on first use (-O0, which compiles faster and computes the same
values; no examples; executables not relinked when only the shared library changed). Each mutant restores its file in a finally block, so an
interrupted run leaves the sources as they were; the next build rebuilds the restored file.
Standard library only; needs cmake, ninja or make, and ctest.
"""

import argparse
import collections
import contextlib
import json
import os
import random
import re
import signal
import subprocess
import sys
import time

SOURCE_DIRS = ("src", "platform/src", "include", "platform/include")
EXTENSIONS = (".cpp", ".imp", ".h")
# The probe holds host builds of the headers to this build of the same headers, so no mutant can
# fail it; the others are slow and catch nothing the unit tests do not.
DEFAULT_EXCLUDE_TESTS = "installedPackageServesAConsumer|demoCullsASmallScene|apiTourRuns|inlineResultsIgnoreHostFlags"

# Operators are recognised only with a space on both sides: the formatter writes binary
# operators that way, and template brackets, pointers, unary minus and stream operators not.
SWAPS = {
    "<": ["<=", ">"], "<=": ["<", ">"], ">": [">=", "<"], ">=": [">", "<"],
    "==": ["!="], "!=": ["=="],
    "+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"],
    "+=": ["-="], "-=": ["+="], "*=": ["/="], "/=": ["*="],
    "&&": ["||"], "||": ["&&"],
}
OPERATOR_RE = re.compile(r"(?<=[\w)\]]) (<=|>=|==|!=|<|>|\+=|-=|\*=|/=|\+|-|\*|/|&&|\|\|) (?=[\w(!-])")
# A simple operand: a name with members, indices and an empty call, or a literal.
OPERAND = r"[A-Za-z_][\w.]*(?:\[\w+\])*(?:\(\))?|\d[\w.]*"
# "a - b" -> "b - a" where nothing around binds tighter than the operator.
SWAP_OPERANDS_RE = re.compile(r"(?<![\w.*/%)\]-])(" + OPERAND + r") ([-/]) (" + OPERAND + r")(?![\w.(\[*/])")
# "x + term" -> "x": drop a term that is a simple operand not followed by a tighter operator.
DROP_TERM_RE = re.compile(r"(?<=[\w)\]]) [-+] (?:" + OPERAND + r")(?![\w.(\[]| [*/])")
CALL_SWAP_RE = re.compile(r"\b(cross|std::min|std::max|std::atan2|atan2)\((" + OPERAND + r"), (" + OPERAND + r")\)")
NUMBER_RE = re.compile(r"(?<![\w.])(\d+\.\d*(?:[eE][-+]?\d+)?|\d+[eE][-+]?\d+|\d+)([fFuUlL]*)(?![\w.])")
CONDITION_RE = re.compile(r"\b(if|while) \(")


class Mutant:
    def __init__(self, path, line, col, old, new, kind):
        self.path, self.line, self.col, self.old, self.new, self.kind = path, line, col, old, new, kind
        self.id = None

    def describe(self):
        return "%s:%d %s: %s -> %s" % (self.path, self.line, self.kind, self.old.strip(), self.new.strip())


def mask_strings_and_comments(line):
    """Blanks string and character literals and a trailing // comment, keeping the columns."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(" " if c != quote else c)
            if c == quote:
                quote = None
        elif c in "\"'":
            # A digit separator like 1'000 is no character literal; the library has none.
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out).ljust(len(line))[: len(line)]


def matching_paren(text, open_index):
    depth = 0
    for i in range(open_index, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def changed_number(literal, suffix):
    if re.fullmatch(r"\d+", literal):
        value = int(literal)
        return str(value + 1 if value != 1 else 0) + suffix
    value = float(literal)
    if value == 0.0:
        return "1.0" + suffix
    return repr(value * 2.0 if value < 1.0 else value + 1.0) + suffix


def line_mutants(path, number, raw):
    text = mask_strings_and_comments(raw)
    found = []

    def add(start, end, new, kind):
        found.append(Mutant(path, number, start, raw[start:end], new, kind))

    for m in OPERATOR_RE.finditer(text):
        op = m.group(1)
        kind = "comparison" if op in ("<", "<=", ">", ">=", "==", "!=") else \
            "logic" if op in ("&&", "||") else "arithmetic"
        for new in SWAPS[op]:
            add(m.start(1), m.end(1), new, kind)
    for m in SWAP_OPERANDS_RE.finditer(text):
        if m.group(1) != m.group(3):
            add(m.start(), m.end(), "%s %s %s" % (m.group(3), m.group(2), m.group(1)), "swap operands")
    for m in CALL_SWAP_RE.finditer(text):
        if m.group(2) != m.group(3):
            add(m.start(), m.end(), "%s(%s, %s)" % (m.group(1), m.group(3), m.group(2)), "swap operands")
    for m in DROP_TERM_RE.finditer(text):
        add(m.start(), m.end(), "", "drop term")
    for m in NUMBER_RE.finditer(text):
        add(m.start(), m.end(), changed_number(m.group(1), m.group(2)), "constant")
    for m in CONDITION_RE.finditer(text):
        close = matching_paren(text, m.end() - 1)
        if close > 0:
            inner = raw[m.end():close]
            add(m.end(), close, "!(%s)" % inner, "negate condition")
    return found


def file_mutants(root, path):
    mutants = []
    in_block_comment = False
    skip_statement = False
    with open(os.path.join(root, path), encoding="utf-8") as f:
        lines = f.read().split("\n")
    for number, raw in enumerate(lines, 1):
        stripped = raw.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        # Compile-time checks and instantiations only ever fail the build.
        if skip_statement or stripped.startswith(("static_assert", "template class", "template struct",
                                                  "extern template")):
            skip_statement = not stripped.endswith(";")
            continue
        if stripped.startswith(("#", "//")) or not stripped:
            continue
        mutants.extend(line_mutants(path, number, raw))
    return mutants


def all_candidates(root):
    paths = []
    for top in SOURCE_DIRS:
        for directory, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(EXTENSIONS):
                    paths.append(os.path.relpath(os.path.join(directory, name), root))
    candidates = []
    for path in sorted(paths):
        candidates.extend(file_mutants(root, path))
    return candidates


def is_header(path):
    return path.endswith((".h", ".imp"))


def sample(candidates, seed, count, header_weight):
    # Weighted sampling without replacement (key u^(1/w)): reproducible for a seed and the same
    # candidate list. A header mutant rebuilds many units (a public header every test, about a
    # minute on two cores against seconds for a .cpp), so headers are drawn less often.
    rng = random.Random(seed)
    keyed = []
    for index, m in enumerate(candidates):
        weight = header_weight if is_header(m.path) else 1.0
        keyed.append((rng.random() ** (1.0 / weight), index))
    chosen = sorted(keyed, reverse=True)[:count]
    picked = [candidates[i] for _, i in chosen]
    for number, m in enumerate(sorted(picked, key=lambda m: (m.path, m.line, m.col, m.new)), 1):
        m.id = number
    return sorted(picked, key=lambda m: m.id)


@contextlib.contextmanager
def planted(root, m):
    """The mutant's file changed for the duration of the block, restored even on an interrupt; the
    restored file's new time stamp makes the next build compile it again."""
    path = os.path.join(root, m.path)
    with open(path, encoding="utf-8") as f:
        original = f.read()
    try:
        lines = original.split("\n")
        line = lines[m.line - 1]
        lines[m.line - 1] = line[: m.col] + m.new + line[m.col + len(m.old):]
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        yield
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)
        os.utime(path)


def run(command, cwd, timeout):
    try:
        done = subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout)
        return done.returncode, done.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return None, "timeout"


def configure(root, build_dir):
    if os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
        return
    generator = ["-G", "Ninja"] if subprocess.run(["which", "ninja"], stdout=subprocess.DEVNULL).returncode == 0 else []
    code, out = run(["cmake", "-S", root, "-B", build_dir] + generator +
                    ["-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DVO_BUILD_EXAMPLES=OFF",
                     "-DVO_WARNINGS_AS_ERRORS=OFF",
                     "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"], root, None)
    if code != 0:
        sys.exit("configure failed:\n" + out)


def gtest_binaries(build_dir, exclude):
    """The test binaries behind the gtest cases, and the other CTest tests by name."""
    code, out = run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"], build_dir, None)
    binaries, others = [], []
    for t in json.loads(out[out.index("{"):])["tests"]:
        command = t.get("command", [])
        if re.search(exclude, t["name"]):
            continue
        if any(a.startswith("--gtest_filter=") for a in command):
            if command[0] not in binaries:
                binaries.append(command[0])
        else:
            others.append(t["name"])
    return binaries, others


def failing_cases(binary, timeout):
    """The failing cases of one gtest binary; a crash or hang is pinned on its case by rerunning
    the cases one at a time."""
    code, out = run([binary, "--gtest_brief=1"], os.path.dirname(binary), timeout)
    name = os.path.basename(binary)
    failed = re.findall(r"^\[  FAILED  \] ([\w/.<>]+)", out or "", re.M)
    if code in (0, 1) and (code == 0 or failed):
        return sorted({name + ":" + f for f in failed})
    _, listing = run([binary, "--gtest_list_tests"], os.path.dirname(binary), 60)
    cases, suite = [], None
    for line in listing.splitlines():
        if not line.startswith(" "):
            suite = line.split()[0] if line.strip() else suite
        elif suite:
            cases.append(suite + line.split()[0])
    killers = []
    for case in cases:
        code, _ = run([binary, "--gtest_filter=" + case], os.path.dirname(binary), timeout)
        if code != 0:
            killers.append(name + ":" + case)
    return killers or [name + ":<crash>"]


def kill_matrix_run(args, root, build_dir, mutants, build):
    done = set()
    if os.path.exists(args.matrix):
        with open(args.matrix, encoding="utf-8") as f:
            done = {json.loads(line)["id"] for line in f if line.strip()}
    binaries, others = gtest_binaries(build_dir, args.exclude_tests)
    started = time.time()
    for m in mutants:
        if m.id in done:
            continue
        killers = []
        with planted(root, m):
            code, out = run(build, root, 1800)
            if code != 0:
                outcome = "build-failed"
            else:
                for binary in binaries:
                    killers += failing_cases(binary, args.test_timeout)
                for name in others:
                    code, _ = run(["ctest", "--test-dir", build_dir, "--timeout", str(args.test_timeout),
                                   "-R", "^" + re.escape(name) + "$"], root, 1800)
                    if code != 0:
                        killers.append("ctest:" + name)
                outcome = "killed" if killers else "survived"
        with open(args.matrix, "a", encoding="utf-8") as f:
            f.write(json.dumps({"id": m.id, "mutant": m.describe(), "outcome": outcome, "killers": killers}) + "\n")
        print("[%4.0fs] #%d %-12s %-40s %s" % (time.time() - started, m.id, outcome, m.describe(),
                                              " ".join(killers[:3]) + (" ..." if len(killers) > 3 else "")),
              flush=True)
    run(build, root, None)
    return 0


def matrix_report(path, without):
    """Per test case: mutants killed and mutants only it kills; with --without, the mutants that
    the remaining cases no longer kill."""
    with open(path, encoding="utf-8") as f:
        rows = [json.loads(line) for line in f if line.strip()]
    rows = [r for r in rows if r["outcome"] != "build-failed"]
    killed = [r for r in rows if r["killers"]]
    print("%d mutants, %d killed (%.1f%%)" % (len(rows), len(killed), 100.0 * len(killed) / max(len(rows), 1)))
    kills, unique = collections.Counter(), collections.Counter()
    for r in killed:
        kills.update(r["killers"])
        if len(r["killers"]) == 1:
            unique[r["killers"][0]] += 1
    print("\n%6s %6s  case" % ("kills", "only"))
    for case, n in sorted(kills.items(), key=lambda kv: (unique[kv[0]], kv[1])):
        print("%6d %6d  %s" % (n, unique[case], case))
    if without:
        lost = [r for r in killed if all(re.search(without, k) for k in r["killers"])]
        print("\nwithout /%s/: %d killed (%.1f%%); no longer killed:" %
              (without, len(killed) - len(lost), 100.0 * (len(killed) - len(lost)) / max(len(rows), 1)))
        for r in lost:
            print("#%d %s  [%s]" % (r["id"], r["mutant"], " ".join(r["killers"])))
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--source", default=".", help="source root (default: current directory)")
    parser.add_argument("--build-dir", default="build-mutate", help="relative to the source root")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--header-weight", type=float, default=0.1,
                        help="sampling weight of a .h/.imp site against 1 for a .cpp site")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--test-timeout", type=int, default=60, help="seconds per test")
    parser.add_argument("--exclude-tests", default=DEFAULT_EXCLUDE_TESTS, help="ctest -E regex")
    parser.add_argument("--ids", help="comma-separated mutant ids of the sample to run")
    parser.add_argument("--list", action="store_true", help="print the sample and exit")
    parser.add_argument("--matrix", help="record the failing test cases of each mutant in this JSON-lines file")
    parser.add_argument("--report", help="summarise a --matrix file and exit")
    parser.add_argument("--without", help="with --report: regex of test cases to leave out")
    args = parser.parse_args()
    if args.report:
        return matrix_report(args.report, args.without)

    # A terminated run unwinds like an interrupted one, so the finally below restores the file.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    root = os.path.abspath(args.source)
    build_dir = os.path.join(root, args.build_dir)
    candidates = all_candidates(root)
    mutants = sample(candidates, args.seed, args.count, args.header_weight)
    if args.ids:
        wanted = {int(x) for x in args.ids.split(",")}
        mutants = [m for m in mutants if m.id in wanted]
    print("%d candidate sites, %d mutants (seed %d)" % (len(candidates), len(mutants), args.seed), flush=True)
    if args.list:
        for m in mutants:
            print("#%d %s" % (m.id, m.describe()))
        return 0

    build = ["cmake", "--build", build_dir, "-j", str(args.jobs)]
    test = ["ctest", "--test-dir", build_dir, "-j", str(args.jobs), "--timeout", str(args.test_timeout),
            "--stop-on-failure", "-E", args.exclude_tests]
    configure(root, build_dir)
    code, out = run(build, root, None)
    if code != 0:
        sys.exit("the unmutated sources do not build:\n" + out)
    code, out = run(test, root, None)
    if code != 0:
        sys.exit("the tests fail on the unmutated sources:\n" + out)

    if args.matrix:
        return kill_matrix_run(args, root, build_dir, mutants, build)

    results = collections.OrderedDict()
    started = time.time()
    for m in mutants:
        with planted(root, m):
            code, out = run(build, root, 1800)
            if code != 0:
                outcome = "build-failed"
            else:
                code, out = run(test, root, 1800)
                outcome = "survived" if code == 0 else "killed"
        results[m.id] = (m, outcome)
        print("[%d/%d %4.0fs] #%d %-12s %s" % (len(results), len(mutants), time.time() - started, m.id,
                                              outcome, m.describe()), flush=True)
    run(build, root, None)

    per_file = collections.OrderedDict()
    for m, outcome in sorted(results.values(), key=lambda r: r[0].path):
        per_file.setdefault(m.path, collections.Counter())[outcome] += 1
    print("\n%-52s %6s %8s %6s %6s" % ("file", "killed", "survived", "build", "rate"))
    total = collections.Counter()
    for path, counts in per_file.items():
        total.update(counts)
        tried = counts["killed"] + counts["survived"]
        print("%-52s %6d %8d %6d %5.0f%%" % (path, counts["killed"], counts["survived"], counts["build-failed"],
                                             100.0 * counts["killed"] / tried if tried else 0.0))
    tried = total["killed"] + total["survived"]
    print("%-52s %6d %8d %6d %5.1f%%" % ("total", total["killed"], total["survived"], total["build-failed"],
                                         100.0 * total["killed"] / tried if tried else 0.0))
    print("\nsurvivors:")
    for m, outcome in results.values():
        if outcome == "survived":
            print("#%d %s" % (m.id, m.describe()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
