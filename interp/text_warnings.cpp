// SPDX-License-Identifier: GPL-3.0-or-later
// Warnings about text that runs otherwise than it looks: what the statements'
// loop passes over, numbers read by their leading digits, `=` where a
// comparison was meant. Each walk below follows what the run does with the
// same tokens, so a warning says what will happen.
#include <map>
#include <set>

#include "state.h"

namespace korvane {

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
// Statements nest on the native stack here: deeper text is not walked, so a
// hostile text cannot overflow it.
constexpr int kMaxWalkDepth = 256;

// ": write 240" for the hexadecimal digits "F0", when they are all such
// digits and their value is an int; else "".
std::string hex_value(const std::string& digits) {
    if (digits.empty() || digits.size() > 7) return "";
    int32_t value = 0;
    for (const char c : digits) {
        const char lower = static_cast<char>(c | 0x20);
        if (!is_digit(c) && !(lower >= 'a' && lower <= 'f')) return "";
        value = value * 16 + (is_digit(c) ? c - '0' : lower - 'a' + 10);
    }
    return ": write " + std::to_string(value);
}

// Where a statement ends, and whether the run can go on after it.
struct Walked {
    size_t next;
    bool ends;  // returns, ends the program or loops for ever: what follows never runs after it
};

class TextWarnings {
public:
    TextWarnings(InterpreterState& s, const std::vector<Lexeme>& all, std::vector<CallWarning>& out)
        : s_(s), all_(all), out_(out) {}

    void warn_all();

private:
    InterpreterState& s_;
    const std::vector<Lexeme>& all_;
    std::vector<CallWarning>& out_;
    std::set<size_t> discarded_calls_;  // calls that are a statement of their own
    int depth_ = 0;                     // of the statements being walked
    bool too_deep_ = false;             // the walk gave up: where loops end is not known

    const Token& token(size_t i) const { return *all_[i].token; }
    bool ends_text(size_t i) const { return i + 1 >= all_.size() || token(i).at_eof(); }
    std::string text(size_t i) const {
        return std::string(&s_.source_text[all_[i].start], all_[i].end - all_[i].start);
    }
    int line(size_t i) const { return s_.line_of(all_[i].start); }
    void warn(size_t i, std::string what) {
        CallWarning w;
        w.place = s_.place_of(all_[i].start, all_[i].end);
        w.text = std::move(what);
        out_.push_back(std::move(w));
    }

    size_t close_paren(size_t open) const;
    size_t close_brace(size_t open) const;
    size_t passed_statement(size_t i) const;
    size_t statement_end(size_t i) const;
    bool breaks_between(size_t first, size_t last) const;
    bool always_true(size_t open, size_t close) const;

