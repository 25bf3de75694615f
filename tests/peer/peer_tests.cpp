// Runs the cases that other decimal implementations publish (tests/data: the
// General Decimal Arithmetic cases, PostgreSQL's numeric regression values and
// the packed-order vectors) through the number class, one test per table.
//
// Each case runs at the length of its table (min(100, I + 2S), at least 1) and
// again at length 100, both at the table's scale S. Every case must pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"
#include "tvdcndf.h"

namespace {

std::vector<std::vector<std::string>> ReadTable(const std::string& strFile)
{
    std::ifstream in(std::string(TV_PEER_DATA_DIR) + "/" + strFile);
    EXPECT_TRUE(in.good()) << "cannot read " << strFile;
    std::vector<std::vector<std::string>> rows;
    std::string strLine;
    while (std::getline(in, strLine)) {
        if (strLine.empty() || strLine[0] == '#')
            continue;
        std::vector<std::string> cols;
        std::stringstream ss(strLine);
        std::string strCol;
        while (std::getline(ss, strCol, '\t'))
            cols.push_back(strCol);
        if (!strLine.empty() && strLine.back() == '\t')
            cols.push_back("");
        rows.push_back(cols);
    }
    return rows;
}

// Integer digits and decimals of a plain decimal text, leading and trailing
// zeros not counted: "-0012.3400" has 2 and 2.
void CountDigits(const std::string& strText, int* pnInt, int* pnDec)
{
    std::string str = tvref::CanonicalText(strText);
    if (!str.empty() && str[0] == '-')
        str.erase(0, 1);
    size_t nPoint = str.find('.');
    std::string strInt = nPoint == std::string::npos ? str : str.substr(0, nPoint);
    *pnInt = strInt == "0" ? 0 : static_cast<int>(strInt.size());
    *pnDec = nPoint == std::string::npos ? 0 : static_cast<int>(str.size() - nPoint - 1);
}

clsNumDbFld NumExact(int nLen, int nScale, const std::string& strText)
{
    clsNumDbFld num(nLen, nScale);
    num = strText.c_str();
    EXPECT_EQ(tvref::CanonicalText(strText), std::string(num))
        << "operand " << strText << " at (" << nLen << ", " << nScale << ") is not held exactly";
    return num;
}

// A number that holds the text exactly with integer capacity at least nMinCap.
clsNumDbFld NumHolding(const std::string& strText, int nMinCap)
{
    int nInt = 0, nDec = 0;
    CountDigits(strText, &nInt, &nDec);
    int nLen = std::max(1, std::max(nInt, nMinCap) + nDec);
    EXPECT_LE(nLen, MAX_NumDbFldLen) << strText;
    return NumExact(std::min(nLen, MAX_NumDbFldLen), nDec, strText);
}

// Runs fn; its text result, or "E<code>" for a clsUtilException.
std::string Outcome(const std::function<std::string()>& fn)
{
    try {
        return fn();
    } catch (const clsUtilException& e) {
        return "E" + std::to_string(e.m_nErrCode);
    }
}

// The expected outcome: an error code for the kind "error", else the value.
std::string Expected(const std::string& strExpected, const std::string& strKind)
{
    return strKind == "error" ? "E" + strExpected : tvref::CanonicalText(strExpected);
}

// One case of a General Decimal Arithmetic table at (nLen, nScale). The
// results of every road that the case can take, in order; each must equal
// the expected outcome.
std::vector<std::string> RunDecCase(const std::vector<std::string>& row, int nLen, int nScale)
{
    const std::string& strOp = row[1];
    const size_t nOps = row.size() - 7;
    const std::string strA = row[2];
    const std::string strB = nOps > 1 ? row[3] : "";
    const std::string& strKind = row[row.size() - 2];
    const int nIntDigits = std::atoi(row[row.size() - 3].c_str());
    std::vector<std::string> results;

    // The second operand: at the case's precision when the case is exact, else
    // at a precision that holds it exactly.
    auto second = [&] { return strKind == "round" ? NumHolding(strB, 1) : NumExact(nLen, nScale, strB); };
    auto compound = [&](const std::function<void(clsNumDbFld&, const clsNumDbFld&)>& fn) {
        results.push_back(Outcome([&] {
            clsNumDbFld numA = NumExact(nLen, nScale, strA);
            clsNumDbFld numB = second();
            fn(numA, numB);
            return TextOf(numA);
        }));
    };

    if (strOp == "add") {
        compound([](clsNumDbFld& a, const clsNumDbFld& b) { a += b; });
    } else if (strOp == "subtract") {
        compound([](clsNumDbFld& a, const clsNumDbFld& b) { a -= b; });
    } else if (strOp == "multiply") {
        compound([](clsNumDbFld& a, const clsNumDbFld& b) { a *= b; });
    } else if (strOp == "divide") {
        compound([](clsNumDbFld& a, const clsNumDbFld& b) { a /= b; });
    } else if (strOp == "remainder") {
        compound([](clsNumDbFld& a, const clsNumDbFld& b) { a %= b; });
        // The same remainder through Divide, into a number of its own.
        results.push_back(Outcome([&] {
            clsNumDbFld numA = NumExact(nLen, nScale, strA);
            clsNumDbFld numQ(MAX_NumDbFldLen, 0), numR(nLen, nScale);
            numA.Divide(second(), &numQ, &numR);
            return TextOf(numR);
        }));
    } else if (strOp == "divideint") {
        results.push_back(Outcome([&] {
            clsNumDbFld numA = NumExact(nLen, nScale, strA);
            clsNumDbFld numQ(nLen, nScale);
            numA.Divide(second(), &numQ, nullptr);
            return TextOf(numQ);
        }));
    } else if (strOp == "quantize" || strOp == "rescale") {
        // Rounding to S decimals: by Round, by assignment into a number of
        // scale S, and by SetLenScale.
        results.push_back(Outcome([&] {
            clsNumDbFld num = NumHolding(strA, nIntDigits + 1);
            num.Round(nScale);
            return TextOf(num);
        }));
        results.push_back(Outcome([&] {
            clsNumDbFld num(nLen, nScale);
            num = NumHolding(strA, nIntDigits + 1);
            return TextOf(num);
        }));
        results.push_back(Outcome([&] {
            clsNumDbFld num = NumHolding(strA, nIntDigits + 1);
            num.SetLenScale(nLen, nScale);
            return TextOf(num);
        }));
    } else if (strOp == "power") {
        results.push_back(Outcome([&] {
            clsNumDbFld num = NumExact(nLen, nScale, strA);
            return TextOf(num.Pow(std::atoi(strB.c_str())));
        }));
    } else if (strOp == "compare") {
        results.push_back(Outcome([&] {
            clsNumDbFld numA = NumExact(nLen, nScale, strA), numB = NumExact(nLen, nScale, strB);
            return std::to_string(numA.Compare(numB));
        }));
        // The other way round gives the opposite sign.
        results.push_back(Outcome([&] {
            clsNumDbFld numA = NumExact(nLen, nScale, strA), numB = NumExact(nLen, nScale, strB);
            return std::to_string(-numB.Compare(numA));
        }));
    } else if (strOp == "abs") {
        results.push_back(Outcome([&] { return TextOf(NumExact(nLen, nScale, strA).abs()); }));
    } else if (strOp == "minus") {
        results.push_back(Outcome([&] { return TextOf(-NumExact(nLen, nScale, strA)); }));
    } else {
        ADD_FAILURE() << "unknown operation " << strOp;
    }
    return results;
}

// One row of PostgreSQL's num_exp table at (nLen, scale).
std::vector<std::string> RunPgCase(const std::vector<std::string>& row, int nLen)
{
    const std::string& strOp = row[0];
    const int nScale = std::max(10, std::atoi(row[4].c_str()));
    clsNumDbFld numA = NumExact(nLen, nScale, row[1]);
    clsNumDbFld numB = NumExact(nLen, nScale, row[2]);
    std::vector<std::string> results;
    // The compound operator, and the two-operand operator (same precision on
    // both sides, so the result has it too).
    results.push_back(Outcome([&] {
        clsNumDbFld num = numA;
        if (strOp == "add")
            num += numB;
        else if (strOp == "sub")
            num -= numB;
        else if (strOp == "mul")
            num *= numB;
        else
            num /= numB;
        return TextOf(num);
    }));
    results.push_back(Outcome([&] {
        if (strOp == "add")
            return TextOf(numA + numB);
        if (strOp == "sub")
            return TextOf(numA - numB);
        if (strOp == "mul")
            return TextOf(numA * numB);
        return TextOf(numA / numB);
    }));
    return results;
}

// Checks every row: a row's outcome at each length must match its expected
// value. Gives the number of rows.
// Columns are counted from the end when negative; without an id column the
// case is named by its operation, operands and occurrence.
template <class RunFn>
int CheckTable(const std::string& strFile, int nIdCol, int nExpectedCol, int nKindCol, RunFn run)
{
    int nCases = 0;
    std::map<std::string, int> seen;
    for (const std::vector<std::string>& row : ReadTable(strFile)) {
        ++nCases;
        std::string strId = nIdCol >= 0 ? row[nIdCol] : row[0] + "(" + row[1] + "," + row[2] + ")";
        if (nIdCol < 0 && ++seen[strId] > 1)
            strId += "#" + std::to_string(seen[strId]);
        auto col = [&](int n) { return row[n < 0 ? row.size() + n : static_cast<size_t>(n)]; };
        const std::string strExpected = Expected(col(nExpectedCol), col(nKindCol));
        std::vector<std::pair<int, std::vector<std::string>>> outcomes = run(row);
        bool bAllPass = true;
        std::ostringstream msg;
        for (const auto& outcome : outcomes)
            for (size_t i = 0; i < outcome.second.size(); ++i)
                if (outcome.second[i] != strExpected) {
                    bAllPass = false;
                    msg << "\n  at length " << outcome.first << ", road " << i << ": got " << outcome.second[i]
                        << ", expected " << strExpected;
                }
        EXPECT_TRUE(bAllPass) << strFile << ": " << strId << msg.str();
    }
    return nCases;
}

class DecTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DecTest, EveryCaseMatches)
{
    const std::string strFile = std::string("dectest/") + GetParam() + ".tsv";
    const int nCases = CheckTable(strFile, 0, -5, -2, [](const std::vector<std::string>& row) {
        const int nScale = std::atoi(row[row.size() - 4].c_str());
        const int nIntDigits = std::atoi(row[row.size() - 3].c_str());
        const int nLen = std::max(1, std::min(MAX_NumDbFldLen, nIntDigits + 2 * nScale));
        std::vector<std::pair<int, std::vector<std::string>>> outcomes;
        outcomes.emplace_back(nLen, RunDecCase(row, nLen, nScale));
        if (nLen != MAX_NumDbFldLen)
            outcomes.emplace_back(MAX_NumDbFldLen, RunDecCase(row, MAX_NumDbFldLen, nScale));
        return outcomes;
    });
    EXPECT_GT(nCases, 0);
    std::cout << "[ cases    ] " << strFile << ": " << nCases << " cases\n";
}

