// The part program that mills a closed rectangular contour, with square corners or corner
// arcs, in depth passes: a pure function of the six typed parameters.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

#include "gcode/numeric_text.h"

namespace gcode {

// Opens every program: program number, work system and absolute coordinates, spindle on, feed,
// safe height, start point, then an empty line.
inline constexpr std::string_view kProgramHeader =
    "O2017\r\nG00 G54 G90 X0 Y0\r\nM03 S9000 F200\r\nG00 Z5\r\nG00 X0 Y0\r\n\r\n";
// Closes every program: up, home, clear, spindle off, end; no line break after the "%".
inline constexpr std::string_view kProgramFooter =
    "G00 Z5\r\nG00 X0 Y0\r\nG00 Z15\r\nM05\r\nM30\r\n%";

// More passes than this are refused before any text is built: a tiny step against a large
// depth would otherwise run for minutes and fill memory.
inline constexpr std::int32_t kMaxPassCount = 10'000;

// The six parameter boxes, top to bottom.
enum class ParameterBox { Length, Width, Depth, StepDown, ToolDiameter, CornerRadius };

// The texts as typed, in millimetres.
struct ContourParameters {
    Text length;
    Text width;
    Text depth;
    Text stepDown;
    Text toolDiameter;
    Text cornerRadius;
};

// The first of length, width, depth, step-down and tool diameter that is empty. (The corner
// radius may be empty: it then reads as 0, square corners.)
struct MissingInput {
    ParameterBox box;
};

struct TooManyPasses {
    std::int32_t passCount;
};

struct ContourProgram {
    Text text;
    std::int32_t passCount;  // the passes in the text, 0 when the quotient gave none
};

using GenerationOutcome = std::variant<MissingInput, TooManyPasses, ContourProgram>;

GenerationOutcome GenerateContourProgram(const ContourParameters& parameters);

// depth / step with both widened exactly, the quotient rounded to a 64-bit significand (to
// nearest, ties to even) and that rounded to a double. Computed with integers, so it is the
// same on every machine and in every floating-point mode.
double ExtendedQuotient(std::int32_t depth, float step);

}  // namespace gcode
