// SPDX-License-Identifier: GPL-3.0-or-later
// The interpreter: its parts (each in a header of its own) and the routines
// that work across them. Each routine executes straight from the program
// text at scan_pos; the files scanner, loader, simple_expressions,
// item_calls, executor, calls, errors and builtins implement them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "bridge.h"
#include "errors.h"
#include "frames.h"
#include "interpreter.h"
#include "language.h"
#include "machine_state.h"
#include "program_tables.h"
#include "run_control.h"
#include "run_report.h"
#include "scanned_text.h"
#include "tokens.h"

namespace korvane {

// An expression of plain operands (numbers, characters or variables),
// signs, binary operators and parentheses, assigned to variables or not
// (`a = b += c`, `(a = 3) + b`), or a variable stepped by ++ or -- (`b++`,
// `a = b++`, `(i++) * 2`):
// what its tokens are is a fact of the text, so it is found once and
// evaluated without the frames. A variable not there is raised at its
// name, after all that comes before it is done; one in which the frames
// could reach their budget runs as a list that checks it (item_calls.cpp).
// Its runners keep what is pending in local arrays up to this many
// parentheses deep, assignments inside or variables assigned after the
// first; a larger one takes room on the heap.
constexpr int kMaxSimpleDepth = 8;
// The rank of an OPERATOR item that completes nothing pending, above every
// level's: after an operand, it leaves the ERROR item of a token the
// scanner refuses where an operand is due.
constexpr uint8_t kRefusedRank = 0xFF;
// An ERROR item's code for a token the scanner refuses: no error's.
constexpr uint8_t kRefusedToken = ERR_COUNT;

// One token of a simple expression, in text order, with the facts of it
// that evaluating reads side by side: a sign is kept with the operand or
// parenthesis it stands before, a built-in or a call with its `(`, an
// assignment inside a parenthesis or a value with its operator; `f()` has
// a NUMBER 0 for its argument, as the frames give it one.
struct SimpleItem {
    // INPUT: getche or getnum, in a list that calls the program's functions.
    // EFFECT: a built-in with effects, started where it stands: one that
    // takes a list of values (a drawing call, show, sleep, puts, print,
    // textout, textstyle), which follow as a call's do, a string among them
    // a NUMBER 0 kept at the string, up to its TAKE, the `)` that ends
    // them; or putch, clear or setcolor, whose value is the operation that
    // follows, up to its TAKE, the token that ends that operation (and
    // goes on to end what is around it).
    // ASSIGN: a variable assigned the value of what follows up to the `)`
    // or `,` that ends it; STEP: a variable stepped, an operand.
    // ERROR: what the frames would raise at its token; the list ends there.
    // In a list's checked copy an ERROR of ERR_TOO_DEEP also stands where
    // the frames check their budget, raised only where they would raise it.
    enum Kind : uint8_t {
        NUMBER,
        VARIABLE,
        OPEN,
        BUILTIN,
        CALL,
        INPUT,
        EFFECT,
        ASSIGN,
        STEP,
        OPERATOR,
        CLOSE,
        COMMA,
        END,
        ERROR,
        TAKE
    } kind;
    bool negate;  // NUMBER, VARIABLE, OPEN, BUILTIN, EFFECT, CALL, INPUT: a `-` stands before it
    // How much of what is pending before it it completes: an operator every
    // pending operator of its level or above (its rank is its level + 1),
    // CLOSE, COMMA, END and TAKE all that their parenthesis holds; 0 for the others.
    // ERROR: 1, as after an operand the frames complete what its
    // parenthesis holds (and store the assignments inside) before they
    // raise it; 0 after the TAKE of print or puts, which raise it as soon
    // as they wrote.
    uint8_t rank;
    // OPERATOR, STEP: its character, or the code of a two-character operator;
    // ASSIGN: its SimpleExpression::Form;
    // a call's CLOSE, TAKE: how many values it gives; BUILTIN, EFFECT: its index;
    // ERROR: its ErrorCode, never 0 (ERR_SYNTAX) after an operand, where
    // the runs find it as they find a call's CLOSE; kRefusedToken for a
    // token the scanner refuses, which it raises when it reads it again
    uint8_t code;
    // (rank) CALL: 1 when each of its values is `a` or `a op b`, worked out
    // from its items at once
    // NUMBER: the number; VARIABLE, ASSIGN, STEP: the name's id; INPUT: its index;
    // BUILTIN, EFFECT: where it stands, for rand(0) and what its effects report;
    // CALL: its function_table entry;
    // a call's CLOSE: the frames the expression would hold at the call (its weight);
    // OPERATOR: where it stands, for a division by zero;
    // ERROR: where the scanner stood, which names the message's line; a
    // check of the budget: its BudgetSite's index; a refused token: where it begins
    int32_t value;

