// The process's one lock around a launcher run, and the calling thread's identity.
//
// The launcher's logic keeps process globals, so one run at a time may use them. The C++
// library gives the lock on the host; MinGW's win32 thread model (keycheck.exe) has no
// std::mutex, so there the Win32 critical section gives it.
//
// Thread rule: any thread may take the lock; the thread that took it gives it back.
#pragma once

#include <cstdint>

void LockLauncher();
void UnlockLauncher();
// A number naming the calling thread, never 0.
std::uintptr_t ThisThread();
