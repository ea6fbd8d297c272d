// libFuzzer target: TextToNumber never crashes or reads past the text, and its value is the
// value of the longest number prefix, as strtod reads it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "gcode/numeric_text.h"
#include "gcode/strtod_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double actual = gcode::TextToNumber(text);
    const double expected = StrtodOracle(text);
    if (std::memcmp(&actual, &expected, sizeof actual) != 0) std::abort();
    return 0;
}