    // OPERATOR: its level; CLOSE, COMMA, END, TAKE: LEVEL_NONE.
    uint8_t level() const { return static_cast<uint8_t>(rank - 1); }
};

// Sixty-four bytes, so finding one by its index is a shift.
struct alignas(64) SimpleExpression {
    enum Form : uint8_t { VALUE, ASSIGN, ADD_TO, SUBTRACT_FROM, STEP } form;
    // How it is run: most are a flat value, a plain chain (either of them
    // maybe assigned), or a step; a value added or taken away, or stored in
    // more than one variable, has its own.
    // CALLED: one that calls the program's functions, run where a statement
    // can wait for their values (start_items); CALLED_UPDATED: such a one
    // that updates its variable or stores in more than one, which only it
    // looks at. NAMED: one that assigns to a name of a built-in or a
    // function, a variable only where one of that name is found when it
    // starts; its readings, from `first` in InterpreterState::named_readings
    // on, are chosen from then (start_other_items), read from `target_name`.
    enum Shape : uint8_t {
        FLAT_VALUE,
        FLAT_ASSIGN,
        CHAIN_VALUE,
        CHAIN_ASSIGN,
        STEPPED,
        OTHER,
        UPDATED,
        CALLED,
        CALLED_UPDATED,
        NAMED
    } shape;
    bool flat;      // one operand, or two with an operator between: no levels needed
    bool chain;     // operands (each with its sign) and operators in turn, an operand plain, a
                    // pair `(a op b)`, or a built-in whose values are each `a` or `a op b`
    bool compound;  // chain: some operand is a pair or a built-in
    // Calls of the program's functions, built-ins with effects or answers
    // (getche, getnum): run only where a statement can wait for them.
    bool functions;
    bool large;                // deeper than kMaxSimpleDepth, or more assignments inside: kept pending on the heap
    const Token* target_name;  // all but VALUE: the (first) variable's name, where one not there is raised
    int depth;                 // of its parentheses
    uint32_t sites;            // its first BudgetSite in InterpreterState::budget_sites (text order)
    // The most its weights reach: the frames the frames hold where a value
    // or an assignment inside begins, with the operation that value will
    // push, one more than they hold where they check their budget there.
    // A `return` or an expression statement pushes that one first, so it
    // is exact there and one frame over elsewhere.
    size_t frames_bytes;
    int32_t target;  // all but VALUE: the (first) variable's id
    // ASSIGN, ADD_TO, SUBTRACT_FROM: the variables assigned after the first
    // (`a = b += c`, `a = b++`), in InterpreterState::simple_targets.
    uint32_t targets;
    int more_targets;
    // VALUE, ASSIGN, ADD_TO, SUBTRACT_FROM: its items after the last `=`,
    // `+=` or `-=`, without the parentheses around the whole; where a
    // variable is stepped, its ++ or --. An END item follows them.
    uint32_t first;  // in InterpreterState::simple_items
    int count;
    uint32_t sites_end;  // and the one after its last
    const Token* end;    // the token that ends it
};

// Where the frames check their budget in an expression: where a value or
// an assignment begins, after `item` of its items, at the token at `at`,
// holding `weight` frames (as a hold weight: one less, the statement's
// frame aside).
struct BudgetSite {
    uint32_t item, weight, at;
};

// A variable assigned after the first, and how.
struct SimpleTarget {
    int32_t id;
    SimpleExpression::Form form;
    const Token* name;
};

static_assert(sizeof(SimpleExpression) == 64);

// A name assigned to that names a built-in or a function, read as a
// variable or not.
struct NamedChoice {
    int32_t id;
    bool variable;
};
// A reading of a NAMED list: the one that runs where each of its choices,
// `count` from `first` in InterpreterState::named_choices, holds (a variable
// of the name is found or not). Its entry in InterpreterState::simple, or
// kNotSimple; the list's next reading, or kNoReading.
struct NamedReading {
    uint32_t first, count;
    int32_t expression;
    uint32_t next;
};
constexpr uint32_t kNoReading = UINT32_MAX;

// A call's arguments where each is a simple expression: each one's entry in
// InterpreterState::simple with where reading it begins and its items, then
// the token that ends the list (its `)`, or whatever else ends it) and where
// the text goes on.
struct SimpleArgument {
    int32_t expression;
    uint32_t from;   // where reading its first token begins
    uint32_t items;  // its expression's first item in InterpreterState::simple_items
    int count;       // and how many
};
struct SimpleArguments {
    uint32_t first, count;  // in InterpreterState::simple_argument
    const Token* end;
    uint32_t after;
    // Every argument a value of one operand or two with an operator between,
    // with no built-in: each is worked out from its items alone, once the
    // frames have room for the most any of them could take.
    bool flat;
    size_t frames_bytes;
};

constexpr int kMaxArguments = 31;
// The values a built-in's list takes at most: h_axis's and the drawing
// calls' (most take fewer), and v_axis's.
constexpr int kCollectionSize = 10;
constexpr int kVAxisCollectionSize = 12;

// The item lists kept of the text: each simple expression and each list
// of simple arguments, found once where it begins.
struct ItemLists {
    std::vector<SimpleExpression> simple;
    std::vector<SimpleItem> simple_items;     // the items of each in turn
    std::vector<const Token*> simple_tokens;  // each item's token, for what is reported there
    std::vector<SimpleTarget> simple_targets;
    std::vector<NamedReading> named_readings;
    std::vector<NamedChoice> named_choices;  // each reading's in turn
    // The choices of the reading being read, in the order their names are met.
    std::vector<NamedChoice> reading_choices;
    // Where the read that a token the scanner refuses stopped stood: an
    // operand's or operator's place, the token after a name (which is read
    // as a variable first), after print's or puts' string (which they write
    // first), or a place where no list is kept.
    enum class Refused : uint8_t { READ, AFTER_NAME, WRITTEN, FRAMES } refused_at = Refused::READ;
    // The expression is to be read again with the choices of reading_choices.
    bool read_again = false;
    std::vector<BudgetSite> budget_sites;
    // Per expression: its checked copy's entry in simple, or kNotSimple
    // before it is made; grown as copies are asked for.
    std::vector<int32_t> checked_lists;
    // Per position after a call's `(`: its entry in simple_arguments,
    // kNotSimple, or kNotLooked.
    std::vector<int32_t> arguments_at;
    std::vector<SimpleArguments> simple_arguments;
    std::vector<SimpleArgument> simple_argument;
    // Per built-in statement's name whose list cannot be kept at the token
    // after its value, another list kept there: its entry in simple, or
    // kNotSimple.
    std::unordered_map<uint32_t, int32_t> tails_at;
    // Per statement that begins with a built-in's name, which marks its
    // token as beginning no list, the list of the expression it is where
    // a variable of that name is found: its entry in simple, or kNotSimple.
    std::unordered_map<uint32_t, int32_t> shadowed_at;

