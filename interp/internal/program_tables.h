// SPDX-License-Identifier: GPL-3.0-or-later
// What is known of the program once its text is read: its functions and
// globals, and what a first reading of a piece of text keeps for every
// later one (where a pass over it ends, the names a declaration declares).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "machine_state.h"
#include "tokens.h"

namespace korvane {

struct FuncEntry {
    uint32_t body;  // just after the `(` that follows the name in its definition
    // Naming the parameters reads the same text each call: once it went
    // through, its names (first first) and where it ends are kept.
    bool named;
    std::vector<Parameter> parameters;
    uint32_t after;
    const Token* last;
};

constexpr int kMaxFunctions = 100;
constexpr int kMaxGlobals = 100;

struct ProgramTables {
    int function_count = 0;
    int global_count = 0;
    std::vector<int32_t> function_of_id;  // first function_table entry per name id, or -1
    std::vector<int32_t> global_of_id;    // first global_table entry per name id, or -1

    // Passing over text only moves scan_pos and the current token, so where a
    // pass of each kind from a position ends is kept for the rest of the run.
    enum class Pass : uint8_t { STATEMENT, BLOCK, INCREMENT };
    static constexpr size_t kPassKinds = 3;
    struct PassEnd {
        uint32_t end;
        const Token* token;
    };
    std::vector<PassEnd> pass_ends;
    std::vector<int32_t> pass_at;  // per position and kind of pass: its entry in pass_ends, or -1
    // A declaration of locals names the same locals each time it is read:
    // once read, its names (in `declared`) and where it ends are kept.
    struct Declaration {
        uint32_t first, count;  // in `declared`
        uint32_t after;
        const Token* last;
    };
    std::vector<Declaration> declarations;
    std::vector<Parameter> declared;
    std::vector<int32_t> declaration_at;  // per position of its keyword: its entry in declarations, or -1

    // The large tables come last, after everything the hot loop reads.
    FuncEntry function_table[kMaxFunctions];
    VarSlot global_table[kMaxGlobals];

    // Nothing kept, for a text of `size` characters.
    void start_text(size_t size) {
        function_of_id.clear();
        global_of_id.clear();
        pass_ends.clear();
        pass_at.assign(size * kPassKinds, -1);
        declarations.clear();
        declared.clear();
        declaration_at.assign(size, -1);
    }
};

}  // namespace korvane
