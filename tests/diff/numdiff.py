#!/usr/bin/env python3
"""Differential test of clsNumDbFld against a model built on Python's decimal.

Writes seeded random cases for every operation, runs them through the driver
(numdiff_driver, one case a line, see its header for the protocol) and checks
every result line against the model's. Exit status 0 when all agree.

    numdiff.py --driver PATH [--seed N] [--count N] [--ops a,b,...] [--show N]

--count is the number of cases per operation (CTest runs seed 1 with 3,000).
Without --seed the seed is TV_TEST_SEED when that is set (as for the unit
tests), else 1; a failed run prints the command line that replays it.
Every disagreement is printed with its case line (up to --show of them per
operation), ready to replay:
    printf '<case line>\\n' | numdiff_driver
A case that ends the driver (a failed internal check) counts as a crash; the
run goes on after it.
"""

import argparse
import os
import random
import re
import subprocess
import sys
import decimal
from decimal import Decimal, Context, ROUND_HALF_UP, ROUND_DOWN

MAX_LEN = 100
CTX = Context(prec=800, rounding=ROUND_HALF_UP, Emax=999999, Emin=-999999)
CTX_DOWN = Context(prec=800, rounding=ROUND_DOWN, Emax=999999, Emin=-999999)
# Every unary operation (abs, negation) rounds to the current context, so the
# current context is the exact one too.
decimal.setcontext(CTX.copy())
ZERO = Decimal(0)
ONE = Decimal(1)

OVERFLOW = -2053
DIV_ZERO = -2046


class Fail(Exception):
    """An error code raised by an operation of the model. When keep is false
    the target was left holding the null value (a failed rounding carry)."""

    def __init__(self, code, keep=True):
        super().__init__(code)
        self.code = code
        self.keep = keep


# --------------------------------------------------------------------------
# Values: a Decimal, or None for the null value (which counts as zero).
# --------------------------------------------------------------------------
def is_zero(v):
    return v is None or v == 0


def exp_of(v):
    """Decimal exponent of the first significant digit (123.45 gives 2)."""
    return v.adjusted()


def int_digits(v):
    if is_zero(v):
        return 0
    e = exp_of(v)
    return e + 1 if e >= 0 else 0


def rnd(v, scale):
    """Half away from zero to scale decimals."""
    return v.quantize(Decimal(1).scaleb(-scale), rounding=ROUND_HALF_UP, context=CTX)


def text(v):
    """The library's text form: '-', integer digits ('0' below one), and the
    decimals without trailing zeros only when the fraction is not zero."""
    if v is None:
        return ""
    if v == 0:
        return "0"
    s = format(abs(v), "f")
    if "." in s:
        s = s.rstrip("0").rstrip(".")
    return ("-" if v < 0 else "") + s


class Num:
    __slots__ = ("L", "S", "v")

    def __init__(self, L, S, v):
        self.L, self.S, self.v = L, S, v

    @property
    def cap(self):
        return self.L - self.S

    def copy(self):
        return Num(self.L, self.S, self.v)

    def len_scale_text(self):
        """The operand as the driver reads it: length:scale:text."""
        return "%d:%d:%s" % (self.L, self.S, text(self.v))

    def show(self):
        return "%s@%d.%d" % ("~" if self.v is None else text(self.v), self.L, self.S)


def store(target, v, keep_on_overflow=True):
    """Stores the exact value v into target at its length and scale: integer
    digits beyond the capacity raise -2053 with the target unchanged; the
    value is rounded half away from zero to the scale, and a rounding carry
    beyond the capacity raises -2053 leaving the null value."""
    if v is None:
        target.v = None
        return
    if v == 0:
        target.v = ZERO
        return
    if int_digits(v) > target.cap:
        if not keep_on_overflow:
            target.v = None
        raise Fail(OVERFLOW)
    r = rnd(v, target.S)
    if r != 0 and exp_of(r) >= target.cap:
        target.v = None
        raise Fail(OVERFLOW, keep=False)
    target.v = r if r != 0 else ZERO


# --------------------------------------------------------------------------
# The operations of the model.
# --------------------------------------------------------------------------
def m_add(a, b, sign):
    """a += b (sign 1) or a -= b (sign -1), in place."""
    if is_zero(b.v):
        return
    if is_zero(a.v):
        store(a, b.v if sign > 0 else -b.v)
        return
    store(a, CTX.add(a.v, b.v) if sign > 0 else CTX.subtract(a.v, b.v))