    // Nothing kept, for a text of `size` characters.
    void start_text(size_t size) {
        simple.clear();
        simple_items.clear();
        simple_tokens.clear();
        simple_targets.clear();
        named_readings.clear();
        named_choices.clear();
        budget_sites.clear();
        checked_lists.clear();
        arguments_at.assign(size, kNotLooked);
        simple_arguments.clear();
        simple_argument.clear();
        tails_at.clear();
        shadowed_at.clear();
    }
};

// The interpreter is its parts, each with one job, and the routines that
// work across them. The parts most read by the hot loop come first, the
// large tables last.
struct InterpreterState : MachineState, RunControl, RunReport, ScannedText, ItemLists, ProgramTables {
    explicit InterpreterState(Bridge& b);

    // errors
    // Ends the run with the error found at token t, which the editors mark;
    // the message names the line where the scanner stands, as it always
    // has (after a token that ends a line, the next one).
    [[noreturn]] void report_error(int code, const Token& t) { report_error_at(code, t.start, scan_pos); }
    // The same at a place: the character marked, and the one whose line the
    // message names (a halted show is marked, its `)` names the line).
    [[noreturn]] void report_error_at(int code, uint32_t marked, uint32_t line_at);
    [[noreturn]] void report_error_at(int code, uint32_t pos) { report_error_at(code, pos, pos); }
    // Keeps the frames within the budget: checked where a block of
    // statements or an assignment begins, as every nesting passes there.
    void check_depth() {
        if (!frames.within(0)) report_error_at(ERR_TOO_DEEP, tok->start);
    }
    int line_of(uint32_t pos);
    TextPlace place_of(uint32_t start, uint32_t end);
    // Characters (not bytes) of the text from `from` up to `to`: what a
    // column counts.
    int characters_between(uint32_t from, uint32_t to) const;
    ErrorDetails describe_error();

