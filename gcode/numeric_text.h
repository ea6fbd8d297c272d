// Text and the conversions between texts and numbers that fix every character of a part
// program. All functions are pure: no state, no locale, no dependence on the caller's
// floating-point mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace gcode {

// A byte string in the Simplified Chinese code page (GB18030, which agrees byte for byte with
// code page 936 wherever that has a character). ASCII is one byte; a Chinese or full-width
// character is two, the first of them 0x80 or above. It never holds a zero byte, and an
// absent text is simply the empty one.
using Text = std::string;

// -1, 0 or 1, comparing byte by byte as unsigned values; a prefix is smaller.
int CompareText(std::string_view a, std::string_view b);

// The number of bytes.
std::size_t TextLength(std::string_view text);

// The pieces one after the other, built in a single allocation.
Text JoinTexts(std::initializer_list<std::string_view> pieces);

// The bytes of the text, nothing added and nothing converted.
std::vector<std::byte> TextToBytes(std::string_view text);

// The number a typed text starts with: full-width forms fold to ASCII, leading blanks are
// skipped, the longest number prefix counts and the rest is ignored. No number reads as +0;
// a value beyond the double range becomes an infinity of its sign, one below it a zero of its
// sign.
double TextToNumber(std::string_view text);

// The longest text NumberToText writes.
inline constexpr std::size_t kMaxNumberTextLength = 20;

// The value with 13 significant digits: the exact value rounded half up to 17 digits and that
// rounded half up to 13, trailing zeros removed, plain form for decimal exponents -4..12 and
// otherwise d.ddde±NNN. Infinities and not-a-number have fixed texts.
Text NumberToText(double value);

// The room WriteNumberText needs: it stores its pieces with fixed sizes, which is faster than
// exact ones, and so may write past the end of the text it returns.
inline constexpr std::size_t kNumberTextRoom = 32;

// The same text written to `out`, which must have room for kNumberTextRoom bytes; returns the
// end of the text. Lets a caller build a long text without a temporary per number.
char* WriteNumberText(double value, char* out);

// Rounds toward zero to 64 bits (not-a-number, infinities and magnitudes of 2^63 or more give
// -2^63) and keeps the low 32 bits, so large values wrap.
std::int32_t TruncateToInteger(double value);

}  // namespace gcode