def m_mul(a, b):
    if is_zero(a.v):
        return
    if is_zero(b.v):
        a.v = b.v
        return
    store(a, CTX.multiply(a.v, b.v))


def quotient_rounded(x, y, scale):
    """x / y rounded half away from zero to scale decimals, exactly."""
    q = CTX_DOWN.divide(x, y)
    q = q.quantize(Decimal(1).scaleb(-(scale + 1)), rounding=ROUND_DOWN, context=CTX_DOWN)
    return rnd(q, scale)


def early_div_check(a, b):
    """The division refuses before any work when the exponent difference
    reaches the dividend's integer capacity."""
    if exp_of(a.v) - exp_of(b.v) >= a.cap:
        raise Fail(OVERFLOW)


def m_div(a, b):
    if is_zero(b.v):
        raise Fail(DIV_ZERO)
    if is_zero(a.v):
        return
    early_div_check(a, b)
    q = quotient_rounded(a.v, b.v, a.S)
    if q == 0:
        a.v = ZERO
        return
    if exp_of(q) >= a.cap:
        a.v = None
        raise Fail(OVERFLOW, keep=False)
    a.v = q


def int_div(x, y):
    """Integer quotient truncated toward zero and remainder with x's sign."""
    q = CTX.divide_int(x, y)
    r = CTX.subtract(x, CTX.multiply(q, y))
    return q, r


def m_mod(a, b):
    if is_zero(b.v):
        raise Fail(DIV_ZERO)
    if is_zero(a.v):
        return
    early_div_check(a, b)
    _, r = int_div(a.v, b.v)
    store(a, r)


def m_compound(op, a, b):
    if op == "+":
        m_add(a, b, 1)
    elif op == "-":
        m_add(a, b, -1)
    elif op == "*":
        m_mul(a, b)
    elif op == "/":
        m_div(a, b)
    else:
        m_mod(a, b)


def result_precision(n1, n2):
    """The operand with the larger integer capacity; on a tie the one with
    the larger scale; num1 on a full tie."""
    d = n1.cap - n2.cap
    if d == 0:
        d = 1 if n1.S >= n2.S else -1
    return (n1.L, n1.S) if d > 0 else (n2.L, n2.S)


def m_binary(op, n1, n2):
    L, S = result_precision(n1, n2)
    res = Num(L, S, None)
    store(res, n1.v)
    m_compound(op, res, n2)
    return res


def m_divide(mode, a, b, q, r):
    """a.Divide(b, q, r) with the target modes of the driver; changes the
    three numbers in place."""
    if mode == "nullq":
        raise Fail(2002)
    if mode in ("same", "aa"):
        raise Fail(2001)
    qt = a if mode == "qa" else q
    rt = None if mode == "q" else (a if mode == "ra" else r)
    if is_zero(b.v):
        raise Fail(DIV_ZERO)
    if is_zero(a.v):
        v = a.v
        if rt is not None:
            store(rt, v)
        store(qt, v)
        return
    early_div_check(a, b)
    qi, ri = int_div(a.v, b.v)
    if rt is not None:
        store(rt, ri)
    store(qt, qi)


def m_pow(base, n):
    """Square and multiply, every product rounded to the base's scale; a
    negative power first takes 1 / base at the base's scale."""
    if n == 0:
        return Num(38, 8, ONE)
    if is_zero(base.v):
        if n < 0:
            raise Fail(-2055)
        return base.copy()
    acc = base.copy()
    tmp = Num(base.L + 1 if base.L == base.S else base.L, base.S, None)
    store(tmp, ONE)
    if n < 0:
        quot = m_binary("/", tmp, base)
        store(acc, quot.v)
        n = -n
    while n != 1:
        if n & 1:
            m_mul(tmp, acc)
        m_mul(acc, acc)
        n >>= 1
    m_mul(acc, tmp)
    return acc


def m_round(a, n):
    if n < 0 or n > a.S:
        n = a.S
    if is_zero(a.v):
        return
    r = rnd(a.v, n)
    if r != 0 and exp_of(r) >= a.cap:
        a.v = None
        raise Fail(OVERFLOW, keep=False)
    a.v = r if r != 0 else ZERO


