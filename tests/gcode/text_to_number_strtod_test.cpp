// TextToNumber against strtod on seeded random texts built from the pieces people type and
// the bytes that could trip a scanner.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gcode/numeric_text.h"
#include "gcode/strtod_oracle.h"

namespace {

const std::vector<std::string> kPieces = {
    " ",
    "\t",
    "\r\n",
    "\xA1\xA1",  // blanks, ideographic space
    "+",
    "-",
    "\xA3\xAB",
    "\xA3\xAD",  // signs, full-width signs
    "0",
    "1",
    "5",
    "9",
    "00",
    "12345678901234567890",  // digits
    "\xA3\xB0",
    "\xA3\xB5",
    "\xA3\xB9",  // full-width digits
    ".",
    "\xA3\xAE",  // points
    "e",
    "E",
    "d",
    "D",
    "\xA3\xE5",
    "\xA3\xC4",  // exponent letters
    "e308",
    "e-320",
    "e+400",
    "e99999",
    "\xA3\xE4"
    "3",  // exponents
    "\xD6\xD0",
    "\xBA\xC1\xC3\xD7",  // 中, 毫米
    "x",
    "inf",
    "nan",
    "abc",
    ",",
    "~",
    "*",
    "\xA1\xAB",  // letters and stray ASCII
    "\x81",
    "\xFF",
    "\xA3",
    "\x80\x31",  // stray and lone lead bytes
};

TEST(TextToNumberAgainstStrtod, AgreesOnSeededRandomTexts) {
    std::mt19937_64 random(1211);
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    int mismatches = 0;
    for (int i = 0; i < 300'000 && mismatches < 10; ++i) {
        std::string text;
        for (int n = std::uniform_int_distribution<int>(0, 8)(random); n > 0; --n)
            text += kPieces[piece(random)];
        const double expected = StrtodOracle(text);
        const double actual = gcode::TextToNumber(text);
        if (std::memcmp(&expected, &actual, sizeof actual) != 0) {
            ++mismatches;
            ADD_FAILURE() << "text \"" << text << "\": got " << actual << ", expected " << expected;
        }
    }
}

}  // namespace
