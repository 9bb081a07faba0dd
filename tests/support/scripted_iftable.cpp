#include "tests/support/scripted_iftable.h"

#include <charconv>

#include "engine/state_files.h"
#include "platform/file_store.h"

namespace {

bool Number(std::string_view text, uint64_t& value)
{
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && res.ec == std::errc() && res.ptr == text.data() + text.size();
}

}  // namespace

std::vector<ScriptedRow> ReadFixture(std::string_view text)
{
    std::vector<ScriptedRow> rows;
    std::string_view line;
    while (NextLine(text, line)) {
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string_view> fields;
        for (int k = 0; k < 8; ++k) {
            std::size_t tab = line.find('\t');
            if (tab == std::string_view::npos)
                break;
            fields.push_back(line.substr(0, tab));
            line.remove_prefix(tab + 1);
        }
        ScriptedRow r;
        uint64_t type = 0, filter = 0, block = 0;
        if (fields.size() != 8 || !Number(fields[0], r.Row.Identity) || !Number(fields[1], type) ||
            !Number(fields[2], filter) || !Number(fields[5], r.InPerRead) || !Number(fields[6], r.OutPerRead) ||
            !Number(fields[7], block))
            continue;
        if (!fields[3].empty() && fields[3].front() == '=') {
            if (!Number(fields[3].substr(1), r.SameAs))
                continue;
        } else if (!Number(fields[3], r.Row.InOctets) || !Number(fields[4], r.Row.OutOctets)) {
            continue;
        }
        r.Type = static_cast<uint32_t>(type);
        r.Row.FilterInterface = filter != 0;
        r.Block = block != 0;
        r.Row.Description = std::string(line);
        rows.push_back(r);
    }
    return rows;
}

std::vector<IfRow> FixtureTable(const std::vector<ScriptedRow>& rows, uint64_t read)
{
    std::vector<IfRow> table;
    for (const ScriptedRow& r : rows) {
        IfRow row = r.Row;
        row.InOctets += r.InPerRead * read;
        row.OutOctets += r.OutPerRead * read;
        table.push_back(row);
    }
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (rows[k].SameAs)
            for (std::size_t j = 0; j < rows.size(); ++j)
                if (rows[j].Row.Identity == rows[k].SameAs && !rows[j].SameAs) {
                    table[k].InOctets = table[j].InOctets;
                    table[k].OutOctets = table[j].OutOctets;
                }
    return table;
}

bool ScriptedIfTable::Load()
{
    std::string text;
    loaded_ = ReadWholeFile(fixture_, text);
    rows_ = ReadFixture(text);
    return loaded_;
}

bool ScriptedIfTable::Read(std::vector<IfRow>& rows)
{
    if (!loaded_)
        return false;
    rows = FixtureTable(rows_, reads_++);
    return true;
}