    // scanner
    // The character at scan_pos in a character literal, stepped over: its
    // Latin-1 code as a signed byte ('é' is -23), '?' beyond Latin-1.
    int32_t literal_character();
    // Reads the next token: from the cache when this position was read before.
    [[gnu::always_inline]] uint8_t read_token() {
        if (const CachedToken* cached = token_at[scan_pos]; cached != nullptr) {
            tok = &cached->token;
            scan_pos = cached->end;
            return tok->kind;
        }
        return read_new_token();
    }
    uint8_t read_new_token();
    void skip_space();
    void scan_token();
    uint8_t keyword_code();
    // Every token from the start of the text, up to its end or the first
    // token the scanner refuses.
    std::vector<Lexeme> read_all_tokens();
    int32_t intern(const char* name);
    int32_t id_of(const char* name) const;

    // loader
    void load_text(const std::string& text);
    void pre_pass();
    void define_globals();
    // The function_table entry of a name, or -1: the first definition wins.
    int32_t function_of(int32_t id) const { return id < 0 ? -1 : function_of_id[static_cast<size_t>(id)]; }
    int start_main();
    // With the token after main's `(` or after a `,` of its own read.
    void main_values();
    // One of them, from an item list; out of line, as items_done is hot.
    [[gnu::cold, gnu::noinline]] void main_value(int32_t v);

    // the machine: runs the frames until the bottom one ends
    void run_machine();
    // Stops the run where it stands, to go on from `at` with resume_waiting.
    [[noreturn]] void suspend(Wait at);
    void resume_waiting();
    void resume_after_part();
    // Runs part of a run (its start, or a resume) and tells how it ended.
    template <class F>
    RunResult carry_out(F&& part);

