"""Helpers shared by the program tests: running a program, the C library's
random generator, and the text form of a number."""

import ctypes
import ctypes.util
import subprocess
import sys
from decimal import Decimal


class Failure(Exception):
    pass


def check(cond, message):
    if not cond:
        raise Failure(message)


def run(argv, timeout=60):
    """Runs argv and returns (exit status as the shell sees it, stdout, stderr).
    The status is the low byte of main's result, or -signal for a process
    that a signal ended."""
    proc = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
    return proc.returncode, proc.stdout, proc.stderr


def main_guard(fn):
    """Runs a test function; prints the failure and exits 1 when it fails."""
    try:
        fn()
    except Failure as exc:
        print("FAILED:", exc, file=sys.stderr)
        sys.exit(1)
    print("OK")


class CRandom:
    """The C library's srand / rand, the same generator that the programs
    link against, brought to 0..32767 as the library's RandomDouble brings it
    (the low 15 bits of rand's 0..2^31-1)."""

    def __init__(self):
        self._libc = ctypes.CDLL(ctypes.util.find_library("c") or "libc.so.6")
        self._libc.srand.argtypes = [ctypes.c_uint]
        self._libc.rand.restype = ctypes.c_int

    def draws(self, seed, count):
        self._libc.srand(seed & 0xFFFFFFFF)
        return [self._libc.rand() & 0x7FFF for _ in range(count)]

    def seeds_with_draw(self, values, position, limit, wanted):
        """Up to `wanted` seeds below `limit` whose draw number `position`
        (0 for the first) is one of `values`."""
        found = []
        for seed in range(limit):
            if self.draws(seed, position + 1)[position] in values:
                found.append(seed)
                if len(found) == wanted:
                    break
        return found


def random_double(dmin, dmax, r):
    """RandomDouble for the draw r, with the same double operations."""
    return dmin + (float(r) * (dmax - dmin)) / 32767.0


def text_form(value):
    """The number's text form: no trailing zeros after the point, no point for
    a whole value, '0.' before a value below one, '-' for a negative value."""
    value = Decimal(value)
    if value == 0:
        return "0"
    text = format(value, "f")
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text