    Walked body(size_t i);
    Walked statement(size_t i);
    Walked loop_body(size_t i, bool for_ever);
    void functions();
    void numbers();
    void conditions();
    void missing_operands();
    void bracket_names();
};

// The `)` that matches the `(` at open, or kNone when a brace or the end comes first.
size_t TextWarnings::close_paren(size_t open) const {
    int depth = 0;
    for (size_t i = open; !ends_text(i) && token(i).kind != TK_BRACE; ++i) {
        if (token(i).is('(')) ++depth;
        if (token(i).is(')') && --depth == 0) return i;
    }
    return kNone;
}

size_t TextWarnings::close_brace(size_t open) const {
    int depth = 0;
    for (size_t i = open; !ends_text(i); ++i) {
        if (token(i).is_brace('{')) ++depth;
        if (token(i).is_brace('}') && --depth == 0) return i;
    }
    return kNone;
}

// After the statement that a passed-over statement ends with: its `;` or
// `}` at depth 0, as the run passes over an `else` and its statement.
size_t TextWarnings::passed_statement(size_t i) const {
    for (int braces = 0, parens = 0; !ends_text(i); ++i) {
        const Token& t = token(i);
        braces += t.is_brace('{') ? 1 : t.is_brace('}') ? -1 : 0;
        parens += t.is('(') ? 1 : t.is(')') ? -1 : 0;
        if (braces == 0 && parens == 0 && (t.is(';') || t.is_brace('}'))) return i + 1;
    }
    return all_.size() - 1;
}

// After the `;` that ends an expression, a declaration or a return; at a
// brace, which ends no expression, the brace is left to the block.
size_t TextWarnings::statement_end(size_t i) const {
    for (int parens = 0; !ends_text(i) && token(i).kind != TK_BRACE; ++i) {
        parens += token(i).is('(') ? 1 : token(i).is(')') ? -1 : 0;
        if (parens <= 0 && token(i).is(';')) return i + 1;
    }
    return i;
}

bool TextWarnings::breaks_between(size_t first, size_t last) const {
    for (size_t i = first; i < last && i < all_.size(); ++i) {
        if (token(i).is_keyword(KW_BREAK)) return true;
    }
    return false;
}

// A condition that is a number other than 0 and nothing else.
bool TextWarnings::always_true(size_t open, size_t close) const {
    return close == open + 2 && token(open + 1).kind == TK_NUMBER && token(open + 1).number != 0;
}

// The statement of a function, `if`, `else` or loop: a `{` there opens a
// block, which ends at the first `}` met where a statement is due.
Walked TextWarnings::body(size_t i) {
    // Too deep: the rest of the text is left unwalked, and taken to end.
    if (depth_ == kMaxWalkDepth) {
        too_deep_ = true;
        return {all_.size() - 1, true};
    }
    ++depth_;
    Walked w{i, false};
    if (!token(i).is_brace('{')) {
        w = statement(i);
    } else {
        for (++i; !ends_text(i) && !token(i).is_brace('}');) {
            const Walked inner = statement(i);
            w.ends = w.ends || inner.ends;
            i = inner.next > i ? inner.next : i + 1;
        }
        w.next = ends_text(i) ? i : i + 1;
    }
    --depth_;
    return w;
}

Walked TextWarnings::loop_body(size_t i, bool for_ever) {
    const Walked w = body(i);
    return {w.next, for_ever && !too_deep_ && !breaks_between(i, w.next)};
}

// One statement inside a block, where a `{` opens nothing.
Walked TextWarnings::statement(size_t i) {
    const Token& t = token(i);
    if (ends_text(i) || t.is_brace('}')) return {i, false};
    if (t.is_brace('{')) {
        const size_t close = close_brace(i);
        warn(i,
             "This `{` opens no block: a block opens only where a function's body or the statement of `if`, "
             "`else`, `for`, `while` or `do` begins. It is passed over, and " +
                 (close == kNone ? std::string("the next `}`") : "the `}` in line " + std::to_string(line(close))) +
                 " ends the block around it.");
        return {i + 1, false};
    }
    switch (t.kind) {
        case TK_NAME: {
            const size_t close = token(i + 1).is('(') ? close_paren(i + 1) : kNone;
            if (close != kNone && token(close + 1).is(';')) discarded_calls_.insert(i);
            return {statement_end(i), false};
        }
        case TK_KEYWORD: break;
        default:
            if (t.is(';') || t.is('#')) return {i + 1, false};
            warn(i, "A statement cannot begin with `" + text(i) + "`: it is passed over, and the run goes on at " +
                        (ends_text(i + 1) ? std::string("the end of the block") : "`" + text(i + 1) + "`") + ".");
            return {i + 1, false};
    }
    switch (t.keyword) {
        case KW_IF: {
            const size_t close = close_paren(i + 1);
            if (close == kNone) return {statement_end(i), false};
            const Walked then = body(close + 1);
            if (!token(then.next).is_keyword(KW_ELSE)) return {then.next, false};
            const Walked otherwise = body(then.next + 1);
            return {otherwise.next, then.ends && otherwise.ends};
        }
        case KW_ELSE:
            warn(i,
                 "This `else` belongs to no `if`, as the statement before it is not an `if`'s: it is passed over "
                 "with its statement, which never runs. To run several statements under an `if`, put them in "
                 "`{ }`.");
            return {passed_statement(i + 1), false};
        case KW_WHILE:
        case KW_FOR: {
            const size_t close = close_paren(i + 1);
            if (close == kNone) return {statement_end(i), false};
            bool for_ever = always_true(i + 1, close);
            if (t.keyword == KW_FOR) {
                // for (a; 1; c): the condition is the part between the `;`s.
                size_t first = i + 2;
                while (first < close && !token(first).is(';')) ++first;
                size_t second = first + 1;
                while (second < close && !token(second).is(';')) ++second;
                for_ever = second == first + 2 && always_true(first, second);
            }
            return loop_body(close + 1, for_ever);
        }
        case KW_DO: {
            const Walked w = body(i + 1);
            if (!token(w.next).is_keyword(KW_WHILE)) return {w.next, false};
            const size_t close = close_paren(w.next + 1);
            if (close == kNone) return {statement_end(w.next), false};
            return {statement_end(close + 1),
                    always_true(w.next + 1, close) && !too_deep_ && !breaks_between(i, close)};
        }
        case KW_RETURN: return {statement_end(i), true};
        case KW_END: return {i + 1, true};
        case KW_INT:
        case KW_CHAR: return {statement_end(i), false};
        default: return {i + 1, false};  // break, continue
    }
}

// Each function's body, as the program's first reading finds them: a name
// and `(` outside any braces. A function that can end without `return` and
// whose value is used gives the value of the last `return` that ran.
void TextWarnings::functions() {
    struct Function {
        size_t name;
        bool ends;
    };
    std::map<int32_t, Function> defined;  // the first definition of each name
    std::vector<std::pair<size_t, size_t>> bodies;
    for (size_t i = 0; !ends_text(i);) {
        const Token& t = token(i);
        if (t.is_brace('{')) {
            const size_t close = close_brace(i);
            i = close == kNone ? all_.size() - 1 : close + 1;
        } else if (t.is_keyword(KW_INT) || t.is_keyword(KW_CHAR)) {
            i = statement_end(i);
        } else if (t.kind == TK_NAME && token(i + 1).is('(')) {
            size_t after = i + 2;
            while (!ends_text(after) && !token(after).is(')')) ++after;
            const size_t start = after + 1;
            if (ends_text(after) || !token(start).is_brace('{')) {
                i = start;
                continue;
            }
            const Walked w = body(start);
            defined.emplace(t.id, Function{i, w.ends});
            const size_t close = close_brace(start);
            bodies.emplace_back(start, close == kNone ? all_.size() - 1 : close);
            i = close == kNone ? all_.size() - 1 : close + 1;
        } else {
            ++i;
        }
    }
    std::set<int32_t> told;
    for (const auto& [first, last] : bodies) {
        for (size_t i = first; i < last; ++i) {
            const Token& t = token(i);
            if (t.kind != TK_NAME || !token(i + 1).is('(') || discarded_calls_.count(i) > 0) continue;
            const auto f = defined.find(t.id);
            if (f == defined.end() || f->second.ends || !told.insert(t.id).second) continue;
            warn(f->second.name, "`" + text(f->second.name) +
                                     "` can reach its end without `return`, and its value "
                                     "is used in line " +
                                     std::to_string(line(i)) +
                                     ": a call that ends so gives the value of the last `return` that ran, in "
                                     "whatever function.");
        }
    }
}

// A number is its leading decimal digits, modulo 2^32.
void TextWarnings::numbers() {
    for (size_t i = 0; !ends_text(i); ++i) {
        const Token& t = token(i);
        if (t.kind != TK_NUMBER) continue;
        const std::string word = text(i);
        size_t digits = 0;
        while (digits < word.size() && is_digit(word[digits])) ++digits;
        const std::string value = std::to_string(t.number);
        if (digits < word.size()) {
            std::string why = "a number is its leading decimal digits, and the rest is passed over.";
            if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
                why = "a number is its leading decimal digits, and there are no hexadecimal numbers" +
                      hex_value(word.substr(2)) + ".";
            } else if (word[digits] == '.') {
                why = "every value is a whole number, and a number is its leading decimal digits.";
            }
            warn(i, "`" + word + "` is read as " + value + ": " + why);
            continue;
        }
        // 2147483648 after a sign is the least int, exact.
        const bool least = word == "2147483648" && i > 0 && token(i - 1).is('-');
        if (digits > 10 || (digits == 10 && word > "2147483647" && !least)) {
            warn(i, "`" + word + "` is more than the largest int, 2147483647: it wraps round to " + value + ".");
        }
    }
}