    // expressions
    // With its first token read: true with its value, ended as evaluate()
    // ends, when the expression is simple and the frames could not reach
    // their budget in it. Inlined from
    // simple_run.h, as are run_simple and combine.
    bool simple_value(int32_t& v);
    // An expression whose value goes to the top frame, its first token to be read.
    void evaluate();
    template <void (InterpreterState::*then)()>
    void evaluate_then();
    int32_t look_for_simple();
    // Its entry, or kNotSimple, read with the first `chosen` of
    // reading_choices; a name assigned to that names a built-in or a
    // function is otherwise a variable where one of its name is found now,
    // and that choice added.
    int32_t read_simple(size_t chosen);
    // The NAMED list read from `from`, its first reading the expression
    // read as `index` with reading_choices, the first `fixed` of them
    // fixed by where it is read (a built-in statement's name).
    int32_t named_list(const Token& from, int32_t index, size_t fixed);
    // A reading with the choices of reading_choices past the first `fixed`.
    uint32_t keep_reading(int32_t index, size_t fixed);
    // read_simple from `from`, `after` where the text goes on after it,
    // the first `fixed` choices its name read as not a variable.
    int32_t read_from(const Token& from, uint32_t after, size_t fixed);
    bool find_simple(SimpleExpression& e, bool whole_in_parentheses);
    // find_simple, or a list that ends where the scanner refuses a token.
    bool find_or_refused(SimpleExpression& e, bool whole_in_parentheses);
    void keep_refused(SimpleExpression& e);
    void end_list(SimpleExpression& e);
    // weight: the frames the frames would hold for the operation (calls).
    bool find_operation(SimpleExpression& e, int weight);
    // Ends as evaluate() ends, unless it is an argument of a list taken
    // whole, which sets the place once for the list.
    template <bool sets_place = true>
    bool run_simple(const SimpleExpression& e, int32_t& v);
    // run_simple where the frames are known to stay within their budget.
    template <bool sets_place = true>
    bool run_within(const SimpleExpression& e, int32_t& v);
    // Any other shape: a chain with pairs or built-ins (the only chains left
    // to it), or pending operators.
    void run_other(const SimpleExpression& e, int32_t& v);
    // Its value alone, for run_other and run_update.
    void other_value(const SimpleExpression& e, int32_t& value);
    // A value added to or taken from a variable, or stored in several;
    // out of line, as it is rarer.
    void run_update(const SimpleExpression& e, int32_t& v);
    void update_variables(const SimpleExpression& e, SimpleTarget* targets, VarSlot** slots, int32_t* lefts,
                          int32_t& v);
    void find_targets(SimpleExpression& e);
    bool names_other(const Token& name) const;
    // Whether a name assigned to is read as a variable in this reading.
    bool read_as_variable(const Token& name);
    // Whether this reading may still read the name as a variable.
    bool may_be_variable(const Token& name) const;
    bool assigned_next();
    // The reading of NAMED list `index` that runs now, or kNotSimple.
    [[gnu::cold]] int32_t named_reading(uint32_t index, uint32_t after, size_t fixed);
    // The (first) variable of all but a VALUE; one not there is raised.
    VarSlot& target_variable(const SimpleExpression& e);
    void combine(int32_t& v, const SimpleItem& op, const SimpleItem& right);
    int32_t flat_value(const SimpleItem* items, int count);
    // `a` or `a op b` from its first item, on to the item after it.
    void chain_value(const SimpleItem*& item, int32_t& v);
    void chain_builtin(const SimpleItem*& item, int32_t& v);
    void chain_operand(const SimpleItem*& item, int32_t& v);
    template <bool compound>
    void chain_next(const SimpleItem*& item, int32_t& v);
    template <bool compound>
    void run_chain(const SimpleItem* item, int32_t& v);
    // The rest of a chain on the levels, from the item after `right`, with
    // `op` waiting between `left` and `right`: its value.
    template <bool compound>
    int32_t chain_levels(const SimpleItem* item, const SimpleItem& op, int32_t left, int32_t right);
    void compound_chain(const SimpleItem* item, int32_t& v);
    // chain_levels of a plain chain, out of line, as it is rare. It
    // returns the value: were the caller's value's address to leave, that
    // value would live in memory on every path that inlines the chain.
    [[gnu::noinline]] int32_t plain_levels(const SimpleItem* item, const SimpleItem& op, int32_t left, int32_t right);
    bool complete(PendingOperator*& top, int32_t& v, const SimpleItem& after);
    // left op right, for an operator of `level` that stands at `at`.
    int32_t operate(int32_t left, uint8_t level, uint8_t code, int32_t right, uint32_t at);
    void simple_operation(const SimpleExpression& e, int32_t& v);
    // simple_operation with room for what is pending (simple_expressions.cpp).
    template <class Room>
    void operation_in(const SimpleExpression& e, Room& room, int32_t& v);
    // The expression at the current token that run_simple did not take
    // (it calls the program's functions, or the frames could reach their
    // budget in it), for `site` (see ItemsFrame): it runs up to its first
    // call, whose body begins, or to its end, its value handed to its
    // statement.
    void run_list(FrameKind site);
    // run_list's work: false, with nothing done, where no list holds it.
    bool start_items(FrameKind site);
    [[noreturn, gnu::cold]] void not_listed();
    // The list of a statement that begins with a built-in's name which
    // names a variable here (shadowed_at).
    [[gnu::cold]] int32_t shadowed_list();
    // start_items for a CALLED list.
    bool start_called(uint32_t index, FrameKind site);
    // With a call's value: the expression on top goes on.
    void resume_items();
    // The answer of the input built-in at `at` of the running list, which
    // waits for it in an ITEMS frame of its own, its `top` pending operator
    // the last.
    [[gnu::cold]] int32_t items_answer(const ItemsFrame& run, uint32_t at, uint32_t top);
    // The list on top tries again the item it waited at: an answer is asked
    // for again, a built-in started again.
    void retry_items();
    // Keeps the running list's place in an ITEMS frame of its own while the
    // item whose token is `at` may make the run wait, that token current as
    // the frames have it: on resume the list goes on from `item`, its `top`
    // pending operator the last.
    void hold_items(const ItemsFrame& run, uint32_t at, uint32_t item, uint32_t top);
    // The built-in with effects at `at` of the running list, reached: a
    // drawing call may pause before it or wait for a traced host.
    [[gnu::cold]] void start_effect(const ItemsFrame& run, uint32_t at, uint32_t top);
    // That built-in, its entry at `opened` in item_stack and its values
    // above it but the `last`, takes them at its TAKE, `item` the item after
    // it: what it gives, its sign applied.
    [[gnu::cold]] int32_t take_effect(const ItemsFrame& run, uint32_t item, uint32_t opened, int32_t last);
    // From its first item, or (resumed) with the value of the call that
    // ended just before `run.item`, up to its next call or its end.
    void run_items(const ItemsFrame& run, int32_t v, bool resumed);
    // Its call whose `(` is at `opened` in item_stack enters, with the
    // `count` values above it; `item` follows its `)`.
    void call_from_items(const ItemsFrame& run, uint32_t item, uint32_t opened, uint32_t count);
    // What follows a built-in statement's `)` but a `;`, that token
    // current, its OPERATION frame on top: the statement's list goes on
    // from the item after the built-in with its value (builtin_result).
    void start_tail_items();
    // The list of that statement, kept at the token after the `)`, or
    // by its name where that token keeps another.
    int32_t tail_list(const CachedToken& name);
    int32_t look_for_tail(const CachedToken& name);
    // start_tail_items where the frames could reach their budget in that
    // list: the list to run, `after` its item after the built-in.
    [[gnu::cold]] uint32_t tail_at_budget(uint32_t index, uint32_t& after);
    // start_items where the statement's value is a `;`: a 0 for it, the
    // `;` current as the frames leave it.
    [[gnu::cold, gnu::noinline]] bool empty_value(FrameKind site);
    // start_items for a CALLED_UPDATED list.
    [[gnu::cold]] bool start_updated_items(uint32_t index, FrameKind site);
    void open_items(uint32_t index, FrameKind site, ItemsFrame& run);
    // Its run begun from its first item.
    bool begin_list(uint32_t index, FrameKind site);
    // start_items where the frames could reach their budget in the list.
    [[gnu::cold, gnu::noinline]] bool start_at_budget(uint32_t index, FrameKind site);
    // The list a statement begins with where the frames could reach their
    // budget in it: itself where they never would, else its checked copy
    // where something before the place they would could act first;
    // ERR_TOO_DEEP is raised at once where nothing could.
    [[gnu::cold]] uint32_t list_at_budget(uint32_t index, FrameKind site);
    // A copy of the list that checks the frames' budget where they check
    // it, made once; its end is never reached (see list_at_budget).
    [[gnu::cold]] uint32_t checked_list(uint32_t index);
    // start_items for a list of any other shape: one that run_simple left,
    // as the frames could reach their budget in it.
    [[gnu::cold]] bool start_other_items(uint32_t index, FrameKind site);
    // With its pending operators from run.top.
    void begin_items(const SimpleExpression& e, const ItemsFrame& run);
    // The value v of a CALLED_UPDATED list stored in the variables assigned
    // after the first, the values before of all kept in item_stack from
    // run.base, the first's first; the value its first variable takes.
    [[gnu::cold]] int32_t updated_value(const SimpleExpression& e, const ItemsFrame& run, int32_t v);
    // The expression's value for its statement.
    void items_done(FrameKind site, int32_t v);
    // An ERROR item of the list reached, all the frames do before it done.
    [[noreturn, gnu::cold]] void raise_item(const SimpleItem& error);
    // The same where an operand is due, but a check of the budget, which
    // the list passes where the frames are within it.
    [[gnu::cold]] void reach_error(const ItemsFrame& run, const SimpleItem& error);
    // Whether the frames stay within their budget where they check it at
    // `site`, `pushed` the frames pushed before the list began.
    bool within_site(const BudgetSite& site, uint32_t pushed) const {
        return frames.within((site.weight - 1 + pushed) * sizeof(Frame));
    }
    // A variable that is not there, raised at its name as the frames raise
    // it where they read the name: all they do before it is done by then.
    [[noreturn, gnu::cold]] void raise_missing(const Token& name);
    // The same for the name of a VARIABLE, ASSIGN or STEP item.
    [[noreturn, gnu::cold]] void raise_missing(const SimpleItem& t);
    void keep_item(SimpleItem::Kind kind, const Token& t, bool negate = false);
    void keep_site(SimpleExpression& e, int weight, uint32_t at);
    // Where a list's frames would pass the budget, `pushed` the frames the
    // frames push before it begins (a `return`'s or an expression
    // statement's): ERR_TOO_DEEP raised where they would raise it (or a
    // variable assigned before that place that is not there), or true
    // where they never would, the list to run. False, with nothing done,
    // where something before that place could act first (its checked copy
    // runs).
    [[gnu::cold]] bool within_budget(const SimpleExpression& e, uint32_t pushed);
    // An assignment inside whose value v is: stored as its ASSIGN item
    // says, `left` the variable's value where the assignment began; the
    // value it gives.
    int32_t assign_item(const SimpleItem& t, int32_t left, int32_t v);
    // A STEP item's variable stepped: its new value.
    int32_t step_item(const SimpleItem& t);
    void keep_character(SimpleExpression& e, bool negate);
    void keep_error(SimpleExpression& e, int code);
    // A VARIABLE, ASSIGN or STEP item's variable; one not there is raised.
    [[gnu::always_inline]] VarSlot& item_variable(const SimpleItem& t) {
        VarSlot* const slot = find_named(t.value);
        if (slot == nullptr) [[unlikely]]
            raise_missing(t);
        return *slot;
    }
    // A NUMBER or VARIABLE item's value, its sign applied.
    [[gnu::always_inline]] int32_t item_value(const SimpleItem& t) {
        int32_t v = t.kind == SimpleItem::NUMBER ? t.value : item_variable(t).value;
        if (t.negate) v = static_cast<int32_t>(0u - static_cast<uint32_t>(v));
        return v;
    }
    int32_t multiply(int32_t left, char op, int32_t right, uint32_t at);

