// The whole interpreter state in one object, and the routines that work on
// it. Each routine executes straight from the program text at ScanPos; the
// files scanner, loader, evaluator, executor, calls, errors and builtins
// implement them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bridge.h"
#include "errors.h"
#include "tokens.h"

namespace korvane {

struct FuncEntry {
    char name[kNameSize];  // lower case
    uint32_t body;         // just after the `(` that follows the name in its definition
};

struct VarSlot {
    char name[kNameSize];  // lower case; empty for an unnamed argument
    int32_t kind;          // declaration keyword; never consulted
    int32_t value;
};

// How far a `break`, `continue` or `return` is unwinding the executors.
enum class Unwind : uint8_t { NONE, BREAK, CONTINUE, RETURN };

constexpr int kMaxFunctions = 100;
constexpr int kMaxGlobals = 100;
constexpr int kMaxLocals = 200;
constexpr int kMaxCalls = 100;
constexpr int kMaxArguments = 31;
constexpr int kMaxDepth = 1000;         // nested statements and expressions
constexpr uint32_t kPollInterval = 4096;  // statements between bridge polls

struct InterpreterState {
    explicit InterpreterState(Bridge& b);

    Bridge& bridge;

    // Program text, NUL-terminated (with spare NULs so a look-ahead of one
    // character past the end stays inside).
    std::vector<char> TextBuffer;
    uint32_t ScanPos = 0;
    Token tok;

    FuncEntry FunctionTable[kMaxFunctions];
    int FunctionCount = 0;
    VarSlot GlobalTable[kMaxGlobals];
    int GlobalCount = 0;
    VarSlot LocalStack[kMaxLocals];
    int LocalTop = 0;
    int32_t CallStack[kMaxCalls];
    int CallTop = 0;
    int32_t ReturnValue = 0;  // kept across calls and runs
    Unwind unwind = Unwind::NONE;

    uint32_t RandState = 1;   // kept across runs
    int depth = 0;            // current nesting of executors and expressions
    uint64_t steps = 0;       // statements executed in this run
    uint64_t step_limit = 0;  // 0: none
    uint64_t next_step_event = kPollInterval;
    int error_line = -1;
    long error_offset = -1;

    char BridgeText[kTokenTextSize] = {};

    // errors
    [[noreturn]] void report_error(int code);
    int line_of(uint32_t pos) const;

    // scanner
    char at(uint32_t pos) const { return TextBuffer[pos]; }
    char cur() const { return TextBuffer[ScanPos]; }
    void step_over(uint32_t n);  // moves ScanPos on by n, never past the end
    uint8_t read_token();
    void unread_token();
    uint8_t keyword_code();

    // loader
    void load_text(const std::string& text);
    void pre_pass();
    void define_globals();
    bool function_entry(const char* name, uint32_t& body) const;
    int start_main();

    // expressions
    int32_t evaluate();
    void eval_assignment(int32_t& result);
    void eval_comparison(int32_t& result);
    void eval_additive(int32_t& result);
    void eval_multiplicative(int32_t& result);
    void eval_sign(int32_t& result);
    void eval_parenthesized(int32_t& result);
    void eval_primary(int32_t& result);

    // statements
    void exec_statements();
    void skip_body();
    void skip_statement();
    void run_if();
    void run_while();
    void run_do();
    void run_for();
    void run_return();
    void define_locals();
    void count_step();

    // variables and calls
    VarSlot* find_variable(const char* name);
    bool variable_exists(const char* name) { return find_variable(name) != nullptr; }
    int32_t load_variable(const char* name);
    void store_variable(const char* name, int32_t value);
    void push_variable(const VarSlot& slot);
    void push_frame_base(int32_t base);
    int32_t pop_frame_base();
    void invoke_function();
    void push_arguments();
    void name_parameters();

    // built-ins
    int builtin_index(const char* name) const;
    int32_t call_builtin(int index);
    int collect_arguments(int32_t* values, int capacity);
    uint32_t next_random();
};

// Copies a name into a table field; names that do not fit are a syntax error.
void copy_name(InterpreterState& s, char (&field)[kNameSize], const char* name);

// Keeps native recursion bounded: every executor and every expression level
// that can recurse holds one.
class DepthGuard {
public:
    explicit DepthGuard(InterpreterState& s) : s_(s) {
        if (++s_.depth > kMaxDepth) s_.report_error(ERR_TOO_DEEP);
    }
    ~DepthGuard() { --s_.depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    InterpreterState& s_;
};

}  // namespace korvane