INSTANTIATE_TEST_SUITE_P(Tables, DecTest,
                         ::testing::Values("abs", "add", "compare", "divide", "divideint", "minus", "multiply",
                                           "power", "quantize", "remainder", "rescale", "rounding", "subtract"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST(PostgreSql, NumExp)
{
    const int nCases = CheckTable("postgresql/num_exp.tsv", -1, 3, 5, [](const std::vector<std::string>& row) {
        std::vector<std::pair<int, std::vector<std::string>>> outcomes;
        outcomes.emplace_back(38, RunPgCase(row, 38));
        outcomes.emplace_back(MAX_NumDbFldLen, RunPgCase(row, MAX_NumDbFldLen));
        return outcomes;
    });
    EXPECT_EQ(400, nCases);
    std::cout << "[ cases    ] postgresql/num_exp.tsv: " << nCases << " cases\n";
}

// Each value at length 100 and scale 8 packs to exactly the listed bytes and
// orders below the next one, as a number and as signed bytes.
TEST(PackedOrder, Vectors)
{
    std::vector<std::vector<std::string>> rows = ReadTable("packed-order/vectors.tsv");
    ASSERT_EQ(29u, rows.size());
    std::vector<clsNumDbFld> nums;
    for (const std::vector<std::string>& row : rows) {
        clsNumDbFld num = NumExact(MAX_NumDbFldLen, 8, row[0]);
        EXPECT_EQ(row[1], PackedText(num)) << row[0];
        nums.push_back(num);
    }
    for (size_t i = 0; i + 1 < nums.size(); ++i) {
        EXPECT_EQ(-1, nums[i].Compare(nums[i + 1])) << rows[i][0] << " against " << rows[i + 1][0];
        EXPECT_EQ(1, nums[i + 1].Compare(nums[i])) << rows[i + 1][0] << " against " << rows[i][0];
        EXPECT_EQ(0, nums[i].Compare(nums[i])) << rows[i][0];
        const signed char* p = reinterpret_cast<const signed char*>(nums[i].GetRawData());
        const signed char* q = reinterpret_cast<const signed char*>(nums[i + 1].GetRawData());
        while (*p && *p == *q)
            ++p, ++q;
        EXPECT_LT(*p, *q) << rows[i][0] << " does not order below " << rows[i + 1][0] << " as signed bytes";
    }
}

} // namespace
