// Differential test driver: reads one case a line from standard input, runs it
// on clsNumDbFld and prints one result line. numdiff.py writes the cases and
// checks the results against its own model.
//
// Fields are separated by tabs. A number is written L:S:text (its length,
// scale and value; an empty text is the null value). A result number is
// written text@L.S, with ~ as the text of the null value. Every result line
// starts with the error code (0 when nothing was thrown):
//
//   parse L S HEX         ParseStr of the text given in hex (@: a null pointer)
//                         -> code num
//   bin OP A B            A OP B, OP one of + - * / %  -> code [num]
//   bini OP A N           A OP the int N, OP one of + * /  -> code [num]
//   cmp OP A B            A OP= B, OP one of + - * / %  -> code A-after
//   self OP A             A OP= A                       -> code A-after
//   div MODE A B Q R      A.Divide(B, ...) with the targets Q and R:
//                         qr both, q no remainder, qa / ra the dividend as
//                         quotient / remainder, same one number for both,
//                         aa the dividend as both, nullq a null quotient
//                         pointer                       -> code Q R A
//   pow A N               A.Pow(N)                      -> code [num]
//   round A N             A.Round(N)                    -> code A-after
//   setls A L S           A.SetLenScale(L, S)           -> code A-after
//   ipart A / dpart A     GetIntegerPart / GetDecimalPart -> code [num]
//   compare A B           A.Compare(B)                  -> code value
//   conv T A              conversion of A to T (short ushort int uint long
//                         ulong double)                 -> code value
//
// An operand that the operation must leave alone but changed adds " MUT"; an
// exception other than clsUtilException prints "X". With -f every line is
// flushed at once, so that the line of a case that aborts can be found.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tv_num_probe.h"
#include "tvdcndf.h"

