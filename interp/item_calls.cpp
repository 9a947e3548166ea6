// SPDX-License-Identifier: GPL-3.0-or-later
// Item lists that call the program's functions. A call's body runs on the
// machine like any other, so the list keeps its place (its next item, its
// pending operators and the calls' values) in an ITEMS frame and goes on
// when the call's value comes back; a run can stop anywhere in the body and
// go on later from the frames alone. The ITEMS frame weighs what is open
// at each call, so the budget runs out where the nesting reaches it.
#include "simple_run.h"

namespace korvane {

namespace {

// What an open entry among the pending operators opened (PendingOperator::code).
// An assignment inside waits above its `(`, with its variable's value where it began.
enum Opened : uint16_t { PARENTHESIS = 0, BUILTIN = 1, CALL = 2, NEGATE = 4, ASSIGNMENT = 8 };

}  // namespace

// The frames would hold the call's values where the expression's own
// frames end: the call enters as they enter it, its `)` current. Inlined
// in both places of run_items: it is most of a call's cost.
[[gnu::always_inline]] inline void InterpreterState::call_from_items(const ItemsFrame& run, uint32_t item,
                                                                     uint32_t opened, uint32_t count) {
    const uint32_t first = simple[run.expression].first;
    const PendingOperator* const open = item_stack.data() + opened;
    const SimpleItem& call = simple_items[first + open->at];
    item_top = opened + 1;
    // Its `)` holds its weight.
    const uint32_t weight =
        static_cast<uint32_t>(simple_items[first + item - 1].value) + (run.site == FrameKind::STATEMENTS ? 0u : 1u);
    // The list's frame and the call's in one push.
    Frame& c = frames.push(FrameKind::ARGUMENTS, weight + 1u);
    Frame& f = (&c)[-1];
    f.kind = FrameKind::ITEMS;
    f.await = Await::NONE;
    f.items = run;
    f.items.item = item;
    f.items.top = opened;
    f.items.weight = weight;
    const Token& name = *simple_tokens[first + open->at];
    c.call.active = ActiveCall{name.text, name.start, 0};
    c.call.function = call.value;
    c.call.base = local_top;
    tok = simple_tokens[first + item - 1];  // the `)`
    scan_pos = tok->start + tok->len;
    const FuncEntry& function = function_table[call.value];
    const std::vector<Parameter>& kept = function.parameters;
    if (!function.named || kept.size() != count || count > static_cast<uint32_t>(kMaxLocals - local_top)) {
        c.call.first = static_cast<uint32_t>(values.size());
        for (uint32_t i = 1; i <= count; ++i) values.push_back(open[i].left);
        return enter_call();
    }
    // Where they are one for each of the kept parameters, each slot is
    // pushed with its name at once, the parameters passed over.
    for (uint32_t i = count; i > 0; --i) push_local(kept[i - 1], open[i].left);
    begin_body(function.after);
    tok = function.last;
    start_statements();
}

// Its first variable found, raised where it is not there, as the frames
// raise it before anything.
[[gnu::always_inline]] inline void InterpreterState::open_items(uint32_t index, FrameKind site, ItemsFrame& run) {
    const SimpleExpression& e = simple[index];
    run.base = run.top = item_top;
    run.expression = index;
    run.site = site;
    if (e.form != SimpleExpression::VALUE) run.target = &target_variable(e);
}

[[gnu::always_inline]] inline void InterpreterState::begin_items(const SimpleExpression& e, const ItemsFrame& run) {
    // An entry for each item at most: an operator, a `(`, a call's value.
    const size_t need = size_t{run.top} + static_cast<size_t>(e.count) + 1;
    if (item_stack.size() < need) item_stack.resize(need);
    item_stack[run.top].rank = 0;  // the whole expression's parenthesis
    run_items(run, 0, false);
}

namespace {

// The frames a `return` or an expression statement pushes before its
// expression begins, which its list's ITEMS frame stands for.
uint32_t pushed_at(FrameKind site) { return site == FrameKind::STATEMENTS ? 0 : 1; }

// The most of the frames' budget the list needs where `site` begins it.
size_t needed_at(const SimpleExpression& e, FrameKind site) { return e.frames_bytes + pushed_at(site) * sizeof(Frame); }

}  // namespace

[[gnu::always_inline]] inline bool InterpreterState::begin_list(uint32_t index, FrameKind site) {
    ItemsFrame run{};
    open_items(index, site, run);
    begin_items(simple[index], run);
    return true;
}

void InterpreterState::run_list(FrameKind site) {
    if (!start_items(site)) [[unlikely]]
        not_listed();
}

// Every expression the language reads has a list: one without is text no
// list reader foresaw, refused where it begins rather than run otherwise.
void InterpreterState::not_listed() { report_error(ERR_SYNTAX, *tok); }

// The token stays marked, for the built-in's statement where no variable
// of its name is found.
int32_t InterpreterState::shadowed_list() {
    const auto [kept, fresh] = shadowed_at.try_emplace(tok->start, kNotSimple);
    if (fresh) {
        kept->second = look_for_simple();
        tok->simple = kNotSimple;
    }
    return kept->second;
}

bool InterpreterState::start_items(FrameKind site) {
    int32_t index = tok->simple;
    if (index == kNotSimple && tok->builtin >= 0) [[unlikely]]
        index = shadowed_list();
    if (index < 0) return empty_value(site);
    const SimpleExpression& e = simple[static_cast<size_t>(index)];
    if (e.shape != SimpleExpression::CALLED) [[unlikely]]
        return start_other_items(static_cast<uint32_t>(index), site);
    return start_called(static_cast<uint32_t>(index), site);
}

[[gnu::always_inline]] inline bool InterpreterState::start_called(uint32_t index, FrameKind site) {
    const SimpleExpression& e = simple[index];
    if (!frames.within(needed_at(e, site))) [[unlikely]]
        return start_at_budget(index, site);
    return begin_list(index, site);
}

// A `;` that is the whole value is 0 with no token read past it, unlike
// a list, which ends at the token after its last: so it is taken here,
// where the statement finds it, not by the lists that statements run.
bool InterpreterState::empty_value(FrameKind site) {
    if (!tok->is(';')) return false;
    items_done(site, 0);
    return true;
}

bool InterpreterState::start_at_budget(uint32_t index, FrameKind site) {
    return begin_list(list_at_budget(index, site), site);
}

uint32_t InterpreterState::list_at_budget(uint32_t index, FrameKind site) {
    return within_budget(simple[index], pushed_at(site)) ? index : checked_list(index);
}

bool InterpreterState::start_other_items(uint32_t index, FrameKind site) {
    const SimpleExpression& e = simple[index];
    if (e.shape == SimpleExpression::NAMED) {
        if (e.target_name != tok) return false;  // a built-in statement's, kept at its `)`
        const int32_t reading = named_reading(index, scan_pos, 0);
        if (reading < 0) return false;
        if (simple[static_cast<size_t>(reading)].shape != SimpleExpression::CALLED)
            return start_other_items(static_cast<uint32_t>(reading), site);
        return start_called(static_cast<uint32_t>(reading), site);
    }
    if (e.shape == SimpleExpression::CALLED_UPDATED) return start_updated_items(index, site);
    if (const uint32_t list = list_at_budget(index, site); list != index) return begin_list(list, site);
    int32_t v = 0;
    if (!run_within(simple[index], v)) return false;
    items_done(site, v);
    return true;
}

namespace {

// The item after the operand the list begins with, or 0 where the list
// ends inside it.
uint32_t after_first_operand(const SimpleItem* items, int count) {
    int depth = 0;
    for (int i = 0; i < count; ++i) {
        const SimpleItem::Kind kind = items[i].kind;
        if (kind == SimpleItem::OPEN || kind == SimpleItem::BUILTIN || kind == SimpleItem::EFFECT ||
            kind == SimpleItem::CALL)
            ++depth;
        else if (kind == SimpleItem::CLOSE || kind == SimpleItem::TAKE)
            --depth;
        if (depth == 0) return static_cast<uint32_t>(i + 1);
    }
    return 0;
}

}  // namespace

// The built-in's value stands as that of a call that came back, and the
// statement's list goes on after it.
void InterpreterState::start_tail_items() {
    const CachedToken& name = *token_at[frames.below_top().builtin.call];
    int32_t index = tail_list(name);
    if (index < 0) not_listed();
    if (simple[static_cast<size_t>(index)].shape == SimpleExpression::NAMED) {
        index = named_reading(static_cast<uint32_t>(index), name.end, 1);
        if (index < 0) not_listed();
    }
    const SimpleExpression& e = simple[static_cast<size_t>(index)];
    uint32_t after = after_first_operand(simple_items.data() + e.first, e.count);
    if (after == 0) not_listed();
    frames.pop_back();  // the operation, which the list holds
    auto list = static_cast<uint32_t>(index);
    if (!frames.within(e.frames_bytes)) [[unlikely]]
        list = tail_at_budget(list, after);
    ItemsFrame run{};
    open_items(list, FrameKind::STATEMENTS, run);
    const size_t need = size_t{run.top} + static_cast<size_t>(simple[list].count) + 2;
    if (item_stack.size() < need) item_stack.resize(need);
    item_stack[run.top].rank = 0;  // the whole expression's parenthesis
    item_stack[++run.top] = PendingOperator{0, 0, 0, CALL};
    run.item = after;
    run_items(run, builtin_result, true);
}

// Kept at the token after the built-in's value, or, where that token keeps
// a list of its own (the value's, as in `putch )`, or a statement's after
// an empty value, as in `putch ; x = 1;`), by the name.
int32_t InterpreterState::tail_list(const CachedToken& name) {
    if (tok->simple == kNotLooked) {
        const int32_t index = look_for_tail(name);
        tok->simple = index;
        return index;
    }
    const auto own = [&](int32_t index) {
        if (index < 0) return false;
        const SimpleExpression& e = simple[static_cast<size_t>(index)];
        // A NAMED list's readings are read from its token, any other from its first.
        if (e.shape == SimpleExpression::NAMED) return e.target_name == &name.token;
        return simple_tokens[e.first] == &name.token;
    };
    if (own(tok->simple)) return tok->simple;
    const auto [kept, fresh] = tails_at.try_emplace(name.token.start, kNotSimple);
    if (fresh) kept->second = look_for_tail(name);
    return kept->second;
}

// Only the checks after the built-in are the frames' own there: those in
// its values were made as the values ran. Where one is not within the
// budget, the checked copy goes on from the same item.
uint32_t InterpreterState::tail_at_budget(uint32_t index, uint32_t& after) {
    const SimpleExpression& e = simple[index];
    uint32_t site = e.sites;
    while (site != e.sites_end && budget_sites[site].item < after) ++site;
    const uint32_t before = site - e.sites;  // the checks the copy holds before that item
    while (site != e.sites_end && within_site(budget_sites[site], pushed_at(FrameKind::STATEMENTS))) ++site;
    if (site == e.sites_end) return index;
    after += before;
    return checked_list(index);
}

// The first variable's value is kept, and the variables after it are each
// looked up (one not there raised) and their values kept, as the frames
// do where their assignments begin.
bool InterpreterState::start_updated_items(uint32_t index, FrameKind site) {
    if (!frames.within(needed_at(simple[index], site))) {
        if (const uint32_t list = list_at_budget(index, site); list != index) return begin_list(list, site);
    }
    const SimpleExpression& e = simple[index];
    ItemsFrame run{};
    open_items(index, site, run);
    const size_t need = size_t{run.top} + 1 + static_cast<size_t>(e.more_targets);
    if (item_stack.size() < need) item_stack.resize(need);
    item_stack[run.top++].left = run.target->value;
    for (int i = 0; i < e.more_targets; ++i) {
        const SimpleTarget& target = simple_targets[e.targets + static_cast<uint32_t>(i)];
        const VarSlot* const slot = find_named(target.id);
        if (slot == nullptr) [[unlikely]]
            raise_missing(*target.name);
        item_stack[run.top++].left = slot->value;
    }
    begin_items(e, run);
    return true;
}

// The variables after the first, from the last back: each is found again,
// as no call changes which variable a name denotes, with its value as it
// was where its assignment began.
int32_t InterpreterState::updated_value(const SimpleExpression& e, const ItemsFrame& run, int32_t v) {
    for (int i = e.more_targets - 1; i >= 0; --i) {
        const SimpleTarget& target = simple_targets[e.targets + static_cast<uint32_t>(i)];
        v = assigned_value(target.form, item_stack[run.base + 1 + static_cast<uint32_t>(i)].left, v);
        find_named(target.id)->value = v;
    }
    return assigned_value(e.form, item_stack[run.base].left, v);
}

void InterpreterState::resume_items() {
    const ItemsFrame run = frames.back().items;
    frames.pop_back(run.weight);
    run_items(run, given, true);
}

void InterpreterState::hold_items(const ItemsFrame& run, uint32_t at, uint32_t item, uint32_t top) {
    tok = simple_tokens[simple[run.expression].first + at];
    scan_pos = tok->start + tok->len;
    Frame& f = push(FrameKind::ITEMS);
    f.items = run;
    f.items.item = item;
    f.items.top = top;
    f.items.weight = 1;
}

// Its name current; the host may have no answer yet.
int32_t InterpreterState::items_answer(const ItemsFrame& run, uint32_t at, uint32_t top) {
    hold_items(run, at, at, top);
    const SimpleItem& t = simple_items[simple[run.expression].first + at];
    const int32_t value = answer(t.value, Wait::ITEMS);
    frames.pop_back();
    return t.negate ? wrap_sub(0, value) : value;
}

// Where the frames start it, before its values; on resume it is started
// again from its item.
void InterpreterState::start_effect(const ItemsFrame& run, uint32_t at, uint32_t top) {
    hold_items(run, at, at, top);
    before_builtin(simple_items[simple[run.expression].first + at].code);
    frames.pop_back();
}

// The token that ends its values current, as the frames take them there; a
// pause after a drawing call goes on with the built-in's value, its entry
// on top. A string it takes is its last value, a 0 kept at the string.
int32_t InterpreterState::take_effect(const ItemsFrame& run, uint32_t item, uint32_t opened, int32_t last) {
    const uint32_t first = simple[run.expression].first;
    const SimpleItem* const items = simple_items.data() + first;
    const PendingOperator* const open = item_stack.data() + opened;
    const uint32_t count = items[item - 1].code;
    int32_t given_values[kVAxisCollectionSize] = {};
    for (uint32_t i = 1; i < count; ++i) given_values[i - 1] = open[i].left;
    given_values[count - 1] = last;
    const SimpleItem& builtin = items[open->at];
    const Token& string = *simple_tokens[first + item - 2];
    const char* const text = string.kind == TK_STRING ? string.text : nullptr;
    hold_items(run, item - 1, item, opened);
    const int32_t value = take_values(builtin.code, static_cast<uint32_t>(builtin.value), given_values, text);
    frames.pop_back();
    if (items[item].kind == SimpleItem::ERROR && items[item].rank == 0) raise_item(items[item]);
    return (open->code & NEGATE) != 0 ? wrap_sub(0, value) : value;
}

void InterpreterState::retry_items() {
    const ItemsFrame run = frames.back().items;
    frames.pop_back(run.weight);
    run_items(run, 0, false);
}

// As simple_operation, with the pending operators in item_stack, so that
// a call can leave them there while its body runs; a call's values wait
// there above its `(`, each as an entry of rank 0 marked as the call's.
void InterpreterState::run_items(const ItemsFrame& run, int32_t v, bool resumed) {
    const SimpleExpression& e = simple[run.expression];
    const SimpleItem* const items = simple_items.data() + e.first;
    const SimpleItem* item = items + run.item;
    PendingOperator* const stack = item_stack.data();
    PendingOperator* top = stack + run.top;
    for (;;) {
        if (resumed) {
            // The call's `(` is on top, with its sign.
            if ((top->code & NEGATE) != 0) v = wrap_sub(0, v);
            --top;
            resumed = false;
        } else {
            const SimpleItem& t = *item++;
            if (t.kind == SimpleItem::CALL && t.rank != 0) {
                PendingOperator* const open = ++top;
                *open = PendingOperator{0, static_cast<uint32_t>(&t - items), 0,
                                        static_cast<uint16_t>(CALL | (t.negate ? NEGATE : 0))};
                do {
                    chain_value(item, v);
                    *++top = PendingOperator{v, 0, 0, CALL};
                } while ((item++)->kind == SimpleItem::COMMA);
                call_from_items(run, static_cast<uint32_t>(item - items), static_cast<uint32_t>(open - stack),
                                static_cast<uint32_t>(top - open));
                return;
            }
            // Where an operand stands, every kind after VARIABLE is one of
            // these: one test keeps a plain operand's path as short. Without
            // [[unlikely]] the compiler makes the tests a jump table that
            // every plain operand goes through too.
            if (t.kind > SimpleItem::VARIABLE) [[unlikely]] {
                if (t.kind == SimpleItem::INPUT) {
                    v = items_answer(run, static_cast<uint32_t>(&t - items), static_cast<uint32_t>(top - stack));
                } else if (t.kind == SimpleItem::STEP) [[unlikely]] {
                    v = step_item(t);
                } else if (t.kind == SimpleItem::ERROR) [[unlikely]] {
                    reach_error(run, t);
                    continue;
                } else {
                    // A built-in with effects lists its values as a call does.
                    const uint16_t opened = t.kind == SimpleItem::OPEN      ? PARENTHESIS
                                            : t.kind == SimpleItem::BUILTIN ? BUILTIN
                                            : t.kind == SimpleItem::ASSIGN  ? ASSIGNMENT
                                                                            : CALL;
                    if (t.kind == SimpleItem::EFFECT)
                        start_effect(run, static_cast<uint32_t>(&t - items), static_cast<uint32_t>(top - stack));
                    // An assignment keeps its variable's value where it begins.
                    const int32_t left = opened == ASSIGNMENT ? item_variable(t).value : 0;
                    *++top = PendingOperator{left, static_cast<uint32_t>(&t - items), 0,
                                             static_cast<uint16_t>(opened | (t.negate ? NEGATE : 0))};
                    continue;
                }
            } else {
                v = item_value(t);
            }
        }
        // v is the right value of what the next item completes.
        for (;;) {
            const SimpleItem& after = *item++;
            if (complete(top, v, after)) break;
            if (after.kind == SimpleItem::END) {
                item_top = run.base;
                tok = e.end;
                scan_pos = e.end->start;
                if (run.target != nullptr) {
                    if (e.shape != SimpleExpression::CALLED) [[unlikely]]
                        v = updated_value(e, run, v);
                    run.target->value = v;
                }
                items_done(run.site, v);
                return;
            }
            for (; top->code == ASSIGNMENT; --top) v = assign_item(items[top->at], top->left, v);
            // A call's `)`, its `(` below its values; or an error after an
            // operand, raised after the assignments' stores, as the frames
            // raise it; or the `)` where a built-in with effects takes its values.
            if (after.code != 0) {
                if (after.kind != SimpleItem::CLOSE) [[unlikely]] {
                    if (after.kind == SimpleItem::ERROR) raise_item(after);
                    top -= after.code - 1;  // a built-in with effects: its entry, its values but v above it
                    v = take_effect(run, static_cast<uint32_t>(item - items), static_cast<uint32_t>(top - stack), v);
                    --top;
                    continue;
                }
                *++top = PendingOperator{v, 0, 0, CALL};
                const auto opened = static_cast<uint32_t>(top - after.code - stack);
                call_from_items(run, static_cast<uint32_t>(item - items), opened, after.code);
                return;
            }
            const uint16_t opened = top->code & ~NEGATE;
            if (after.kind == SimpleItem::COMMA) {
                if (opened == CALL)
                    *++top = PendingOperator{v, 0, 0, CALL};
                else
                    top->left = v;  // a built-in's first value
                break;
            }
            if (opened == BUILTIN) {
                const SimpleItem& builtin = items[top->at];
                v = pure_builtin(builtin.code, top->left, v, static_cast<uint32_t>(builtin.value));
            }
            if ((top->code & NEGATE) != 0) v = wrap_sub(0, v);
            --top;
        }
    }
}

void InterpreterState::reach_error(const ItemsFrame& run, const SimpleItem& error) {
    if (error.code != ERR_TOO_DEEP) raise_item(error);
    const BudgetSite& site = budget_sites[static_cast<uint32_t>(error.value)];
    if (!within_site(site, pushed_at(run.site))) report_error_at(ERR_TOO_DEEP, site.at);
}

// A list's value to its statement: a `return` or an expression statement ends at
// once, and so does a built-in statement's value, which the built-in takes
// (its next value read as before); any other statement takes the value in
// the machine's next turn.
void InterpreterState::items_done(FrameKind site, int32_t v) {
    if (site == FrameKind::RETURN) {
        return_value = v;
        unwind = Unwind::RETURN;
        return finish_statements();
    }
    if (site == FrameKind::EXPRESSION_STATEMENT) {
        if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
        return continue_statements();
    }
    switch (frames.back().kind) {
        case FrameKind::EXPRESSION_STATEMENT:  // its `;` ends it
            if (!tok->is(';')) report_error(ERR_SEMICOLON_EXPECTED, *tok);
            frames.pop_back();
            return continue_statements();
        case FrameKind::IF:
        case FrameKind::WHILE:
        case FrameKind::DO:
        case FrameKind::FOR:
        case FrameKind::RETURN: return give(v);
        case FrameKind::BUILTIN:  // a value of a built-in statement
        case FrameKind::COLLECTION:
        case FrameKind::TEXT: return builtin_statement_value(v);
        case FrameKind::ARGUMENTS: return main_value(v);
        case FrameKind::STATEMENTS:
        case FrameKind::OPERATION:
        case FrameKind::CALL:
        case FrameKind::ITEMS: misplaced_frame();
    }
}

}  // namespace korvane
