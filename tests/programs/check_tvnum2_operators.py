"""Checks which functions each of tvnum2's 125 checks calls, so that a change
of the library's overloads that makes a check pick another operator (a text
comparison for a numeric one, an int form for the short form, ...) is found
even where the picked operator gives the same answer.

  check_tvnum2_operators.py COMPILER SOURCE_DIR WORK_DIR

Compiles examples/tvnum2.cpp to assembly without optimisation (so that the
inline operators stay calls), splits TestNumberClass at its CheckFailed calls
and compares each piece with the table below: its calls of comparison
operators exactly, and its other listed calls in order.
"""

import os
import re
import subprocess
import sys

from progtest import check, main_guard

NUM = "clsNumDbFld const&"
STRING = "string const&"

# The value variables of the comparison blocks, with the parameter type of
# the operators that they must reach.
INTEGER_BLOCKS = [
    ("shTmp", "short", "short"),
    ("ushTmp", "USHORT", "unsigned short"),
    ("iTmp", "int", "int"),
    ("uiTmp", "UINT", "unsigned int"),
    ("lTmp", "long", "long"),
    ("ulTmp", "ULONG", "unsigned long"),
]
VALUE_BLOCKS = [
    # variable, first check, its calls (in order), its comparison, parameter type
    ("dTmp", "dTmp != (double)numTmp", ["clsNumDbFld::operator double() const"], [], "double"),
    ("strTmp", "strTmp != (clsStrPlus)numTmp", ["clsStrPlus::clsStrPlus(clsNumDbFld const&)"],
     ["operator!=(clsStrBase const&, clsStrBase const&)"], "char const*"),
    ("ptrTmp", "ptrTmp != (clsStrPlus)numTmp", ["clsStrPlus::clsStrPlus(clsNumDbFld const&)"],
     ["int operator!=<char const*, 0>(char const*, clsStrBase const&)"], "char const*"),
    ("str", "str != (CString)numTmp", ["clsNumDbFld::operator string() const"],
     ["bool std::operator!=<char, std::char_traits<char>, std::allocator<char> >(string const&, string const&)"],
     STRING),
    ("valTmp", "valTmp != (clsValDbFld)numTmp", ["clsNumDbFld::operator string() const"],
     ["bool std::operator!=<char, std::char_traits<char>, std::allocator<char> >(string const&, string const&)"],
     STRING),
]
DOUBLE = "clsNumDbFld::operator double() const"
BIN = "operator%s(clsNumDbFld const&, clsNumDbFld const&)"
BIN_INT = "operator%s(clsNumDbFld const&, int)"
SAME_8 = "fabs( (double)numResult - dResult ) < 0.00000001"
ROUNDING = "fabs( (double)numResult4 - (double)numResult ) < 0.0001"


def value_left(op, type_):
    return "operator%s(%s, %s)" % (op, type_, NUM)


def number_left(op, type_):
    return "operator%s(%s, %s)" % (op, NUM, type_)