    // statements
    // statements = statement | "{" {statement} "}"
    // Inlined everywhere: every loop pass and call begins here, and the web
    // build's compiler would otherwise leave it a call.
    [[gnu::always_inline]] void start_statements() {
        check_depth();
        push(FrameKind::STATEMENTS).block = false;
        mode = Mode::STATEMENT;
    }
    void run_statements();
    // After a statement that held others: the top STATEMENTS frame goes on,
    // unless a break, continue or return unwinds it.
    void continue_statements() {
        if (tok->at_eof() || !frames.back().block || unwind != Unwind::NONE) return finish_statements();
        mode = Mode::STATEMENT;
    }
    void finish_statements() {
        frames.pop_back();
        mode = Mode::DONE;
    }
    void statement_value();
    void builtin_statement();
    void builtin_statement_call();
    // A built-in that made the run wait at its name (Wait::BUILTIN, or a
    // pause before a drawing call), its OPERATION frame on top.
    void resume_builtin();
    // A drawing call that paused after it drew (a watched pixel changed),
    // its OPERATION frame on top, with the value it gives.
    void resume_after_drawing(int32_t value);
    void builtin_values();
    void builtin_statement_value(int32_t v);
    void builtin_statement_done();
    void statements_done();
    void end_statements();
    void start_for();
    void for_condition();
    void for_condition_after_stop();
    void for_value();
    void for_body();
    void for_done();
    void for_increment_after_stop();
    void start_do();
    void do_value();
    void do_done();
    void do_condition_after_stop();
    void if_value();
    void while_value();
    void while_done();
    void skip_body();
    void skip_statement();
    void pass_statement();

