#include "core/system/signal_cleanup.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace hz {
namespace {

// A slot is free, being filled, or armed: only armed slots are read by the handler, and the path
// is complete before the slot is armed. Nothing here allocates, so the handler may run at any time.
enum : int { kFree = 0, kFilling = 1, kArmed = 2 };
static_assert(std::atomic<int>::is_always_lock_free);

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX]{}; // zero, so that the slots are constant-initialised and untouched until used
};

constexpr int kSlots = 32;
Slot slots[kSlots];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporaryFiles(int signal) {
    const int savedErrno = errno;
    for (Slot& slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == kArmed)
            ::unlink(slot.path);
    }
    // SA_RESETHAND restored the default action; the signal stays blocked until this returns, and
    // then ends the process as if it had never been caught.
    ::raise(signal);
    errno = savedErrno;
}

void installHandlers() {
    for (int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0)
            continue;
        const bool defaultAction = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
        if (!defaultAction)
            continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = removeTemporaryFiles;
        sigemptyset(&cleanup.sa_mask);
        cleanup.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &cleanup, nullptr);
    }
}

} // namespace

int removeOnSignal(const char* path) {
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    if (std::strlen(path) >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (slots[i].state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) {
            std::strcpy(slots[i].path, path);
            slots[i].state.store(kArmed, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

void keepOnSignal(int slot) {
    if (slot >= 0 && slot < kSlots)
        slots[slot].state.store(kFree, std::memory_order_release);
}

} // namespace hz
