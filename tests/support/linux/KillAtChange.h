#pragma once

#include <functional>

namespace varnok {

// Runs work in a child process and kills it with SIGKILL as it enters its nth system call that
// changes a file or a folder (a write, a truncation, a sync, a rename, an unlink), before the
// call does anything: where a kill or a power loss leaves its mark. work may exec another
// program, whose calls are counted from then on. False when work ended before that call.
bool KillAtChange(const std::function<void()>& work, int n);

}  // namespace varnok
