#pragma once
// The Windows shell: documents and addresses opened with a verb and a show mode.
#include <windows.h>

#include <filesystem>
#include <string>

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecute's result: above 32 on success. An empty verb is the default verb.
    virtual INT_PTR Open(const std::wstring& verb, const std::wstring& target, int showCommand) = 0;
};

class Win32Shell : public Shell {
public:
    INT_PTR Open(const std::wstring& verb, const std::wstring& target, int showCommand) override;
};

// The running executable and its folder.
std::filesystem::path ExecutablePath();
std::filesystem::path ExecutableFolder();