def decimals(v):
    if is_zero(v):
        return 0
    t = text(v)
    return len(t) - t.index(".") - 1 if "." in t else 0


def m_setls(a, nL, nS):
    if not (nL == -1 or 1 <= nL <= MAX_LEN):
        raise Fail(2001)
    if nL == -1:
        nL = a.L
    if not (nS == -1 or 0 <= nS <= nL):
        raise Fail(2001)
    if nS == -1:
        nS = a.S
    if nL - nS < a.cap and int_digits(a.v) > nL - nS:
        raise Fail(OVERFLOW)
    a.L, a.S = nL, nS
    if decimals(a.v) > nS:
        r = rnd(a.v, nS)
        if r != 0 and exp_of(r) >= a.cap:
            a.v = None
            raise Fail(OVERFLOW, keep=False)
        a.v = r if r != 0 else ZERO


def m_ipart(a):
    if is_zero(a.v):
        return a.copy()
    if exp_of(a.v) < 0:
        return Num(38, 8, ZERO)
    t = a.v.to_integral_value(rounding=ROUND_DOWN, context=CTX)
    return Num(a.L, a.S, t if t != 0 else ZERO)


def m_dpart(a):
    if is_zero(a.v) or exp_of(a.v) < 0:
        return a.copy()
    t = a.v.to_integral_value(rounding=ROUND_DOWN, context=CTX)
    d = CTX.subtract(a.v, t)
    return Num(a.L, a.S, d if d != 0 else ZERO)


def m_compare(a, b):
    x = ZERO if a.v is None else a.v
    y = ZERO if b.v is None else b.v
    return (x > y) - (x < y)


INT_LIMITS = {
    # type: (signed, 32-bit code, narrow bound, narrow code)
    "short": (True, -2050, 32767, -2048),
    "int": (True, -2050, None, None),
    "long": (True, -2050, None, None),
    "ushort": (False, -2051, 65535, -2049),
    "uint": (False, -2051, None, None),
    "ulong": (False, -2051, None, None),
}


def m_convert(typ, a):
    """Conversion through the text form: a value with decimals raises -2044,
    a negative one -2047 for the unsigned types (seen first), magnitudes above
    2147483647 / 4294967295 raise -2050 / -2051 (seen before the decimals)."""
    t = text(a.v)
    if typ == "double":
        return "%.17g" % (float(t) if t else 0.0)
    signed, code32, narrow, narrow_code = INT_LIMITS[typ]
    neg = t.startswith("-")
    mag = t[1:] if neg else t
    ip, _, fp = mag.partition(".")
    ival = int(ip) if ip else 0
    if neg and not signed:
        raise Fail(-2047)
    if ival > (2147483647 if signed else 4294967295):
        raise Fail(code32)
    if fp:
        raise Fail(-2044)
    val = -ival if neg else ival
    if narrow is not None:
        if (signed and not -32768 <= val <= 32767) or (not signed and val > 65535):
            raise Fail(narrow_code)
    return str(val)


NUMBER_TEXT = re.compile(r" *([+-]?)([0-9]*)(?:\.([0-9]*))?")


def m_parse(s, L, S):
    """ParseStr into a number of length L and scale S: (code, value).

    The whole text is judged: blanks, one sign, digits with at most one point,
    blanks. More integer digits than the capacity fail first (the library
    reads them before anything after them); then the rest after the number:
    a second point -2044, a sign after blanks -2054, anything else but blanks
    -2045. The value is rounded half away from zero, only the first decimal
    beyond the scale deciding; a carry out of the capacity is an overflow."""
    if s is None or s == "":
        return 0, None
    cap = L - S
    m = NUMBER_TEXT.match(s)
    sign, ip, fp = m.group(1), m.group(2).lstrip("0"), m.group(3) or ""
    rest = s[m.end():]
    if len(ip) > cap:
        return OVERFLOW, None
    if rest.startswith("."):
        return -2044, None
    rest = rest.lstrip(" ")
    if rest:
        return (-2054 if rest[0] in "+-" else -2045), None
    v = rnd(Decimal(sign + (ip or "0") + "." + fp[:S + 1] + "0"), S)
    if v == 0:
        return 0, ZERO
    if exp_of(v) >= cap:
        return OVERFLOW, None
    return 0, v


