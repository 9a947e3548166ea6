// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a program text, the pre-pass that finds functions and globals,
// and the start of main.
#include <cstring>

#include "state.h"
#include "text_encoding.h"

namespace korvane {

int32_t declared_name(InterpreterState& s, const Token& name) {
    if (character_count(name.text) >= kNameSize) s.report_error_at(ERR_SYNTAX, name.start);
    return name.kind == TK_NAME ? name.id : -1;
}

int32_t copy_name(InterpreterState& s, const char*& field, const Token& name) {
    const int32_t id = declared_name(s, name);
    field = name.text;
    return id;
}

std::string normalise_line_ends(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void InterpreterState::load_text(const std::string& text) {
    take_text(text);
    ItemLists::start_text(source_text.size());
    ProgramTables::start_text(source_text.size());
    local_of_id.clear();
}

// Whatever the file's bytes, the interpreter reads UTF-8.
void ScannedText::take_text(const std::string& text) {
    const std::string program = normalise_line_ends(program_text_from_bytes(text));
    source_text.assign(program.begin(), program.end());
    // A trailing end-of-file marker is not part of the program.
    if (!source_text.empty() && source_text.back() == '\x1a') source_text.pop_back();
    source_text.push_back('\0');
    source_text.push_back('\0');
    scan_pos = 0;
    token_at.assign(source_text.size(), nullptr);
    tokens.clear();
    line_ends.clear();
    name_ids.clear();
}

// pre_pass = { declaration | name "(" params ")" | "{" body "}" | other }
void InterpreterState::pre_pass() {
    const uint32_t saved = scan_pos;
    function_count = 0;
    int depth = 0;
    do {
        while (depth > 0) {
            read_token();
            if (tok->is_brace('{')) ++depth;
            if (tok->is_brace('}')) --depth;
            if (cur() == '\0' && tok->len == 0) report_error(ERR_UNBALANCED_BRACES, *tok);
        }
        read_token();
        if (tok->is_keyword(KW_INT) || tok->is_keyword(KW_CHAR)) {
            unread_token();
            define_globals();
        } else if (tok->kind == TK_NAME) {
            const Token name = *tok;
            read_token();
            if (tok->is('(')) {
                if (function_count == kMaxFunctions) report_error_at(ERR_TOO_MANY_FUNCTIONS, name.start);
                FuncEntry& f = function_table[function_count];
                const int32_t id = declared_name(*this, name);
                if (function_of_id[static_cast<size_t>(id)] < 0)
                    function_of_id[static_cast<size_t>(id)] = function_count;
                f.body = scan_pos;
                f.named = false;
                ++function_count;
                // The parameter list is not tokenised here, only passed over
                // up to its `)`, which may not hide in a comment.
                for (skip_space(); cur() != ')' && cur() != '\0'; skip_space()) ++scan_pos;
                step_over(1);
            } else {
                unread_token();
            }
        } else if (tok->is_brace('{')) {
            depth = 1;
        }
    } while (!tok->at_eof());
    scan_pos = saved;
}

// declaration = ("int" | "char") name ["=" initialiser] {"," name ["=" initialiser]} ";"
void InterpreterState::define_globals() {
    read_token();
    const uint8_t type = tok->keyword;
    do {
        if (global_count == kMaxGlobals) report_error_at(ERR_TOO_MANY_GLOBALS, tok->start);
        VarSlot& slot = global_table[global_count];
        slot.value = 0;
        read_token();
        slot.id = copy_name(*this, slot.name, *tok);
        if (slot.id >= 0 && global_of_id[static_cast<size_t>(slot.id)] < 0) {
            global_of_id[static_cast<size_t>(slot.id)] = global_count;
        }
        read_token();
        if (tok->is('=')) {
            if (type == KW_INT) {
                // Only a number gives a value; anything else leaves 0.
                read_token();
                if (tok->kind == TK_NUMBER) slot.value = tok->number;
                read_token();
            } else {
                read_token();
                if (tok->is('\'')) {
                    slot.value = literal_character();
                    step_over(1);
                    read_token();
                }
            }
        }
        ++global_count;
    } while (tok->is(','));
    if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
}

int InterpreterState::start_main() {
    global_count = 0;
    scan_pos = 0;
    pre_pass();
    local_top = 0;
    call_top = 0;
    frame_base = 0;
    const int32_t id = id_of("main");
    const int32_t function = function_of(id);
    if (function < 0) return 1;
    scan_pos = function_table[function].body - 1;
    std::strcpy(main_token.text, "main");
    main_token.len = 4;
    main_token.kind = TK_NAME;
    main_token.id = id;
    tok = &main_token;
    start_call(function);
    read_token();
    main_values();
    run_machine();
    return 0;
}

}  // namespace korvane
