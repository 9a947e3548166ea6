// SPDX-License-Identifier: GPL-3.0-or-later
// Compiling expressions: read once at an expression's first token into the
// item list that runs it, the only way an expression runs. The language's
// reading of odd text was fixed by the token-by-token evaluator on frames
// that ran expressions before these lists; "the frames" below, where it
// reads, raises or takes something, means that reading, which the
// digests in tests/interp keep.
#include <algorithm>

#include "simple_run.h"

namespace korvane {

namespace {

// Reading ahead of the run: an error found only throws, and once done the
// scanner stands where it stood.
class LookAhead {
public:
    explicit LookAhead(InterpreterState& s) : s_(s), pos_(s.scan_pos), first_(s.tok), quiet_(s.quiet) {
        s.quiet = true;
    }
    ~LookAhead() {
        s_.quiet = quiet_;
        s_.scan_pos = pos_;
        s_.tok = first_;
    }
    LookAhead(const LookAhead&) = delete;
    LookAhead& operator=(const LookAhead&) = delete;
    // Back to where it began.
    void again() {
        s_.scan_pos = pos_;
        s_.tok = first_;
    }
    uint32_t pos() const { return pos_; }
    const Token* first() const { return first_; }

private:
    InterpreterState& s_;
    const uint32_t pos_;
    const Token* const first_;
    const bool quiet_;
};

// A built-in opens a parenthesis, so a chain with one is compound too.
SimpleExpression::Shape shape_of(const SimpleExpression& e) {
    const bool value = e.form == SimpleExpression::VALUE;
    const bool updated =
        e.form == SimpleExpression::ADD_TO || e.form == SimpleExpression::SUBTRACT_FROM || e.more_targets > 0;
    if (e.functions) return updated ? SimpleExpression::CALLED_UPDATED : SimpleExpression::CALLED;
    if (e.form == SimpleExpression::STEP) return SimpleExpression::STEPPED;
    if (updated) return SimpleExpression::UPDATED;
    if (e.flat) return value ? SimpleExpression::FLAT_VALUE : SimpleExpression::FLAT_ASSIGN;
    if (e.chain && !e.compound) return value ? SimpleExpression::CHAIN_VALUE : SimpleExpression::CHAIN_ASSIGN;
    return SimpleExpression::OTHER;
}

}  // namespace

// Decides once for the expression whose first token is current.
int32_t InterpreterState::look_for_simple() {
    const Token* const first = tok;
    reading_choices.clear();
    int32_t index = read_simple(0);
    if (!reading_choices.empty()) index = named_list(*first, index, 0);
    first->simple = index;
    return index;
}

int32_t InterpreterState::read_simple(size_t chosen) {
    LookAhead look(*this);
    const size_t targets_kept = simple_targets.size();
    const size_t sites_kept = budget_sites.size();
    int32_t index = kNotSimple;
    // `(a < b)` is taken without its parentheses, `(a + b) * c` with them.
    for (const bool whole_in_parentheses : {true, false}) {
        look.again();
        reading_choices.resize(chosen);
        // Read again, the choices kept, where a name was found to be read
        // otherwise only at a refused token (find_or_refused).
        for (read_again = true; read_again && index < 0;) {
            read_again = false;
            look.again();
            SimpleExpression e{};
            e.first = static_cast<uint32_t>(simple_items.size());
            if (find_or_refused(e, whole_in_parentheses)) {
                e.shape = shape_of(e);
                simple.push_back(e);
                index = static_cast<int32_t>(simple.size() - 1);
                break;
            }
            simple_items.resize(e.first);
            simple_tokens.resize(e.first);
            simple_targets.resize(targets_kept);
            budget_sites.resize(sites_kept);
        }
        if (index >= 0) break;
    }
    return index;
}

// A token the scanner refuses ends the list where the frames read it, in
// the reading without the outer parentheses (which the frames read as any
// other); where they would do more than the list can tell before they
// read it, they take the expression.
bool InterpreterState::find_or_refused(SimpleExpression& e, bool whole_in_parentheses) {
    refused_at = Refused::READ;
    try {
        return find_simple(e, whole_in_parentheses);
    } catch (const ErrorReport&) {
        if (whole_in_parentheses || refused_at == Refused::FRAMES) return false;
        // A built-in's name that acts first and names no variable here is
        // the built-in's: it is read so, its values up to the token.
        const bool acts = tok->builtin >= 0 && pure_builtin_values(tok->builtin) == 0;
        if (refused_at == Refused::AFTER_NAME && acts && !read_as_variable(*tok)) {
            read_again = true;
            return false;
        }
        keep_refused(e);
        return true;
    }
}

// The items kept are what the frames do before they read the token; the
// ERROR item reads it again where it is reached, so that the scanner
// raises it as it would for them, and only then.
void InterpreterState::keep_refused(SimpleExpression& e) {
    const uint32_t at = scan.start;
    // The frames read the token after a variable's name, found first, and
    // after a function's or a built-in's that does nothing before it; with
    // one that acts first this reading takes the name as a variable, another
    // as the built-in.
    const bool acts = tok->builtin >= 0 && pure_builtin_values(tok->builtin) == 0;
    if (refused_at == Refused::AFTER_NAME && (!names_other(*tok) || acts)) {
        read_as_variable(*tok);
        keep_item(SimpleItem::VARIABLE, *tok);
        ++e.count;
    } else if (refused_at == Refused::WRITTEN) {
        keep_item(SimpleItem::TAKE, *tok);
        simple_items.back().code = 1;
        ++e.count;
    }
    // A variable stepped last, `x++` or `a = x++`, is stepped before the
    // token after it is read: an operand of the list.
    const bool stepped_last =
        e.more_targets > 0 ? simple_targets.back().form == SimpleExpression::STEP : e.form == SimpleExpression::STEP;
    if (stepped_last) {
        SimpleItem& step = simple_items[e.first];
        step.kind = SimpleItem::STEP;
        if (e.more_targets > 0) {
            step.value = simple_targets.back().name->id;
            simple_tokens[e.first] = simple_targets.back().name;
            simple_targets.pop_back();
            --e.more_targets;
        } else {
            step.value = e.target;
            simple_tokens[e.first] = e.target_name;
            e.form = SimpleExpression::VALUE;
        }
    }
    // After an operand, an operator that completes nothing pending, so that
    // the ERROR stands where an operand is due: nothing is worked out or
    // stored before it, as the frames read the token before either.
    const auto ends_operand = [](SimpleItem::Kind k) {
        return k == SimpleItem::NUMBER || k == SimpleItem::VARIABLE || k == SimpleItem::STEP ||
               k == SimpleItem::INPUT || k == SimpleItem::CLOSE || k == SimpleItem::TAKE;
    };
    if (e.count > 0 && ends_operand(simple_items.back().kind)) {
        keep_item(SimpleItem::OPERATOR, *tok);
        simple_items.back().rank = kRefusedRank;
        ++e.count;
    }
    keep_error(e, kRefusedToken);
    simple_items.back().value = static_cast<int32_t>(at);
    end_list(e);
    e.large = true;  // room for that operator too
}

// The frames read each name assigned to as a variable where one of its name
// is found, else as the built-in or the call, with what follows it. A NAMED
// list keeps the readings met so far, each read as the names were found
// then (read_as_variable); the first is read here, from `from`, with the
// first `fixed` of reading_choices its own.
int32_t InterpreterState::named_list(const Token& from, int32_t index, size_t fixed) {
    SimpleExpression named{};
    named.shape = SimpleExpression::NAMED;
    named.first = keep_reading(index, fixed);
    named.target_name = &from;
    simple.push_back(named);
    return static_cast<int32_t>(simple.size() - 1);
}

uint32_t InterpreterState::keep_reading(int32_t index, size_t fixed) {
    const auto own = reading_choices.begin() + static_cast<std::ptrdiff_t>(fixed);
    named_readings.push_back(NamedReading{static_cast<uint32_t>(named_choices.size()),
                                          static_cast<uint32_t>(reading_choices.size() - fixed), index, kNoReading});
    named_choices.insert(named_choices.end(), own, reading_choices.end());
    return static_cast<uint32_t>(named_readings.size() - 1);
}

int32_t InterpreterState::read_from(const Token& from, uint32_t after, size_t fixed) {
    const Token* const at = tok;
    const uint32_t pos = scan_pos;
    tok = &from;
    scan_pos = after;
    reading_choices.assign(fixed, NamedChoice{from.id, false});
    const int32_t index = read_simple(fixed);
    tok = at;
    scan_pos = pos;
    return index;
}

// Read from the statement's name, the list of a built-in statement whose
// `)` something but a `;` follows. The name is the built-in's, never
// a variable assigned to (`getnum = 1) + f(2)`), as the statement reads it.
int32_t InterpreterState::look_for_tail(const CachedToken& name) {
    // The statement's name is the built-in's; each other name assigned to
    // is read as it is found now, in a NAMED list.
    const int32_t index = read_from(name.token, name.end, 1);
    if (reading_choices.size() > 1) return named_list(name.token, index, 1);
    return index;
}

// Decides once for the arguments after the `(` just read whether each is a
// simple expression that ends at a `,` or at the end of the list, to be
// handed over together; any other list (too many values, one that calls a
// function) is read value by value.
int32_t InterpreterState::look_for_arguments() {
    const LookAhead look(*this);
    const size_t kept = simple_argument.size();
    int32_t index = kNotSimple;
    bool flat = true;
    size_t frames_bytes = 0;
    try {
        for (uint32_t count = 1; count <= static_cast<uint32_t>(kMaxArguments); ++count) {
            const uint32_t from = scan_pos;
            read_token();
            int32_t e = tok->simple;
            if (e == kNotLooked) e = look_for_simple();
            // One that calls a function, or whose reading is chosen as it
            // starts, is read by itself, and so are the values after it.
            if (e == kNotSimple || simple[static_cast<size_t>(e)].functions ||
                simple[static_cast<size_t>(e)].shape == SimpleExpression::NAMED)
                break;
            const SimpleExpression& found = simple[static_cast<size_t>(e)];
            simple_argument.push_back(SimpleArgument{e, from, found.first, found.count});
            flat = flat && found.shape == SimpleExpression::FLAT_VALUE;
            frames_bytes = std::max(frames_bytes, found.frames_bytes);
            scan_pos = found.end->start;
            read_token();
            if (tok->is(',')) continue;
            index = static_cast<int32_t>(simple_arguments.size());
            simple_arguments.push_back(
                SimpleArguments{static_cast<uint32_t>(kept), count, tok, scan_pos, flat, frames_bytes});
            break;
        }
    } catch (const ErrorReport&) {
        // A token the scanner refuses: read value by value, its value's list
        // raises it where it is reached.
        index = kNotSimple;
    }
    if (index == kNotSimple) simple_argument.resize(kept);
    arguments_at[look.pos()] = index;
    return index;
}

namespace {

// A number, or a name that can only be a variable.
bool plain(const InterpreterState& s, const Token& t) {
    if (t.kind == TK_NUMBER) return true;
    return t.kind == TK_NAME && t.builtin < 0 && s.function_of_id[static_cast<size_t>(t.id)] < 0;
}

// Whether the items are operands and operators in turn, each operand plain,
// a pair in parentheses `(a op b)`, or a built-in whose values are each
// plain or `a op b`: what a chain takes.
bool chain_of_operands(const SimpleItem* items, int count) {
    const auto is = [&](int k, SimpleItem::Kind kind) { return k < count && items[k].kind == kind; };
    const auto plain = [&](int k) { return is(k, SimpleItem::NUMBER) || is(k, SimpleItem::VARIABLE); };
    // The items of `a` or `a op b` from k; 0 for anything else.
    const auto value = [&](int k) {
        if (!plain(k)) return 0;
        if (!is(k + 1, SimpleItem::OPERATOR)) return 1;
        return plain(k + 2) ? 3 : 0;
    };
    // The items of the operand from k; 0 when a chain cannot take it.
    const auto operand = [&](int k) {
        if (is(k, SimpleItem::OPEN)) return value(k + 1) == 3 && is(k + 4, SimpleItem::CLOSE) ? 5 : 0;
        if (!is(k, SimpleItem::BUILTIN)) return plain(k) ? 1 : 0;
        for (int at = k + 1;;) {
            const int n = value(at);
            if (n == 0) return 0;
            at += n;
            if (is(at, SimpleItem::CLOSE)) return at + 1 - k;
            if (!is(at, SimpleItem::COMMA)) return 0;
            ++at;
        }
    };
    for (int i = 0;;) {
        const int n = operand(i);
        if (n == 0) return false;
        i += n;
        if (i == count) return true;
        if (!is(i, SimpleItem::OPERATOR)) return false;
        ++i;
    }
}

// Whether the items from `item` to `end` are values separated by commas,
// each `a` or `a op b` with plain operands: a call's values taken at once.
bool flat_values(const SimpleItem* item, const SimpleItem* end) {
    const auto plain = [](const SimpleItem& t) {
        return t.kind == SimpleItem::NUMBER || t.kind == SimpleItem::VARIABLE;
    };
    for (;;) {
        if (end - item < 1 || !plain(item[0])) return false;
        if (end - item >= 3 && item[1].kind == SimpleItem::OPERATOR) {
            if (!plain(item[2])) return false;
            item += 3;
        } else {
            ++item;
        }
        if (item == end) return true;
        if (item->kind != SimpleItem::COMMA) return false;
        ++item;
    }
}

}  // namespace

namespace {

// Where an assignment may begin, a variable followed by one of these would
// be assigned to.
bool assigns(const Token& t) {
    return t.is('=') || t.op == OP_INC || t.op == OP_DEC || t.op == OP_ADD_ASSIGN || t.op == OP_SUB_ASSIGN;
}

SimpleExpression::Form form_of(const Token& assignment) {
    if (assignment.is('=')) return SimpleExpression::ASSIGN;
    if (assignment.op == OP_ADD_ASSIGN) return SimpleExpression::ADD_TO;
    if (assignment.op == OP_SUB_ASSIGN) return SimpleExpression::SUBTRACT_FROM;
    return SimpleExpression::STEP;
}

}  // namespace

// ["("] (name ("++" | "--") | {name ("=" | "+=" | "-=")} operation) [")"]
// end, where end continues no operation (the end of the text too).
bool InterpreterState::find_simple(SimpleExpression& e, bool whole_in_parentheses) {
    e.sites = static_cast<uint32_t>(budget_sites.size());
    const int outer = whole_in_parentheses ? 1 : 0;
    if (whole_in_parentheses) {
        if (!tok->is('(')) return false;
        keep_site(e, 1, tok->start);
        read_token();
    }
    const Token* first = tok;
    keep_site(e, 1 + outer, first->start);
    e.form = SimpleExpression::VALUE;
    if (first->kind == TK_NAME && may_be_variable(*first) && assigned_next() && read_as_variable(*first)) {
        read_token();
        e.target = first->id;
        e.target_name = first;
        e.form = form_of(*tok);
        if (e.form == SimpleExpression::STEP) {
            keep_item(SimpleItem::OPERATOR, *tok);
            ++e.count;
        }
        read_token();
        if (e.form != SimpleExpression::STEP) find_targets(e);
    }
    const bool stepped = e.form == SimpleExpression::STEP ||
                         (e.more_targets > 0 && simple_targets.back().form == SimpleExpression::STEP);
    // The frames hold an operation for the outer parentheses, a store for
    // each variable assigned, and one for the operation.
    const int weight = 1 + outer + (e.form == SimpleExpression::VALUE ? 0 : 1 + e.more_targets);
    e.frames_bytes = static_cast<size_t>(weight) * sizeof(Frame);
    for (int i = 0; i < e.more_targets; ++i)
        keep_site(e, 2 + outer + i, simple_targets[e.targets + static_cast<uint32_t>(i)].name->start);
    if (!stepped && e.form != SimpleExpression::VALUE) keep_site(e, weight, tok->start);
    if (!stepped && !find_operation(e, weight)) return false;
    // One that raises an error is read without the outer parentheses, which
    // the frames would read as any other.
    const bool raises = e.count > 0 && simple_items.back().kind == SimpleItem::ERROR;
    if (whole_in_parentheses) {
        if (raises || !tok->is(')')) return false;
        read_token();
        if (tok->level != LEVEL_NONE) return false;
        ++e.depth;
    }
    end_list(e);
    return true;
}

void InterpreterState::end_list(SimpleExpression& e) {
    e.end = tok;
    keep_item(SimpleItem::END, *tok);  // after the last item, so what follows each item is at hand
    const SimpleItem* const items = simple_items.data() + e.first;
    const auto inside =
        std::count_if(items, items + e.count, [](const SimpleItem& t) { return t.kind == SimpleItem::ASSIGN; });
    e.large = e.depth > kMaxSimpleDepth || inside > kMaxSimpleDepth;
    e.sites_end = static_cast<uint32_t>(budget_sites.size());
}

// After an assignment's operator, the variables assigned in turn by the
// `=`, `+=` or `-=` after each (`a = b += c`), up to one stepped by `++`
// or `--` (`a = b++`), which ends the expression, or up to a name read as
// a built-in or a call, read as an operand.
void InterpreterState::find_targets(SimpleExpression& e) {
    e.targets = static_cast<uint32_t>(simple_targets.size());
    for (;;) {
        const Token* name = tok;
        if (name->kind != TK_NAME || !may_be_variable(*name) || !assigned_next() || !read_as_variable(*name)) return;
        read_token();
        const SimpleExpression::Form form = form_of(*tok);
        simple_targets.push_back(SimpleTarget{name->id, form, name});
        ++e.more_targets;
        if (form == SimpleExpression::STEP) {
            keep_item(SimpleItem::OPERATOR, *tok);
            ++e.count;
            read_token();
            return;
        }
        read_token();
    }
}

// A name assigned to that names a built-in or a function is a variable only
// where one of that name is declared, which the list cannot know before it
// runs: each reading is read as the names are found as it is first reached.
bool InterpreterState::names_other(const Token& name) const { return name.builtin >= 0 || function_of(name.id) >= 0; }

bool InterpreterState::read_as_variable(const Token& name) {
    if (!names_other(name)) return true;
    // std::find_if, not std::ranges::find: the page's C++ library lacks the latter.
    const auto chosen = std::find_if(reading_choices.begin(), reading_choices.end(),
                                     [&name](const NamedChoice& c) { return c.id == name.id; });
    if (chosen != reading_choices.end()) return chosen->variable;
    const bool variable = find_named(name.id) != nullptr;
    reading_choices.push_back(NamedChoice{name.id, variable});
    return variable;
}

bool InterpreterState::may_be_variable(const Token& name) const {
    if (!names_other(name)) return true;
    const auto chosen = std::find_if(reading_choices.begin(), reading_choices.end(),
                                     [&name](const NamedChoice& c) { return c.id == name.id; });
    return chosen == reading_choices.end() || chosen->variable;
}

// As the frames find each name where its assignment begins: no call changes
// which variables are found (no call declares one here), so the names are
// looked up once, here. Two readings part where one found a name and the
// other did not, so one alone holds; where none does, the one that holds
// now is read and kept, from the list's token, `after` where the text goes
// on after it.
int32_t InterpreterState::named_reading(uint32_t index, uint32_t after, size_t fixed) {
    const auto holds = [this](const NamedChoice& c) { return (find_named(c.id) != nullptr) == c.variable; };
    uint32_t at = simple[index].first;
    for (;;) {
        const NamedReading& r = named_readings[at];
        if (std::all_of(named_choices.data() + r.first, named_choices.data() + r.first + r.count, holds))
            return r.expression;
        if (r.next == kNoReading) break;
        at = r.next;
    }
    const int32_t reading = read_from(*simple[index].target_name, after, fixed);
    const uint32_t kept = keep_reading(reading, fixed);
    named_readings[at].next = kept;
    return reading;
}

// Whether an assignment's operator follows the current token, which stays current.
bool InterpreterState::assigned_next() {
    const Token* const name = tok;
    const uint32_t after_name = scan_pos;
    refused_at = Refused::AFTER_NAME;
    read_token();
    refused_at = Refused::READ;
    const bool assigned = assigns(*tok);
    scan_pos = after_name;
    tok = name;
    return assigned;
}

void InterpreterState::keep_item(SimpleItem::Kind kind, const Token& t, bool negate) {
    SimpleItem item{kind, negate, 0, 0, 0};
    switch (kind) {
        case SimpleItem::NUMBER: item.value = t.number; break;
        case SimpleItem::VARIABLE: item.value = t.id; break;
        case SimpleItem::BUILTIN:
        case SimpleItem::EFFECT:
            item.code = static_cast<uint8_t>(t.builtin);
            item.value = static_cast<int32_t>(t.start);
            break;
        case SimpleItem::INPUT: item.value = t.builtin; break;
        case SimpleItem::CALL: item.value = function_of_id[static_cast<size_t>(t.id)]; break;
        case SimpleItem::OPERATOR:
            item.rank = static_cast<uint8_t>(t.level + 1);
            item.code = t.op | static_cast<uint8_t>(t.ch);
            item.value = static_cast<int32_t>(t.start);
            break;
        case SimpleItem::CLOSE:
        case SimpleItem::COMMA:
        case SimpleItem::END:
        case SimpleItem::TAKE: item.rank = 1; break;
        default: break;
    }
    simple_items.push_back(item);
    simple_tokens.push_back(&t);
}

// A character constant, its `'` current, is the number of its character;
// one the frames would refuse is an error item.
void InterpreterState::keep_character(SimpleExpression& e, bool negate) {
    if (cur() == '\0') return keep_error(e, ERR_QUOTE_EXPECTED);
    const int32_t code = literal_character();
    if (cur() != '\'') return keep_error(e, ERR_QUOTE_EXPECTED);
    ++scan_pos;
    keep_item(SimpleItem::NUMBER, *tok, negate);
    simple_items.back().value = code;
    ++e.count;
    read_token();
}

// An error the frames would raise at the current token, where an operand
// is due or after one: the list runs what comes before it, calls
// included, and raises it when it gets there.
void InterpreterState::keep_error(SimpleExpression& e, int code) {
    keep_item(SimpleItem::ERROR, *tok);
    SimpleItem& error = simple_items.back();
    error.code = static_cast<uint8_t>(code);
    error.rank = 1;
    error.value = static_cast<int32_t>(scan_pos);
    ++e.count;
}

// operation = operand {op operand} with at most one comparison,
// operand = ["+" | "-"] (plain | char | "(" value ")" | "abs" "(" value ")"
// | "rand" "(" value ")" | "getpel" "(" value "," value ")"
// | (function | listed) "(" [value {"," value}] ")"
// | ("getche" | "getnum") "(" text ")" | ("putch" | "clear" | "setcolor") value),
// listed a built-in with effects that takes a list of values (see
// listed_builtin_values), or getpel or rand given any other count, a string its last value where it takes one
// (puts "(" string ")", print "(" (string | value) ")", textout and
// textstyle "(" value sep value sep string ")", sep any token), with only a `;` after
// puts or print, putch's, clear's and setcolor's value all that follows
// their name, with its `(` if it has one, any other built-in's or a
// function's name without its `(` an error,
// value = {name ("=" | "+=" | "-=")} (operation | name ("++" | "--")),
// with kMaxArguments values at most for a call (a listed built-in: as
// many as it takes); from the current token, to the token after it.
bool InterpreterState::find_operation(SimpleExpression& e, int weight) {
    constexpr int kCall = -1, kListed = -2, kSingle = -3;
    // Per depth: whether a comparison was read, the values the built-in
    // that opened it takes (0 for a parenthesis, kCall for a call, kListed
    // for a listed built-in, kSingle for putch, clear or setcolor), whether
    // its `,` was read (a call: how many), the frames the frames hold there;
    // grown as parentheses open.
    std::vector<bool> compared(1);
    std::vector<int> takes(1), comma(1), weights{weight};
    std::vector<size_t> opened_by(1);  // the item that opened it
    int depth = 0;
    bool may_assign = true;  // at the start, or just inside a parenthesis or a value
    // Ends the list at an error item.
    const auto error_item = [&](int code) {
        keep_error(e, code);
        return true;
    };
    // An error that print or puts raises after it wrote, at the token
    // after its TAKE: the list ends there.
    const auto written_error = [&](int code) {
        keep_error(e, code);
        simple_items.back().rank = 0;
        return true;
    };
    // Where a value begins (a statement's, a call's or a built-in's, after
    // `+=` or `-=`, not after `=`) the frames read `;` as an empty value,
    // and the end of the text (or an empty string) as none. (Inside the
    // parentheses around the whole no error is taken: see find_simple.)
    const SimpleExpression::Form last = e.more_targets > 0 ? simple_targets.back().form : e.form;
    bool value_start = last != SimpleExpression::ASSIGN;
    // Keeps the current token as an item; keep() also reads the next.
    const auto keep_here = [&](SimpleItem::Kind kind, bool negate) {
        keep_item(kind, *tok, negate);
        ++e.count;
    };
    const auto keep = [&](SimpleItem::Kind kind, bool negate) {
        keep_here(kind, negate);
        read_token();
    };
    // The frames the frames hold here, where a value or an assignment
    // begins: the most is what the expression needs of their budget.
    const auto hold = [&] {
        e.frames_bytes = std::max(e.frames_bytes, static_cast<size_t>(weights[depth]) * sizeof(Frame));
        keep_site(e, weights[depth], tok->start);
    };
    // The values a call or a listed built-in that opened `d` takes at most.
    const auto most = [&](int d) {
        if (takes[d] == kCall) return kMaxArguments;
        const int index = simple_items[opened_by[d]].code;
        return pure_builtin_values(index) > 0 ? kCollectionSize : listed_builtin_values(index);
    };
    // A listed built-in that opened `d` and takes a string as its last value.
    const auto strung = [&](int d) {
        return takes[d] == kListed && last_builtin_value(simple_items[opened_by[d]].code) != LastValue::NUMBER;
    };
    // What may stand where an operand is due: a string where such a
    // built-in's last value begins (just after its `(` or a `,` of its own).
    const auto string_due = [&] {
        if (!strung(depth) || comma[depth] + 1 < most(depth)) return LastValue::NUMBER;
        const SimpleItem::Kind before = simple_items.back().kind;
        if (before != SimpleItem::EFFECT && before != SimpleItem::COMMA) return LastValue::NUMBER;
        return last_builtin_value(simple_items[opened_by[depth]].code);
    };
    // With the `(` current, read; or with the first token of the value that
    // is putch's, clear's or setcolor's, a `(` or not.
    const auto open = [&](int taken, bool reads = true) {
        if (reads && !tok->is('(')) return false;
        if (static_cast<size_t>(++depth) == takes.size()) {
            compared.push_back(false);
            takes.push_back(0);
            comma.push_back(0);
            weights.push_back(0);
            opened_by.push_back(0);
        }
        opened_by[depth] = simple_items.size() - 1;
        compared[depth] = false;
        comma[depth] = 0;
        takes[depth] = taken;
        // A call holds its values' frame and an operation for each.
        weights[depth] = weights[depth - 1] + (taken == 0 ? 1 : 2);
        e.depth = std::max(e.depth, depth);
        may_assign = true;
        value_start = taken != 0;
        if (reads) read_token();
        // A string that puts or print takes begins no value.
        if (tok->kind != TK_STRING || string_due() == LastValue::NUMBER) hold();
        return true;
    };
    // Whether abs opened `d`.
    const auto abs_opened = [&](int d) { return takes[d] == 1 && steps_over_close(simple_items[opened_by[d]].code); };
    for (;;) {
        const LastValue string = string_due();
        if (string == LastValue::STRING && tok->kind != TK_STRING) return error_item(ERR_QUOTE_EXPECTED);
        bool negate = false;
        bool ended = false;  // the operand read ends its value whatever follows: empty, or a step
        if (tok->is('+') || tok->is('-')) {
            negate = tok->is('-');
            read_token();
            may_assign = false;
            value_start = false;
        }
        // Assigned to where a variable of its name is found, else read as
        // itself: this reading's choice.
        const bool named = may_assign && tok->kind == TK_NAME && names_other(*tok) && may_be_variable(*tok) &&
                           assigned_next() && read_as_variable(*tok);
        if (!named && tok->builtin >= 0 && single_builtin(tok->builtin)) {
            // Marked before the token after it is read, which the scanner may refuse.
            e.functions = true;
            keep(SimpleItem::EFFECT, negate);
            if (!open(kSingle, false)) return false;
            continue;
        }
        const bool listed = !named && tok->builtin >= 0 && listed_builtin_values(tok->builtin) > 0;
        if (!named && tok->builtin >= 0 && !input_builtin(tok->builtin) && !listed) {
            const int taken = pure_builtin_values(tok->builtin);
            keep(SimpleItem::BUILTIN, negate);
            // The frames' built-ins each expect their `(` after the name.
            if (!open(taken)) return error_item(ERR_PARENS_EXPECTED);
            continue;
        }
        if (tok->is('(')) {
            keep_here(SimpleItem::OPEN, negate);
            if (!open(0)) return false;
            continue;
        }
        // A built-in's name is the built-in's, even where a function of that name is found.
        const bool function =
            !named && tok->kind == TK_NAME && tok->builtin < 0 && function_of_id[static_cast<size_t>(tok->id)] >= 0;
        if (listed || function) {
            const Token& name = *tok;
            // Kept before the token after it is read, which a drawing one
            // reads after the pause before it.
            if (listed) {
                keep_here(SimpleItem::EFFECT, negate);
                e.functions = true;
            }
            read_token();
            if (function) {
                // A call's name without its `(`: the frames raise it at the
                // token after, with nothing of the call done.
                if (!tok->is('(')) return error_item(ERR_PARENS_EXPECTED);
                keep_item(SimpleItem::CALL, name, negate);
                ++e.count;
                e.functions = true;
            }
            // A drawing one without its `(` raises it after the pause before it.
            if (!open(listed ? kListed : kCall)) return error_item(ERR_PARENS_EXPECTED);
            continue;
        }
        if (!named && tok->builtin >= 0) {
            // The text is passed over up to and including the next `)`, or
            // to its end, which then ends the operand.
            keep_here(SimpleItem::INPUT, negate);
            // An answer may not be there yet: the list waits for it as for a call.
            e.functions = true;
            while (cur() != ')' && cur() != '\0') ++scan_pos;
            step_over(1);
            read_token();
        } else if (string != LastValue::NUMBER && tok->kind == TK_STRING && !negate) {
            // A 0 kept at the string, where the built-in's TAKE finds it;
            // its `)` follows, as the frames read it, which print and puts
            // find only after they wrote.
            keep_here(SimpleItem::NUMBER, false);
            simple_items.back().value = 0;
            if (ends_statement(simple_items[opened_by[depth]].code)) refused_at = Refused::WRITTEN;
            read_token();
            refused_at = Refused::READ;
            if (!tok->is(')')) {
                if (!ends_statement(simple_items[opened_by[depth]].code)) return error_item(ERR_PARENS_EXPECTED);
                keep_here(SimpleItem::TAKE, false);
                simple_items.back().code = 1;
                return written_error(ERR_PARENS_EXPECTED);
            }
        } else if (tok->is('\'')) {
            keep_character(e, negate);
            if (simple_items.back().kind == SimpleItem::ERROR) return true;
        } else if (tok->is(')')) {
            // An operand of value 0 to the frames (so `f()` has one value),
            // which then read the `)` as the end of what it stands in.
            keep_here(SimpleItem::NUMBER, negate);
            simple_items.back().value = 0;
        } else if (value_start && tok->is(';')) {
            // An empty value to the frames, 0, read past: the token after
            // the `;` ends the value, whatever it is. Where it is a
            // statement's whole value, the statement takes it (empty_value).
            if (depth == 0 && e.form == SimpleExpression::VALUE) return false;
            keep_here(SimpleItem::NUMBER, false);
            simple_items.back().value = 0;
            if (opened_by[depth] + 2 == simple_items.size() && (takes[depth] == kSingle || abs_opened(depth))) {
                // abs's, putch's, clear's or setcolor's own, taken at the
                // `;` itself; abs steps over the character after it.
                const bool abs = abs_opened(depth);
                keep_here(abs ? SimpleItem::CLOSE : SimpleItem::TAKE, false);
                if (!abs) simple_items.back().code = 1;
                --depth;
                if (abs) step_over(1);
            } else {
                ended = true;
                refused_at = Refused::FRAMES;  // what waits for the value takes it before it reads on
            }
            read_token();
            refused_at = Refused::READ;
        } else {
            if (!named && !plain(*this, *tok))
                return error_item(value_start && tok->len == 0 ? ERR_NO_EXPRESSION : ERR_SYNTAX);
            const bool name = tok->kind == TK_NAME;
            keep(name ? SimpleItem::VARIABLE : SimpleItem::NUMBER, negate);
            if (may_assign && name && assigns(*tok)) {
                if (depth == 0) return false;
                SimpleItem& assignment = simple_items.back();
                const SimpleExpression::Form form = form_of(*tok);
                assignment.code =
                    static_cast<uint8_t>(form == SimpleExpression::STEP ? tok->op : static_cast<uint8_t>(form));
                // Its kind before the token after it is read: a step is done,
                // a variable assigned found, before the frames read it.
                assignment.kind = form == SimpleExpression::STEP ? SimpleItem::STEP : SimpleItem::ASSIGN;
                read_token();
                if (form != SimpleExpression::STEP) {
                    // Its value follows, up to the `)` or `,` that ends it;
                    // the frames hold a store for it meanwhile.
                    ++weights[depth];
                    hold();
                    value_start = form != SimpleExpression::ASSIGN;
                    continue;
                }
                // The step is the assignment's value, whatever follows it.
                ended = true;
            }
        }
        // The operations this operand ends, each closed by its `)`, or
        // by the `,` before a built-in's second value; a call's, abs's,
        // putch's, clear's or setcolor's by whatever ends it, the first
        // after an empty value or a step whatever it is. After a comparison
        // another ends the operation, as any token but an operator does.
        const auto goes_on = [&] {
            return tok->level != LEVEL_NONE && !(compared[depth] && tok->level == LEVEL_COMPARISON);
        };
        bool second_value = false;
        for (bool ends = ended; !second_value && (ends || !goes_on()); ends = false) {
            if (depth == 0) {
                const SimpleItem* items = simple_items.data() + e.first;
                e.flat = e.count == 1 || (e.count == 3 && items[1].kind == SimpleItem::OPERATOR);
                e.chain = chain_of_operands(items, e.count);
                e.compound = e.depth > 0;
                return true;
            }
            if (takes[depth] == kSingle) {
                keep_here(SimpleItem::TAKE, false);
                simple_items.back().code = 1;
                --depth;
                continue;
            }
            const int values_given = comma[depth] + 1;
            if (takes[depth] > 0 && !abs_opened(depth) &&
                (tok->is(',') ? values_given == takes[depth] : tok->is(')') && values_given < takes[depth])) {
                // getpel given one value or more than two, rand more than
                // one: the frames take them as any list, missing values 0.
                simple_items[opened_by[depth]].kind = SimpleItem::EFFECT;
                takes[depth] = kListed;
                e.functions = true;
            }
            const bool list = takes[depth] == kCall || takes[depth] == kListed;
            // A call's values go on up to kMaxArguments, a listed built-in's
            // up to as many as it takes; the frames refuse one more.
            // textout and textstyle take any token as their separator.
            second_value = (tok->is(',') || strung(depth)) &&
                           ((takes[depth] == 2 && comma[depth] == 0) || (list && comma[depth] + 1 < most(depth)));
            // The frames enter a call at whatever token ends its values, and
            // abs steps over the character there.
            const bool call_ends = takes[depth] == kCall && !second_value;
            const bool steps_over = abs_opened(depth);
            const bool list_ends = call_ends || (list && !second_value && tok->is(')'));
            if (second_value) {
                ++comma[depth];
                compared[depth] = false;
                may_assign = true;
                value_start = true;
                weights[depth] = weights[depth - 1] + 2;  // the stores of the value before are done
            } else if (takes[depth] == 0 && !tok->is(')')) {
                return error_item(ERR_PARENS_EXPECTED);
            } else if (strung(depth) && !tok->is(')')) {
                // print's number, written before the frames find no `)` after it.
                keep_here(SimpleItem::TAKE, false);
                simple_items.back().code = static_cast<uint8_t>(values_given);
                return written_error(ERR_PARENS_EXPECTED);
            } else if (list && tok->is(',')) {
                return error_item(ERR_PARAMETER);
            } else if (call_ends || steps_over) {
                --depth;
            } else if (!tok->is(')') && !tok->is(',')) {
                return error_item(ERR_PARENS_EXPECTED);  // where the frames' other built-ins take their values
            } else {
                --depth;
            }
            if (call_ends) {
                SimpleItem* const call = simple_items.data() + opened_by[depth + 1];
                call->rank = flat_values(call + 1, simple_items.data() + simple_items.size()) ? 1 : 0;
            }
            const SimpleItem::Kind kind = second_value              ? SimpleItem::COMMA
                                          : list_ends && !call_ends ? SimpleItem::TAKE
                                                                    : SimpleItem::CLOSE;
            keep_here(kind, false);
            // Whole before the token after it is read, which the scanner may refuse.
            if (list_ends) simple_items.back().code = static_cast<uint8_t>(values_given);
            if (call_ends) simple_items.back().value = weights[depth];
            if (steps_over) {
                scan_pos = tok->start;
                step_over(1);
            }
            read_token();
            // puts and print end the statement, as the frames read them.
            if (kind == SimpleItem::TAKE && ends_statement(simple_items[opened_by[depth + 1]].code) && !tok->is(';'))
                return written_error(ERR_SEMICOLON_EXPECTED);
        }
        if (second_value) {
            if (tok->kind != TK_STRING || string_due() == LastValue::NUMBER) hold();
            continue;
        }
        // ++ -- += -= after an operand are a comparison whose right value
        // is dropped, as the frames work them out.
        compared[depth] = compared[depth] || tok->level == LEVEL_COMPARISON;
        keep(SimpleItem::OPERATOR, false);
        may_assign = false;
        value_start = false;
    }
}

void InterpreterState::keep_site(SimpleExpression& e, int weight, uint32_t at) {
    budget_sites.push_back(BudgetSite{static_cast<uint32_t>(e.count), static_cast<uint32_t>(weight), at});
}

bool InterpreterState::within_budget(const SimpleExpression& e, uint32_t pushed) {
    const BudgetSite* site = budget_sites.data() + e.sites;
    const BudgetSite* const end = budget_sites.data() + e.sites_end;
    while (site != end && within_site(*site, pushed)) ++site;
    if (site == end) return true;
    // The variables assigned are looked up where their assignments begin,
    // just after the budget is checked at their names.
    if (e.form != SimpleExpression::VALUE) {
        if (e.target_name->start < site->at && find_named(e.target) == nullptr) raise_missing(*e.target_name);
        for (int i = 0; i < e.more_targets; ++i) {
            const SimpleTarget& target = simple_targets[e.targets + static_cast<uint32_t>(i)];
            if (target.name->start < site->at && find_named(target.id) == nullptr) raise_missing(*target.name);
        }
    }
    // Before it only what neither acts nor raises: no `)` (a call, rand, a
    // store inside), no step, no built-in with effects or answer, no divisor.
    const SimpleItem* const items = simple_items.data() + e.first;
    for (uint32_t i = 0; i < site->item; ++i) {
        const SimpleItem& t = items[i];
        switch (t.kind) {
            case SimpleItem::NUMBER:
            case SimpleItem::OPEN:
            case SimpleItem::CALL:
            case SimpleItem::BUILTIN:
            case SimpleItem::COMMA: break;
            case SimpleItem::VARIABLE:
            case SimpleItem::ASSIGN:  // stored at its `)` or `,`
                if (find_named(t.value) == nullptr) return false;
                break;
            case SimpleItem::OPERATOR:
                if (t.code == '/' || t.code == '%') return false;
                break;
            case SimpleItem::INPUT:
            case SimpleItem::EFFECT:
            case SimpleItem::STEP:
            case SimpleItem::CLOSE:
            case SimpleItem::END:
            case SimpleItem::ERROR:
            case SimpleItem::TAKE: return false;
        }
    }
    report_error_at(ERR_TOO_DEEP, site->at);
}

// Each site's check stands before the item the site stands before. A
// call's values are read one by one, so that the checks among them are
// reached. A value of no variable: it runs only where within_budget found
// every variable assigned there, and ends at a check.
uint32_t InterpreterState::checked_list(uint32_t index) {
    if (checked_lists.size() <= index) checked_lists.resize(simple.size(), kNotSimple);
    if (checked_lists[index] >= 0) return static_cast<uint32_t>(checked_lists[index]);
    SimpleExpression copy = simple[index];
    const uint32_t from = copy.first;
    copy.first = static_cast<uint32_t>(simple_items.size());
    copy.form = SimpleExpression::VALUE;
    copy.shape = SimpleExpression::CALLED;
    copy.more_targets = 0;
    uint32_t site = copy.sites;
    for (uint32_t i = 0; i <= static_cast<uint32_t>(copy.count); ++i) {
        const Token* const token = simple_tokens[from + i];
        for (; site != copy.sites_end && budget_sites[site].item == i; ++site) {
            simple_items.push_back(SimpleItem{SimpleItem::ERROR, false, 1, ERR_TOO_DEEP, static_cast<int32_t>(site)});
            simple_tokens.push_back(token);
        }
        SimpleItem item = simple_items[from + i];
        if (item.kind == SimpleItem::CALL) item.rank = 0;
        simple_items.push_back(item);
        simple_tokens.push_back(token);
    }
    copy.count = static_cast<int>(simple_items.size() - copy.first) - 1;  // its END aside
    checked_lists[index] = static_cast<int32_t>(simple.size());
    simple.push_back(copy);
    return static_cast<uint32_t>(checked_lists[index]);
}

void InterpreterState::raise_item(const SimpleItem& error) {
    tok = simple_tokens[static_cast<size_t>(&error - simple_items.data())];
    scan_pos = static_cast<uint32_t>(error.value);
    if (error.code == kRefusedToken) read_token();  // the scanner raises it
    report_error_at(error.code, tok->start, scan_pos);
}

void InterpreterState::raise_missing(const Token& name) {
    tok = &name;
    scan_pos = name.start + name.len;
    report_error(ERR_NOT_VARIABLE, name);
}

void InterpreterState::raise_missing(const SimpleItem& t) {
    raise_missing(*simple_tokens[static_cast<size_t>(&t - simple_items.data())]);
}

// Each variable is found, and the value it adds to kept, before the value
// is worked out, as the frames keep them while the rest is read; the value
// is then stored from the last variable back to the first. With room for
// each variable.
[[gnu::always_inline]] inline void InterpreterState::update_variables(const SimpleExpression& e, SimpleTarget* targets,
                                                                      VarSlot** slots, int32_t* lefts, int32_t& v) {
    const int count = 1 + e.more_targets;
    targets[0] = SimpleTarget{e.target, e.form, e.target_name};
    std::copy_n(simple_targets.data() + e.targets, e.more_targets, targets + 1);
    for (int i = 0; i < count; ++i) {
        slots[i] = find_named(targets[i].id);
        if (slots[i] == nullptr) [[unlikely]]
            raise_missing(*targets[i].name);
        lefts[i] = slots[i]->value;
    }
    int32_t value = 0;
    int last = count - 1;
    if (targets[last].form == SimpleExpression::STEP) {
        const SimpleItem& step = simple_items[e.first];
        value = slots[last]->value = wrap_add(lefts[last], step.code == OP_INC ? 1 : -1);
        --last;
    } else {
        other_value(e, value);
    }
    for (int i = last; i >= 0; --i) {
        value = slots[i]->value = assigned_value(targets[i].form, lefts[i], value);
    }
    v = value;
}

void InterpreterState::run_update(const SimpleExpression& e, int32_t& v) {
    if (e.more_targets > kMaxSimpleDepth) [[unlikely]] {
        const auto count = static_cast<size_t>(1 + e.more_targets);
        std::vector<SimpleTarget> targets(count);
        std::vector<VarSlot*> slots(count);
        std::vector<int32_t> lefts(count);
        return update_variables(e, targets.data(), slots.data(), lefts.data(), v);
    }
    SimpleTarget targets[kMaxSimpleDepth + 1];
    VarSlot* slots[kMaxSimpleDepth + 1];
    int32_t lefts[kMaxSimpleDepth + 1];
    update_variables(e, targets, slots, lefts, v);
}

// Out of line, though plain chains are inlined where statements begin: in
// the browser, where the statements' loop is one compiled function, this
// loop inlined there made life 5% and nested 3% slower than the call does.
// It works on a value of its own: the caller's, written through at each
// operand, would be stored and fetched again around every built-in.
void InterpreterState::compound_chain(const SimpleItem* item, int32_t& v) {
    int32_t value = 0;
    run_chain<true>(item, value);
    v = value;
}

int32_t InterpreterState::plain_levels(const SimpleItem* item, const SimpleItem& op, int32_t left, int32_t right) {
    return chain_levels<false>(item, op, left, right);
}

namespace {

constexpr int32_t kAssignment = -2;
struct Opened {
    int32_t builtin;  // its index, -1 for a parenthesis, or kAssignment
    int32_t first;    // the first of a built-in's two values
    bool negate;
    uint32_t at;  // where a built-in stands
};
// An assignment inside, and its variable's value where it began.
struct Assignment {
    const SimpleItem* item;
    int32_t left;
};

// Per depth a `(` and at most one operator of each level; a `(` or an
// assignment opened per depth and per assignment inside.
struct LocalRoom {
    PendingOperator pending[(kMaxSimpleDepth + 1) * 4];
    Opened opened[kMaxSimpleDepth * 2 + 1];
    Assignment assignments[kMaxSimpleDepth];
};
// A large expression's: each item opens or leaves pending one at most.
struct HeapRoom {
    explicit HeapRoom(const SimpleExpression& e)
        : pending(static_cast<size_t>(e.count) + 1), opened(pending.size()), assignments(pending.size()) {}
    std::vector<PendingOperator> pending;
    std::vector<Opened> opened;
    std::vector<Assignment> assignments;
};

}  // namespace

// Left to right as the frames' levels work it out, each operator done as
// soon as the next one (or the end of its parenthesis) shows that nothing
// binds its right value tighter. A built-in is called as the frames would call it, in the same order; a
// division by zero is reported as they report it. An assignment inside
// stores its value when its `)` or `,` is reached, as the frames store it.
template <class Room>
[[gnu::always_inline]] inline void InterpreterState::operation_in(const SimpleExpression& e, Room& room,
                                                                  int32_t& result) {
    Assignment* assignment = &room.assignments[0];  // above the last
    PendingOperator* top = &room.pending[0];
    Opened* open = &room.opened[0];
    top->rank = 0;
    const SimpleItem* item = simple_items.data() + e.first;
    int32_t v = 0;
    for (;;) {
        const SimpleItem& t = *item++;
        if (t.kind == SimpleItem::OPEN || t.kind == SimpleItem::BUILTIN) {
            *++open = Opened{t.kind == SimpleItem::BUILTIN ? t.code : -1, 0, t.negate, static_cast<uint32_t>(t.value)};
            (++top)->rank = 0;
            continue;
        }
        if (t.kind <= SimpleItem::VARIABLE) {
            v = item_value(t);
        } else if (t.kind == SimpleItem::STEP) {
            v = step_item(t);
        } else if (t.kind == SimpleItem::ERROR) [[unlikely]] {
            raise_item(t);
        } else {
            // An assignment: its operators wait above the `(` it stands after.
            *++open = Opened{kAssignment, 0, false, 0};
            *assignment++ = Assignment{&t, item_variable(t).value};
            continue;
        }
        // v is the right value of what the next item completes.
        for (;;) {
            const SimpleItem& after = *item++;
            if (complete(top, v, after)) break;
            if (after.kind == SimpleItem::END) {
                result = v;
                return;
            }
            for (; open->builtin == kAssignment; --open) {
                --assignment;
                v = assign_item(*assignment->item, assignment->left, v);
            }
            // After the assignments' stores, as the frames raise it.
            if (after.kind != SimpleItem::CLOSE) {
                if (after.kind == SimpleItem::ERROR) [[unlikely]]
                    raise_item(after);
                open->first = v;  // a `,`
                break;
            }
            --top;  // the `(`
            if (open->builtin >= 0) v = pure_builtin(open->builtin, open->first, v, open->at);
            if (open->negate) v = wrap_sub(0, v);
            --open;
        }
    }
}

void InterpreterState::simple_operation(const SimpleExpression& e, int32_t& result) {
    if (e.large) [[unlikely]] {
        HeapRoom room(e);
        return operation_in(e, room, result);
    }
    LocalRoom room;
    operation_in(e, room, result);
}

}  // namespace korvane
