#include "gcode/numeric_text.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace gcode {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Bits(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return std::to_string(bits);
}

// Same value and same sign of zero.
#define EXPECT_SAME_DOUBLE(expected, actual) EXPECT_EQ(Bits(expected), Bits(actual)) << (actual)

struct NumberCase {
    double value;
    const char* text;
};

// One row per telling value: plain and exponent form, both rounding steps, ties, the range.
const NumberCase kNumberCases[] = {
    {0.0, "0"},
    {-0.0, "0"},
    {1.0, "1"},
    {-1.0, "-1"},
    {0.5, "0.5"},
    {1.5, "1.5"},
    {-1.5, "-1.5"},
    {2.25, "2.25"},
    {0.1, "0.1"},
    {0.1 + 0.2, "0.3"},
    {1.0 / 3.0, "0.3333333333333"},
    {2.0 / 3.0, "0.6666666666667"},
    {100000000.0, "100000000"},
    {123456789.123, "123456789.123"},
    {-2147483648.0, "-2147483648"},
    {9999999999999.0, "9999999999999"},
    {10000000000000.0, "1e+013"},
    {99999999999999.0, "1e+014"},
    {123456789012345.0, "1.234567890123e+014"},
    {1e15, "1e+015"},
    {1e16, "1e+016"},
    {1e21, "1e+021"},
    {0.0001, "0.0001"},
    {0.00012345, "0.00012345"},
    {0.00001, "1e-005"},
    {0.00005, "5e-005"},
    {0.000099999999999999, "0.0001"},
    {std::ldexp(1.0, -20), "9.536743164063e-007"},
    {1.0 + std::ldexp(1.0, -13), "1.000122070313"},
    {1234567890122.5, "1234567890123"},
    {-1234567890122.5, "-1234567890123"},
    {9.9999999999999, "10"},
    {std::numeric_limits<double>::max(), "1.797693134862e+308"},
    {std::numeric_limits<double>::denorm_min(), "4.940656458412e-324"},
    {-std::numeric_limits<double>::denorm_min(), "-4.940656458412e-324"},
    {1e-300, "1e-300"},
    // Half up at the 17th digit, from the exact value: 1000000000000000.25 is exactly halfway.
    {1000000000000000.25, "1e+015"},
    // The 17-digit form 58.646997615695000 rounds up at its 14th digit; a single rounding
    // to 13 digits would give 58.64699761569.
    {static_cast<double>(0.173f) * 339, "58.6469976157"},
    {static_cast<double>(0.433f) * 243, "105.2189995945"},
    {static_cast<double>(0.1f) * 1, "0.1000000014901"},
    {static_cast<double>(0.1f) * 2, "0.2000000029802"},
    {static_cast<double>(0.1f) * 3, "0.3000000044703"},
    {static_cast<double>(0.1f) * 9, "0.900000013411"},
    {static_cast<double>(0.2f) * 4, "0.8000000119209"},
    {static_cast<double>(0.2f) * 5, "1.000000014901"},
    {static_cast<double>(0.3f) * 1, "0.3000000119209"},
    {static_cast<double>(0.3f) * 3, "0.9000000357628"},
    {static_cast<double>(0.7f) * 1, "0.6999999880791"},
    {static_cast<double>(0.7f) * 2, "1.399999976158"},
    {static_cast<double>(1.2f) * 5, "6.000000238419"},
    {kInf, "1.#INF"},
    {-kInf, "-1.#INF"},
};

TEST(NumberToText, WritesEveryTellingValueExactly) {
    for (const auto& [value, text] : kNumberCases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(NumberToText(value), text);
        char buffer[kNumberTextRoom];
        EXPECT_EQ(std::string(buffer, WriteNumberText(value, buffer)), text);
    }
}

