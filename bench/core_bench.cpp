// What the program costs while it runs all day: one tick of the core against histories of
// 1 000 to 1 000 000 records, loading and saving "history.txt", and the memory a record
// takes. The history is made of 10 connections over up to ten years, as the reader sees it.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/state_files.h"
#include "mainwindow/panel.h"

namespace {

namespace fs = std::filesystem;

const Date Today{2026, 12, 6};
constexpr int Connections = 10;
constexpr int64_t TenYears = 3650;

const char* const Names[Connections] = {
    "Realtek PCIe GbE Family Controller", "Intel(R) Wi-Fi 6 AX201 160MHz", "WAN Miniport (PPPOE)",
    "Высокоскоростное подключение",       "Hyper-V Virtual Ethernet Adapter", "TAP-Windows Adapter V9",
    "Software Loopback Interface 1",      "Bluetooth Device (Personal Area Network)",
    "WAN Miniport (IP)",                  "Microsoft Kernel Debug Network Adapter",
};

// The civil date `days` days before Today (days counted as in the proleptic Gregorian calendar).
Date DaysBefore(int64_t days)
{
    auto toDays = [](int64_t y, int64_t m, int64_t d) {
        y -= m <= 2;
        int64_t era = (y >= 0 ? y : y - 399) / 400;
        int64_t yoe = y - era * 400;
        int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    };
    int64_t z = toDays(Today.Year, Today.Month, Today.Day) - days + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t d = doy - (153 * mp + 2) / 5 + 1;
    int64_t m = mp + (mp < 10 ? 3 : -9);
    return Date{static_cast<uint16_t>(yoe + era * 400 + (m <= 2)), static_cast<uint16_t>(m), static_cast<uint16_t>(d)};
}

// "history.txt" with `records` records: each connection has records on every day of the
// last min(records / 10, 3650) days before today, several a day when there are more; all
// but the last of a day were closed by a reconnection.
std::string HistoryText(int64_t records)
{
    const int64_t perConnection = records / Connections;
    const int64_t days = std::min(perConnection, TenYears);
    std::string text = "SHOW=\r\nform1.width=792\r\n";
    text.reserve(static_cast<std::size_t>(records) * 80);
    int32_t segment = 0;
    auto padded = [](uint32_t v) {
        std::string s = std::to_string(v);
        return s + std::string(s.size() < 10 ? 10 - s.size() : 0, ' ');
    };
    for (int64_t j = 0; j < perConnection; ++j) {
        const int64_t day = j * days / perConnection;
        const bool lastOfDay = (j + 1) * days / perConnection != day || j + 1 == perConnection;
        const Date date = DaysBefore(days - day);
        for (int c = 0; c < Connections; ++c) {
            const uint32_t in = static_cast<uint32_t>((j * 7919 + c * 104729) % 2000000000);
            const uint32_t out = static_cast<uint32_t>((j * 3571 + c * 1299709) % 900000000);
            text += std::to_string(date.Day) + '.' + std::to_string(date.Month) + '.' + std::to_string(date.Year) +
                    '-' + std::to_string(lastOfDay ? 0 : ++segment) + '\t' + padded(in) + '\t' + padded(out) + '\t' +
                    Names[c] + "\r\n";
        }
    }
    return text;
}

const std::string& CachedHistoryText(int64_t records)
{
    static std::map<int64_t, std::string> texts;
    auto it = texts.find(records);
    if (it == texts.end())
        it = texts.emplace(records, HistoryText(records)).first;
    return it->second;
}

std::string PriceText()
{
    std::string text;
    for (int c = 0; c < Connections; ++c)
        text += std::string(Names[c]) + '|' + Names[c] + ">1,5@2\r\n";
    return text;
}

// A folder with the state files of `records` records and a "nast_o.txt" hiding one connection.
// In memory (tmpfs) where there is one: what the disk takes to write is not the program's cost.
fs::path StateFolder(int64_t records)
{
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path folder = base / ("vornik-bench-" + std::to_string(records));
    fs::create_directories(folder);
    std::ofstream(folder / "history.txt", std::ios::binary) << CachedHistoryText(records);
    std::ofstream(folder / "price.txt", std::ios::binary) << PriceText();
    std::ofstream(folder / "nast_o.txt", std::ios::binary) << Names[6] << "\r\n";
    return folder;
}

// The interface table: every connection's counters grow a little with every read.
class GrowingIfTable : public IfTableSource {
public:
    bool Load() override { return true; }
    bool HasEntry() const override { return true; }
    bool Loaded() const override { return true; }
    void Release() override {}
    bool Counters64() const override { return false; }
    bool Read(std::vector<IfRow>& rows) override
    {
        ++reads_;
        rows.clear();
        for (int c = 0; c < Connections; ++c)
            rows.push_back({Names[c], 100000u * (c + 1) + reads_ * 1500u, 50000u * (c + 1) + reads_ * 700u});
        return true;
    }

private:
    uint32_t reads_ = 0;
};

// A canvas that only measures text, so the pass's own work is what is timed.
class MeasuringCanvas : public Canvas {
public:
    void SetFontSize(int) override {}
    void SetFontColor(Color) override {}
    void SetFontBold(bool) override {}
    void PutText(int x, int y, const std::string& text, bool) override { drawn_ += x + y + text.size(); }
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    std::size_t Drawn() const { return drawn_; }

private:
    std::size_t drawn_ = 0;
};

class TallHost : public PanelHost {
public:
    MeasuringCanvas canvas;
    Canvas& PanelCanvas() override { return canvas; }
    void SizeBitmapToPanel() override {}
    int PanelHeight() override { return 4000; }
    void GrowWindow(int) override {}
    int OuterWidth() override { return 800; }
    void SetOuterWidth(int) override {}
    Color DesktopColor() override { return RgbColor(58, 110, 165); }
};

struct Program {
    GrowingIfTable table;
    Engine engine{table};
    TallHost host;
    fs::path folder;
    std::vector<infos> informerList;