def expected_checks():
    """(condition, other calls in order, comparison operator calls) for each check."""
    table = []
    for var, cast, type_ in INTEGER_BLOCKS:
        table += [
            ("%s == (%s)(double)numTmp" % (var, cast), [DOUBLE], []),
            ("!(%s == numTmp)" % var, [], [value_left("==", type_)]),
            ("!(numTmp == %s)" % var, [], [number_left("==", type_)]),
            ("%s != numTmp" % var, [], [value_left("!=", type_)]),
            ("numTmp != %s" % var, [], [number_left("!=", type_)]),
            ("%s <= numTmp" % var, [], [value_left("<=", type_)]),
            ("!(numTmp <= %s)" % var, [], [number_left("<=", type_)]),
            ("numTmp >= %s" % var, [], [number_left(">=", type_)]),
            ("!(%s >= numTmp)" % var, [], [value_left(">=", type_)]),
        ]
    for var, first, first_calls, first_cmp, type_ in VALUE_BLOCKS:
        table += [
            (first, first_calls, first_cmp),
            ("%s == numTmp" % var, [], [value_left("==", type_)]),
            ("numTmp == %s" % var, [], [number_left("==", type_)]),
            ("!(%s != numTmp)" % var, [], [value_left("!=", type_)]),
            ("!(numTmp != %s)" % var, [], [number_left("!=", type_)]),
            ("%s <= numTmp" % var, [], [value_left("<=", type_)]),
            ("numTmp <= %s" % var, [], [number_left("<=", type_)]),
            ("numTmp >= %s" % var, [], [number_left(">=", type_)]),
            ("%s >= numTmp" % var, [], [value_left(">=", type_)]),
        ]
    table += [
        ("str1 == numTmp", [], [value_left("==", "char const*")]),
        ("str2 == numTmp", [], [value_left("==", "char const*")]),
        ("numTmp == val1", [], [number_left("==", STRING)]),
        ("numTmp == val2", [], [number_left("==", STRING)]),
        # Group 4.
        ("(double)-numTmp == -dTmp", ["clsNumDbFld::operator-() const", DOUBLE], []),
        ("(double)+numTmp == +dTmp", ["clsNumDbFld::operator+() const", DOUBLE], []),
        # Groups 5 to 10.
        (SAME_8, [BIN % "+", DOUBLE], []),
        (SAME_8, [BIN % "-", DOUBLE], []),
        ("fabs( (double)numResult - dResult ) < 0.0001", [BIN % "*", DOUBLE], []),
        (SAME_8, [BIN % "/", DOUBLE], []),
        ("(double)numResult == (long)dResult",
         ["clsNumDbFld::Divide(clsNumDbFld const&, clsNumDbFld*, clsNumDbFld*)", DOUBLE], []),
        (SAME_8, [BIN % "%", DOUBLE], []),
        # Group 11.
        ("dResult < 1.0001 && dResult > 0.9999", ["clsNumDbFld::Pow(int) const", DOUBLE], []),
        # Groups 12 to 16.
        ("fabs( (double)(++numResult) - (++dResult) ) < 0.00000001", ["clsNumDbFld::operator++()", DOUBLE], []),
        ("fabs( (double)(numResult++) - (dResult++) ) < 0.00000001", ["clsNumDbFld::operator++(int)", DOUBLE], []),
        ("fabs( (double)(--numResult) - (--dResult) ) < 0.00000001", ["clsNumDbFld::operator--()", DOUBLE], []),
        ("fabs( (double)(numResult--) - (dResult--) ) < 0.00000001", ["clsNumDbFld::operator--(int)", DOUBLE], []),
        ("fabs( (double)(numResult.abs() ) - fabs( dResult )) < 0.00000001", ["clsNumDbFld::abs() const", DOUBLE], []),
        ("(double)numResult.GetIntegerPart() == (long)dResult", ["clsNumDbFld::GetIntegerPart() const", DOUBLE], []),
        ("fabs( (double)numResult.GetDecimalPart() - (dResult - (long)dResult) ) < 0.00000001",
         ["clsNumDbFld::GetDecimalPart() const", DOUBLE], []),
        # Group 17.
        (ROUNDING, [BIN % "+", BIN % "+", DOUBLE, DOUBLE], []),
        (ROUNDING, ["clsNumDbFld::operator+=(clsNumDbFld const&)", DOUBLE, DOUBLE], []),
        (ROUNDING, [BIN % "-", BIN % "-", DOUBLE, DOUBLE], []),
        (ROUNDING, ["clsNumDbFld::operator-=(clsNumDbFld const&)", DOUBLE, DOUBLE], []),
        # Group 18.
        ("(double)(num1 - num2) < 0.0000001",
         ["clsNumDbFld::SetLenScale(int, int)", "clsNumDbFld::SetLenScale(int, int)", BIN_INT % "*", BIN_INT % "+",
          BIN_INT % "/", "clsNumDbFld::clsNumDbFld(int)", "clsNumDbFld::operator*=(clsNumDbFld const&)",
          BIN % "-", DOUBLE], []),
        ("(double)(num1 - num2) < 0.00000001",
         ["clsNumDbFld::clsNumDbFld(int)", "clsNumDbFld::operator*=(clsNumDbFld const&)",
          "clsNumDbFld::clsNumDbFld(double const&)", "clsNumDbFld::operator+=(clsNumDbFld const&)",
          BIN_INT % "/", "clsNumDbFld::operator*=(clsNumDbFld const&)", BIN % "-", DOUBLE], []),
    ]
    return [("!!(%s)" % cond, calls, cmp) for cond, calls, cmp in table]


