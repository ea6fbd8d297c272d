// NumberToText against a slow, obviously correct oracle: the full decimal expansion of the
// double by big-integer arithmetic, rounded half up as digit strings, on a million seeded
// values from every part of the range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gcode/numeric_text.h"

namespace {

// A non-negative big integer in base 10^9, least significant limb first.
class BigDecimal {
  public:
    explicit BigDecimal(std::uint64_t value) {
        do {
            limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    // base^exponent, in factors that stay below 2^32.
    void MultiplyByPower(std::uint32_t base, int exponent) {
        while (exponent > 0) {
            std::uint32_t factor = 1;
            for (; exponent > 0 && std::uint64_t{factor} * base <= 0xFFFFFFFF; --exponent)
                factor *= base;
            MultiplyBy(factor);
        }
    }

    std::string Digits() const {
        std::string digits = std::to_string(limbs_.back());
        for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
            const std::string limb = std::to_string(*it);
            digits += std::string(9 - limb.size(), '0') + limb;
        }
        return digits;
    }

  private:
    static constexpr std::uint32_t kBase = 1'000'000'000;
    std::vector<std::uint32_t> limbs_;
};

// Rounds a digit string half up to `count` digits; a carry out of the first digit gives
// "1000…" and raises the exponent.
void RoundHalfUp(std::string& digits, int& exponent, std::size_t count) {
    digits.resize(std::max(digits.size(), count + 1), '0');
    const bool up = digits[count] >= '5';
    digits.resize(count);
    if (!up) return;
    for (std::size_t i = count; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits = "1" + std::string(count - 1, '0');
    ++exponent;
}

std::string OracleText(double value) {
    if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
    if (value == 0) return "0";
    const std::string sign = value < 0 ? "-" : "";
    int binaryExponent;
    const double fraction = std::frexp(std::fabs(value), &binaryExponent);
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    binaryExponent -= 53;

    // value = significand * 2^e = significand * 5^-e / 10^-e for negative e.
    BigDecimal exact(significand);
    int pointShift = 0;
    if (binaryExponent >= 0) {
        exact.MultiplyByPower(2, binaryExponent);
    } else {
        exact.MultiplyByPower(5, -binaryExponent);
        pointShift = -binaryExponent;
    }
    std::string digits = exact.Digits();
    int exponent = static_cast<int>(digits.size()) - 1 - pointShift;

    RoundHalfUp(digits, exponent, 17);
    RoundHalfUp(digits, exponent, 13);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (exponent >= 13 || exponent < -4) {
        const std::string mantissa =
            digits.size() > 1 ? digits.substr(0, 1) + "." + digits.substr(1) : digits;
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "e%c%03d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return sign + mantissa + exponentText;
    }
    if (exponent < 0) return sign + "0." + std::string(-exponent - 1, '0') + digits;
    const auto whole = static_cast<std::size_t>(exponent + 1);
    digits.resize(std::max(digits.size(), whole), '0');
    if (digits.size() == whole) return sign + digits;
    return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}

TEST(NumberToTextOracle, OracleAgreesWithHandCheckedValues) {
    EXPECT_EQ(OracleText(0.1 + 0.2), "0.3");
    EXPECT_EQ(OracleText(static_cast<double>(0.173f) * 339), "58.6469976157");
    EXPECT_EQ(OracleText(99999999999999.0), "1e+014");
    EXPECT_EQ(OracleText(std::numeric_limits<double>::denorm_min()), "4.940656458412e-324");
    EXPECT_EQ(OracleText(-1234567890122.5), "-1234567890123");
    EXPECT_EQ(OracleText(0.000099999999999999), "0.0001");
}

// A value m * 2^-k whose exact expansion m * 5^k has exactly `digits` digits, so that the
// last of them (a 5) sits right behind the rounding position.
double ExactTie(std::mt19937_64& random, int digits) {
    for (;;) {
        const int k = std::uniform_int_distribution<int>(1, 22)(random);
        const double low = std::pow(10.0, digits - 1) / std::pow(5.0, k);
        const double high = std::pow(10.0, digits) / std::pow(5.0, k);
        if (high < 1 || low > 9e15) continue;
        auto m = static_cast<std::uint64_t>(std::uniform_real_distribution<double>(
            std::max(low, 1.0), std::min(high, 9e15))(random));
        m |= 1;
        return std::ldexp(static_cast<double>(m), -k);
    }
}

double NextValue(std::mt19937_64& random, int kind) {
    switch (kind) {
        case 0: {  // any bit pattern: subnormals, huge and tiny exponents (no not-a-number)
            double v;
            do {
                const std::uint64_t bits = random();
                std::memcpy(&v, &bits, sizeof v);
            } while (std::isnan(v));
            return v;
        }
        case 1: {  // subnormals with few significant bits, where a digit is worth the most
            const int bits = std::uniform_int_distribution<int>(1, 52)(random);
            return std::ldexp(static_cast<double>(random() >> (64 - bits)) + 1.0, -1074);
        }
        case 2:  // whole numbers of every size
            return static_cast<double>(static_cast<std::int64_t>(random()) >>
                                       std::uniform_int_distribution<int>(0, 62)(random));
        case 3: {  // a typed step as a float times a pass number, as the generator forms them
            const float step =
                static_cast<float>(std::uniform_int_distribution<int>(1, 20000)(random)) /
                static_cast<float>(std::uniform_int_distribution<int>(1, 1000)(random));
            return static_cast<double>(step) * std::uniform_int_distribution<int>(1, 10000)(random);
        }
        case 4: {  // around 10^13 and 10^-4, both signs, a few ulps and a little wider
            const double edge = random() % 2 ? 1e13 : 1e-4;
            double v = edge * std::uniform_real_distribution<double>(0.9999, 1.0001)(random);
            if (random() % 2) {
                v = edge;
                for (int step = static_cast<int>(random() % 8); step > 0; --step)
                    v = std::nextafter(v, random() % 2 ? 0.0 : 1e300);
            }
            return random() % 2 ? -v : v;
        }
        case 5:  // exactly halfway at the 13th digit
            return ExactTie(random, 14);
        case 6: {  // the double nearest to a decimal halfway at the 13th digit, just either side
            const auto prefix = std::uniform_int_distribution<std::uint64_t>(
                1'000'000'000'000, 9'999'999'999'999)(random);
            const int exponent = std::uniform_int_distribution<int>(-320, 300)(random);
            const std::string text = std::to_string(prefix) + "5e" + std::to_string(exponent - 13);
            return std::strtod(text.c_str(), nullptr);
        }
        default:  // exactly halfway at the 17th digit
            return ExactTie(random, 18);
    }
}

TEST(NumberToTextOracle, AgreesOnAMillionSeededValues) {
    std::mt19937_64 random(20261211);
    int mismatches = 0;
    for (int i = 0; i < 1'000'000 && mismatches < 10; ++i) {
        const double value = NextValue(random, i % 8);
        const std::string expected = OracleText(value);
        const std::string actual = gcode::NumberToText(value);
        if (actual != expected) {
            ++mismatches;
            ADD_FAILURE() << "value " << std::hexfloat << value << ": got " << actual
                          << ", expected " << expected;
        }
        ASSERT_LE(actual.size(), gcode::kMaxNumberTextLength);
    }
}

}  // namespace
