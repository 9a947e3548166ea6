// SPDX-License-Identifier: GPL-3.0-or-later
// The hint of an error report: read the whole text again once the run has
// ended, look at the token where the error was found and its neighbours, and
// say what was found and what was expected; a fix only where it is certain.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "state.h"

namespace korvane {

namespace {

bool is_open(const Lexeme& l) { return l.token->is('('); }
bool is_close(const Lexeme& l) { return l.token->is(')'); }
bool is_comparison(const Lexeme& l) { return l.token->op >= OP_LT && l.token->op <= OP_NE; }
bool is_logic(const Lexeme& l) { return l.token->op == OP_AND || l.token->op == OP_OR; }

// The distance in single-character edits, for "did you mean".
size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The habits of C that this language lacks, named for what they are.
struct Habit {
    const char* word;
    const char* hint;
};
constexpr Habit kTypeHabits[] = {
    {"float", "There is no `float`: every value is a whole number (int)."},
    {"double", "There is no `double`: every value is a whole number (int)."},
    {"long", "There is no `long`: an int holds 32 bits."},
    {"short", "There is no `short`: declare an int."},
    {"unsigned", "There is no `unsigned`: every int is signed."},
    {"void", "A function is written with its name alone, without `void`."},
    {"bool", "There is no `bool`: an int is true when it is not 0."},
};

class HintWriter {
public:
    HintWriter(InterpreterState& s, std::vector<Lexeme> all, size_t at) : s_(s), all_(std::move(all)), at_(at) {}

    std::string hint(int code);

private:
    InterpreterState& s_;
    std::vector<Lexeme> all_;
    size_t at_;  // the token where the error was found

    std::string text(size_t i) const { return text(i, i + 1); }
    // The source from token first up to the end of token last - 1.
    std::string text(size_t first, size_t last) const {
        if (first >= last || all_[first].token->at_eof()) return "";
        return std::string(&s_.source_text[all_[first].start], all_[last - 1].end - all_[first].start);
    }
    std::string found() const {
        return all_[at_].token->at_eof() ? std::string("the end of the program") : "`" + text(at_) + "`";
    }
    int line(size_t i) const { return s_.line_of(all_[i].start); }
    const Token& token(size_t i) const { return *all_[i].token; }
    // The `(` that the token at i stands inside, or npos.
    size_t enclosing_open(size_t i) const;
    // The token after the `)` that matches the `(` at i.
    size_t after_close(size_t open) const;

