#include "gcode/numeric_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "gcode/wide_integer.h"

namespace gcode {

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    const int bytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    if (bytes != 0) return bytes < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::size_t TextLength(std::string_view text) {
    return text.size();
}

Text JoinTexts(std::initializer_list<std::string_view> pieces) {
    std::size_t total = 0;
    for (std::string_view piece : pieces) total += piece.size();
    Text joined;
    joined.reserve(total);
    for (std::string_view piece : pieces) joined.append(piece);
    return joined;
}

std::vector<std::byte> TextToBytes(std::string_view text) {
    const auto* first = reinterpret_cast<const std::byte*>(text.data());
    return std::vector<std::byte>(first, first + text.size());
}

// ---------------------------------------------------------------------------------------------
// TextToNumber

namespace {

constexpr int kEndOfNumber = -1;

// The character at `pos` after full-width folding, and how many bytes it takes. A lead byte
// (0x80 or above) pairs with the byte after it: the ideographic space folds to a blank and
// A3A1..A3FE to the ASCII character 0x21..0x7E; every other pair, and a lone lead byte at
// the end, can never be part of a number, so it ends the scan.
struct FoldedChar {
    int ch;
    std::size_t width;
};

FoldedChar FoldAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return {kEndOfNumber, 0};
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    if (pos + 1 >= text.size()) return {kEndOfNumber, 0};
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    if (lead == 0xA1 && trail == 0xA1) return {' ', 2};
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return {trail - 0x80, 2};
    return {kEndOfNumber, 0};
}

bool IsBlank(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
bool IsExponentLetter(int c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// Where the number of a text lies, as the scanner found it.
struct NumberSpan {
    bool found = false;
    bool negative = false;
    std::size_t begin = 0;   // first byte after the sign
    std::size_t end = 0;     // one past the last byte of the number
    bool plainAscii = true;  // no folded pair and no d/D exponent letter inside
    // Decimal exponent of the first non-zero mantissa digit plus the written exponent,
    // saturated; decides between zero and infinity when the value leaves the double range.
    std::int64_t magnitude = 0;
};

NumberSpan ScanNumber(std::string_view text) {
    NumberSpan span;
    std::size_t pos = 0;
    FoldedChar c = FoldAt(text, pos);
    while (IsBlank(c.ch)) {
        pos += c.width;
        c = FoldAt(text, pos);
    }
    if (c.ch == '+' || c.ch == '-') {
        span.negative = c.ch == '-';
        pos += c.width;
        c = FoldAt(text, pos);
    }
    span.begin = pos;

    std::size_t digits = 0;
    std::int64_t integerDigits = 0;  // significant digits before the point
    std::int64_t fractionZeros = 0;  // zeros after the point before the first non-zero digit
    bool nonZeroSeen = false;
    bool inFraction = false;
    constexpr std::int64_t kSaturation = std::int64_t{1} << 40;
    for (;; pos += c.width, c = FoldAt(text, pos)) {
        if (IsDigit(c.ch)) {
            ++digits;
            if (c.ch != '0') nonZeroSeen = true;
            if (!inFraction && nonZeroSeen)
                integerDigits = std::min(integerDigits + 1, kSaturation);
            if (inFraction && !nonZeroSeen)
                fractionZeros = std::min(fractionZeros + 1, kSaturation);
        } else if (c.ch == '.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
        if (c.width == 2) span.plainAscii = false;
    }
    if (digits == 0) return span;
    span.found = true;
    span.end = pos;
    span.magnitude = integerDigits > 0 ? integerDigits - 1 : -fractionZeros - 1;

    if (IsExponentLetter(c.ch)) {
        const bool letterIsD = c.ch == 'd' || c.ch == 'D';
        bool folded = c.width == 2;
        std::size_t p = pos + c.width;
        FoldedChar e = FoldAt(text, p);
        bool negativeExponent = false;
        if (e.ch == '+' || e.ch == '-') {
            negativeExponent = e.ch == '-';
            folded = folded || e.width == 2;
            p += e.width;
            e = FoldAt(text, p);
        }
        std::int64_t exponent = 0;
        bool exponentDigits = false;
        for (; IsDigit(e.ch); p += e.width, e = FoldAt(text, p)) {
            exponentDigits = true;
            folded = folded || e.width == 2;
            exponent = std::min(exponent * 10 + (e.ch - '0'), kSaturation);
        }
        if (exponentDigits) {
            span.end = p;
            span.plainAscii = span.plainAscii && !folded && !letterIsD;
            span.magnitude += negativeExponent ? -exponent : exponent;
        }
    }
    return span;
}

// The unsigned number of the span as plain ASCII that std::from_chars reads: full-width forms
// folded and the exponent letters d and D written as e.
std::string FoldedNumber(std::string_view text, const NumberSpan& span) {
    std::string ascii;
    ascii.reserve(span.end - span.begin);
    for (std::size_t pos = span.begin; pos < span.end;) {
        const FoldedChar c = FoldAt(text, pos);
        ascii.push_back(IsExponentLetter(c.ch) ? 'e' : static_cast<char>(c.ch));
        pos += c.width;
    }
    return ascii;
}

// The common case of a plain ASCII number, read by std::from_chars alone: the scan is only
// needed when from_chars stops in front of something that may still continue the number under
// the wider grammar (a lead byte that may fold to a digit or sign, an exponent letter whose
// digits may be full-width, the letters d and D), or when the value leaves the double range.
bool ReadPlainNumber(std::string_view text, double& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && IsBlank(static_cast<unsigned char>(*p))) ++p;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    if (p == end || !(IsDigit(static_cast<unsigned char>(*p)) || *p == '.')) return false;
    const auto result = std::from_chars(p, end, value);
    if (result.ec != std::errc{}) return false;
    if (result.ptr != end) {
        const auto next = static_cast<unsigned char>(*result.ptr);
        if (next >= 0x80 || IsExponentLetter(next)) return false;
    }
    if (negative) value = -value;
    return true;
}

}  // namespace

double TextToNumber(std::string_view text) {
    double plain;
    if (ReadPlainNumber(text, plain)) return plain;

    const NumberSpan span = ScanNumber(text);
    if (!span.found) return 0.0;

    double magnitude = 0.0;
    std::from_chars_result result;
    if (span.plainAscii) {
        const char* first = text.data() + span.begin;
        result = std::from_chars(first, text.data() + span.end, magnitude);
    } else {
        const std::string ascii = FoldedNumber(text, span);
        result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), magnitude);
    }
    // from_chars reports a value that rounds to zero or beyond the largest double as out of
    // range and leaves the result alone; the decimal magnitude tells which of the two it was.
    if (result.ec == std::errc::result_out_of_range) {
        magnitude = span.magnitude >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return span.negative ? -magnitude : magnitude;
}

// ---------------------------------------------------------------------------------------------
// NumberToText

namespace {

template <std::size_t N>
constexpr std::array<u128, N> PowersOf(unsigned base) {
    std::array<u128, N> powers{};
    u128 power = 1;
    for (auto& p : powers) {
        p = power;
        power *= base;
    }
    return powers;
}

constexpr auto kPow10 = PowersOf<39>(10);  // 10^38 is the largest below 2^128
constexpr auto kPow5 = PowersOf<56>(5);    // 5^55 is the largest below 2^128

constexpr std::uint64_t k10To16 = 10'000'000'000'000'000;
constexpr std::uint64_t k10To17 = 100'000'000'000'000'000;

// For v >= 1: the bit width gives the digit count to within one, the table settles it.
int DecimalDigitCount(u128 v) {
    const int guess = (BitWidth(v) * 1233) >> 12;  // 1233 / 4096 is just above log10(2)
    return guess + (v >= kPow10[static_cast<std::size_t>(guess)] ? 1 : 0);
}

// A positive value as 17 decimal digits d1 d2 … d17 (d1 not 0) and the decimal exponent of d1.
struct Digits17 {
    char digits[32];  // 17 digits and room to copy 16 bytes from any of the first 13
    int exponent;
    int length;  // the digits from here on are zeros; 17 when not known
};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// `count` decimal digits of `value` (leading zeros included), two at a time from the end.
void WriteDigits(std::uint64_t value, int count, char* out) {
    for (; count >= 2; count -= 2) {
        std::memcpy(out + count - 2, kDigitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (count == 1) out[0] = static_cast<char>('0' + value);
}

// The exact value m * 2^e as a decimal integer N * 10^-k, when N fits in 128 bits: that is
// every value whose expansion ends early, which covers whole numbers, the sums the generator
// forms and float steps times a pass number. Rounds half up to 17 digits.
bool ExactDigits17(std::uint64_t m, int e, Digits17& out) {
    const int trailingZeros = std::countr_zero(m);
    m >>= trailingZeros;
    e += trailingZeros;
    const int width = BitWidth(m);
    u128 n;
    int k;
    if (e >= 0) {
        if (width + e > 128) return false;
        n = u128{m} << e;
        k = 0;
    } else {
        k = -e;
        if (k >= static_cast<int>(kPow5.size())) return false;
        const u128 pow5 = kPow5[static_cast<std::size_t>(k)];
        if (width + BitWidth(pow5) > 128) return false;
        n = u128{m} * pow5;  // m * 2^-k == m * 5^k * 10^-k
    }
    const int count = DecimalDigitCount(n);
    out.exponent = count - 1 - k;
    if (count <= 17) {  // no rounding: the digits of n, then zeros
        // n ends in a zero digit only when it is a whole number (k is 0); drop those zeros.
        auto exact = static_cast<std::uint64_t>(n);
        int length = count;
        for (; exact % 10 == 0; exact /= 10) --length;
        std::memset(out.digits, '0', sizeof out.digits);
        WriteDigits(exact, length, out.digits);
        out.length = length;
        return true;
    }
    out.length = 17;
    const u128 unit = kPow10[static_cast<std::size_t>(count - 17)];
    auto digits = static_cast<std::uint64_t>(n / unit);
    const u128 rest = n % unit;
    if (rest >= unit - rest) ++digits;  // the rest is half a unit or more
    if (digits == k10To17) {
        digits = k10To16;
        ++out.exponent;
    }
    // Two independent halves shorten the chain of divisions.
    WriteDigits(digits / 100'000'000, 9, out.digits);
    WriteDigits(digits % 100'000'000, 8, out.digits + 9);
    return true;
}

// The digit strings below are also read and written eight bytes at a time.
static_assert(std::endian::native == std::endian::little);
constexpr std::uint64_t kAsciiZeros = 0x3030303030303030;

// Second rounding, half up, looking only at the 17 digits: the 14th decides. Returns how many
// of the 13 digits remain once trailing zeros are dropped (at least one).
std::size_t RoundTo13Digits(char* digits, int& exponent) {
    const bool up = digits[13] >= '5';
    if (up && digits[12] == '9') {
        int i = 12;
        for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {  // 9.999… carried out of the first digit
            digits[0] = '1';
            ++exponent;
        }
    } else {
        digits[12] = static_cast<char>(digits[12] + up);  // no branch on the common path
    }
    std::size_t significant = 13;
    while (significant > 1 && digits[significant - 1] == '0') --significant;
    return significant;
}

// Reads what std::to_chars writes in scientific form into `out`: "d" or "d.ddd…" (up to 17
// digits), then e±XX or e±XXX. Missing digits become zeros.
void ParseScientific(const char* text, const char* end, Digits17& out) {
    const bool threeExponentDigits = end[-5] == 'e';
    const char* e = end - (threeExponentDigits ? 5 : 4);
    const int twoDigits = (e[2] - '0') * 10 + (e[3] - '0');
    const int exponent = threeExponentDigits ? twoDigits * 10 + (e[4] - '0') : twoDigits;
    out.exponent = e[1] == '-' ? -exponent : exponent;
    out.length = 17;
    // The buffer is 32 bytes, so the 16 bytes after the point can always be read; the bytes
    // beyond the last digit are masked to zeros, eight at a time.
    const auto fractionDigits = static_cast<unsigned>(e == text + 1 ? 0 : e - text - 2);
    out.digits[0] = text[0];
    for (unsigned half = 0; half < 2; ++half) {
        const unsigned kept = std::min(std::max(fractionDigits, 8 * half) - 8 * half, 8u);
        const std::uint64_t keep =
            kept == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * kept)) - 1;
        std::uint64_t word;
        std::memcpy(&word, text + 2 + 8 * half, 8);
        word = (word & keep) | (kAsciiZeros & ~keep);
        std::memcpy(out.digits + 1 + 8 * half, &word, 8);
    }
}

// Every other value. For a normal double the shortest digits S that read back as v (at most
// 17) lie within half a unit in its last place, which is less than 12 units of the 17th digit.
// So the value rounded to 13 digits is S rounded to 13 digits, unless S's 14th to 17th digits
// lie within 12 of 5000; only then, about once in fifty, are the correctly rounded 17 digits
// fetched. Their ties go to even, but a value exactly halfway at the 17th digit has an
// 18-digit expansion, which ExactDigits17 always handles, so here nearest and half up agree.
// A subnormal has fewer significant bits, so it always takes the 17 digits.
void RoundedDigits17(double v, bool subnormal, Digits17& out) {
    char buffer[32];
    if (!subnormal) {
        const auto shortest =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific);
        ParseScientific(buffer, shortest.ptr, out);
        const char* d = out.digits;
        const bool nearHalf = (d[13] == '4' && d[14] == '9') || (d[13] == '5' && d[14] == '0');
        if (!nearHalf) return;
    }
    const auto exact =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 16);
    ParseScientific(buffer, exact.ptr, out);
}

