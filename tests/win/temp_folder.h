#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <windows.h>

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("vornik-win-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    void Write(const char* name, const std::string& text) const { std::ofstream(path_ / name, std::ios::binary) << text; }
    std::string Read(const char* name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const char* name) const { return std::filesystem::exists(path_ / name); }

private:
    std::filesystem::path path_;
};
