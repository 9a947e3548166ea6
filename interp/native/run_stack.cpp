// SPDX-License-Identifier: GPL-3.0-or-later
// Switches to a dedicated stack with ucontext, tells the address sanitizer
// about each switch, and carries exceptions back across it.
#include "run_stack.h"

#include <sys/mman.h>
#include <ucontext.h>

#include <exception>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ASAN 1
#endif
#if defined(KORVANE_ASAN)
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

namespace korvane {

namespace {

// Room below the budget for whatever runs at the deepest point of a run.
constexpr size_t kHeadroom = size_t{16} << 20;

// What the switched-to side needs; makecontext passes only ints, so the one
// run in progress is found here.
struct Switch {
    const std::function<void()>* work = nullptr;
    std::exception_ptr failure;
    ucontext_t caller{};
    ucontext_t callee{};
    [[maybe_unused]] const void* caller_bottom = nullptr;
    [[maybe_unused]] size_t caller_size = 0;
    [[maybe_unused]] void* fake_stack = nullptr;
};

thread_local Switch* current = nullptr;

void on_stack() {
    Switch& s = *current;
#if defined(KORVANE_ASAN)
    __sanitizer_finish_switch_fiber(nullptr, &s.caller_bottom, &s.caller_size);
#endif
    try {
        (*s.work)();
    } catch (...) {
        // Unwinding cannot cross the switch: carry the exception over.
        s.failure = std::current_exception();
    }
#if defined(KORVANE_ASAN)
    // This stack's frames are done: no fake stack to keep.
    __sanitizer_start_switch_fiber(nullptr, s.caller_bottom, s.caller_size);
#endif
    // Returning goes on through uc_link: getcontext in run returns again.
}

}  // namespace

RunStack::RunStack(size_t bytes) : bytes_(bytes) {
    base_ = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base_ == MAP_FAILED) throw std::bad_alloc();
    // The lowest page is kept inaccessible, so an overrun faults instead of writing.
    mprotect(base_, 4096, PROT_NONE);
}

RunStack::~RunStack() { munmap(base_, bytes_); }

size_t RunStack::budget() const { return bytes_ > kHeadroom * 2 ? bytes_ - kHeadroom : bytes_ / 2; }

void RunStack::run(const std::function<void()>& work) {
    if (in_use_) {
        work();
        return;
    }
    in_use_ = true;
    Switch s;
    s.work = &work;
    current = &s;
    getcontext(&s.callee);
    s.callee.uc_stack.ss_sp = base_;
    s.callee.uc_stack.ss_size = bytes_;
    s.callee.uc_link = &s.caller;
    makecontext(&s.callee, on_stack, 0);
    // getcontext and setcontext rather than swapcontext, which the address
    // sanitizer warns about on every process's first use. getcontext
    // returns a second time when on_stack ends.
    volatile bool switched = false;
    getcontext(&s.caller);
    if (!switched) {
        switched = true;
#if defined(KORVANE_ASAN)
        __sanitizer_start_switch_fiber(&s.fake_stack, base_, bytes_);
#endif
        setcontext(&s.callee);
    }
#if defined(KORVANE_ASAN)
    __sanitizer_finish_switch_fiber(s.fake_stack, nullptr, nullptr);
    // Frames that an exception unwound keep their poisoned red zones; the
    // next run would trip over them.
    __asan_unpoison_memory_region(static_cast<char*>(base_) + 4096, bytes_ - 4096);
#endif
    current = nullptr;
    in_use_ = false;
    if (s.failure) std::rethrow_exception(s.failure);
}

}  // namespace korvane
