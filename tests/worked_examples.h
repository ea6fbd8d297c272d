// The two worked examples: 100 x 60, depth 1, step 0.5, tool 6, with corner radius 0 and 10.
#pragma once

inline constexpr char kSquareWorkedExample[] =
    "O2017\r\nG00 G54 G90 X0 Y0\r\nM03 S9000 F200\r\nG00 Z5\r\nG00 X0 Y0\r\n\r\n"
    "G00 X0 Y0\r\n"
    "G01 Z-0.5\r\nG01 X0 Y66\r\nG01 X106 Y66\r\nG01 X106 Y0\r\nG01 X0 Y0\r\n\r\n"
    "G01 Z-1\r\nG01 X0 Y66\r\nG01 X106 Y66\r\nG01 X106 Y0\r\nG01 X0 Y0\r\n\r\n"
    "G00 Z5\r\nG00 X0 Y0\r\nG00 Z15\r\nM05\r\nM30\r\n%";

inline constexpr char kArcWorkedExample[] =
    "O2017\r\nG00 G54 G90 X0 Y0\r\nM03 S9000 F200\r\nG00 Z5\r\nG00 X0 Y0\r\n\r\n"
    "G00 X0 Y13\r\n"
    "G01 Z-0.5\r\nG01 X0 Y53\r\nG02 X13 Y66 R13\r\nG01 X93 Y66\r\nG02 X106 Y53 R13\r\n"
    "G01 X106 Y13\r\nG02 X93 Y0 R13\r\nG01 X13 Y0\r\nG02 X0 Y13 R13\r\n\r\n"
    "G01 Z-1\r\nG01 X0 Y53\r\nG02 X13 Y66 R13\r\nG01 X93 Y66\r\nG02 X106 Y53 R13\r\n"
    "G01 X106 Y13\r\nG02 X93 Y0 R13\r\nG01 X13 Y0\r\nG02 X0 Y13 R13\r\n\r\n"
    "G00 Z5\r\nG00 X0 Y0\r\nG00 Z15\r\nM05\r\nM30\r\n%";
