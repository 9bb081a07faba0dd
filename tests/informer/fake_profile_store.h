#pragma once
// An in-memory private-profile store: every write is recorded, and writes can be refused.
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/profile_store.h"

class FakeProfileStore : public ProfileStore {
public:
    using Key = std::tuple<std::string, std::string, std::string>;  // file name, section, key
    std::map<Key, std::string> values;
    std::vector<std::string> writes;  // "section/key=value" in order
    bool readOnly = false;

    void Set(const std::string& section, const std::string& key, const std::string& value,
             const std::string& file = "vrn15.ini")
    {
        values[{file, section, key}] = value;
    }
    std::string Get(const std::string& section, const std::string& key, const std::string& file = "vrn15.ini") const
    {
        auto found = values.find({file, section, key});
        return found == values.end() ? std::string() : found->second;
    }

    std::string Read(const std::filesystem::path& file, const std::string& section, const std::string& key) override
    {
        return Get(section, key, file.filename().string());
    }
    void Write(const std::filesystem::path& file, const std::string& section, const std::string& key,
               const std::string& value) override
    {
        if (readOnly)
            throw std::runtime_error("Unable to write to " + file.string());
        writes.push_back(section + "/" + key + "=" + value);
        Set(section, key, value, file.filename().string());
    }
};
