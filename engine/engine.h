#pragma once
// The program-wide state of one run: the tables, the run's day and the interface library.
// One instance, owned by the program entry and handed to the forms by reference.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/budget.h"
#include "engine/day_records.h"
#include "engine/formats.h"
#include "engine/sampling.h"
#include "platform/clock.h"
#include "platform/file_store.h"
#include "platform/iftable.h"

struct Engine {
    explicit Engine(IfTableSource& ifTable) : IfTable(ifTable) {}

    DayRecordArray HistoryTable;
    TariffArray TariffTable;
    Date StartDate;             // the day of the current sample, read from the clock at every tick
    int32_t SegmentCounter = 0;
    Counting Counters;          // every interface row's previous counters, and the speed
    std::string ShowName;       // when set, the only connection the main window draws
    std::string SelectedConnection;
    std::string FirstConnection;
    std::vector<infos> InformerRows;  // this tick's informer lines, rebuilt by every drawing pass
    std::vector<BudgetLine> Budgets;  // "budget.txt", line by line
    IfTableSource& IfTable;     // IPHLPAPI.DLL and its GetIfTable (IfTableProc)

    // True once both state files were read whole. Until then the tables in memory are not
    // the user's state, and nothing may be written over the stored files.
    bool StateLoaded = false;
};

// The state files, by bare name: they live in the working folder.
extern const char* const HistoryFileName;
extern const char* const PriceFileName;
extern const char* const CountersFileName;

// The connection's budget, or nothing.
Budget* FindBudget(Engine& engine, const std::string& connection);

// Start-up: reads "price.txt" then "history.txt" from `folder`. A missing file is an empty
// table; a file that exists but cannot be read throws, so that the run stays idle and its
// exit cannot write an empty table over it; "budget.txt" the same. Then "counters.txt", which never stops the start
// (`uptime`: the system's, in milliseconds). Prices read with the regional separator too. Returns the stored main-window width, if any.
// Sets StateLoaded once both state files are read.
std::optional<int32_t> LoadState(Engine& engine, const std::filesystem::path& folder, uint64_t uptime,
                                 char decimalSeparator);

// Writes "counters.txt", "history.txt", "price.txt" and (when there is a budget) "budget.txt"
// whole, in this order (each replaced
// atomically by `store`): a save cut short between the first two never counts anything twice.
// Throws on failure; a file not yet replaced keeps its old content. A counters file that cannot
// be written is reported after the other two were.
void SaveState(Engine& engine, const std::filesystem::path& folder, int32_t width, char decimalSeparator,
               FileStore& store);

// One sample of the interface table into the day records of engine.StartDate; nothing when
// the table cannot be read (library missing or released, entry point missing, any error).
// `now`: the system's uptime in milliseconds.
void SampleInterfaces(Engine& engine, uint64_t now);

// The state writer of every way out. Writes the state (unless the start was idle, when the
// stored files stay exactly as they are), then releases the interface library. When the
// save fails the library stays loaded and `endAnyway(error text)` decides: true ends the
// program without the run's counts, false keeps it running and sampling.
// Returns true when the program may end.
bool ExitSave(Engine& engine, const std::filesystem::path& folder, int32_t width, char decimalSeparator,
              FileStore& store, const std::function<bool(const std::string&)>& endAnyway);
