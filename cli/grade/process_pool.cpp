// SPDX-License-Identifier: GPL-3.0-or-later
#include "process_pool.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>

extern char** environ;

namespace korvane::grade {

namespace {

using Clock = std::chrono::steady_clock;

struct Running {
    size_t index;
    Clock::time_point start;
    Clock::time_point deadline;
    bool killed = false;
};

double seconds_between(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Starts one command; the child gets the default signal handling and an
// empty mask, whatever this process blocks.
int spawn(const Command& c, pid_t& pid) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, c.stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int s : {SIGCHLD, SIGINT, SIGTERM, SIGPIPE}) sigaddset(&defaults, s);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> argv;
    for (const std::string& a : c.argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int failure = posix_spawn(&pid, argv[0], &files, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    return failure;
}

Ending ending_of(int wait_status, const Running& r, Clock::time_point now) {
    Ending e;
    e.seconds = seconds_between(r.start, now);
    if (r.killed) {
        e.kind = Ending::KILLED;
    } else if (WIFSIGNALED(wait_status)) {
        e.kind = Ending::SIGNALLED;
        e.code = WTERMSIG(wait_status);
    } else {
        e.kind = Ending::EXITED;
        e.code = WEXITSTATUS(wait_status);
    }
    return e;
}

// Kills the commands past their deadline; returns how long to wait for the
// next event (a child's end or the nearest deadline), at most a second.
timespec next_wait(std::map<pid_t, Running>& running) {
    const Clock::time_point now = Clock::now();
    Clock::time_point wake = now + std::chrono::seconds(1);
    for (auto& [pid, r] : running) {
        if (r.killed) continue;
        if (now >= r.deadline) {
            kill(pid, SIGKILL);
            r.killed = true;
        } else {
            wake = std::min(wake, r.deadline);
        }
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wake - now).count();
    return {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

}  // namespace

bool run_commands(const std::vector<Command>& commands, int parallel,
                  const std::function<void(size_t, const Ending&)>& done) {
    // SIGCHLD stays blocked so that sigtimedwait sees every child's end;
    // SIGINT and SIGTERM too, so an interruption leaves no child behind.
    sigset_t events, previous;
    sigemptyset(&events);
    for (int s : {SIGCHLD, SIGINT, SIGTERM}) sigaddset(&events, s);
    sigprocmask(SIG_BLOCK, &events, &previous);
    std::map<pid_t, Running> running;
    size_t next = 0;
    bool interrupted = false;
    while (!interrupted && (next < commands.size() || !running.empty())) {
        while (running.size() < size_t(std::max(parallel, 1)) && next < commands.size()) {
            const Command& c = commands[next];
            pid_t pid = 0;
            const Clock::time_point start = Clock::now();
            if (const int failure = spawn(c, pid); failure != 0) {
                done(next++, Ending{Ending::NOT_STARTED, failure, 0});
                continue;
            }
            const auto limit = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(c.limit));
            running[pid] = Running{next++, start, start + limit};
        }
        int status = 0;
        bool reaped = false;
        for (pid_t pid; !running.empty() && (pid = waitpid(-1, &status, WNOHANG)) > 0;) {
            const auto it = running.find(pid);
            if (it == running.end()) continue;
            const Running r = it->second;
            running.erase(it);
            done(r.index, ending_of(status, r, Clock::now()));
            reaped = true;
        }
        // A freed slot takes the next command before anything waits.
        if (reaped || running.empty()) continue;
        const timespec wait = next_wait(running);
        const int got = sigtimedwait(&events, nullptr, &wait);
        interrupted = got == SIGINT || got == SIGTERM;
    }
    for (const auto& [pid, r] : running) kill(pid, SIGKILL);
    for (const auto& [pid, r] : running) waitpid(pid, nullptr, 0);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return !interrupted;
}

}  // namespace korvane::grade
