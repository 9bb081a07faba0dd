#include "engine/engine.h"

#include <chrono>
#include <exception>
#include <stdexcept>

#include "engine/state_files.h"

const char* const HistoryFileName = "history.txt";
const char* const PriceFileName = "price.txt";
const char* const CountersFileName = "counters.txt";

namespace {

// After a failed read: a missing file is an empty table, but a file that exists and cannot be
// read stops the start.
void ThrowUnlessMissing(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::exists(file, ec) && !ec)
        return;
    throw std::runtime_error("Не удалось прочитать файл " + file.filename().string() +
                             ". Подсчёт трафика остановлен, сохранённые данные не изменены.");
}

// Whether the file was written since the computer started.
bool WrittenSinceBoot(const std::filesystem::path& file, uint64_t uptime)
{
    std::error_code ec;
    auto written = std::filesystem::last_write_time(file, ec);
    return !ec && written >= std::filesystem::file_time_type::clock::now() - std::chrono::milliseconds(uptime);
}

}  // namespace

std::optional<int32_t> LoadState(Engine& engine, const std::filesystem::path& folder, uint64_t uptime,
                                 char decimalSeparator)
{
    engine.StateLoaded = false;
    engine.TariffTable.Clear();
    std::string text;
    if (ReadWholeFile(folder / PriceFileName, text))
        ReadTariffText(text, engine.TariffTable, decimalSeparator);
    else
        ThrowUnlessMissing(folder / PriceFileName);

    // The history is read a block at a time: years of it are tens of megabytes.
    std::optional<int32_t> width;
    HistoryReader reader(engine.HistoryTable);
    if (ReadFileInBlocks(folder / HistoryFileName,
                         [&](std::string_view text, bool atEnd) { return reader.Feed(text, atEnd); })) {
        engine.ShowName = reader.Settings().ShowName;
        width = reader.Settings().Width;
    } else {
        ThrowUnlessMissing(folder / HistoryFileName);
    }

    engine.Budgets.clear();
    std::string budgets;
    if (ReadWholeFile(folder / BudgetFileName, budgets))
        engine.Budgets = ReadBudgets(budgets, decimalSeparator);
    else
        ThrowUnlessMissing(folder / BudgetFileName);

    // A counters file that cannot be read is a damaged one: it is distrusted, never fatal.
    // A counters file of 1024 rows is some 300 KB: a larger one is damaged, never read whole.
    std::string counters;
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(folder / CountersFileName, sizeError);
    bool present = !sizeError && size > (std::uintmax_t(1) << 20) ? false : ReadWholeFile(folder / CountersFileName, counters);
    if (!present) {
        counters.clear();
        std::error_code ec;
        present = std::filesystem::exists(folder / CountersFileName, ec) || ec;
    }
    ReadCountersText(counters, present, engine.HistoryTable, uptime,
                     WrittenSinceBoot(folder / HistoryFileName, uptime), engine.Counters);
    engine.StateLoaded = true;
    return width;
}

void SaveState(Engine& engine, const std::filesystem::path& folder, int32_t width, char decimalSeparator,
               FileStore& store)
{
    const HistoryFingerprint history = FingerprintOf(engine.HistoryTable);
    engine.Counters.SaveDue = false;
    // A counters file that cannot be replaced must not cost the history: the history is written
    // all the same, and the old counters file no longer fits it, so the next start distrusts it
    // (it may miss a little, it never counts twice).
    std::exception_ptr countersFailed;
    try {
        store.Save(folder / CountersFileName, WriteCountersText(engine.Counters, history));
    } catch (const std::exception&) {
        countersFailed = std::current_exception();
    }
    store.SavePieces(folder / HistoryFileName, HistoryTextPieces(engine.HistoryTable, engine.ShowName, width));
    engine.Counters.OnDisk = history;
    store.Save(folder / PriceFileName, WriteTariffText(engine.TariffTable, decimalSeparator));
    if (!engine.Budgets.empty())
        store.Save(folder / BudgetFileName, BudgetsText(engine.Budgets, decimalSeparator));
    if (countersFailed)
        std::rethrow_exception(countersFailed);
}

Budget* FindBudget(Engine& engine, const std::string& connection)
{
    for (BudgetLine& line : engine.Budgets)
        if (line.Parsed && line.Parsed->Name == connection)
            return &*line.Parsed;
    return nullptr;
}

void SampleInterfaces(Engine& engine, uint64_t now)
{
    std::vector<IfRow> rows;
    if (!engine.IfTable.HasEntry() || !engine.IfTable.Read(rows)) {
        engine.Counters.Missed();
        return;
    }
    engine.Counters.Sample(engine.HistoryTable, engine.SegmentCounter, engine.StartDate, now,
                           engine.IfTable.Counters64(), rows, [&engine](const IfRow& row) {
                               return IsConnection(row, engine.TariffTable, engine.ShowName);
                           });
}

bool ExitSave(Engine& engine, const std::filesystem::path& folder, int32_t width, char decimalSeparator,
              FileStore& store, const std::function<bool(const std::string&)>& endAnyway)
{
    if (engine.StateLoaded) {
        try {
            SaveState(engine, folder, width, decimalSeparator, store);
        } catch (const std::exception& e) {
            if (!endAnyway(e.what()))
                return false;
        }
    }
    engine.IfTable.Release();
    return true;
}