    template <class F>
    void memo_pass(Pass kind, F&& pass) {
        const size_t key = size_t{scan_pos} * kPassKinds + static_cast<uint8_t>(kind);
        if (const int32_t at = pass_at[key]; at >= 0) {
            scan_pos = pass_ends[static_cast<size_t>(at)].end;
            tok = pass_ends[static_cast<size_t>(at)].token;
            return;
        }
        first_pass(key, pass);
    }
    template <class F>
    [[gnu::noinline]] void first_pass(size_t key, F& pass) {
        pass();
        pass_at[key] = static_cast<int32_t>(pass_ends.size());
        pass_ends.push_back(PassEnd{scan_pos, tok});
    }
    void define_locals();
    [[gnu::noinline]] void read_locals(uint32_t at);
    // Counts a statement's step and, while pauses are armed, stops before it.
    [[gnu::always_inline]] void count_step() {
        if (++steps >= next_step_event) step_event();
    }
    void step_event();
    // Where a run begins: its first poll at `step`.
    void first_poll_at(uint64_t step);
    // The next step comes to the step event while pauses are armed, else the next poll does.
    void aim_step_event() { next_step_event = pauses.armed ? steps + 1 : next_poll; }
    // After anything that changes what could pause: every step is looked at
    // while something could.
    void rearm_pauses();
    [[gnu::always_inline]] void enter_loop_pass(uint32_t at) {
        if (!loops.empty() && loops.back().at == at && loops.back().calls == call_top)
            ++loops.back().passes;
        else
            loops.push_back(LoopPass{at, 1, call_top});
    }
    void leave_loop(uint32_t at);

    // pauses
    void begin_pauses();
    // Before a statement, with its first token read, or before a header
    // part starting at pos; only called while pauses.armed.
    void statement_stop();
    void part_stop(uint32_t pos);
    // Around a drawing built-in whose name is the current token: before it
    // when the command is NEXT_DRAWING_CALL, after it while pauses.draws.
    void before_drawing_call();
    void after_drawing_call(uint32_t call, int32_t value);
    void stop_at(uint32_t pos, Stop kind);
    void pause(PauseReason reason, uint32_t from, uint32_t to, Stop where);
    PauseSnapshot snapshot();
    TextRange range_of(uint32_t from, uint32_t to);