    std::string habit();
    std::string unknown_name();
    std::string semicolon();
    std::string initialiser();
    std::string parentheses();
    std::string comparison_chain();
    std::string argument_list();
    std::string quote();
    std::string division();
    std::string depth();
    bool may_stop(const std::string& name) const;
    std::string loop_stop(const char* what);
    std::string braces();
    std::string parameters();
};

size_t HintWriter::enclosing_open(size_t i) const {
    int depth = 0;
    while (i-- > 0) {
        if (is_close(all_[i])) ++depth;
        if (token(i).is_brace('{') || token(i).is_brace('}') || (depth == 0 && token(i).is(';'))) break;
        if (is_open(all_[i]) && depth-- == 0) return i;
    }
    return std::string::npos;
}

size_t HintWriter::after_close(size_t open) const {
    int depth = 0;
    for (size_t i = open; i < all_.size(); ++i) {
        if (is_open(all_[i])) ++depth;
        if (is_close(all_[i]) && --depth == 0) return i + 1;
        if (token(i).is(';') || token(i).kind == TK_BRACE || token(i).at_eof()) return i;
    }
    return all_.size() - 1;
}

std::string HintWriter::habit() {
    const std::string word = text(at_);
    if (word.find('[') != std::string::npos || token(at_).is('[')) {
        return "There are no arrays and no `[ ]` here: `" + word +
               "` is read as one name. Use separate variables, or compute the values.";
    }
    for (const Habit& h : kTypeHabits) {
        if (token(at_).kind == TK_NAME && word == h.word) return h.hint;
    }
    if (token(at_).kind == TK_STRING && s_.error_code == ERR_SYNTAX) {
        return "A text in double quotes can only be given to print, puts, textout and textstyle; a variable holds "
               "a number, or one character written 'a'.";
    }
    if (token(at_).is('#') || (at_ > 0 && token(at_ - 1).is('#')))
        return "There is no `#include` or other `#` line: the built-ins need no header.";
    if (token(at_).is('^')) {
        return "There is no operator `^`: for a power multiply (`x * x`); the exclusive or of a and b is "
               "`(a | b) - (a & b)`.";
    }
    if (s_.error_code == ERR_SYNTAX && token(at_).kind == TK_NAME && token(at_).len >= kNameSize) {
        return "A declared name has at most " + std::to_string(kNameSize - 1) + " characters, and `" + word + "` has " +
               std::to_string(word.size()) + ": shorten it.";
    }
    // for (int i = 0; ...)
    if ((token(at_).is_keyword(KW_INT) || token(at_).is_keyword(KW_CHAR)) && at_ >= 2 && is_open(all_[at_ - 1]) &&
        token(at_ - 2).is_keyword(KW_FOR)) {
        const std::string name = at_ + 1 < all_.size() ? text(at_ + 1) : "i";
        return "A variable cannot be declared inside `for`: declare it at the start of the function (`" + text(at_) +
               " " + name + ";`) and write `for (" + name + " = ...`.";
    }
    // int main(): a declaration that turns out to be a function.
    if (s_.error_code == ERR_SEMICOLON_EXPECTED && is_open(all_[at_]) && at_ >= 2 && token(at_ - 1).kind == TK_NAME &&
        (token(at_ - 2).is_keyword(KW_INT) || token(at_ - 2).is_keyword(KW_CHAR))) {
        return "Here a function starts with its name, without a return type: write `" + text(at_ - 1) + "()`, not `" +
               text(at_ - 2) + " " + text(at_ - 1) + "()`.";
    }
    return "";
}

std::string HintWriter::unknown_name() {
    const std::string name = text(at_);
    if (token(at_).kind != TK_NAME) return "";
    std::vector<std::string> names;
    for (size_t i = 1; i < all_.size(); ++i) {
        const bool declared = token(i).kind == TK_NAME &&
                              (token(i - 1).is_keyword(KW_INT) || token(i - 1).is_keyword(KW_CHAR) ||
                               (token(i - 1).is(',') && i != at_) || (i + 1 < all_.size() && is_open(all_[i + 1])));
        if (declared && i != at_) names.push_back(text(i));
    }
    if (std::find(names.begin(), names.end(), name) != names.end()) {
        return "`" + name +
               "` is not visible here: a function sees only its own parameters and variables, and the globals.";
    }
    for (const char* b : builtin_names()) names.emplace_back(b);
    for (const char* k : keyword_names()) names.emplace_back(k);
    std::string best;
    size_t best_distance = 3;
    for (const std::string& candidate : names) {
        const size_t d = edit_distance(name, candidate);
        if (d < best_distance && d < name.size()) {
            best = candidate;
            best_distance = d;
        }
    }
    std::string h = "`" + name + "` is not declared: no variable, function or built-in has this name.";
    if (!best.empty()) h += " Did you mean `" + best + "`?";
    return h;
}

std::string HintWriter::semicolon() {
    if (at_ == 0) return "";
    if (std::string h = initialiser(); !h.empty()) return h;
    const Token& before = token(at_ - 1);
    const int before_line = s_.line_of(all_[at_ - 1].end - 1);
    if (before_line < line(at_) && !before.is(';') && before.kind != TK_BRACE) {
        const std::string n = std::to_string(before_line);
        return "Line " + n + " ends without `;`, so its statement runs on into line " + std::to_string(line(at_)) +
               ". Put `;` at the end of line " + n + ".";
    }
    if (is_comparison(all_[at_]) || is_logic(all_[at_])) return comparison_chain();
    return argument_list();
}

// int i = 0; in a function, int g = -5; outside: what a declaration cannot
// give, and the assignment that gives it.
std::string HintWriter::initialiser() {
    size_t equals = at_;
    if (!token(equals).is('=') && at_ >= 2 && token(at_ - 2).is('=')) equals = at_ - 2;
    if (!token(equals).is('=') || equals < 2 || token(equals - 1).kind != TK_NAME) return "";
    // Back over the names before it to the declaration's keyword.
    size_t first = equals - 1;
    while (first >= 2 && token(first - 1).is(',') && token(first - 2).kind == TK_NAME) first -= 2;
    if (first == 0 || (!token(first - 1).is_keyword(KW_INT) && !token(first - 1).is_keyword(KW_CHAR))) return "";
    size_t end = equals + 1;
    while (end + 1 < all_.size() && !token(end).is(';') && token(end).kind != TK_BRACE) ++end;
    const std::string assignment = text(equals - 1) + " = " + text(equals + 1, end) + ";";
    if (equals == at_) {
        return "A local cannot be given a value where it is declared: it starts at 0. Declare it (`" + text(first - 1) +
               " " + text(equals - 1) + ";`) and assign its value in a statement: `" + assignment + "`.";
    }
    return "A global's value where it is declared is one number without a sign (`int g = 5;`) or one character "
           "(`char c = 'a';`), not `" +
           text(equals + 1, end) + "`. Assign it at the start of `main` instead: `" + assignment + "`.";
}

// a > 0 && b > 0: each comparison in its own parentheses, nested two by two.
std::string HintWriter::comparison_chain() {
    const size_t open = enclosing_open(at_);
    size_t first = open == std::string::npos ? at_ : open + 1;
    if (open == std::string::npos) {
        while (first > 0 && !token(first - 1).is(';') && !token(first - 1).is('=') && token(first - 1).kind != TK_BRACE)
            --first;
    }
    size_t last = first;
    std::vector<std::pair<size_t, size_t>> parts;
    std::vector<std::string> joins;
    for (int depth = 0; last < all_.size(); ++last) {
        const Lexeme& l = all_[last];
        if (is_open(l)) ++depth;
        if ((is_close(l) && depth-- == 0) || l.token->is(';') || l.token->kind == TK_BRACE || l.token->at_eof()) break;
        if (depth == 0 && is_logic(l)) {
            parts.emplace_back(first, last);
            joins.push_back(text(last));
            first = last + 1;
        }
    }
    parts.emplace_back(first, last);
    const std::string found_op = "`" + text(at_) + "`";
    if (joins.empty()) {
        return "Only one comparison is made per level, and " + found_op +
               " is a second one here. Put the first comparison in parentheses, and join two with `&&` or `||`.";
    }
    std::string nested;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string part = text(parts[i].first, parts[i].second);
        bool compares = false;
        for (size_t j = parts[i].first; j < parts[i].second; ++j) compares = compares || is_comparison(all_[j]);
        if (compares) part = "(" + part + ")";
        nested = i == 0 ? part : (i == 1 ? nested : "(" + nested + ")") + " " + joins[i - 1] + " " + part;
    }
    return "Only one comparison or `&&`/`||` is made per level, and " + found_op +
           " is a second one here. Nest them: `" + nested + "`.";
}

std::string HintWriter::argument_list() {
    size_t open = at_ < all_.size() && is_open(all_[at_]) ? std::string::npos : enclosing_open(at_);
    if (open == std::string::npos || open == 0 || token(open - 1).kind != TK_NAME) return "";
    const Token& name = token(open - 1);
    std::string signature;
    if (name.builtin >= 0) {
        signature = builtin_signature(builtin_table()[static_cast<size_t>(name.builtin)]);
    } else {
        // The definition: the name, its parameter list and a `{`.
        for (size_t i = 0; i + 1 < all_.size() && signature.empty(); ++i) {
            if (i + 1 == open || token(i).id != name.id || !is_open(all_[i + 1])) continue;
            const size_t end = after_close(i + 1);
            if (token(end).is_brace('{')) signature = text(i, end);
        }
        if (signature.empty()) return "";
    }
    return "The call of `" + text(open - 1) + "` takes " + signature +
           ": after each value comes `,` or the closing `)`; found " + found() + ".";
}

std::string HintWriter::parentheses() {
    if (is_comparison(all_[at_]) || is_logic(all_[at_])) return comparison_chain();
    if (std::string h = argument_list(); !h.empty()) return h;
    // A built-in named without its parentheses.
    if (at_ > 0 && token(at_ - 1).kind == TK_NAME && token(at_ - 1).builtin >= 0) {
        const BuiltinInfo& b = builtin_table()[static_cast<size_t>(token(at_ - 1).builtin)];
        return "`" + text(at_ - 1) + "` takes its values in parentheses: " + builtin_signature(b) + ".";
    }
    return "";
}

std::string HintWriter::quote() {
    if (token(at_).is('\'')) {
        const char* p = &s_.source_text[all_[at_].start + 1];
        const char* close = p;
        while (*close != '\'' && *close != '\r' && *close != '\0') ++close;
        if (*close == '\'' && close - p > 1) {
            return "Single quotes hold one character, as in 'a'; a text is written in double quotes: \"" +
                   std::string(p, close) + "\".";
        }
        return "";
    }
    const size_t open = enclosing_open(at_);
    if (open != std::string::npos && open > 0 && token(open - 1).builtin >= 0 && token(at_).kind == TK_NAME) {
        return "`" + text(open - 1) + "` takes its text in double quotes: \"" + text(at_) + "\".";
    }
    return "";
}

std::string HintWriter::division() {
    const Token& op = token(at_);
    size_t first = at_ + 1, last = first + 1;
    if (op.builtin >= 0 && at_ + 1 < all_.size() && is_open(all_[at_ + 1])) {
        return "rand(n) gives the remainder of a division by n, and n is 0 in `" + text(at_, after_close(at_ + 1)) +
               "`.";
    }
    if (first >= all_.size()) return "";
    if (is_open(all_[first])) last = after_close(first);
    if (token(first).kind == TK_NAME && first + 1 < all_.size() && is_open(all_[first + 1]))
        last = after_close(first + 1);
    return "The right side of `" + text(at_) + "`, `" + text(first, last) + "`, is 0 here.";
}

std::string HintWriter::depth() {
    if (s_.call_top < 100) return "";
    std::string name;
    const size_t open = at_ > 0 && is_close(all_[at_]) ? enclosing_open(at_) : std::string::npos;
    if (open != std::string::npos && open > 0 && token(open - 1).kind == TK_NAME) name = text(open - 1);
    if (name.empty() && token(at_).kind == TK_NAME && at_ + 1 < all_.size() && is_open(all_[at_ + 1])) name = text(at_);
    // Found elsewhere (a local that no longer fits): the call that was running.
    if (name.empty() && s_.call_top > 0) name = s_.active_calls[s_.call_top - 1].function;
    std::string h = "The calls went " + std::to_string(s_.call_top) + " deep";
    if (name.empty()) return h + ": a function that calls itself needs a case in which it returns without calling.";
    h += ", the last a call of `" + name + "`";
    if (!may_stop(name)) return h + ": a function that calls itself needs a case in which it returns without calling.";
    return h + ": the recursion is deeper than the budget (" + std::to_string(kMaxCalls) +
           " calls), or the case in which `" + name + "` returns without calling is never reached.";
}

// Whether the body of the function of this name holds anything that could
// end it without a call: a condition, a loop, a return or an end.
bool HintWriter::may_stop(const std::string& name) const {
    for (size_t i = 0, depth = 0; i + 1 < all_.size(); ++i) {
        if (token(i).is_brace('{')) ++depth;
        if (token(i).is_brace('}') && depth > 0) --depth;
        if (depth > 0 || token(i).kind != TK_NAME || text(i) != name || !is_open(all_[i + 1])) continue;
        size_t body = after_close(i + 1);
        if (!token(body).is_brace('{')) continue;
        for (int braces = 0; body < all_.size() && !token(body).at_eof(); ++body) {
            const Token& t = token(body);
            if (t.is_brace('{')) ++braces;
            if (t.is_brace('}') && --braces == 0) return false;
            for (const uint8_t k : {KW_IF, KW_WHILE, KW_FOR, KW_DO, KW_RETURN, KW_END}) {
                if (t.is_keyword(k)) return true;
            }
        }
        return false;
    }
    return true;
}

std::string HintWriter::loop_stop(const char* what) {
    if (s_.loops.empty()) return "";
    const LoopPass& loop = s_.loops.back();
    const std::string n = std::to_string(s_.line_of(loop.at));
    return std::string(what) + " in the loop of line " + n + ", after its body had started " +
           std::to_string(loop.passes) + (loop.passes == 1 ? " time." : " times.");
}

std::string HintWriter::braces() {
    std::vector<size_t> open;
    for (size_t i = 0; i < all_.size(); ++i) {
        if (token(i).is_brace('{')) open.push_back(i);
        if (token(i).is_brace('}') && !open.empty()) open.pop_back();
    }
    if (open.empty()) return "";
    return "The program ends with " + std::to_string(open.size()) + " `{` not closed; the last one opened is in line " +
           std::to_string(line(open.back())) + ".";
}

// A parameter that no value of the call reaches.
std::string HintWriter::parameters() {
    if (!token(at_).is_keyword(KW_INT) && !token(at_).is_keyword(KW_CHAR)) return "";
    const size_t open = enclosing_open(at_);
    if (open == std::string::npos || open == 0 || token(open - 1).kind != TK_NAME) return "";
    return "`" + text(open - 1) + "` has more parameters than the call gives values: `" + text(at_, at_ + 2) +
           "` gets none. Give one value for each parameter.";
}

std::string HintWriter::hint(int code) {
    std::string h = habit();
    if (!h.empty()) return h;
    switch (code) {
        case ERR_NOT_VARIABLE: h = unknown_name(); break;
        case ERR_SEMICOLON_EXPECTED: h = semicolon(); break;
        case ERR_PARENS_EXPECTED: h = parentheses(); break;
        case ERR_QUOTE_EXPECTED: h = quote(); break;
        case ERR_DIVISION_BY_ZERO: h = division(); break;
        case ERR_NESTING_TOO_DEEP:
        case ERR_TOO_MANY_LOCALS:
        case ERR_TOO_DEEP: h = depth(); break;
        case ERR_UNBALANCED_BRACES: h = braces(); break;
        case ERR_PARAMETER: h = parameters(); break;
        case ERR_USER_HALT: h = loop_stop("Halted"); break;
        case ERR_STEP_LIMIT:
        case ERR_TIME_LIMIT: h = loop_stop("Stopped"); break;
        default: break;
    }
    if (!h.empty()) return h;
    // What was found matters for the text's mistakes, not for the run's limits.
    const MessageInfo& m = message_table()[static_cast<size_t>(code)];
    if (code >= ERR_NESTING_TOO_DEEP && code != ERR_PARENS_EXPECTED && code != ERR_WHILE_EXPECTED &&
        code != ERR_QUOTE_EXPECTED)
        return m.hint;
    return std::string(m.hint) + " Found " + found() + ".";
}

}  // namespace

ErrorDetails InterpreterState::describe_error() {
    ErrorDetails d;
    d.code = error_code;
    d.line = error_line;
    d.message = message_table()[static_cast<size_t>(error_code)].message;
    const uint32_t place = static_cast<uint32_t>(std::max<int64_t>(error_place, 0));
    std::vector<Lexeme> all = read_all_tokens();
    size_t found = 0;
    while (found + 1 < all.size() && all[found].end <= place) ++found;
    if (all.empty() || all[found].start > place || (all[found].end <= place && !all[found].token->at_eof())) {
        // The scanner refused the token at place: mark it alone.
        uint32_t end = place;
        while (at(end) != '\r' && at(end) != '\0' && end - place < kTokenTextSize) ++end;
        d.token = place_of(place, end);
        d.hint = message_table()[static_cast<size_t>(error_code)].hint;
        if (at(place) == '"') d.hint = "This text has no closing `\"` on its line, or is longer than 79 characters.";
        return d;
    }
    d.token = place_of(all[found].start, all[found].end);
    d.hint = HintWriter(*this, std::move(all), found).hint(error_code);
    return d;
}

}  // namespace korvane
