// SPDX-License-Identifier: GPL-3.0-or-later
// The interpreter's public face: run a program file (or a text) against a
// bridge and learn how the run ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "bridge.h"
#include "language.h"
#include "pause_host.h"

namespace korvane {

// How a run ended.
enum RunResult : int {
    RUN_OK = 0,           // main returned
    RUN_NO_MAIN = 1,      // the text defines no main; the caller shows the notice
    RUN_ERROR = 2,        // an error was reported through bridge_message
    RUN_END = 3,          // the program executed `end`
    RUN_CANNOT_READ = 4,  // the program file could not be read; reported through bridge_message
    RUN_ABORTED = 5,      // an input answer was rejected; reported through bridge_message
    RUN_WAITING = 6,      // the run waits for its host (InputWaits, POLL_YIELD, PauseCommand::WAIT): resume goes on
};

struct InterpreterState;

// The names of the built-in functions, in table order: for editors that
// highlight them, so the language is defined in one place.
std::span<const char* const> builtin_names();

// The keywords of the language, lower case.
std::span<const char* const> keyword_names();

// Makes every line end CR LF, as the editor saves a program and the scanner
// reads one: a lone LF or a lone CR becomes CR LF, CR LF stays. Every text
// the interpreter runs goes through it, so any line end gives the same lines.
std::string normalise_line_ends(const std::string& text);

class Interpreter {
public:
    explicit Interpreter(Bridge& bridge);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Reads the whole file and runs it.
    RunResult run_program(const std::string& file_name);
    // Runs a program text as if it had been read from a file.
    RunResult run_text(const std::string& text);
    // Goes on with a run that returned RUN_WAITING: the step it stopped
    // before runs again and asks its host again. The frames keep the run,
    // so a host that cannot block gets its thread back between slices.
    RunResult resume();

    // Line (counted from 0) of the last error report, or -1 if the last run had none.
    int error_line() const;
    // The last run's error report with the token's place and a hint; code -1
    // when the run had none.
    const ErrorDetails& error_details() const;

    // Memory, in bytes, that the interpreter's own stack of constructs in
    // progress (calls, statements, operands) may take; nesting deeper reports
    // "program nested too deeply". Calls nest there, not on the native
    // stack, so the default lets every front end reach the limit of active
    // calls with a recursive fill of the whole canvas.
    void set_stack_budget(size_t bytes);
    static constexpr size_t kDefaultStackBudget = size_t{64} << 20;

    // A bound on executed statements and expression steps per run; 0 means none.
    // Reaching it reports "step limit reached".
    void set_step_limit(uint64_t steps);
    // Steps (as the step limit counts them) that the last run executed.
    uint64_t steps_taken() const;
    // Sets the state of the random generator (it is otherwise seeded once).
    void seed_random(uint32_t state);

    // Pauses. Without a host a run never pauses; with one it pauses as the
    // breakpoints, the watches and the start command say, and the host
    // chooses at each pause how the run goes on. All of these may also be
    // changed from within a pause or a bridge call of the run.
    void set_pause_host(PauseHost* host);
    // Lines (counted from 0): a run pauses before the first statement that
    // starts on one of them, each time it comes to that line.
    void set_breakpoints(const std::vector<int>& lines);
    // How every run begins: CONTINUE (the default) runs to a pause, a step
    // pauses at the first statement, NEXT_DRAWING_CALL at the first drawing call.
    void set_start_command(PauseCommand command);
    // Gives a command to the run in progress, from a bridge call: a step
    // asked for while the program runs at slow speed, for instance.
    void request(PauseCommand command);
    // While on, the host is asked after each drawing call whether it
    // changed a watched pixel.
    void set_pixel_watch(bool on);

    // Value of a global of the last run, for tests and tools.
    bool global_value(const std::string& name, int32_t& value) const;

private:
    std::unique_ptr<InterpreterState> state_;
};

}  // namespace korvane
