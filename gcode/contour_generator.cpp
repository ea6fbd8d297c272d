#include "gcode/contour_generator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "gcode/wide_integer.h"

namespace gcode {

namespace {

// Rounds a non-zero value to `bits` significant bits, to nearest with ties to even; `inexact`
// says whether something non-zero lies below its last bit. Adds the bits dropped to `scale`.
std::uint64_t RoundSignificand(u128 value, bool inexact, int bits, int& scale) {
    const int drop = BitWidth(value) - bits;
    if (drop <= 0) return static_cast<std::uint64_t>(value);
    const u128 kept = value >> drop;
    const u128 rest = value - (kept << drop);
    const u128 half = u128{1} << (drop - 1);
    const bool up = rest > half || (rest == half && (inexact || (kept & 1) != 0));
    u128 rounded = kept + (up ? 1 : 0);
    scale += drop;
    if (BitWidth(rounded) > bits) {  // carried into a new bit: the result is a power of two
        rounded >>= 1;
        ++scale;
    }
    return static_cast<std::uint64_t>(rounded);
}

}  // namespace

double ExtendedQuotient(std::int32_t depth, float step) {
    if (std::isnan(step)) return std::numeric_limits<double>::quiet_NaN();
    const double sign = (depth < 0) != std::signbit(step) ? -1.0 : 1.0;
    if (step == 0.0f) {
        return depth == 0 ? std::numeric_limits<double>::quiet_NaN()
                          : sign * std::numeric_limits<double>::infinity();
    }
    if (std::isinf(step) || depth == 0) return sign * 0.0;

    const auto bits = std::bit_cast<std::uint32_t>(step);
    const std::uint32_t biased = (bits >> 23) & 0xFF;
    const std::uint32_t fraction = bits & 0x7FFFFF;
    const std::uint32_t significand = biased == 0 ? fraction : fraction | 0x800000;
    const int exponent = static_cast<int>(biased == 0 ? 1 : biased) - 150;  // step = sig * 2^exp

    // |depth| * 2^96 / significand has at least 72 bits: enough for 64 and a rounding bit.
    const u128 dividend = u128{static_cast<std::uint32_t>(std::abs(std::int64_t{depth}))} << 96;
    const u128 quotient = dividend / significand;
    const bool inexact = dividend % significand != 0;
    int scale = -96 - exponent;
    const std::uint64_t extended = RoundSignificand(quotient, inexact, 64, scale);
    const std::uint64_t rounded = RoundSignificand(extended, false, 53, scale);
    return sign * std::ldexp(static_cast<double>(rounded), scale);
}

namespace {

std::int32_t Millimetres(const Text& text) {
    return TruncateToInteger(TextToNumber(text));
}

// Everything of a pass after its Z word; the same for every pass of one generation.
struct PassShape {
    Text returnLine;  // the rapid move to the start point, before the first pass
    Text afterDepth;
};

// The tool centre runs clockwise around the rectangle 0..L+D by 0..W+D, starting and ending
// at the start point.
PassShape SquareCorners(double right, double top) {
    const Text x = NumberToText(right);
    const Text y = NumberToText(top);
    // clang-format off
    return {Text("G00 X0 Y0\r\n"),
            JoinTexts({"\r\nG01 X0 Y", y,
                       "\r\nG01 X", x, " Y", y,
                       "\r\nG01 X", x, " Y0",
                       "\r\nG01 X0 Y0",
                       "\r\n\r\n"})};
    // clang-format on
}

// Each corner is a clockwise quarter arc of radius R = r + t; the straight moves end where the
// arcs begin, R short of each corner. The start point is X0 YR, the end of the last arc.
PassShape CornerArcs(double right, double top, double arcRadius) {
    const Text x = NumberToText(right);
    const Text y = NumberToText(top);
    const Text r = NumberToText(arcRadius);
    const Text xArc = NumberToText(right - arcRadius);
    const Text yArc = NumberToText(top - arcRadius);
    // One G-code line of the pass per source line.
    // clang-format off
    return {JoinTexts({"G00 X0 Y", r, "\r\n"}),
            JoinTexts({"\r\nG01 X0 Y", yArc,
                       "\r\nG02 X", r, " Y", y, " R", r,
                       "\r\nG01 X", xArc, " Y", y,
                       "\r\nG02 X", x, " Y", yArc, " R", r,
                       "\r\nG01 X", x, " Y", r,
                       "\r\nG02 X", xArc, " Y0 R", r,
                       "\r\nG01 X", r, " Y0",
                       "\r\nG02 X0 Y", r, " R", r,
                       "\r\n\r\n"})};
    // clang-format on
}

}  // namespace

GenerationOutcome GenerateContourProgram(const ContourParameters& p) {
    const std::pair<ParameterBox, const Text*> required[] = {
        {ParameterBox::Length, &p.length},
        {ParameterBox::Width, &p.width},
        {ParameterBox::Depth, &p.depth},
        {ParameterBox::StepDown, &p.stepDown},
        {ParameterBox::ToolDiameter, &p.toolDiameter},
    };
    for (const auto& [box, text] : required) {
        if (CompareText(*text, "") == 0) return MissingInput{box};
    }

    const std::int32_t length = Millimetres(p.length);
    const std::int32_t width = Millimetres(p.width);
    const std::int32_t depth = Millimetres(p.depth);
    const auto step = static_cast<float>(TextToNumber(p.stepDown));
    const std::int32_t passCount = TruncateToInteger(ExtendedQuotient(depth, step));
    if (passCount > kMaxPassCount) return TooManyPasses{passCount};

    const std::int32_t toolDiameter = Millimetres(p.toolDiameter);
    const std::int32_t toolRadius = TruncateToInteger(TextToNumber(p.toolDiameter) / 2.0);
    const std::int32_t cornerRadius = Millimetres(p.cornerRadius);

    // Sums of 32-bit integers are exact in a double and print as whole numbers.
    const double right = static_cast<double>(length) + static_cast<double>(toolDiameter);
    const double top = static_cast<double>(width) + static_cast<double>(toolDiameter);
    const PassShape shape =
        cornerRadius == 0
            ? SquareCorners(right, top)
            : CornerArcs(right, top,
                         static_cast<double>(cornerRadius) + static_cast<double>(toolRadius));

    // The text is written in place into storage sized once for the longest depth texts, then
    // cut to what was written: no reallocation and no re-copying of what is already there.
    constexpr std::string_view kDepthWord = "G01 Z";
    const std::int32_t passes = std::max(passCount, 0);  // a count of 0 or less mills nothing
    const std::size_t passRoom = kDepthWord.size() + kMaxNumberTextLength + shape.afterDepth.size();
    Text program(kProgramHeader.size() + shape.returnLine.size() +
                     static_cast<std::size_t>(passes) * passRoom + kProgramFooter.size() +
                     kNumberTextRoom,
                 '\0');
    char* out = program.data();
    const auto put = [&out](std::string_view piece) {
        std::memcpy(out, piece.data(), piece.size());
        out += piece.size();
    };
    put(kProgramHeader);
    put(shape.returnLine);
    for (std::int32_t pass = 1; pass <= passes; ++pass) {
        // The Z word holds the negated depth: "Z-0.5" for a depth of 0.5, and a negative depth
        // still gives a well-formed word.
        const double depthOfPass = static_cast<double>(step) * pass;
        put(kDepthWord);
        out = WriteNumberText(-depthOfPass, out);
        put(shape.afterDepth);
    }
    put(kProgramFooter);
    program.resize(static_cast<std::size_t>(out - program.data()));
    return ContourProgram{std::move(program), passes};
}

}  // namespace gcode
