// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing calls of a run as a compact byte stream: each call is its
// kind, colour, program line and argument values, the numbers written as
// differences from the call before in variable-length bytes, so a loop of
// point(x, y) costs a few bytes a call. A stream starts from zero
// differences; a reader must start where a writer started.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "draw_call.h"

namespace korvane {

// What the timeline shows of a built-in: its name and how many of the
// DrawCall values are its arguments.
const char* draw_op_name(DrawOp op);
int draw_op_arity(DrawOp op);
// True for the built-ins that draw with the current colour.
bool draw_op_uses_colour(DrawOp op);

// One call as it was made: the program line is counted from 0; text is the
// text of textout and the font of textstyle.
struct LoggedCall {
    DrawCall call{};
    int32_t line = -1;
    const char* text = "";
};

// "line(200, 200, 7, 13)": the built-in with its argument values.
std::string call_text(const LoggedCall& c);
// "line(200, 200, 7, 13) colour 5": the same with the current colour for
// the built-ins that draw with it.
std::string describe_call(const LoggedCall& c);

class CallWriter {
public:
    // Appends a call to out.
    void append(std::vector<uint8_t>& out, const DrawCall& call, int32_t line, const char* text);
    void reset() { *this = CallWriter{}; }

private:
    std::array<int32_t, 10> last_{};
    int32_t last_line_ = 0;
};

class CallReader {
public:
    CallReader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool at_end() const { return p_ >= end_; }
    // The next call; its text points into the stream.
    LoggedCall next();

private:
    const uint8_t* p_;
    const uint8_t* end_;
    std::array<int32_t, 10> last_{};
    int32_t last_line_ = 0;
};

}  // namespace korvane
