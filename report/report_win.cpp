#include "report/report_win.h"

#include <stdexcept>

#include "report/clearing.h"
#include "report/history_report.h"
#include "platform/text_win.h"

namespace fs = std::filesystem;

void WriteHistoryReport(Engine& engine, char decimalSeparator, FileStore& store, Shell& shell, const fs::path& exeFolder)
{
    fs::path folder = exeFolder / L"otchet";
    std::error_code ec;
    fs::create_directories(folder, ec);
    fs::path page = folder / L"history.htm";
    store.Save(page, HistoryReportPage(engine.HistoryTable, engine.TariffTable, engine.SelectedConnection, decimalSeparator));
    shell.Open(L"open", page.wstring(), SW_SHOWMAXIMIZED);
}

std::string ArchiveHistory(const fs::path& workFolder, const std::string& shortDate)
{
    fs::path folder = workFolder / L"arxiv";
    fs::path history = workFolder / L"history.txt";
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::string name = ArchiveFileName(shortDate, [&](const std::string& candidate) {
        return fs::exists(folder / UserText(candidate), ec);
    });
    fs::path archive = folder / UserText(name);
    auto fail = [&](const std::string& why) {
        throw std::runtime_error("Не удалось создать архив истории " + name + ": " + why +
                                 ". История не удалена, подсчёт трафика продолжается.");
    };
    if (!CopyFileW(history.c_str(), archive.c_str(), TRUE))
        fail(SystemErrorText(GetLastError()));
    std::string original, copy;
    if (!ReadWholeFile(history, original) || !ReadWholeFile(archive, copy) || original != copy)
        fail("копия не совпадает с файлом history.txt");
    return name;
}

std::string ConsolePath(const fs::path& path)
{
    std::wstring wide = path.wstring();
    BOOL lost = FALSE;
    int n = WideCharToMultiByte(CP_OEMCP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
    if (lost) {
        wchar_t shortPath[MAX_PATH];
        if (GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH))
            wide = shortPath;
        n = WideCharToMultiByte(CP_OEMCP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_OEMCP, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

HANDLE HoldClearingLock(const fs::path& workFolder)
{
    // Shared for reading only: the script's "del" fails until this process has ended.
    return CreateFileW((workFolder / UserText(ClearingLockName)).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}
