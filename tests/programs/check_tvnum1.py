"""Tests of the demo program tvnum1: its whole output, byte for byte, with the
five results computed here with Python's decimal module.

  check_tvnum1.py real PROGRAM      the program itself, a few runs a second apart
  check_tvnum1.py seeded PROGRAM    a build that takes the seed from its first
                                    argument: many seeds, and seeds that reach
                                    the bounds of the draws
  check_tvnum1.py overflow PROGRAM  a build whose operands overflow the product
"""

import random
import re
import sys
import time
from decimal import ROUND_DOWN, ROUND_HALF_UP, Decimal, localcontext

from progtest import CRandom, check, main_guard, random_double, run, text_form

NUMBERS_LINE = re.compile(rb"Two random numbers that are chosen are: num1=(\S+)  num2=(\S+)\n")


def demo_output(num1, num2):
    """The output of a normal run for the numbers num1 and num2 (Decimals)."""
    with localcontext() as ctx:
        ctx.prec = 60
        quotient = (num1 / num2).quantize(Decimal("0.00000001"), rounding=ROUND_HALF_UP)
        remainder = num1 - (num1 / num2).to_integral_value(rounding=ROUND_DOWN) * num2
        results = [
            ("Result of addition       (num1 + num2) = ", num1 + num2),
            ("Result of subtraction    (num1 - num2) = ", num1 - num2),
            ("Result of multiplication (num1 * num2) = ", num1 * num2),
            ("Result of division       (num1 / num2) = ", quotient),
            ("Result of modulo         (num1 % num2) = ", remainder),
        ]
    text = "Demo of Trevlin Number class\n\n\n"
    text += "Two random numbers that are chosen are: num1=%s  num2=%s\n\n" % (text_form(num1), text_form(num2))
    for label, value in results:
        text += label + text_form(value) + "\n\n"
    text += "\n\n"
    return text.encode()


def numbers_of_draws(r1, r2):
    """num1 and num2 as the demo makes them from the two draws: the double,
    its text with 8 decimals, that rounded half away from zero to 2 decimals."""
    def make(dmin, dmax, r):
        text8 = "%.8f" % random_double(dmin, dmax, r)
        return Decimal(text8).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP)

    return make(11.0, 20.0, r1), make(1.0, 10.0, r2)


def check_normal_run(status, out, err, what):
    check(status == 0, "%s: exit status %d, stderr %r" % (what, status, err))
    check(err == b"", "%s: stderr %r" % (what, err))
    match = NUMBERS_LINE.search(out)
    check(match is not None, "%s: no line with the two numbers in %r" % (what, out))
    text1, text2 = match.group(1).decode(), match.group(2).decode()
    num1, num2 = Decimal(text1), Decimal(text2)
    check(Decimal(11) <= num1 <= Decimal(20), "%s: num1=%s outside 11..20" % (what, text1))
    check(Decimal(1) <= num2 <= Decimal(10), "%s: num2=%s outside 1..10" % (what, text2))
    for text, num in ((text1, num1), (text2, num2)):
        check(num == num.quantize(Decimal("0.01")), "%s: %s has more than 2 decimals" % (what, text))
    expected = demo_output(num1, num2)
    check(out == expected, "%s: output\n%r\nexpected\n%r" % (what, out, expected))
    return num1, num2


def test_real(program):
    rand = CRandom()
    for run_index in range(3):
        if run_index:
            time.sleep(1.05)  # the next second: a new seed
        before = int(time.time())
        status, out, err = run([program])
        after = int(time.time())
        num1, num2 = check_normal_run(status, out, err, "run %d" % run_index)
        # The seed is the time in seconds of the start: one of these. The
        # C library's time() reads a coarse clock that can lag this one by a
        # few milliseconds, so just after a second begins it may still give
        # the second before.
        seeds = range(before - 1, after + 1)
        check(any(numbers_of_draws(*rand.draws(s, 2)) == (num1, num2) for s in seeds),
              "run %d: num1=%s num2=%s are not the draws of a seed in %d..%d" % (run_index, num1, num2, before, after))


def test_seeded(program):
    rand = CRandom()
    gen = random.Random(20240101)
    seeds = [gen.getrandbits(32) for _ in range(300)] + list(range(10))
    # Seeds whose first or second draw is 0 or 32767: num1 = 11 or 20, num2 = 1 or 10.
    bounds = []
    for position in (0, 1):
        for value in (0, 32767):
            found = rand.seeds_with_draw({value}, position, 1 << 21, 1)
            check(found, "no seed below 2^21 gives draw %d at position %d" % (value, position))
            bounds.append((found[0], position, value))
    seeds += [seed for seed, _, _ in bounds]

    printed = {}
    for seed in seeds:
        status, out, err = run([program, str(seed)])
        printed[seed] = check_normal_run(status, out, err, "seed %d" % seed)
        expected = numbers_of_draws(*rand.draws(seed, 2))
        check(printed[seed] == expected,
              "seed %d: num1=%s num2=%s, the draws give %s and %s" % ((seed,) + printed[seed] + expected))

    for seed, position, value in bounds:
        bound = [(Decimal(11), Decimal(20)), (Decimal(1), Decimal(10))][position][value != 0]
        check(printed[seed][position] == bound,
              "seed %d: draw %d printed %s, expected %s" % (seed, value, printed[seed][position], bound))


def test_overflow(program):
    status, out, err = run([program])
    expected = (
        b"Demo of Trevlin Number class\n\n\n"
        b"Two random numbers that are chosen are: num1=900000000000000000000000000000  num2=2\n\n"
        b"Result of addition       (num1 + num2) = 900000000000000000000000000002\n\n"
        b"Result of subtraction    (num1 - num2) = 899999999999999999999999999998\n\n"
        b"Caught an exception of type clsUtilException:\n"
        b"Error: -2053  Encountered overflow in Number class\n\n"
    )
    check(out == expected, "output\n%r\nexpected\n%r" % (out, expected))
    check(err == b"", "stderr %r" % err)
    check(status == 251, "exit status %d, expected 251 (-2053)" % status)


if __name__ == "__main__":
    mode, program = sys.argv[1], sys.argv[2]
    main_guard(lambda: {"real": test_real, "seeded": test_seeded, "overflow": test_overflow}[mode](program))
