// SPDX-License-Identifier: GPL-3.0-or-later
// The outline of a program read without running it: its functions with
// their parameters, its declared names, the calls that give another number
// of values than the callee takes, and the text that runs otherwise than it
// looks (text_warnings.cpp).
#include <algorithm>
#include <map>
#include <set>

#include "state.h"

namespace korvane {

namespace {

// Reading a text never reaches the bridge; the state needs one all the same.
class QuietBridge : public Bridge {
public:
    void bridge_message(const char*) override {}
    int bridge_show() override { return 0; }
    void bridge_output(const char*) override {}
    int32_t bridge_getnum() override { return 0; }
    int8_t bridge_getche() override { return 0; }
    void bridge_sleep(int32_t) override {}
    int32_t bridge_getpel(int32_t, int32_t) override { return 0; }
    void bridge_setcolor(int32_t) override {}
    void bridge_clear(int32_t) override {}
    void bridge_textout(int32_t, int32_t, const char*) override {}
    void bridge_textstyle(int32_t, int32_t, const char*) override {}
    void bridge_point(int32_t, int32_t) override {}
    void bridge_fpoint(int32_t, int32_t) override {}
    void bridge_line(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_xline(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_fline(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_dline(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_fillrect(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_drawrect(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_brect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_grid(int32_t, int32_t, int32_t) override {}
    void bridge_circle(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_xcircle(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_disk(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_bdisk(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_circ2(int32_t, int32_t, int32_t) override {}
    void bridge_fcirc2(int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_ellipse(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_xellipse(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_elldisk(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_ellbdisk(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void bridge_trifill(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    int bridge_floodfill(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override { return 0; }
    void bridge_h_axis(const int32_t*) override {}
    void bridge_v_axis(const int32_t*) override {}
};

constexpr size_t kNone = static_cast<size_t>(-1);

struct Reader {
    InterpreterState& s;
    std::vector<Lexeme> all;
    // Worked out in one pass, so that a text of many nested calls is read in
    // a time that grows with its length: per `(`, its `)` (kNone when the
    // statement ends first) and its first comma at its own depth; per such
    // comma, the next one.
    std::vector<size_t> close_of, first_comma, next_comma;

    Reader(InterpreterState& state, std::vector<Lexeme> lexemes) : s(state), all(std::move(lexemes)) {
        close_of.assign(all.size(), kNone);
        first_comma.assign(all.size(), kNone);
        next_comma.assign(all.size(), kNone);
        std::vector<size_t> open, last_comma;
        for (size_t i = 0; i < all.size(); ++i) {
            const Token& t = token(i);
            if (t.is(';') || t.kind == TK_BRACE || t.at_eof()) {
                open.clear();
                last_comma.clear();
            } else if (t.is('(')) {
                open.push_back(i);
                last_comma.push_back(kNone);
            } else if (t.is(')') && !open.empty()) {
                close_of[open.back()] = i;
                open.pop_back();
                last_comma.pop_back();
            } else if (t.is(',') && !open.empty()) {
                if (last_comma.back() == kNone)
                    first_comma[open.back()] = i;
                else
                    next_comma[last_comma.back()] = i;
                last_comma.back() = i;
            }
        }
    }

    const Token& token(size_t i) const { return *all[i].token; }
    std::string text(size_t first, size_t last) const {
        if (first >= last) return "";
        return std::string(&s.source_text[all[first].start], all[last - 1].end - all[first].start);
    }
    // The values between the `(` at open and its `)`, as token ranges; false
    // when the list does not end before the statement does.
    bool values(size_t open, std::vector<std::pair<size_t, size_t>>& out, size_t& close) const {
        if (close_of[open] == kNone) return false;
        close = close_of[open];
        size_t first = open + 1;
        for (size_t comma = first_comma[open]; comma != kNone; comma = next_comma[comma]) {
            out.emplace_back(first, comma);
            first = comma + 1;
        }
        if (close > first) out.emplace_back(first, close);
        return true;
    }
};

std::string count_text(size_t n) { return std::to_string(n) + (n == 1 ? " value" : " values"); }

}  // namespace

ProgramOutline outline_program(const std::string& text) {
    QuietBridge quiet;
    InterpreterState s(quiet);
    s.load_text(text);
    Reader r{s, s.read_all_tokens()};
    ProgramOutline outline;
    std::map<int32_t, size_t> function_of;  // name id -> outline.functions index, the first definition
    std::set<std::string> declared;
    std::vector<size_t> calls;
    bool declaring = false;
    int depth = 0;
    for (size_t i = 0; i + 1 < r.all.size(); ++i) {
        const Token& t = r.token(i);
        if (t.is_brace('{')) ++depth;
        if (t.is_brace('}') && depth > 0) --depth;
        if (t.is_keyword(KW_INT) || t.is_keyword(KW_CHAR)) declaring = true;
        if (t.is(';') || t.is(')') || t.kind == TK_BRACE) declaring = false;
        if (t.kind != TK_NAME) continue;
        if (declaring) {
            std::string name = r.text(i, i + 1);
            if (declared.insert(name).second) outline.names.push_back(std::move(name));
        }
        if (!r.token(i + 1).is('(')) continue;
        if (depth > 0) {
            calls.push_back(i);
            continue;
        }
        std::vector<std::pair<size_t, size_t>> parameters;
        size_t close = i;
        if (!r.values(i + 1, parameters, close)) continue;
        FunctionOutline f{r.text(i, i + 1), {}, s.line_of(r.all[i].start)};
        for (const auto& [first, last] : parameters) f.parameters.push_back(r.text(first, last));
        function_of.emplace(t.id, outline.functions.size());
        outline.functions.push_back(std::move(f));
    }
    for (size_t i = 0; i < r.all.size(); ++i) {
        const Lexeme& l = r.all[i];
        // '#' is a character, not a line of C's preprocessor.
        if (!l.token->is('#') || (i > 0 && r.token(i - 1).is('\''))) continue;
        CallWarning w;
        w.place = s.place_of(l.start, l.end);
        w.text =
            "A `#` line such as `#include` is not needed here: the built-ins need no header, and the line "
            "is passed over.";
        outline.warnings.push_back(std::move(w));
    }
    for (const size_t i : calls) {
        std::vector<std::pair<size_t, size_t>> values;
        size_t close = i;
        if (!r.values(i + 1, values, close)) continue;
        const Token& name = r.token(i);
        const std::string called = r.text(i, i + 1);
        CallWarning w;
        w.place = s.place_of(r.all[i].start, r.all[i].end);
        size_t expected = 0;
        if (name.builtin >= 0) {
            const BuiltinInfo& b = builtin_table()[static_cast<size_t>(name.builtin)];
            if (!b.lenient) continue;
            expected = static_cast<size_t>(builtin_value_count(b));
            w.signature = builtin_signature(b);
            if (values.size() == expected) continue;
            w.text = "`" + called + "` takes " + count_text(expected) + ", " + w.signature + "; this call gives " +
                     std::to_string(values.size()) +
                     (values.size() < expected ? ": the missing ones are 0." : ": the rest are ignored.");
        } else if (const auto f = function_of.find(name.id); f != function_of.end()) {
            const FunctionOutline& fn = outline.functions[f->second];
            expected = fn.parameters.size();
            w.signature = fn.name + "(";
            for (size_t p = 0; p < fn.parameters.size(); ++p) w.signature += (p > 0 ? ", " : "") + fn.parameters[p];
            w.signature += ")";
            if (values.size() == expected) continue;
            w.text = "`" + called + "` takes " + count_text(expected) + ", " + w.signature + "; this call gives " +
                     std::to_string(values.size()) +
                     (values.size() < expected ? ": such a call stops the run with \"parameter error\"."
                                               : ": the rest are ignored.");
        } else {
            continue;
        }
        outline.warnings.push_back(std::move(w));
    }
    warn_about_text(s, r.all, outline.warnings);
    std::stable_sort(outline.warnings.begin(), outline.warnings.end(), [](const CallWarning& a, const CallWarning& b) {
        return a.place.line != b.place.line ? a.place.line < b.place.line : a.place.column < b.place.column;
    });
    return outline;
}

std::vector<BuiltinUse> builtin_uses(const std::string& text) {
    QuietBridge quiet;
    InterpreterState s(quiet);
    s.load_text(text);
    std::vector<BuiltinUse> uses;
    for (const Lexeme& l : s.read_all_tokens())
        if (l.token->kind == TK_NAME && l.token->builtin >= 0)
            uses.push_back(BuiltinUse{l.token->builtin, s.place_of(l.start, l.end)});
    return uses;
}

}  // namespace korvane