COMPARISON = re.compile(r"operator(==|!=|<=|>=)[<(]")


def demangle(symbols):
    out = subprocess.run(["c++filt"], input="\n".join(symbols), capture_output=True, text=True, check=True).stdout
    names = [name.replace("std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >", "string")
             for name in out.split("\n")]
    return dict(zip(symbols, names))


def checks_in_assembly(asm):
    """(condition, calls) for each CheckFailed call of TestNumberClass, the
    calls being those made since the previous CheckFailed, destructors left out."""
    labels = {}
    for match in re.finditer(r'^(\.LC\d+):\n\s+\.string\s+"((?:[^"\\]|\\.)*)"', asm, re.M):
        labels[match.group(1)] = match.group(2).encode().decode("unicode_escape")
    body = re.search(r"^_Z15TestNumberClassv:\n(.*?)\.cfi_endproc", asm, re.M | re.S)
    check(body is not None, "TestNumberClass not found in the assembly")
    pieces, calls, strings = [], [], []
    for line in body.group(1).split("\n"):
        match = re.match(r"\s+leaq\s+(\.LC\d+)\(%rip\)", line)
        if match:
            strings.append(labels.get(match.group(1), ""))
            continue
        match = re.match(r"\s+call\s+([^\s@]+)", line)
        if not match:
            continue
        if match.group(1).startswith("_Z11CheckFailed"):
            conds = [s for s in strings if s.startswith("!!(")]
            check(conds, "a CheckFailed call without a condition text")
            pieces.append((conds[-1], calls))
            calls, strings = [], []
        elif not re.search(r"D[012]Ev$", match.group(1)):
            calls.append(match.group(1))
    names = demangle(sorted({sym for _, syms in pieces for sym in syms}))
    return [(cond, [names[sym] for sym in syms]) for cond, syms in pieces]


def is_subsequence(wanted, calls):
    it = iter(calls)
    return all(any(call == name for call in it) for name in wanted)


def test(compiler, source_dir, work_dir):
    os.makedirs(work_dir, exist_ok=True)
    asm_path = os.path.join(work_dir, "tvnum2.s")
    proc = subprocess.run([compiler, "-std=c++17", "-O0", "-S", "-I", os.path.join(source_dir, "src"),
                           os.path.join(source_dir, "examples", "tvnum2.cpp"), "-o", asm_path],
                          capture_output=True, text=True)
    check(proc.returncode == 0, "tvnum2.cpp does not compile:\n" + proc.stderr[:4000])
    found = checks_in_assembly(open(asm_path, encoding="utf-8").read())
    expected = expected_checks()
    check(len(expected) == 125, "the table has %d checks" % len(expected))
    check(len(found) == 125, "TestNumberClass has %d checks, expected 125" % len(found))
    for index, ((cond, calls), (want_cond, want_calls, want_cmp)) in enumerate(zip(found, expected), 1):
        check(cond == want_cond, "check %d is %r, expected %r" % (index, cond, want_cond))
        cmp_calls = [call for call in calls if COMPARISON.search(call)]
        check(cmp_calls == want_cmp, "check %d %s compares with %s, expected %s" % (index, cond, cmp_calls, want_cmp))
        check(is_subsequence(want_calls, calls),
              "check %d %s calls %s, expected in order %s" % (index, cond, calls, want_calls))


if __name__ == "__main__":
    main_guard(lambda: test(*sys.argv[1:4]))