char* WriteFixed(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

}  // namespace

char* WriteNumberText(double value, char* out) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

    if (biasedExponent == 0x7FF) {
        if (fraction == 0) return WriteFixed(out, negative ? "-1.#INF" : "1.#INF");
        // The not-a-number that invalid operations produce: sign set, only the quiet bit.
        if (negative && fraction == std::uint64_t{1} << 51) return WriteFixed(out, "-1.#IND");
        return WriteFixed(out, negative ? "-1.#QNAN" : "1.#QNAN");
    }
    if (biasedExponent == 0 && fraction == 0) return WriteFixed(out, "0");

    const std::uint64_t significand =
        biasedExponent == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int binaryExponent = (biasedExponent == 0 ? 1 : biasedExponent) - 1075;
    Digits17 d{};
    if (!ExactDigits17(significand, binaryExponent, d)) {
        RoundedDigits17(std::abs(value), biasedExponent == 0, d);
    }

    char* digits = d.digits;
    int exponent = d.exponent;
    const std::size_t significant =
        d.length <= 13 ? static_cast<std::size_t>(d.length) : RoundTo13Digits(digits, exponent);

    // Every piece is stored with a fixed size, past its end where need be (the caller gives
    // kNumberTextRoom bytes), and the end pointer then says how much of it is text.
    if (negative) *out++ = '-';
    if (exponent >= 0 && exponent <= 12) {  // ddd or ddd.ddd
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        std::memcpy(out, digits, 16);
        if (significant <= whole) return out + whole;
        out[whole] = '.';
        std::memcpy(out + whole + 1, digits + whole, 16);
        return out + significant + 1;
    }
    if (exponent < 0 && exponent >= -4) {  // 0.ddd to 0.000ddd
        const auto zeros = static_cast<std::size_t>(-exponent - 1);
        std::memcpy(out, "0.000", 5);
        std::memcpy(out + 2 + zeros, digits, 16);
        return out + 2 + zeros + significant;
    }
    // d.dddddddddddde±NNN
    out[0] = digits[0];
    out[1] = '.';
    std::memcpy(out + 2, digits + 1, 12);
    out += significant > 1 ? significant + 1 : 1;
    const auto magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
    out[0] = 'e';
    out[1] = exponent < 0 ? '-' : '+';
    WriteDigits(magnitude, 3, out + 2);
    return out + 5;
}

Text NumberToText(double value) {
    char buffer[kNumberTextRoom];
    return Text(buffer, WriteNumberText(value, buffer));
}

// ---------------------------------------------------------------------------------------------
// TruncateToInteger

std::int32_t TruncateToInteger(double value) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    // The comparisons are false for not-a-number, which therefore takes the -2^63 pattern too.
    const std::int64_t wide = value >= -kTwoTo63 && value < kTwoTo63
                                  ? static_cast<std::int64_t>(value)
                                  : std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

}  // namespace gcode
