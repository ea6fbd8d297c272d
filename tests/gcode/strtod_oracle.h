// The value of a typed text by the C library: fold the full-width forms, let d and D stand
// for e, cut the text where a character appears that the number grammar never uses (so that
// strtod sees no "inf", "nan" or "0x"), and read the rest with strtod in the "C" locale.
// Shared by the randomized test and the fuzz target.
#pragma once

#include <locale.h>
#include <stdlib.h>

#include <string>
#include <string_view>

inline double StrtodOracle(std::string_view text) {
    std::string folded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            folded.push_back(static_cast<char>(lead));
            continue;
        }
        if (i + 1 == text.size()) break;  // a lone lead byte at the end is dropped
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA1 && trail == 0xA1) {
            folded.push_back(' ');
        } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded.push_back(static_cast<char>(trail - 0x80));
        } else {
            folded.push_back(static_cast<char>(lead));
            folded.push_back(static_cast<char>(trail));
        }
    }
    std::string number;
    for (const char c : folded) {
        if (c == 'd' || c == 'D') {
            number.push_back('e');
        } else if (std::string_view(" \t\n\v\f\r+-.0123456789eE").find(c) !=
                   std::string_view::npos) {
            number.push_back(c);
        } else {
            break;
        }
    }
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(number.c_str(), nullptr, cLocale);
}
