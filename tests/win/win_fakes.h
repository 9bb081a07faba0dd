#pragma once
// Test doubles for the Win32 platform interfaces.
#include <string>
#include <vector>

#include <windows.h>

#include "platform/regional.h"
#include "platform/shell_win.h"

class FakeClock : public Clock {
public:
    Date today{2026, 12, 6};
    uint64_t ms = 1000;
    Date Today() override { return today; }
    uint64_t Milliseconds() override { return ms; }
};

class CommaRegional : public Regional {
public:
    char DecimalSeparator() override { return ','; }
    std::string ShortDate(const Date&) override { return "06.12.2026"; }
    char ListSeparator() override { return ';'; }
};

struct ShellCall {
    std::wstring verb, target;
    int show;
};

class FakeShell : public Shell {
public:
    std::vector<ShellCall> calls;
    INT_PTR result = 42;
    INT_PTR Open(const std::wstring& verb, const std::wstring& target, int show) override
    {
        calls.push_back({verb, target, show});
        return result;
    }
};

// Empties this thread's message queue; true when a quit of the message loop was in it.
inline bool QuitPosted()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT)
            return true;
    return false;
}
