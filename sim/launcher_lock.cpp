// The process's one lock around a launcher run, and the calling thread's identity.
#include "sim/launcher_lock.h"

#ifdef _WIN32
#include <windows.h>

namespace {
// Made with the program's static objects, before main starts any thread.
struct Lock {
    Lock() { InitializeCriticalSection(&section); }
    ~Lock() { DeleteCriticalSection(&section); }
    CRITICAL_SECTION section;
} g_lock;
}  // namespace

void LockLauncher() {
    EnterCriticalSection(&g_lock.section);
}

void UnlockLauncher() {
    LeaveCriticalSection(&g_lock.section);
}

std::uintptr_t ThisThread() {
    return GetCurrentThreadId();
}
#else
#include <mutex>

namespace {
std::mutex g_lock;
}  // namespace

void LockLauncher() {
    g_lock.lock();
}

void UnlockLauncher() {
    g_lock.unlock();
}

std::uintptr_t ThisThread() {
    // The address of a thread-local object is distinct for every live thread.
    thread_local char self;
    return reinterpret_cast<std::uintptr_t>(&self);
}
#endif
