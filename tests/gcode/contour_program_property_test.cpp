// Reads generated programs back as tool moves and checks what a machinist would check, over a
// seeded sweep of sensible parameter sets.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "gcode/contour_generator.h"

namespace {

struct Point {
    double x = 0;
    double y = 0;
};

struct Move {
    int g = 0;  // 0 rapid, 1 straight feed, 2 clockwise arc
    Point from;
    Point to;
    double radius = 0;
};

struct Pass {
    double z = 0;
    std::vector<Move> moves;
};

struct ReadProgram {
    Point returnPoint;  // where the rapid move before the first pass went
    std::vector<Pass> passes;
    std::string afterPasses;  // the lines after the last pass
};

// A small reader for the words these programs use: G00/G01/G02 with X, Y, Z and R, modal
// coordinates. A pass starts at each feed in Z.
ReadProgram Read(const std::string& text) {
    ReadProgram program;
    Point at;
    std::size_t start = 0;
    const std::size_t footer = text.rfind("G00 Z5");
    const std::size_t header = text.find("\r\n\r\n") + 4;
    program.afterPasses = text.substr(footer);
    for (std::size_t end; start < footer; start = end + 2) {
        end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        if (start < header || line.empty()) continue;
        int g = -1;
        Point to = at;
        double z = NAN;
        double radius = 0;
        for (std::size_t i = 0; i < line.size();) {
            const char letter = line[i];
            char* next;
            const double value = std::strtod(line.c_str() + i + 1, &next);
            i = static_cast<std::size_t>(next - line.c_str());
            if (letter == 'G') g = static_cast<int>(value);
            if (letter == 'X') to.x = value;
            if (letter == 'Y') to.y = value;
            if (letter == 'Z') z = value;
            if (letter == 'R') radius = value;
            while (i < line.size() && line[i] == ' ') ++i;
        }
        if (!std::isnan(z)) {
            program.passes.push_back({z, {}});
        } else if (program.passes.empty()) {
            EXPECT_EQ(g, 0) << line;
            program.returnPoint = to;
        } else {
            program.passes.back().moves.push_back({g, at, to, radius});
        }
        at = to;
    }
    return program;
}

double Cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}

// Twice the signed area enclosed by the pass, arcs included as their chords plus segments.
double SignedArea(const std::vector<Move>& moves) {
    double area = 0;
    for (const Move& m : moves) area += Cross(m.from, m.to);
    return area;
}

TEST(ContourProgramProperties, EveryPassIsTheClosedClockwiseOutline) {
    std::mt19937 random(1211);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 400; ++round) {
        const int length = pick(20, 600);
        const int width = pick(20, 400);
        const int tool = pick(1, 16);
        const int corner = pick(0, 3) == 0 ? 0 : pick(1, std::min(length, width) / 2 - 1);
        const int depth = pick(1, 30);
        const std::string step = std::to_string(pick(1, 40) * 25 / 100.0).substr(0, 4);
        SCOPED_TRACE(std::to_string(length) + " " + std::to_string(width) + " " +
                     std::to_string(depth) + " " + step + " " + std::to_string(tool) + " " +
                     std::to_string(corner));

        const auto outcome = gcode::GenerateContourProgram(
            {std::to_string(length), std::to_string(width), std::to_string(depth), step,
             std::to_string(tool), std::to_string(corner)});
        const auto& program = std::get<gcode::ContourProgram>(outcome);
        ASSERT_EQ(program.text.back(), '%');
        ASSERT_EQ(program.text.substr(program.text.size() - gcode::kProgramFooter.size()),
                  gcode::kProgramFooter);
        const ReadProgram read = Read(program.text);
        ASSERT_EQ(read.passes.size(), static_cast<std::size_t>(program.passCount));

        const double right = length + tool;
        const double top = width + tool;
        const double arcRadius = corner == 0 ? 0 : corner + tool / 2;
        const float stepAsFloat = std::strtof(step.c_str(), nullptr);
        const Point start{0, arcRadius};
        EXPECT_EQ(read.returnPoint.x, start.x);
        EXPECT_EQ(read.returnPoint.y, start.y);

        for (std::size_t i = 0; i < read.passes.size(); ++i) {
            const Pass& pass = read.passes[i];
            const double expectedZ = -static_cast<double>(stepAsFloat) * double(i + 1);
            EXPECT_NEAR(pass.z, expectedZ, 1e-12 * std::abs(expectedZ));
            if (i > 0) {
                EXPECT_LT(pass.z, read.passes[i - 1].z);
            }

            const auto& moves = pass.moves;
            ASSERT_EQ(moves.size(), corner == 0 ? 4u : 8u);
            EXPECT_EQ(moves.front().from.x, start.x);
            EXPECT_EQ(moves.front().from.y, start.y);
            EXPECT_EQ(moves.back().to.x, start.x);
            EXPECT_EQ(moves.back().to.y, start.y);
            EXPECT_LT(SignedArea(moves), 0) << "not clockwise";

            double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
            for (std::size_t m = 0; m < moves.size(); ++m) {
                const Move& move = moves[m];
                ASSERT_TRUE(move.g == 1 || move.g == 2);
                minX = std::min({minX, move.from.x, move.to.x});
                maxX = std::max({maxX, move.from.x, move.to.x});
                minY = std::min({minY, move.from.y, move.to.y});
                maxY = std::max({maxY, move.from.y, move.to.y});
                if (move.g == 1) {
                    EXPECT_TRUE(move.from.x == move.to.x || move.from.y == move.to.y)
                        << "a straight move along an edge";
                    continue;
                }
                EXPECT_EQ(move.radius, arcRadius);
                // The centre of a clockwise arc of at most a half circle lies right of its chord.
                const Point chord{move.to.x - move.from.x, move.to.y - move.from.y};
                const double half = std::hypot(chord.x, chord.y) / 2;
                ASSERT_LE(half, move.radius + 1e-9) << "the arc cannot reach its end point";
                const double offset = std::sqrt(move.radius * move.radius - half * half);
                const Point centre{(move.from.x + move.to.x) / 2 + chord.y / (2 * half) * offset,
                                   (move.from.y + move.to.y) / 2 - chord.x / (2 * half) * offset};
                // A quarter circle tangent to both edges: the straight moves before and after
                // run perpendicular to the radius at each end.
                const Move& before = moves[(m + moves.size() - 1) % moves.size()];
                const Move& after = moves[(m + 1) % moves.size()];
                const Point in{before.to.x - before.from.x, before.to.y - before.from.y};
                const Point out{after.to.x - after.from.x, after.to.y - after.from.y};
                const Point startRadius{move.from.x - centre.x, move.from.y - centre.y};
                const Point endRadius{move.to.x - centre.x, move.to.y - centre.y};
                EXPECT_NEAR(in.x * startRadius.x + in.y * startRadius.y, 0, 1e-6);
                EXPECT_NEAR(out.x * endRadius.x + out.y * endRadius.y, 0, 1e-6);
                EXPECT_NEAR(std::abs(chord.x), arcRadius, 1e-9);
                EXPECT_NEAR(std::abs(chord.y), arcRadius, 1e-9);
            }
            EXPECT_EQ(minX, 0);
            EXPECT_EQ(maxX, right);
            EXPECT_EQ(minY, 0);
            EXPECT_EQ(maxY, top);
        }
        EXPECT_EQ(read.afterPasses, gcode::kProgramFooter);
    }
}

}  // namespace