TEST(NumberToText, NotANumberTextsFollowSignAndPayload) {
    const auto nan = [](std::uint64_t bits) {
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    };
    volatile double zero = 0.0;
    EXPECT_EQ(NumberToText(zero / zero), "-1.#IND");  // what x86-64 makes of 0/0
    EXPECT_EQ(NumberToText(nan(0xFFF8000000000000)), "-1.#IND");
    EXPECT_EQ(NumberToText(nan(0x7FF8000000000000)), "1.#QNAN");
    EXPECT_EQ(NumberToText(nan(0xFFF8000000000001)), "-1.#QNAN");
    EXPECT_EQ(NumberToText(nan(0x7FF0000000000001)), "1.#QNAN");  // signalling
}

TEST(NumberToText, IgnoresLocaleAndRoundingMode) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");  // a decimal comma, where installed
    std::fesetround(FE_DOWNWARD);
    const std::string third = NumberToText(2.0 / 3.0);
    const std::string big = NumberToText(123456789012345.0);
    const std::string step = NumberToText(static_cast<double>(0.1f) * 3);
    std::fesetround(FE_TONEAREST);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(third, "0.6666666666667");
    EXPECT_EQ(big, "1.234567890123e+014");
    EXPECT_EQ(step, "0.3000000044703");
}

struct TextCase {
    const char* text;
    double value;
};

// GB18030 bytes of the full-width forms used below.
#define FW_1 "\xA3\xB1"
#define FW_2 "\xA3\xB2"
#define FW_3 "\xA3\xB3"
#define FW_5 "\xA3\xB5"
#define FW_POINT "\xA3\xAE"
#define FW_MINUS "\xA3\xAD"
#define FW_PLUS "\xA3\xAB"
#define FW_E "\xA3\xE5"
#define IDEOGRAPHIC_SPACE "\xA1\xA1"
#define ZHONG "\xD6\xD0"  // 中

