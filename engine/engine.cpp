#include "engine/engine.h"

#include <stdexcept>

#include "engine/state_files.h"

const char* const HistoryFileName = "history.txt";
const char* const PriceFileName = "price.txt";

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

}  // namespace

std::optional<int32_t> LoadState(Engine& engine, const std::filesystem::path& folder)
{
    engine.StateLoaded = false;
    engine.TariffTable.Clear();
    std::string text;
    if (ReadWholeFile(folder / PriceFileName, text))
        ReadTariffText(text, engine.TariffTable);
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
    engine.StateLoaded = true;
    return width;
}

void SaveState(const Engine& engine, const std::filesystem::path& folder, int32_t width,
               char decimalSeparator, FileStore& store)
{
    store.SavePieces(folder / HistoryFileName, HistoryTextPieces(engine.HistoryTable, engine.ShowName, width));
    store.Save(folder / PriceFileName, WriteTariffText(engine.TariffTable, decimalSeparator));
}

void SampleInterfaces(Engine& engine)
{
    std::vector<IfRow> rows;
    if (!engine.IfTable.HasEntry() || !engine.IfTable.Read(rows))
        return;
    SampleAndUpdate(engine.HistoryTable, engine.SegmentCounter, engine.StartDate, rows);
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