    explicit Program(int64_t records) : folder(StateFolder(records))
    {
        LoadState(engine, folder);
        engine.StartDate = Today;
    }

    // Timer1Timer: sample, draw, hand the visible rows to the informer, discard the rows.
    void Tick()
    {
        SampleInterfaces(engine);
        DrawPanel(engine, host, ',', folder);
        informerList.clear();
        for (const infos& row : engine.InformerRows)
            if (row.Visible)
                informerList.push_back(row);
        engine.InformerRows.clear();
    }
};

// Bytes of the heap in use, mapped blocks included.
std::size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_Tick(benchmark::State& state)
{
    static std::map<int64_t, std::unique_ptr<Program>> programs;
    auto& program = programs[state.range(0)];
    if (!program) {
        program = std::make_unique<Program>(state.range(0));
        program->Tick();  // the run's first tick starts today's records
    }
    for (auto _ : state)
        program->Tick();
    benchmark::DoNotOptimize(program->host.canvas.Drawn());
    state.counters["records"] = static_cast<double>(program->engine.HistoryTable.HistoryCount());
}
BENCHMARK(BM_Tick)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_LoadHistory(benchmark::State& state)
{
    fs::path folder = StateFolder(state.range(0));
    for (auto _ : state) {
        GrowingIfTable table;
        auto engine = std::make_unique<Engine>(table);
        LoadState(*engine, folder);
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadHistory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Writes the file as the program's store does, without the flush to the disk.
class PlainFileStore : public FileStore {
public:
    void SavePieces(const fs::path& file, const FilePieces& next) override
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        std::string_view piece;
        while (next(piece))
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    }
};

void BM_SaveHistory(benchmark::State& state)
{
    Program program(state.range(0));
    fs::path out = program.folder / "saved";
    fs::create_directories(out);
    PlainFileStore store;
    for (auto _ : state)
        SaveState(program.engine, out, 792, ',', store);
}
BENCHMARK(BM_SaveHistory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same without the file: the text in memory made into records, and the records into text.
void BM_ReadHistoryText(benchmark::State& state)
{
    const std::string& text = CachedHistoryText(state.range(0));
    for (auto _ : state) {
        auto history = std::make_unique<DayRecordArray>();
        ReadHistoryText(text, *history);
        state.PauseTiming();
        history.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadHistoryText)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_WriteHistoryText(benchmark::State& state)
{
    Program program(state.range(0));
    for (auto _ : state) {
        // A piece at a time, as the save makes the text.
        FilePieces pieces = HistoryTextPieces(program.engine.HistoryTable, "", 792);
        std::size_t size = 0;
        std::string_view piece;
        while (pieces(piece))
            size += piece.size();
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(BM_WriteHistoryText)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The heap a loaded history takes after the first tick, per record, names included.
void BM_MemoryPerRecord(benchmark::State& state)
{
    fs::path folder = StateFolder(state.range(0));
    for (auto _ : state) {
        std::size_t before = HeapInUse();
        auto program = std::make_unique<Program>(state.range(0));
        program->Tick();
        std::size_t after = HeapInUse();
        state.counters["bytes_per_record"] =
            static_cast<double>(after - before) / static_cast<double>(program->engine.HistoryTable.HistoryCount());
    }
}
BENCHMARK(BM_MemoryPerRecord)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