    // variables and calls
    // Locals of the current call from the top down, then the globals: the
    // topmost local of a name hides every other, and it is the current
    // call's if it lies above the frame base.
    VarSlot* find_variable(int32_t id) { return id < 0 ? nullptr : find_named(id); }
    // The same for the id of a name.
    VarSlot* find_named(int32_t id) {
        const int base = frame_base;
        if (const int32_t local = local_of_id[static_cast<size_t>(id)]; local >= base) return &local_stack[local];
        const int32_t global = global_of_id[static_cast<size_t>(id)];
        return global >= 0 ? &global_table[global] : nullptr;
    }
    // Both read the tables through local copies of where they are: a slot
    // holds a pointer and ints, and a store of either would make the
    // compiler fetch the tables' places and tops again.
    void push_variable(const VarSlot& slot) {
        const int index = local_top;
        if (index == kMaxLocals) report_error(ERR_TOO_MANY_LOCALS, *tok);
        local_stack[index] = slot;
        local_top = index + 1;
        name_local(index, slot.id);
    }
    void pop_locals(int base);
    void push_frame_base(int32_t base);
    int32_t pop_frame_base();
    // The current token names the function, at `function` in function_table.
    void start_call(int32_t function);
    int32_t look_for_arguments();
    // With a list's `(` read: its note when each of its values is simple, else null.
    const SimpleArguments* simple_argument_list();
    // True with their values in given_values and the list passed over; false
    // with the values before the first that was not pushed on the value
    // stack, and that one to be read next.
    bool simple_argument_values(const SimpleArguments& list, int32_t* given_values);
    // True when another argument is to be evaluated; false when the body began.
    [[gnu::always_inline]] bool argument_value(int32_t v) {
        values.push_back(v);
        read_token();
        if (!tok->is(',')) {
            enter_call();
            return false;
        }
        if (values.size() - frames.back().call.first == kMaxArguments) report_error(ERR_PARAMETER, *tok);
        return true;
    }
    void enter_call();
    void begin_body(uint32_t at);
    void leave_call();
    void name_parameters(FuncEntry& function);
    [[gnu::noinline]] void read_parameters(FuncEntry& function);

    // built-ins
    int builtin_index(const char* name) const;
    // How many values a built-in worked out from its values alone takes
    // (abs, getpel, and rand, whose only effect is the number it draws), else 0.
    static int pure_builtin_values(int index);
    // getche and getnum, which take no values and wait for an answer.
    static bool input_builtin(int index);
    // How many values a built-in with effects that takes a list of them
    // takes at most (a drawing call, show, sleep, and puts, print, textout
    // and textstyle counting their string as one), else 0.
    static int listed_builtin_values(int index);
    // What the last value of such a built-in is: print's a string or a
    // number, puts', textout's and textstyle's a string.
    enum class LastValue : uint8_t { NUMBER, STRING, STRING_OR_NUMBER };
    static LastValue last_builtin_value(int index);
    // puts and print, which only a `;` may follow.
    static bool ends_statement(int index);
    // putch, clear and setcolor, which take as their value the operation
    // that follows their name.
    static bool single_builtin(int index);
    // abs, whose one value the frames take at whatever token ends it, and
    // step over the character there, its `)` or not.
    static bool steps_over_close(int index);
    // Before a built-in whose name is current: a drawing call may pause
    // before it, or wait for a traced host's go.
    void before_builtin(int index);
    // Such a built-in, or rand or getpel, given its values (and the string
    // it takes, or null): its result.
    int32_t take_values(int index, uint32_t call, const int32_t* given_values, const char* text);
    // An input built-in's answer, its name current; a host that has none
    // yet makes the run wait `at` it, to ask again on resume.
    int32_t answer(int index, Wait at);
    // Such a built-in whose name stands at `call`, where rand(0) is reported.
    int32_t pure_builtin(int index, int32_t first, int32_t last, uint32_t call);
    int32_t random_below(int32_t bound, uint32_t call);
    // Both true with the built-in's result in `builtin_result` when it is done.
    bool start_builtin(int index);
    // A value for a built-in's frame. True with the built-in's result in
    // `builtin_result` when it has all it takes; false when it waits for another
    // value. More values than a list holds is a parameter error; missing
    // ones stay 0. Inlined: most values are one of a list.
    [[gnu::always_inline]] bool builtin_value(int32_t v) {
        const Frame& f = frames.back();
        if (f.kind != FrameKind::COLLECTION) return single_value(v);
        values.push_back(v);
        read_token();
        if (!tok->is(',')) return collection_done();
        if (values.size() - f.builtin.first == static_cast<size_t>(f.builtin.capacity))
            report_error(ERR_PARAMETER, *tok);
        return false;
    }
    bool collection_done();
    bool simple_collection();
    bool take_collection(const int32_t* collected_values);
    // The value of a built-in that takes one, or of textout or textstyle.
    bool single_value(int32_t v);
    uint32_t next_random();
};

// The id that a name token would look this declared name up by, or -1 when
// it is no name; names too long for the tables are a syntax error.
int32_t declared_name(InterpreterState& s, const Token& name);
// The same, keeping the name's text in a table field.
int32_t copy_name(InterpreterState& s, const char*& field, const Token& name);
// Adds the warnings about text that runs otherwise than it looks: what the
// run passes over, numbers that are not what they look like, `=` in a
// condition, brackets in a declared name, a value used where none is returned.
void warn_about_text(InterpreterState& s, const std::vector<Lexeme>& all, std::vector<CallWarning>& out);

}  // namespace korvane
