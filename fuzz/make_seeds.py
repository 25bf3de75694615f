#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz target into fuzz/corpus/.

Each seed is one input in the target's byte format (fuzz_num.cpp): four
numbers, each a length byte, a scale byte and a text, then operations, each a
selector byte and its operands. The seeds cover one area each so that the
fuzzer starts from deep inside every operation.
"""
import os
import struct
import sys

# Operation selectors (the switch of clsFuzzRun::Go).
PARSE, SETLENSCALE, ROUND, ASSIGN, COMPOUND = 0, 1, 2, 3, 4
BINARY, INTOP, DIVIDE, POW, INCDEC, UNARY, PARTS = 7, 9, 10, 11, 12, 13, 14
CONVERT, CMPVALUE, CMPNUM, STREAMS, DEFAULTS, CONSTRUCT, MISC = 15, 16, 17, 18, 19, 20, 21
ADD, SUB, MUL, DIV, MOD = range(5)


def text(s):
    """A raw text (mode 0)."""
    data = s.encode("latin-1")
    if len(data) < 63:
        return bytes([len(data)]) + data
    assert len(data) <= 63 + 255
    return bytes([63, len(data) - 63]) + data


def number(length, scale, s, form=0):
    """One of the four numbers: length, scale, text and the parse form."""
    return bytes([length - 1, scale]) + text(s) + bytes([form])


def rng(value, lo=-3):
    """A value for clsInput::Range(lo, hi) with a span of at most 256."""
    return bytes([value - lo])


def small(n):
    """ReadInteger: -40..55 in one byte."""
    assert -40 <= n < 56
    return bytes([n + 40])


def int_edge(i):
    """ReadInteger: entry i of its table of edge values."""
    return bytes([96 + (i - 96) % 21])


def double_edge(i):
    """ReadDouble: entry i of its table of edge values."""
    return bytes([80 + (i - 80) % 21])


def int32(n):
    return bytes([200]) + struct.pack(">I", n & 0xFFFFFFFF)


def power(n):
    assert -15 <= n < 45
    return bytes([n + 15])


def double(d):
    return bytes([255]) + struct.pack(">Q", struct.unpack("<Q", struct.pack("<d", d))[0])


def op(selector, *parts):
    return bytes([selector]) + b"".join(parts)


def b(*values):
    return bytes(values)


def seeds():
    yield "basic", (
        number(38, 8, "123.45") + number(38, 8, "-0.5") + number(10, 2, "99999999.99") + number(38, 4, "7")
        + op(COMPOUND, b(ADD, 0, 1)) + op(COMPOUND, b(SUB, 0, 3)) + op(COMPOUND, b(MUL, 1, 0))
        + op(COMPOUND, b(DIV, 0, 3)) + op(COMPOUND, b(MOD, 3, 1)) + op(CMPNUM, b(0, 1))
        + op(BINARY, b(ADD, 2, 3, 1)) + op(BINARY, b(MUL, 0, 1, 2)) + op(BINARY, b(DIV, 3, 1, 0))
        + op(BINARY, b(MOD, 3, 0, 1))
    )
    yield "carry_and_overflow", (
        number(10, 2, "99999999.99") + number(38, 8, "0.005") + number(5, 3, "99") + number(38, 8, "123")
        + op(COMPOUND, b(ADD, 0, 1)) + op(COMPOUND, b(ADD, 2, 3)) + op(COMPOUND, b(SUB, 2, 3))
        + op(INCDEC, b(0, 0)) + op(INCDEC, b(2, 2)) + op(ROUND, b(0), rng(0))
        + op(COMPOUND, b(MUL, 3, 3)) + op(ASSIGN, b(0, 3))
    )
    yield "division", (
        number(38, 8, "10") + number(38, 8, "4") + number(38, 8, "-7") + number(38, 8, "2")
        + op(COMPOUND, b(DIV, 0, 1)) + op(DIVIDE, b(2, 3), b(0 | (1 << 3)))
        + op(DIVIDE, b(2, 3), b(1 | (7 << 3))) + op(DIVIDE, b(2, 3), b(7 | (1 << 3)))
        + op(DIVIDE, b(2, 3), b(2 | (2 << 3))) + op(DIVIDE, b(2, 3), b(2 | (0 << 3)))
        + op(PARSE, b(1), text("0"), b(0)) + op(COMPOUND, b(DIV, 0, 1)) + op(COMPOUND, b(MOD, 2, 1))
        + op(PARSE, b(3), text("0.123"), b(0)) + op(COMPOUND, b(MOD, 2, 3))
    )
    yield "division_precision", (
        number(10, 9, "1") + number(10, 9, "7") + number(5, 5, "0.5") + number(100, 0, "1" + "0" * 99)
        + op(COMPOUND, b(DIV, 0, 1)) + op(COMPOUND, b(DIV, 2, 2)) + op(COMPOUND, b(DIV, 3, 1))
        + op(COMPOUND, b(MOD, 3, 1)) + op(DIVIDE, b(3, 1), b(2 | (0 << 3)))
        + op(INTOP, b(2, 3, 0), small(3))
    )
    yield "power", (
        number(38, 8, "1.01") + number(38, 8, "0.3") + number(8, 8, "0.5") + number(38, 8, "10")
        + op(POW, b(0, 0), power(9)) + op(POW, b(1, 1), power(-2)) + op(POW, b(2, 1), power(2))
        + op(POW, b(2, 1), power(-1)) + op(POW, b(3, 3), power(30)) + op(POW, b(3, 0), power(0))
        + op(POW, b(2, 2), bytes([200]))  # an edge power
    )
    yield "tiny_products", (
        number(100, 100, "0." + "0" * 59 + "1") + number(100, 100, "0." + "0" * 99 + "5")
        + number(100, 0, "9" * 100) + number(100, 50, "0." + "9" * 50)
        + op(COMPOUND, b(MUL, 0, 0)) + op(COMPOUND, b(MUL, 1, 3)) + op(COMPOUND, b(MUL, 3, 3))
        + op(POW, b(3, 0), power(40)) + op(COMPOUND, b(ADD, 2, 2)) + op(COMPOUND, b(DIV, 2, 1))
    )
    yield "rounding_and_scale", (
        number(38, 8, "123.456") + number(3, 3, "0.999") + number(10, 2, "99999999.5")
        + number(38, 8, "1.005")
        + op(SETLENSCALE, b(0), rng(10), rng(2)) + op(ROUND, b(1), rng(2)) + op(ROUND, b(2), rng(0))
        + op(ROUND, b(3), rng(2)) + op(SETLENSCALE, b(3), rng(5), rng(-1)) + op(SETLENSCALE, b(3), rng(100), rng(-1))
        + op(SETLENSCALE, b(0), rng(0), rng(0)) + op(SETLENSCALE, b(0), rng(-1), rng(-1))
    )
    yield "parts_and_unary", (
        number(38, 8, "-123.45") + number(38, 8, "0.75") + number(38, 8, "") + number(38, 8, "120")
        + op(PARTS, b(1, 0, 2)) + op(PARTS, b(0, 0, 2)) + op(PARTS, b(1, 1, 2)) + op(PARTS, b(0, 1, 2))
        + op(PARTS, b(1, 3, 2)) + op(UNARY, b(0, 0, 1)) + op(UNARY, b(1, 0, 1)) + op(UNARY, b(2, 0, 1))
        + op(UNARY, b(1, 2, 1)) + op(INCDEC, b(3, 3)) + op(INCDEC, b(2, 2))
    )
    yield "conversions", (
        number(38, 8, "40000") + number(38, 8, "3000000000") + number(38, 8, "-1.5")
        + number(38, 8, "5000000000")
        + op(CONVERT, b(0)) + op(CONVERT, b(1)) + op(CONVERT, b(2)) + op(CONVERT, b(3))
        + op(PARSE, b(0), text("-40000"), b(1)) + op(CONVERT, b(0))
    )
    yield "mixed_comparisons", (
        number(38, 8, "1.123456789") + number(38, 8, "1") + number(20, 10, "0.1234567891")
        + number(50, 0, "-1")
        + op(CMPVALUE, b(6, 0), double(1.1234567891)) + op(CMPVALUE, b(2, 0), small(1))
        + op(CMPVALUE, b(0, 3), small(-1)) + op(CMPVALUE, b(1, 3), int_edge(10))
        + op(CMPVALUE, b(7, 0), text("01.12345679000")) + op(CMPVALUE, b(8, 2), text("0.1234567891"))
        + op(CMPVALUE, b(7, 1), text("1x")) + op(CMPVALUE, b(7, 3), text("1" * 31))
        + op(CMPVALUE, b(6, 1), double_edge(18))  # NaN
    )
    yield "text_grammar", (
        number(10, 2, "  -12.50  ") + number(10, 2, "1.235xyz") + number(10, 2, "0.000x")
        + number(5, 5, "1")
        + op(PARSE, b(0), text("1.2.3"), b(2)) + op(PARSE, b(1), text("12 +"), b(3))
        + op(PARSE, b(2), text("1.231xyz"), b(0)) + op(PARSE, b(3), text("0.5"), b(1))
        + op(PARSE, b(0), text("99999999.995"), b(0)) + op(PARSE, b(1), text("- 5"), b(0))
        + op(PARSE, b(2), text("1e5"), b(0))
    )
    yield "text_tails", (
        number(10, 2, "1.23456e5") + number(10, 2, "1.2349999") + number(38, 8, "0.0000000005 ")
        + number(10, 0, ".4x")
        + op(PARSE, b(0), text("1.234.5"), b(0)) + op(PARSE, b(1), text("1.2345-"), b(1))
        + op(PARSE, b(2), text("0.001x"), b(2)) + op(PARSE, b(3), text("1.2350001  "), b(3))
        + op(CMPVALUE, b(7, 1), text("1.0000000001x")) + op(STREAMS, b(2, 0), text("1.2349. 5"))
        + op(CONSTRUCT, b(7, 1), text("0." + "0" * 120 + "1 x"))
    )
    yield "raw_texts", (
        number(38, 8, "0") + number(38, 8, "1") + number(38, 8, "2") + number(38, 8, "3")
        + op(MISC, b(0), text("  -0012  ")) + op(MISC, b(0), text("2147483648"))
        + op(MISC, b(0), text("4294967295")) + op(MISC, b(0), text("12abc")) + op(MISC, b(0), text("1 2"))
        + op(MISC, b(0), text("12.0 x")) + op(MISC, b(0), text("0012.3400")) + op(MISC, b(0), text("--5"))
        + op(MISC, b(0), text("xy")) + op(MISC, b(0), text(" -.5 "))
    )
    yield "streams_and_values", (
        number(38, 8, "1200") + number(10, 2, "0") + number(5, 5, "0.5") + number(38, 8, "-0.001")
        + op(STREAMS, b(0, 1, 12)) + op(STREAMS, b(1, 0), text("  3.14159 next"))
        + op(STREAMS, b(2, 0), text("")) + op(MISC, b(1), b(6, 1), double(2.675))
        + op(MISC, b(1), b(4, 2), small(1)) + op(MISC, b(1), b(1, 1), int32(65535))
        + op(MISC, b(1), b(6, 0), double(1e31))
    )
    yield "defaults_and_constructors", (
        number(10, 2, "1.25") + number(100, 8, "5") + number(38, 8, "") + number(38, 8, "0")
        + op(INTOP, b(1, 0, 2), small(10)) + op(DEFAULTS, rng(20), rng(4)) + op(CONSTRUCT, b(2, 3), small(7))
        + op(INTOP, b(0, 1, 2), small(3)) + op(DEFAULTS, rng(5), rng(-1)) + op(DEFAULTS, rng(3), rng(3))
        + op(INCDEC, b(0, 0)) + op(CONSTRUCT, b(9, 2), rng(-1), rng(4)) + op(CONSTRUCT, b(9, 2), rng(10), rng(11))
        + op(CONSTRUCT, b(6, 2), double(-0.0)) + op(CONSTRUCT, b(10, 1, 0))
    )


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(out, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
