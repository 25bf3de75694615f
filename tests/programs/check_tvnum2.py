"""Tests of the test program tvnum2.

  check_tvnum2.py real PROGRAM                the program itself
  check_tvnum2.py seeded PROGRAM              a build that takes the seed from its
                                              first argument: many seeds, and seeds
                                              whose draws are the extreme operands
  check_tvnum2.py failcheck PROGRAM SOURCE    a build whose remainder check fails
  check_tvnum2.py overflow PROGRAM            a build that overflows in group 18
"""

import random
import re
import sys

from progtest import CRandom, check, main_guard, run

BANNER = b"Performing various tests on Trevlin Number Class\n\n"
ANNOUNCEMENTS = [
    b"Testing comparisons with different C++ datatypes...\n",
    b"Testing assignments with different C++ datatypes...\n",
    b"Testing conversions to different C++ datatypes...\n",
    b"Testing unary operators...\n",
    b"Testing addition...\n",
    b"Testing subtraction...\n",
    b"Testing multiplication...\n",
    b"Testing division...\n",
    b"Testing quotient...\n",
    b"Testing remainder...\n",
    b"Testing exponentiation...\n",
    b"Testing pre & post increment...\n",
    b"Testing pre & post decrement...\n",
    b"Testing absolute value function...\n",
    b"Testing extraction of integer part...\n",
    b"Testing extraction of decimal part...\n",
    b"Testing automatic rounding...\n",
    b"Testing with large numbers...\n",
]
CLOSING = b"\n\nTrevlin Number Class tested successfully\n\n"
SUCCESS_OUTPUT = BANNER + b"".join(ANNOUNCEMENTS) + CLOSING

# The library's assertion report: one line on standard error.
REPORT = re.compile(rb"\AAssertion failed: (?P<cond>.*), file (?P<file>.*), line (?P<line>\d+)\n\Z")


def check_success(status, out, err, what):
    check(status == 0, "%s: exit status %d, stderr %r" % (what, status, err))
    check(err == b"", "%s: stderr %r" % (what, err))
    check(out == SUCCESS_OUTPUT, "%s: output\n%r\nexpected\n%r" % (what, out, SUCCESS_OUTPUT))


def test_real(program):
    for run_index in range(2):
        check_success(*run([program]), "run %d" % run_index)


def test_seeded(program):
    gen = random.Random(7)
    seeds = [gen.getrandbits(32) for _ in range(200)]
    # Seeds whose first or second draw gives the extreme operands: -100000 and
    # 100000 (draws 0 and 32767) and the two nearest to zero, about -3.05 and
    # 3.05 (draws 16383 and 16384).
    rand = CRandom()
    for position in (0, 1):
        for value in (0, 16383, 16384, 32767):
            found = rand.seeds_with_draw({value}, position, 1 << 21, 1)
            check(found, "no seed below 2^21 gives draw %d at position %d" % (value, position))
            seeds += found
    for seed in seeds:
        check_success(*run([program, str(seed)]), "seed %d" % seed)


def test_failcheck(program, source):
    # The check that the build makes fail: the first check after the
    # compile-time switch in the source.
    lines = open(source, encoding="utf-8").read().split("\n")
    switch = next(i for i, text in enumerate(lines) if "#ifdef TVNUM2_FORCE_CHECK_FAILURE" in text)
    check_index = next(i for i in range(switch, len(lines)) if "TV_ASSERT(" in lines[i])
    expected_line = check_index + 1
    expected_cond = b"!!(fabs( (double)numResult - dResult ) < 0.00000001)"
    check(lines[check_index].strip() == "TV_ASSERT(%s);" % expected_cond[3:-1].decode(),
          "line %d is not the remainder check: %r" % (expected_line, lines[check_index]))

    status, out, err = run([program])
    check(status == -6, "exit status %d, expected the end by SIGABRT (-6)" % status)
    expected_out = BANNER + b"".join(ANNOUNCEMENTS[:10])
    check(out == expected_out, "output\n%r\nexpected\n%r" % (out, expected_out))
    match = REPORT.match(err)
    check(match is not None, "standard error is not one assertion report: %r" % err)
    check(match.group("cond") == expected_cond, "condition %r, expected %r" % (match.group("cond"), expected_cond))
    check(match.group("file").endswith(b"/examples/tvnum2.cpp"), "file %r" % match.group("file"))
    # Three other checks have the same text; the line tells them apart.
    check(int(match.group("line")) == expected_line, "line %s, expected %d" % (match.group("line"), expected_line))


def test_overflow(program):
    status, out, err = run([program])
    expected = (BANNER + b"".join(ANNOUNCEMENTS)
                + b"Caught an exception of type clsUtilException:\n"
                + b"Error: -2053  Encountered overflow in Number class\n\n")
    check(out == expected, "output\n%r\nexpected\n%r" % (out, expected))
    check(err == b"", "stderr %r" % err)
    check(status == 251, "exit status %d, expected 251 (-2053)" % status)


if __name__ == "__main__":
    mode = sys.argv[1]
    tests = {"real": test_real, "seeded": test_seeded, "failcheck": test_failcheck, "overflow": test_overflow}
    main_guard(lambda: tests[mode](*sys.argv[2:]))
