#pragma once
// The private-profile store: string values by section and key in an ini file, given by its
// full path. Only what the informer's settings and window placement need.
#include <filesystem>
#include <string>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value, or "" when the file, the section or the key is missing.
    virtual std::string Read(const std::filesystem::path& file, const std::string& section,
                             const std::string& key) = 0;
    // Throws std::runtime_error "Unable to write to <file>" when the value cannot be written.
    virtual void Write(const std::filesystem::path& file, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

#ifdef _WIN32
// GetPrivateProfileStringW and WritePrivateProfileStringW.
class Win32ProfileStore : public ProfileStore {
public:
    std::string Read(const std::filesystem::path& file, const std::string& section, const std::string& key) override;
    void Write(const std::filesystem::path& file, const std::string& section, const std::string& key,
               const std::string& value) override;
};

// The Windows directory, where earlier versions kept their ini files.
std::filesystem::path WindowsFolder();
#endif