// if (i = 5): `=` in a condition of its own assigns.
void TextWarnings::conditions() {
    for (size_t i = 0; !ends_text(i); ++i) {
        const Token& t = token(i);
        if (!(t.is_keyword(KW_IF) || t.is_keyword(KW_WHILE) || t.is_keyword(KW_FOR)) || !token(i + 1).is('(')) continue;
        const size_t close = close_paren(i + 1);
        if (close == kNone) continue;
        int part = 0;  // of a `for`: 1 is its condition
        for (size_t j = i + 2, depth = 1; j < close; ++j) {
            depth += token(j).is('(') ? 1 : token(j).is(')') ? -1 : 0;
            if (depth == 1 && token(j).is(';')) ++part;
            const bool in_condition = !t.is_keyword(KW_FOR) || part == 1;
            if (depth != 1 || !in_condition || !token(j).is('=') || token(j - 1).kind != TK_NAME) continue;
            warn(j, "`=` assigns: this condition stores a value in `" + text(j - 1) +
                        "` and is true when that value is not 0. To compare, write `==`.");
        }
    }
}

// (3 + ): an operand missing before `)` is read as 0.
void TextWarnings::missing_operands() {
    for (size_t i = 1; !ends_text(i); ++i) {
        const Token& before = token(i - 1);
        const bool binary = (before.level != LEVEL_NONE && before.op != OP_INC && before.op != OP_DEC &&
                             before.op != OP_ADD_ASSIGN && before.op != OP_SUB_ASSIGN) ||
                            before.is(',');
        if (!token(i).is(')') || !binary) continue;
        warn(i, "A value is missing between `" + text(i - 1) + "` and `)`: it is read as 0.");
    }
}

// int a[10]: without arrays, the brackets are part of the name.
void TextWarnings::bracket_names() {
    bool declaring = false;
    for (size_t i = 0; !ends_text(i); ++i) {
        const Token& t = token(i);
        if (t.is_keyword(KW_INT) || t.is_keyword(KW_CHAR)) declaring = true;
        if (t.is(';') || t.is(')') || t.kind == TK_BRACE) declaring = false;
        const std::string word = text(i);
        if (!declaring || t.kind != TK_NAME || word.find('[') == std::string::npos) continue;
        warn(i, "There are no arrays: `" + word + "` is one name, and this declares a single variable of that name.");
    }
}

void TextWarnings::warn_all() {
    if (all_.empty()) return;
    functions();
    numbers();
    conditions();
    missing_operands();
    bracket_names();
}

}  // namespace

void warn_about_text(InterpreterState& s, const std::vector<Lexeme>& all, std::vector<CallWarning>& out) {
    TextWarnings(s, all, out).warn_all();
}

}  // namespace korvane