const TextCase kTextCases[] = {
    {"", 0.0},
    {"   ", 0.0},
    {"abc", 0.0},
    {"-", 0.0},
    {"+", 0.0},
    {".", 0.0},
    {"+.", 0.0},
    {"e5", 0.0},
    {"-0", -0.0},
    {"-0.0", -0.0},
    {"-0e7", -0.0},
    {"+5", 5.0},
    {".5", 0.5},
    {"5.", 5.0},
    {"007", 7.0},
    {"1e3", 1000.0},
    {"1E3", 1000.0},
    {"1d3", 1000.0},
    {"1D3", 1000.0},
    {"1e", 1.0},
    {"1e+", 1.0},
    {"1e-", 1.0},
    {"5.e3", 5000.0},
    {"1.5e-3", 0.0015},
    {"0x10", 0.0},
    {"0x1A", 0.0},
    {"inf", 0.0},
    {"nan", 0.0},
    {"12abc", 12.0},
    {"1,5", 1.0},
    {"1 000", 1.0},
    {"5-3", 5.0},
    {"1..5", 1.0},
    {" 12", 12.0},
    {"\t12", 12.0},
    {"\r\n\v\f12", 12.0},
    {IDEOGRAPHIC_SPACE "12", 12.0},
    {"- 5", 0.0},
    {"--5", 0.0},
    {"1e309", kInf},
    {"1e99999", kInf},
    {"-1e400", -kInf},
    {"1e99999999999999999999999999", kInf},
    {"1e-400", 0.0},
    {"-1e-400", -0.0},
    {"1e-99999999999999999999999999", 0.0},
    {"0e99999", 0.0},
    {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    {"2.2250738585072011e-308", 2.2250738585072011e-308},
    {"1.7976931348623157e308", std::numeric_limits<double>::max()},
    {"0.1", 0.1},
    {FW_1 FW_2 FW_POINT FW_5, 12.5},
    {FW_MINUS FW_3, -3.0},
    {FW_PLUS FW_3, 3.0},
    {"1" FW_E "2", 100.0},
    {FW_1 "e" FW_2, 100.0},
    {"12" ZHONG "3", 12.0},
    {"12\xBA\xC1\xC3\xD7", 12.0},  // 12毫米
    {"12\xD6", 12.0},              // a lone lead byte at the end
    {"\xD6", 0.0},
    {"1\xA1\xAB"
     "2",
     1.0},  // the full-width tilde folds to ~, which ends the number
    {"\x81"
     "1",
     0.0},  // the trail byte of a pair is never a digit
};

TEST(TextToNumber, ReadsEveryGrammarCase) {
    for (const auto& [text, value] : kTextCases) {
        SCOPED_TRACE(text);
        EXPECT_SAME_DOUBLE(value, TextToNumber(text));
    }
}

TEST(TextToNumber, ReadsAMillionDigitsAndGrowsToInfinityOrZero) {
    const std::string ones(1'000'000, '1');
    EXPECT_SAME_DOUBLE(kInf, TextToNumber(ones));
    EXPECT_SAME_DOUBLE(-0.0, TextToNumber("-0." + std::string(999'999, '0') + "1"));
    // A million significant digits that still make an ordinary value.
    std::string pi = "3.";
    for (int i = 0; i < 1'000'000; ++i) pi.push_back(static_cast<char>('0' + (i * 7 + 1) % 10));
    EXPECT_NEAR(TextToNumber(pi), 3.1, 0.1);
    // Full-width digits take the copying path.
    std::string wide;
    for (int i = 0; i < 500'000; ++i) wide += FW_1;
    EXPECT_SAME_DOUBLE(kInf, TextToNumber(wide));
}

TEST(TruncateToInteger, CutsTowardZeroAndWrapsLikeA64BitInteger) {
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {
        {12.9, 12},
        {-12.9, -12},
        {-0.5, 0},
        {2147483647.9, 2147483647},
        {2147483648.0, -2147483647 - 1},
        {3000000000.0, -1294967296},
        {4294967296.0, 0},
        {4294967296.7, 0},
        {-4294967297.0, -1},
        {9223372036854774784.0, -1024},  // the largest double below 2^63, low 32 bits
        {-9223372036854775808.0, 0},     // -2^63 itself
        {1e19, 0},
        {-1e19, 0},
        {kInf, 0},
        {-kInf, 0},
        {std::nan(""), 0},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(TruncateToInteger(value), expected);
    }
    std::fesetround(FE_UPWARD);
    const std::int32_t underUpwardRounding = TruncateToInteger(-12.9);
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(underUpwardRounding, -12);
}

TEST(TextOperations, CompareLengthJoinAndBytes) {
    EXPECT_EQ(CompareText("", ""), 0);
    EXPECT_EQ(CompareText("", " "), -1);
    EXPECT_EQ(CompareText(" ", ""), 1);
    EXPECT_EQ(CompareText("ab", "abc"), -1);
    EXPECT_EQ(CompareText("abd", "abc"), 1);
    EXPECT_EQ(CompareText("\x80", "\x7F"), 1);  // bytes compare unsigned
    EXPECT_EQ(CompareText(ZHONG, "z"), 1);

    EXPECT_EQ(TextLength(""), 0u);
    EXPECT_EQ(TextLength(ZHONG "a"), 3u);

    EXPECT_EQ(JoinTexts({"", "", ""}), "");
    EXPECT_EQ(JoinTexts({"O2017\r\n", "", "G00", ZHONG}), "O2017\r\nG00" ZHONG);

    const auto bytes = TextToBytes("A\r\n" ZHONG);
    ASSERT_EQ(bytes.size(), 5u);
    EXPECT_EQ(bytes[0], std::byte{'A'});
    EXPECT_EQ(bytes[3], std::byte{0xD6});
    EXPECT_EQ(bytes[4], std::byte{0xD0});
    EXPECT_TRUE(TextToBytes("").empty());
}

}  // namespace
}  // namespace gcode
