// SPDX-License-Identifier: GPL-3.0-or-later
// A stack of its own for interpreter runs, on the calling thread: deep
// recursion in a program then needs no large thread stack, and the run stays
// on the thread whose widgets the bridge drives. Native builds only.
#pragma once

#include <cstddef>
#include <functional>

namespace korvane {

class RunStack {
public:
    // Address space is reserved at once; pages cost memory only when touched.
    static constexpr size_t kDefaultBytes = size_t{256} << 20;

    explicit RunStack(size_t bytes = kDefaultBytes);
    ~RunStack();
    RunStack(const RunStack&) = delete;
    RunStack& operator=(const RunStack&) = delete;

    // Runs work on this stack and returns when it returns; an exception that
    // leaves work is rethrown here. A run started from inside work goes on
    // where it is, since this stack is taken.
    void run(const std::function<void()>& work);

    // What a run may take of the stack (Interpreter::set_stack_budget): all
    // but the room that an error report, a message box or a repaint needs at
    // the deepest point.
    size_t budget() const;

private:
    void* base_ = nullptr;
    size_t bytes_ = 0;
    bool in_use_ = false;
};

}  // namespace korvane
