#include "engine/engine.h"

#include <stdexcept>

#include "engine/state_files.h"

const char* const HistoryFileName = "history.txt";
const char* const PriceFileName = "price.txt";

namespace {

// False for a file that does not exist; throws for one that exists but cannot be read.
bool ReadStateFile(const std::filesystem::path& file, std::string& text)
{
    text.clear();
    if (ReadWholeFile(file, text))
        return true;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec) && !ec)
        return false;
    throw std::runtime_error("Не удалось прочитать файл " + file.filename().string() +
                             ". Подсчёт трафика остановлен, сохранённые данные не изменены.");
}

}  // namespace

std::optional<int32_t> LoadState(Engine& engine, const std::filesystem::path& folder)
{
    engine.StateLoaded = false;
    engine.TariffTable.Clear();
    std::string text;
    if (ReadStateFile(folder / PriceFileName, text))
        ReadTariffText(text, engine.TariffTable);

    std::optional<int32_t> width;
    if (ReadStateFile(folder / HistoryFileName, text)) {
        HistorySettings settings = ReadHistoryText(text, engine.HistoryTable);
        engine.ShowName = settings.ShowName;
        width = settings.Width;
    }
    engine.StateLoaded = true;
    return width;
}

void SaveState(const Engine& engine, const std::filesystem::path& folder, int32_t width,
               char decimalSeparator, FileStore& store)
{
    store.Save(folder / HistoryFileName, WriteHistoryText(engine.HistoryTable, engine.ShowName, width));
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