# --------------------------------------------------------------------------
# Random cases.
# --------------------------------------------------------------------------
def gen_len(rng):
    r = rng.random()
    if r < 0.15:
        return rng.choice((1, 2, 3, 38, 99, 100))
    if r < 0.5:
        return rng.randint(1, 12)
    return rng.randint(1, MAX_LEN)


def gen_scale(rng, L):
    r = rng.random()
    if r < 0.15:
        return 0
    if r < 0.25:
        return L
    if r < 0.32:
        return L - 1
    if r < 0.6:
        return rng.randint(0, min(L, 10))
    return rng.randint(0, L)


def gen_prec(rng):
    L = gen_len(rng)
    return L, gen_scale(rng, L)


def gen_digits(rng, n):
    """n digits: random, all nines, all zeros, or runs of nines, zeros and
    random digits."""
    style = rng.random()
    if style < 0.35:
        return "".join(rng.choice("0123456789") for _ in range(n))
    if style < 0.55:
        return "9" * n
    if style < 0.65:
        return "0" * n
    out = []
    while len(out) < n:
        k = rng.randint(1, max(1, n // 2))
        kind = rng.random()
        if kind < 0.4:
            out.extend("9" * k)
        elif kind < 0.7:
            out.extend("0" * k)
        elif kind < 0.8:
            out.extend("5" + "0" * (k - 1))
        else:
            out.extend(rng.choice("0123456789") for _ in range(k))
    return "".join(out[:n])


FRIENDLY = ("1", "2", "3", "7", "9", "10", "11", "0.1", "0.3", "0.5", "1.5", "0.9", "99", "0.07", "12.5",
            "1.1", "0.001", "4", "8", "1000", "0.25", "3.14159", "9.99", "0.2")


def gen_value(rng, L, S, allow_null=True):
    """A value that fits (L, S) exactly."""
    cap = L - S
    r = rng.random()
    if r < 0.04:
        return ZERO
    if r < 0.07 and allow_null:
        return None
    sign = "-" if rng.random() < 0.45 else ""
    if r < 0.13:
        # the largest magnitude: nines over the whole length
        s = "9" * cap + "." + "9" * S
    elif r < 0.17 and S > 0:
        # one unit of the scale, or five units
        s = "0." + "0" * (S - 1) + rng.choice("15")
    elif r < 0.21 and cap > 0:
        # a power of ten at the top of the capacity
        s = "1" + "0" * (cap - 1)
    elif r < 0.29:
        f = Decimal(rng.choice(FRIENDLY))
        if int_digits(f) <= cap and decimals(f) <= S and f != 0:
            s = text(f)
        else:
            s = "1" if cap > 0 else "0." + "0" * (S - 1) + "1"
    else:
        if rng.random() < 0.3:
            nint = cap
        else:
            nint = rng.randint(0, cap)
        if rng.random() < 0.3:
            ndec = S
        else:
            ndec = rng.randint(0, S)
        ip = gen_digits(rng, nint)
        if nint:
            ip = rng.choice("123456789") + ip[1:] if rng.random() < 0.5 or ip[0] == "0" else ip
        fp = gen_digits(rng, ndec)
        s = (ip or "0") + ("." + fp if fp else "")
    v = Decimal(sign + s)
    return v if v != 0 else ZERO


def gen_num(rng, prec=None, allow_null=True):
    L, S = prec if prec else gen_prec(rng)
    return Num(L, S, gen_value(rng, L, S, allow_null))


def gen_carry_pair(rng):
    """The largest magnitude of a precision, and a second operand with more
    decimals that is below one unit of the first's scale (or one plus such a
    value), so that the rounding carries into a new integer digit."""
    L, S = gen_prec(rng)
    if S >= MAX_LEN - 1:
        S = MAX_LEN - 2
        L = max(L, S)
    a = Num(L, S, Decimal(("-" if rng.random() < 0.5 else "") + "9" * (L - S) + "." + "9" * S))
    Sb = min(MAX_LEN - 1, S + rng.randint(1, 3))
    Lb = min(MAX_LEN, Sb + rng.randint(1, 3))
    k = Sb - S
    tiny = Decimal(rng.choice("56789") + "".join(rng.choice("0123456789") for _ in range(k - 1))).scaleb(-Sb)
    r = rng.random()
    v = tiny if r < 0.5 else (ONE + tiny if r < 0.75 else ONE - tiny)
    if rng.random() < 0.4:
        v = -v
    return a, Num(Lb, Sb, v)


def gen_pair(rng):
    """Two operands whose precisions are equal, independent, of equal
    capacity, or the default (38, 8) for the second; now and then a pair
    made to carry on rounding."""
    if rng.random() < 0.06:
        return gen_carry_pair(rng)
    a = gen_num(rng)
    r = rng.random()
    if r < 0.35:
        prec = (a.L, a.S)
    elif r < 0.45:
        cap = a.cap
        S = rng.randint(0, MAX_LEN - cap) if cap < MAX_LEN else 0
        prec = (cap + S, S) if cap + S >= 1 else (1, 1)
    elif r < 0.55:
        prec = (38, 8)
    else:
        prec = None
    return a, gen_num(rng, prec)


def gen_divisor_pair(rng, prec=None):
    """Operands for the divisions, with divisors whose exponent lies near or
    below the dividend's often enough to get past the early overflow test;
    both at prec when it is given."""
    if prec:
        a, b = gen_num(rng, prec), gen_num(rng, prec)
    else:
        a, b = gen_pair(rng)
    if rng.random() < 0.5 and not is_zero(a.v):
        L, S = b.L, b.S
        ea = exp_of(a.v)
        lo = max(-S, ea - a.cap - 1)
        hi = min(L - S - 1, ea + 2)
        if lo <= hi:
            eb = rng.randint(lo, hi)
            ndig = rng.randint(1, max(1, min(L, eb + S + 1)))
            digs = rng.choice("123456789") + gen_digits(rng, ndig - 1)
            v = Decimal(("-" if rng.random() < 0.4 else "") + digs).scaleb(eb - ndig + 1, context=CTX)
            if int_digits(v) <= L - S and decimals(v) <= S and v != 0:
                b = Num(L, S, v)
    return a, b


def fmt_parse_text(rng, L, S):
    """A text for ParseStr into (L, S), often with more decimals than the
    scale, leading zeros, signs, blanks, and sometimes an error."""
    r = rng.random()
    if r < 0.04:
        return rng.choice((None, "", " ", "   ", "-", "+", ".", "-0", "000", "-.", "+.", "-0.000", "0.", " + "))
    cap = L - S
    nint = rng.randint(0, cap + (1 if rng.random() < 0.15 else 0))
    if rng.random() < 0.25:
        nint = cap
    ndec = rng.randint(0, S + (rng.randint(1, 4) if rng.random() < 0.5 else 0))
    if rng.random() < 0.03:
        ndec = S + rng.randint(20, 200)
    ip = gen_digits(rng, nint)
    if ip and rng.random() < 0.7:
        ip = rng.choice("123456789") + ip[1:]
    fp = gen_digits(rng, ndec)
    if ndec > S and rng.random() < 0.4:
        # the first digit beyond the scale is a 5 or more, then more text
        fp = fp[:S] + rng.choice("56789") + fp[S + 1:]
    s = ""
    if rng.random() < 0.2:
        s += " " * rng.randint(1, 3)
    sr = rng.random()
    if sr < 0.35:
        s += "-"
    elif sr < 0.45:
        s += "+"
    if rng.random() < 0.2:
        s += "0" * (rng.randint(1, 5) if rng.random() < 0.9 else rng.randint(50, 300))
    if ip or not fp or rng.random() < 0.5:
        s += ip if ip else ("0" if rng.random() < 0.5 else "")
    if fp or rng.random() < 0.1:
        s += "." + fp
    if rng.random() < 0.2:
        s += " " * rng.randint(1, 3)
    if rng.random() < 0.25:
        # something that may be an error, or digits that may fall beyond the
        # scale (read and ignored, while a letter there is still an error)
        junk = rng.choice(("x", ".", "-", "+", "\t", " 5", "e5", "1", "5", ".5", " x", "5x", "55", "0x"))
        where = rng.randint(0, len(s))
        s = s[:where] + junk + s[where:] if rng.random() < 0.4 else s + junk
    return s


# --------------------------------------------------------------------------
# Cases per operation: each gives (driver line, expected result line).
# --------------------------------------------------------------------------
def line_of(code, rest):
    return str(code) if rest == "" else "%d %s" % (code, rest)


def run_model(fn):
    """(code, None) for a Fail, else (0, fn's result)."""
    try:
        return 0, fn()
    except Fail as f:
        return f.code, None


def case_parse(rng):
    L, S = gen_prec(rng)
    s = fmt_parse_text(rng, L, S)
    code, v = m_parse(s, L, S)
    hexed = "@" if s is None else s.encode("latin-1").hex()
    return "parse\t%d\t%d\t%s" % (L, S, hexed), line_of(code, Num(L, S, v).show())


def make_binary(op):
    def case(rng):
        a, b = gen_divisor_pair(rng) if op in "/%" else gen_pair(rng)
        code, res = run_model(lambda: m_binary(op, a, b))
        return "bin\t%s\t%s\t%s" % (op, a.len_scale_text(), b.len_scale_text()), line_of(code, res.show() if res else "")
    return case


def gen_int(rng):
    r = rng.random()
    if r < 0.2:
        return rng.choice((0, 1, -1, 2, 10, -10, 2147483647, -2147483647, -2147483648))
    if r < 0.6:
        return rng.randint(-1000, 1000)
    return rng.randint(-2147483648, 2147483647)


def case_binint(rng):
    """num OP int: the int becomes a number at the default (38, 8)."""
    op = rng.choice("+*/")
    a = gen_num(rng)
    n = gen_int(rng)
    code, res = run_model(lambda: m_binary(op, a, Num(38, 8, Decimal(n))))
    return "bini\t%s\t%s\t%d" % (op, a.len_scale_text(), n), line_of(code, res.show() if res else "")


def make_compound(op):
    def case(rng):
        a, b = gen_divisor_pair(rng) if op in "/%" else gen_pair(rng)
        line = "cmp\t%s\t%s\t%s" % (op, a.len_scale_text(), b.len_scale_text())
        code, _ = run_model(lambda: m_compound(op, a, b))
        return line, line_of(code, a.show())
    return case


def case_self(rng):
    op = rng.choice("+-*/%")
    a = gen_num(rng)
    line = "self\t%s\t%s" % (op, a.len_scale_text())
    code, _ = run_model(lambda: m_compound(op, a, a.copy()))
    return line, line_of(code, a.show())


def case_divide(rng):
    a, b = gen_divisor_pair(rng)
    mode = rng.choice(("qr", "qr", "qr", "q", "qa", "ra", "same", "aa", "nullq"))
    q = gen_num(rng, None if rng.random() < 0.7 else (a.L, a.S))
    if rng.random() < 0.3:
        q = Num(MAX_LEN, 0, q.v if q.v is None or (int_digits(q.v) <= MAX_LEN and decimals(q.v) == 0) else ONE)
    r = gen_num(rng, None if rng.random() < 0.6 else (a.L, a.S))
    line = "div\t%s\t%s\t%s\t%s\t%s" % (mode, a.len_scale_text(), b.len_scale_text(), q.len_scale_text(), r.len_scale_text())
    code, _ = run_model(lambda: m_divide(mode, a, b, q, r))
    return line, line_of(code, "%s %s %s" % (q.show(), r.show(), a.show()))


# Every (length, scale), in a fixed shuffled order so that a short run still
# spreads over all lengths.
ALL_PRECISIONS = [(L, S) for L in range(1, MAX_LEN + 1) for S in range(0, L + 1)]
random.Random(0).shuffle(ALL_PRECISIONS)


def make_division_sweep():
    """Divisions at every length and scale in turn (5,150 of them): /=, %=
    and Divide between numbers of one precision, the divisor often close
    enough to the dividend to pass the early overflow test."""
    counter = [0]

    def case(rng):
        prec = ALL_PRECISIONS[counter[0] % len(ALL_PRECISIONS)]
        counter[0] += 1
        a, b = gen_divisor_pair(rng, prec)
        op = rng.choice("/%d")
        if op == "d":
            q, r = gen_num(rng, prec), gen_num(rng, prec)
            line = "div\tqr\t%s\t%s\t%s\t%s" % (a.len_scale_text(), b.len_scale_text(), q.len_scale_text(), r.len_scale_text())
            code, _ = run_model(lambda: m_divide("qr", a, b, q, r))
            return line, line_of(code, "%s %s %s" % (q.show(), r.show(), a.show()))
        line = "cmp\t%s\t%s\t%s" % (op, a.len_scale_text(), b.len_scale_text())
        code, _ = run_model(lambda: m_compound(op, a, b))
        return line, line_of(code, a.show())
    return case


def case_pow(rng):
    base = gen_num(rng)
    r = rng.random()
    if r < 0.05:
        n = rng.choice((-2147483648, 2147483647, 0, 1, -1))
    elif r < 0.5:
        n = rng.randint(-4, 8)
    elif r < 0.9:
        n = rng.randint(-40, 120)
    else:
        n = rng.randint(-2147483648, 2147483647)
    if rng.random() < 0.4 and not is_zero(base.v):
        # a base near one keeps large powers in range
        S = base.S
        if base.cap >= 1 and S > 0:
            k = rng.randint(1, S)
            delta = Decimal(rng.choice("123456789")).scaleb(-k)
            base.v = ONE + delta if rng.random() < 0.5 else ONE - delta
            if rng.random() < 0.4:
                base.v = -base.v
    code, res = run_model(lambda: m_pow(base, n))
    return "pow\t%s\t%d" % (base.len_scale_text(), n), line_of(code, res.show() if res else "")


def case_round(rng):
    a = gen_num(rng)
    n = rng.choice((-1, -5, a.S + 1, a.S + 20)) if rng.random() < 0.1 else rng.randint(0, a.S)
    line = "round\t%s\t%d" % (a.len_scale_text(), n)
    code, _ = run_model(lambda: m_round(a, n))
    return line, line_of(code, a.show())


def case_setls(rng):
    a = gen_num(rng)
    r = rng.random()
    if r < 0.1:
        nL = rng.choice((-1, 0, -2, 101, 200))
    else:
        nL = gen_len(rng)
    r = rng.random()
    if r < 0.15:
        nS = -1
    elif r < 0.2:
        nS = rng.choice((-2, (nL if nL > 0 else a.L) + 1))
    else:
        nS = gen_scale(rng, nL if nL > 0 else a.L)
    line = "setls\t%s\t%d\t%d" % (a.len_scale_text(), nL, nS)
    code, _ = run_model(lambda: m_setls(a, nL, nS))
    return line, line_of(code, a.show())


def case_ipart(rng):
    a = gen_num(rng)
    code, res = run_model(lambda: m_ipart(a))
    return "ipart\t%s" % a.len_scale_text(), line_of(code, res.show() if res else "")


def case_dpart(rng):
    a = gen_num(rng)
    code, res = run_model(lambda: m_dpart(a))
    return "dpart\t%s" % a.len_scale_text(), line_of(code, res.show() if res else "")


def case_compare(rng):
    a, b = gen_pair(rng)
    if rng.random() < 0.2 and b.v is not None and not is_zero(b.v):
        # equal values at different precisions, or one unit apart
        if int_digits(b.v) <= a.cap and decimals(b.v) <= a.S:
            a.v = b.v
            if rng.random() < 0.5 and a.S > 0:
                step = Decimal(1).scaleb(-a.S)
                w = a.v + step
                if int_digits(w) <= a.cap:
                    a.v = w
    return "compare\t%s\t%s" % (a.len_scale_text(), b.len_scale_text()), line_of(0, str(m_compare(a, b)))


def case_conv(rng):
    typ = rng.choice(("int", "int", "double", "double", "long", "ulong", "short", "ushort", "uint"))
    r = rng.random()
    if r < 0.3:
        L, S = gen_prec(rng)
        # integers near the 16- and 32-bit bounds
        bound = rng.choice((32767, 32768, 65535, 65536, 2147483647, 2147483648, 4294967295, 4294967296))
        v = Decimal(bound + rng.randint(-2, 2)) * (1 if rng.random() < 0.6 else -1)
        L = max(L, int_digits(v) + S)
        if L > MAX_LEN:
            L, S = MAX_LEN, 0
        a = Num(L, S, v)
    else:
        a = gen_num(rng)
    code, res = run_model(lambda: m_convert(typ, a))
    return "conv\t%s\t%s" % (typ, a.len_scale_text()), line_of(code, res if res is not None else "")


OPERATIONS = {
    "parse": case_parse,
    "add": make_binary("+"),
    "sub": make_binary("-"),
    "mul": make_binary("*"),
    "div": make_binary("/"),
    "mod": make_binary("%"),
    "binint": case_binint,
    "iadd": make_compound("+"),
    "isub": make_compound("-"),
    "imul": make_compound("*"),
    "idiv": make_compound("/"),
    "imod": make_compound("%"),
    "self": case_self,
    "divide": case_divide,
    "divsweep": make_division_sweep(),
    "pow": case_pow,
    "round": case_round,
    "setls": case_setls,
    "ipart": case_ipart,
    "dpart": case_dpart,
    "compare": case_compare,
    "conv": case_conv,
}


def run_driver(driver, lines, flush=False):
    cmd = [driver] + (["-f"] if flush else [])
    proc = subprocess.run(cmd, input="\n".join(lines) + "\n", capture_output=True, text=True,
                          encoding="latin-1")
    return proc.returncode, proc.stdout.split("\n")[:-1], proc.stderr


def check_batch(driver, cases):
    """Runs a batch; (list of (case, expected, got), list of crashes). A case
    that ends the driver is a crash; the driver is started again after it."""
    bad = []
    crashes = []
    start = 0
    while start < len(cases):
        part = cases[start:]
        lines = [c[0] for c in part]
        rc, out, err = run_driver(driver, lines)
        if rc != 0 or len(out) != len(lines):
            # again with a flush after every line, to find the case that ends it
            rc, out, err = run_driver(driver, lines, flush=True)
            out = out[:len(lines)]
        for (line, expected), got in zip(part, out):
            if got != expected:
                bad.append((line, expected, got))
        if len(out) >= len(lines):
            break
        k = len(out)
        crashes.append((lines[k], rc, err.strip()))
        start += k + 1
    return bad, crashes


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--driver", required=True)
    ap.add_argument("--seed", type=int, default=int(os.environ.get("TV_TEST_SEED") or 1),
                    help="default: TV_TEST_SEED, else 1")
    ap.add_argument("--count", type=int, default=2000, help="cases per operation")
    ap.add_argument("--ops", default=",".join(OPERATIONS),
                    help="comma-separated operations (default all: %s)" % ", ".join(OPERATIONS))
    ap.add_argument("--show", type=int, default=10, help="disagreements printed per operation")
    ap.add_argument("--batch", type=int, default=20000)
    args = ap.parse_args()

    ops = [o for o in args.ops.split(",") if o]
    for o in ops:
        if o not in OPERATIONS:
            ap.error("unknown operation %s (known: %s)" % (o, ", ".join(OPERATIONS)))
    total = 0
    failures = 0
    crashes = 0
    print("numdiff: seed %d, %d cases per operation" % (args.seed, args.count))
    for o in ops:
        rng = random.Random("%d/%s" % (args.seed, o))
        outcomes = {}
        done = 0
        bad_count = 0
        shown = 0
        while done < args.count:
            n = min(args.batch, args.count - done)
            cases = [OPERATIONS[o](rng) for _ in range(n)]
            for _, expected in cases:
                code = expected.split(" ", 1)[0]
                if code != "0" and "~@" in expected:
                    code += "/null"
                outcomes[code] = outcomes.get(code, 0) + 1
            bad, crashed = check_batch(args.driver, cases)
            for line, rc, err in crashed:
                crashes += 1
                shown += 1
                print("  %s: the driver ended (status %d) at the case\n    %s\n    %s"
                      % (o, rc, line.replace("\t", "\\t"), err))
            for line, expected, got in bad:
                bad_count += 1
                if shown < args.show:
                    shown += 1
                    print("  %s: %s\n    model:   %s\n    library: %s"
                          % (o, line.replace("\t", "\\t"), expected, got))
            done += n
        total += done
        failures += bad_count
        spread = " ".join("%s:%d" % kv for kv in sorted(outcomes.items(), key=lambda kv: -kv[1]))
        print("%-8s %8d cases, %d disagreements  (outcomes %s)" % (o, done, bad_count, spread))
    print("numdiff: %d cases, %d disagreements, %d driver crashes" % (total, failures, crashes))
    if failures or crashes:
        print("numdiff: replay: TV_TEST_SEED=%d %s %s --driver %s --count %d --ops %s"
              % (args.seed, sys.executable, sys.argv[0], args.driver, args.count, ",".join(ops)))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
