// SPDX-License-Identifier: GPL-3.0-or-later
#include "call_log.h"

#include <cstring>

namespace korvane {

namespace {

struct OpInfo {
    const char* name;
    uint8_t arity;
    bool uses_colour;
};

// In DrawOp order.
constexpr OpInfo kOps[] = {
    {"clear", 1, false},     {"textout", 2, false}, {"textstyle", 2, false}, {"point", 2, true},
    {"fpoint", 2, true},     {"line", 4, true},     {"xline", 4, true},      {"fline", 4, true},
    {"dline", 4, true},      {"fillrect", 4, true}, {"drawrect", 4, true},   {"brect", 6, false},
    {"grid", 3, false},      {"circle", 4, false},  {"xcircle", 4, false},   {"disk", 4, false},
    {"bdisk", 5, false},     {"circ2", 3, false},   {"fcirc2", 4, false},    {"ellipse", 5, false},
    {"xellipse", 5, false},  {"elldisk", 5, false}, {"ellbdisk", 6, false},  {"trifill", 8, false},
    {"floodfill", 6, false}, {"h_axis", 10, false}, {"v_axis", 10, false},
};
static_assert(std::size(kOps) == static_cast<size_t>(DrawOp::VAxis) + 1);

const OpInfo& info(DrawOp op) { return kOps[static_cast<size_t>(op)]; }

// Small magnitudes of either sign take one byte.
uint32_t zigzag(int32_t v) { return (static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31); }
int32_t unzigzag(uint32_t u) { return static_cast<int32_t>((u >> 1) ^ (0u - (u & 1))); }

uint8_t* put(uint8_t* p, uint32_t u) {
    while (u >= 0x80) {
        *p++ = static_cast<uint8_t>(u | 0x80);
        u >>= 7;
    }
    *p++ = static_cast<uint8_t>(u);
    return p;
}

uint32_t get(const uint8_t*& p) {
    uint32_t u = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t b = *p++;
        u |= static_cast<uint32_t>(b & 0x7F) << shift;
        if (b < 0x80) return u;
    }
}

// Differences wrap around in 32 bits, so every int32 pair round-trips.
int32_t minus(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t plus(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }

}  // namespace

const char* draw_op_name(DrawOp op) { return info(op).name; }
int draw_op_arity(DrawOp op) { return info(op).arity; }
bool draw_op_uses_colour(DrawOp op) { return info(op).uses_colour; }

std::string call_text(const LoggedCall& c) {
    const DrawOp op = c.call.op;
    std::string s = std::string(draw_op_name(op)) + "(";
    for (int i = 0; i < draw_op_arity(op); ++i) s += (i ? ", " : "") + std::to_string(c.call.v[i]);
    if (takes_text(op)) s += std::string(", \"") + c.text + "\"";
    return s + ")";
}

std::string describe_call(const LoggedCall& c) {
    std::string s = call_text(c);
    if (draw_op_uses_colour(c.call.op)) s += " colour " + std::to_string(c.call.colour);
    return s;
}

// Kind, colour, line, then the arguments; the text after them with its NUL.
void CallWriter::append(std::vector<uint8_t>& out, const DrawCall& call, int32_t line, const char* text) {
    uint8_t buffer[1 + 5 * 12];
    uint8_t* p = buffer;
    *p++ = static_cast<uint8_t>(call.op);
    p = put(p, call.colour);
    p = put(p, zigzag(minus(line, last_line_)));
    last_line_ = line;
    for (int i = 0, n = draw_op_arity(call.op); i < n; ++i) {
        p = put(p, zigzag(minus(call.v[i], last_[i])));
        last_[i] = call.v[i];
    }
    out.insert(out.end(), buffer, p);
    if (takes_text(call.op)) out.insert(out.end(), text, text + std::strlen(text) + 1);
}

LoggedCall CallReader::next() {
    LoggedCall c;
    c.call.op = static_cast<DrawOp>(*p_++);
    c.call.colour = static_cast<uint16_t>(get(p_));
    last_line_ = plus(last_line_, unzigzag(get(p_)));
    c.line = last_line_;
    for (int i = 0, n = draw_op_arity(c.call.op); i < n; ++i) {
        last_[i] = plus(last_[i], unzigzag(get(p_)));
        c.call.v[i] = last_[i];
    }
    if (takes_text(c.call.op)) {
        c.text = reinterpret_cast<const char*>(p_);
        p_ += std::strlen(c.text) + 1;
    }
    return c;
}

}  // namespace korvane