namespace {

// The packed bytes of a number, as they are stored.
std::string PackedBytes(const clsNumDbFld& num)
{
    const clsStrPlus& str = NumProbe::Data(num);
    return std::string(static_cast<const char*>(str), static_cast<size_t>(str.GetLength()));
}

struct BadCase {
    std::string strWhy;
};

std::vector<std::string> Split(const std::string& strLine)
{
    std::vector<std::string> fields;
    size_t nStart = 0;
    for (;;) {
        size_t nTab = strLine.find('\t', nStart);
        fields.push_back(strLine.substr(nStart, nTab == std::string::npos ? std::string::npos : nTab - nStart));
        if (nTab == std::string::npos)
            return fields;
        nStart = nTab + 1;
    }
}

int ToInt(const std::string& str)
{
    char* pEnd = nullptr;
    long n = std::strtol(str.c_str(), &pEnd, 10);
    if (str.empty() || *pEnd)
        throw BadCase{"bad integer " + str};
    return static_cast<int>(n);
}

// L:S:text -> a number at (L, S) holding the text, which must fit exactly.
clsNumDbFld MakeNum(const std::string& strSpec)
{
    size_t nC1 = strSpec.find(':');
    size_t nC2 = nC1 == std::string::npos ? nC1 : strSpec.find(':', nC1 + 1);
    if (nC2 == std::string::npos)
        throw BadCase{"bad number " + strSpec};
    clsNumDbFld num(ToInt(strSpec.substr(0, nC1)), ToInt(strSpec.substr(nC1 + 1, nC2 - nC1 - 1)));
    std::string strText = strSpec.substr(nC2 + 1);
    try {
        num = strText.c_str();
    } catch (const clsUtilException& e) {
        throw BadCase{"operand " + strSpec + " raises " + std::to_string(e.m_nErrCode)};
    }
    return num;
}

std::string Show(const clsNumDbFld& num)
{
    std::string strText = NumProbe::Data(num).IsEmpty() ? "~" : std::string(static_cast<const char*>(num));
    return strText + "@" + std::to_string(NumProbe::Len(num)) + "." + std::to_string(NumProbe::Scale(num));
}

// The identity of a number: packed value, length and scale.
std::string State(const clsNumDbFld& num)
{
    return PackedBytes(num) + "|" + std::to_string(NumProbe::Len(num)) + "|" + std::to_string(NumProbe::Scale(num));
}

std::string FromHex(const std::string& strHex)
{
    std::string str;
    for (size_t i = 0; i + 1 < strHex.size(); i += 2)
        str += static_cast<char>(std::strtol(strHex.substr(i, 2).c_str(), nullptr, 16));
    return str;
}

clsNumDbFld Binary(char cOp, const clsNumDbFld& numA, const clsNumDbFld& numB)
{
    switch (cOp) {
    case '+': return numA + numB;
    case '-': return numA - numB;
    case '*': return numA * numB;
    case '/': return numA / numB;
    case '%': return numA % numB;
    }
    throw BadCase{std::string("bad operator ") + cOp};
}

void Compound(char cOp, clsNumDbFld& numA, const clsNumDbFld& numB)
{
    switch (cOp) {
    case '+': numA += numB; return;
    case '-': numA -= numB; return;
    case '*': numA *= numB; return;
    case '/': numA /= numB; return;
    case '%': numA %= numB; return;
    }
    throw BadCase{std::string("bad operator ") + cOp};
}

std::string Convert(const std::string& strType, const clsNumDbFld& num)
{
    if (strType == "short")
        return std::to_string(static_cast<short>(num));
    if (strType == "ushort")
        return std::to_string(static_cast<USHORT>(num));
    if (strType == "int")
        return std::to_string(static_cast<int>(num));
    if (strType == "uint")
        return std::to_string(static_cast<UINT>(num));
    if (strType == "long")
        return std::to_string(static_cast<long>(num));
    if (strType == "ulong")
        return std::to_string(static_cast<ULONG>(num));
    if (strType == "double") {
        char szBuf[64];
        std::snprintf(szBuf, sizeof szBuf, "%.17g", static_cast<double>(num));
        return szBuf;
    }
    throw BadCase{"bad type " + strType};
}

// Runs one case; the result line without the newline.
std::string RunCase(const std::vector<std::string>& f)
{
    const std::string& strOp = f[0];
    auto need = [&](size_t n) {
        if (f.size() != n)
            throw BadCase{"wrong field count for " + strOp};
    };
    int nCode = 0;
    std::string strOut;
    auto attempt = [&](auto&& fn) {
        try {
            fn();
        } catch (const clsUtilException& e) {
            nCode = e.m_nErrCode;
        }
    };

    if (strOp == "parse") {
        need(4);
        clsNumDbFld num(ToInt(f[1]), ToInt(f[2]));
        std::string strText = FromHex(f[3]);
        attempt([&] { num.ParseStr(f[3] == "@" ? nullptr : strText.c_str()); });
        strOut = Show(num);
    } else if (strOp == "bin") {
        need(4);
        clsNumDbFld numA = MakeNum(f[2]), numB = MakeNum(f[3]);
        std::string strA = State(numA), strB = State(numB);
        attempt([&] { strOut = Show(Binary(f[1][0], numA, numB)); });
        if (State(numA) != strA || State(numB) != strB)
            strOut += " MUT";
    } else if (strOp == "bini") {
        need(4);
        clsNumDbFld numA = MakeNum(f[2]);
        const int n = ToInt(f[3]);
        std::string strA = State(numA);
        attempt([&] {
            switch (f[1][0]) {
            case '+': strOut = Show(numA + n); break;
            case '*': strOut = Show(numA * n); break;
            case '/': strOut = Show(numA / n); break;
            default: throw BadCase{"bad operator " + f[1]};
            }
        });
        if (State(numA) != strA)
            strOut += " MUT";
    } else if (strOp == "cmp") {
        need(4);
        clsNumDbFld numA = MakeNum(f[2]), numB = MakeNum(f[3]);
        std::string strB = State(numB);
        attempt([&] { Compound(f[1][0], numA, numB); });
        strOut = Show(numA);
        if (State(numB) != strB)
            strOut += " MUT";
    } else if (strOp == "self") {
        need(3);
        clsNumDbFld numA = MakeNum(f[2]);
        attempt([&] { Compound(f[1][0], numA, numA); });
        strOut = Show(numA);
    } else if (strOp == "div") {
        need(6);
        const std::string& strMode = f[1];
        clsNumDbFld numA = MakeNum(f[2]), numB = MakeNum(f[3]);
        clsNumDbFld numQ = MakeNum(f[4]), numR = MakeNum(f[5]);
        std::string strB = State(numB);
        attempt([&] {
            if (strMode == "qr")
                numA.Divide(numB, &numQ, &numR);
            else if (strMode == "q")
                numA.Divide(numB, &numQ, nullptr);
            else if (strMode == "qa")
                numA.Divide(numB, &numA, &numR);
            else if (strMode == "ra")
                numA.Divide(numB, &numQ, &numA);
            else if (strMode == "same")
                numA.Divide(numB, &numQ, &numQ);
            else if (strMode == "aa")
                numA.Divide(numB, &numA, &numA);
            else if (strMode == "nullq")
                numA.Divide(numB, nullptr, &numR);
            else
                throw BadCase{"bad mode " + strMode};
        });
        strOut = Show(numQ) + " " + Show(numR) + " " + Show(numA);
        if (State(numB) != strB)
            strOut += " MUT";
    } else if (strOp == "pow") {
        need(3);
        clsNumDbFld numA = MakeNum(f[1]);
        std::string strA = State(numA);
        attempt([&] { strOut = Show(numA.Pow(ToInt(f[2]))); });
        if (State(numA) != strA)
            strOut += " MUT";
    } else if (strOp == "round") {
        need(3);
        clsNumDbFld numA = MakeNum(f[1]);
        attempt([&] { numA.Round(ToInt(f[2])); });
        strOut = Show(numA);
    } else if (strOp == "setls") {
        need(4);
        clsNumDbFld numA = MakeNum(f[1]);
        attempt([&] { numA.SetLenScale(ToInt(f[2]), ToInt(f[3])); });
        strOut = Show(numA);
    } else if (strOp == "ipart" || strOp == "dpart") {
        need(2);
        clsNumDbFld numA = MakeNum(f[1]);
        std::string strA = State(numA);
        attempt([&] { strOut = Show(strOp == "ipart" ? numA.GetIntegerPart() : numA.GetDecimalPart()); });
        if (State(numA) != strA)
            strOut += " MUT";
    } else if (strOp == "compare") {
        need(3);
        clsNumDbFld numA = MakeNum(f[1]), numB = MakeNum(f[2]);
        attempt([&] { strOut = std::to_string(numA.Compare(numB)); });
    } else if (strOp == "conv") {
        need(3);
        clsNumDbFld numA = MakeNum(f[2]);
        attempt([&] { strOut = Convert(f[1], numA); });
    } else {
        throw BadCase{"unknown operation " + strOp};
    }
    std::string strLine = std::to_string(nCode);
    if (!strOut.empty())
        strLine += " " + strOut;
    return strLine;
}

} // namespace

int main(int argc, char** argv)
{
    const bool bFlush = argc > 1 && std::strcmp(argv[1], "-f") == 0;
    std::ios::sync_with_stdio(false);
    std::string strLine;
    while (std::getline(std::cin, strLine)) {
        std::string strResult;
        try {
            strResult = RunCase(Split(strLine));
        } catch (const BadCase& bad) {
            strResult = "BAD " + bad.strWhy;
        } catch (const std::exception& e) {
            strResult = std::string("X ") + e.what();
        }
        std::cout << strResult << '\n';
        if (bFlush)
            std::cout.flush();
    }
    return 0;
}
