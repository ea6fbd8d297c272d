#include "gcode/contour_generator.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "worked_examples.h"

namespace gcode {
namespace {

ContourParameters Inputs(Text length, Text width, Text depth, Text step, Text tool, Text radius) {
    return {std::move(length), std::move(width), std::move(depth),
            std::move(step),   std::move(tool),  std::move(radius)};
}

ContourProgram Program(const ContourParameters& inputs) {
    auto outcome = GenerateContourProgram(inputs);
    const auto* program = std::get_if<ContourProgram>(&outcome);
    if (program == nullptr) {
        ADD_FAILURE() << "no program";
        return {};
    }
    return *program;
}

std::vector<std::string> Lines(const Text& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != Text::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> DepthLines(const Text& text) {
    std::vector<std::string> depths;
    for (const auto& line : Lines(text)) {
        if (line.rfind("G01 Z", 0) == 0) depths.push_back(line);
    }
    return depths;
}

// The first pass: the lines after the return line up to the empty line that ends the pass.
std::vector<std::string> FirstPass(const Text& text) {
    const auto lines = Lines(text);
    std::vector<std::string> pass;
    for (std::size_t i = 7; i < lines.size() && !lines[i].empty(); ++i) pass.push_back(lines[i]);
    return pass;
}

TEST(ContourGenerator, WorkedExamplesAreByteExact) {
    const auto square = Program(Inputs("100", "60", "1", "0.5", "6", "0"));
    EXPECT_EQ(square.text, kSquareWorkedExample);
    EXPECT_EQ(square.text.size(), 237u);
    EXPECT_EQ(square.passCount, 2);

    const auto arcs = Program(Inputs("100", "60", "1", "0.5", "6", "10"));
    EXPECT_EQ(arcs.text, kArcWorkedExample);
    EXPECT_EQ(arcs.text.size(), 374u);

    // Full-width digits and point read as their ASCII forms; fractions of millimetres are cut.
    EXPECT_EQ(Program(Inputs("\xA3\xB1\xA3\xB0\xA3\xB0", "60.9", " 1", "\xA3\xB0\xA3\xAE\xA3\xB5",
                             "6", "10mm"))
                  .text,
              kArcWorkedExample);
    // The same inputs always give the same text.
    EXPECT_EQ(Program(Inputs("100", "60", "1", "0.5", "6", "10")).text, arcs.text);
}

TEST(ContourGenerator, PassCountsAndDepthTextsFollowTheFloatStep) {
    const struct {
        const char* depth;
        const char* step;
        std::int32_t passes;
        const char* firstDepth;
        const char* lastDepth;
    } cases[] = {
        {"1", "0.5", 2, "G01 Z-0.5", "G01 Z-1"},
        {"1", "0.2", 4, "G01 Z-0.2000000029802", "G01 Z-0.8000000119209"},
        {"1", "0.1", 9, "G01 Z-0.1000000014901", "G01 Z-0.900000013411"},
        {"2.9", "0.5", 4, "G01 Z-0.5", "G01 Z-2"},
        {"3", "0.1", 29, "G01 Z-0.1000000014901", "G01 Z-2.900000043213"},
        {"1", "1.5", 0, nullptr, nullptr},
        {"1", "0", 0, nullptr, nullptr},
        {"1", " ", 0, nullptr, nullptr},
        {"1", "-0.5", 0, nullptr, nullptr},
        {"0", "0.5", 0, nullptr, nullptr},
        {"5000", "0.5", 10'000, "G01 Z-0.5", "G01 Z-5000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.depth) + " / " + c.step);
        const auto program = Program(Inputs("100", "60", c.depth, c.step, "6", "0"));
        EXPECT_EQ(program.passCount, c.passes);
        const auto depths = DepthLines(program.text);
        ASSERT_EQ(depths.size(), static_cast<std::size_t>(c.passes));
        if (c.passes == 0) continue;
        EXPECT_EQ(depths.front(), c.firstDepth);
        EXPECT_EQ(depths.back(), c.lastDepth);
    }
}

TEST(ContourGenerator, ToolRadiusIsHalfTheTypedDiameterAndArcsMeetTheEdges) {
    const struct {
        const char* tool;
        const char* radius;
        std::vector<std::string> firstPass;
    } cases[] = {
        {"6",
         "10",
         {"G01 Z-0.5", "G01 X0 Y53", "G02 X13 Y66 R13", "G01 X93 Y66", "G02 X106 Y53 R13",
          "G01 X106 Y13", "G02 X93 Y0 R13", "G01 X13 Y0", "G02 X0 Y13 R13"}},
        // D 5, t 2, R 12: the straight moves end R short of the corners, 65 - 12 = 53.
        {"5.9",
         "10",
         {"G01 Z-0.5", "G01 X0 Y53", "G02 X12 Y65 R12", "G01 X93 Y65", "G02 X105 Y53 R12",
          "G01 X105 Y12", "G02 X93 Y0 R12", "G01 X12 Y0", "G02 X0 Y12 R12"}},
        {"3",
         "10",
         {"G01 Z-0.5", "G01 X0 Y52", "G02 X11 Y63 R11", "G01 X92 Y63", "G02 X103 Y52 R11",
          "G01 X103 Y11", "G02 X92 Y0 R11", "G01 X11 Y0", "G02 X0 Y11 R11"}},
        // D 1, t 0, R 2: each arc still reaches its end point.
        {"1",
         "2",
         {"G01 Z-0.5", "G01 X0 Y59", "G02 X2 Y61 R2", "G01 X99 Y61", "G02 X101 Y59 R2",
          "G01 X101 Y2", "G02 X99 Y0 R2", "G01 X2 Y0", "G02 X0 Y2 R2"}},
        {"6", "0.9", {"G01 Z-0.5", "G01 X0 Y66", "G01 X106 Y66", "G01 X106 Y0", "G01 X0 Y0"}},
        {"6", "", {"G01 Z-0.5", "G01 X0 Y66", "G01 X106 Y66", "G01 X106 Y0", "G01 X0 Y0"}},
        // A corner radius beyond half the width is not checked: the formulas as they stand.
        {"2",
         "40",
         {"G01 Z-0.5", "G01 X0 Y21", "G02 X41 Y62 R41", "G01 X61 Y62", "G02 X102 Y21 R41",
          "G01 X102 Y41", "G02 X61 Y0 R41", "G01 X41 Y0", "G02 X0 Y41 R41"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tool) + " / " + c.radius);
        EXPECT_EQ(FirstPass(Program(Inputs("100", "60", "1", "0.5", c.tool, c.radius)).text),
                  c.firstPass);
    }
}

TEST(ContourGenerator, ReportsTheFirstMissingBoxOnlyForEmptyTexts) {
    const auto missing = [](const ContourParameters& inputs) {
        const auto outcome = GenerateContourProgram(inputs);
        const auto* m = std::get_if<MissingInput>(&outcome);
        return m == nullptr ? ParameterBox::CornerRadius : m->box;  // CornerRadius: none missing
    };
    EXPECT_EQ(missing(Inputs("", "60", "", "0.5", "6", "0")), ParameterBox::Length);
    EXPECT_EQ(missing(Inputs("100", "", "1", "0.5", "6", "0")), ParameterBox::Width);
    EXPECT_EQ(missing(Inputs("100", "60", "", "", "", "0")), ParameterBox::Depth);
    EXPECT_EQ(missing(Inputs("100", "60", "1", "", "6", "0")), ParameterBox::StepDown);
    EXPECT_EQ(missing(Inputs("100", "60", "1", "0.5", "", "0")), ParameterBox::ToolDiameter);
    EXPECT_EQ(missing(Inputs(" ", " ", " ", " ", " ", "")), ParameterBox::CornerRadius);
}

TEST(ContourGenerator, WithoutPassesTheReturnLineBelongsToTheCurrentInputs) {
    const std::string header(kProgramHeader);
    const std::string footer(kProgramFooter);
    // A first generation with passes and arcs leaves nothing behind for the next one.
    Program(Inputs("100", "60", "1", "0.5", "6", "10"));
    EXPECT_EQ(Program(Inputs("100", "60", "1", "1.5", "6", "0")).text,
              header + "G00 X0 Y0\r\n" + footer);
    EXPECT_EQ(Program(Inputs("100", "60", "1", "0", "6", "10")).text,
              header + "G00 X0 Y13\r\n" + footer);
}

TEST(ContourGenerator, NegativeDepthsGiveWellFormedZWords) {
    const auto program = Program(Inputs("100", "60", "-2", "-0.5", "6", "0"));
    EXPECT_EQ(DepthLines(program.text),
              (std::vector<std::string>{"G01 Z0.5", "G01 Z1", "G01 Z1.5", "G01 Z2"}));
    EXPECT_EQ(program.text.find("Z--"), Text::npos);
}

TEST(ContourGenerator, RefusesMoreThanTenThousandPassesBeforeBuilding) {
    const auto outcome = [](const char* depth, const char* step) {
        return GenerateContourProgram(Inputs("100", "60", depth, step, "6", "10"));
    };
    ASSERT_TRUE(std::holds_alternative<TooManyPasses>(outcome("10001", "1")));
    EXPECT_EQ(std::get<TooManyPasses>(outcome("10001", "1")).passCount, 10'001);
    EXPECT_GT(std::get<TooManyPasses>(outcome("1", "1e-9")).passCount, kMaxPassCount);
    // A quotient beyond 2^63 truncates to 0: no pass, no refusal.
    EXPECT_EQ(std::get<ContourProgram>(outcome("1000", "1e-30")).passCount, 0);
    EXPECT_EQ(std::get<ContourProgram>(outcome("10000", "1")).passCount, 10'000);
}

TEST(ExtendedQuotient, RoundsTo64BitsThenToDouble) {
    // The exact quotient 2303051658432301.75 rounds directly to ...301.5, but through a 64-bit
    // significand to ...302: the wrapped pass count is 3886, not 3885.
    const float step = 0x1.94c708p-21f;
    EXPECT_EQ(ExtendedQuotient(1736401420, step), 2303051658432302.0);
    EXPECT_NE(static_cast<double>(1736401420) / static_cast<double>(step), 2303051658432302.0);
    EXPECT_EQ(Program(Inputs("100", "60", "1736401420", "7.53956783e-07", "6", "0")).passCount,
              3886);

    EXPECT_EQ(ExtendedQuotient(1, 0.5f), 2.0);
    EXPECT_EQ(ExtendedQuotient(-3, 0.5f), -6.0);
    EXPECT_EQ(ExtendedQuotient(1, 0.0f), HUGE_VAL);
    EXPECT_EQ(ExtendedQuotient(-1, 0.0f), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(ExtendedQuotient(0, 0.0f)));
    EXPECT_TRUE(std::signbit(ExtendedQuotient(0, -1.0f)));
    EXPECT_EQ(ExtendedQuotient(5, HUGE_VALF), 0.0);
}

#if LDBL_MANT_DIG == 64
// Where long double has a 64-bit significand (x86-64), it is the reference.
TEST(ExtendedQuotient, AgreesWithLongDoubleOnSeededOperands) {
    std::mt19937_64 random(2017);
    for (int i = 0; i < 1'000'000; ++i) {
        const auto depth = static_cast<std::int32_t>(random());
        const auto bits = static_cast<std::uint32_t>(random());
        float step;
        std::memcpy(&step, &bits, sizeof step);
        if (std::isnan(step)) continue;
        const auto expected = static_cast<double>(static_cast<long double>(depth) / step);
        const double actual = ExtendedQuotient(depth, step);
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(actual));
            continue;
        }
        ASSERT_EQ(std::signbit(actual), std::signbit(expected)) << depth << " / " << step;
        ASSERT_EQ(actual, expected) << depth << " / " << std::hexfloat << step;
    }
}
#endif

}  // namespace
}  // namespace gcode
