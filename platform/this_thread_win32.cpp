// this_thread_win32.cpp -- thread names (SetThreadDescription where the system has it), the
// lowest thread priority, and the main thread by its id.
#include "platform/this_thread.h"

#include <windows.h>

#include "platform/wide_text.h"

// Static initialisation runs on the thread the program starts on.
static const DWORD mainThreadId = GetCurrentThreadId();

void nameThisThread(const char *name) {
    // Windows 10 1607 and later; looked up so that older systems still start.
    typedef HRESULT(WINAPI * SetDescription)(HANDLE, PCWSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    SetDescription setDescription =
        kernel ? (SetDescription)(void *)GetProcAddress(kernel, "SetThreadDescription") : nullptr;
    if (setDescription != nullptr)
        setDescription(GetCurrentThread(), widen(name).c_str());
}

void lowerThisThreadPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

bool onMainThread() {
    return GetCurrentThreadId() == mainThreadId;
}
