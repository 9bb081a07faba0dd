#include "report/report_win.h"

#include <algorithm>
#include <stdexcept>

#include "report/clearing.h"
#include "report/history_report.h"
#include "platform/text_win.h"
#include "platform/user_data.h"

namespace fs = std::filesystem;

void WriteHistoryReport(Engine& engine, char decimalSeparator, FileStore& store, Shell& shell, const fs::path& dataFolder,
                        const fs::path& exeFolder)
{
    fs::path folder = dataFolder / L"otchet";
    std::error_code ec;
    fs::create_directories(folder, ec);
    // The page shows the logo released beside the executable; a missing one only leaves its frame empty.
    fs::copy_file(exeFolder / L"otchet" / L"logo.png", folder / L"logo.png", fs::copy_options::skip_existing, ec);
    fs::path page = folder / L"history.htm";
    store.Save(page, HistoryReportPage(engine.HistoryTable, engine.TariffTable, engine.SelectedConnection, decimalSeparator,
                                       [](const std::string& name) { return UnicodeToPage(CodePoints(UserText(name))); }));
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
        throw std::runtime_error("Не удалось создать архив истории " + UserData(name) + ": " + why +
                                 ". История не удалена, подсчёт трафика продолжается.");
    };
    if (!CopyFileW(history.c_str(), archive.c_str(), TRUE))
        fail(SystemErrorText(GetLastError()));
    std::string original, copy;
    if (!ReadWholeFile(history, original) || !ReadWholeFile(archive, copy) || original != copy)
        fail("копия не совпадает с файлом history.txt");
    return name;
}

namespace {

// Code pages for which WideCharToMultiByte takes neither a default character nor the flag
// telling that one was used (UTF-7, UTF-8, GB 18030, ISO 2022 and a few others): it fails
// with ERROR_INVALID_PARAMETER when given them.
bool TakesNoDefaultChar(UINT codePage)
{
    return codePage == CP_UTF7 || codePage == CP_UTF8 || codePage == 54936 || codePage == 42 ||
           (codePage >= 50220 && codePage <= 50229) || codePage == 52936 || (codePage >= 57002 && codePage <= 57011);
}

// The text in the code page, or nothing when the code page lacks one of its characters.
std::optional<std::string> Spell(const std::wstring& wide, const ConsoleSpelling& console)
{
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    const bool noDefault = TakesNoDefaultChar(console.CodePage);
    const DWORD flags = noDefault ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lost = FALSE;
    BOOL* lostFlag = noDefault ? nullptr : &lost;
    int n = console.Convert(console.CodePage, flags, wide.c_str(), size, nullptr, 0, nullptr, lostFlag);
    if (n <= 0 || lost)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    if (console.Convert(console.CodePage, flags, wide.c_str(), size, out.data(), n, nullptr, lostFlag) != n || lost)
        return std::nullopt;
    // Without the flag, a character the code page lacks (the ISO 2022 ones lack many) comes
    // out as '?': one more '?' than the name has tells it.
    if (noDefault && std::count(out.begin(), out.end(), '?') != std::count(wide.begin(), wide.end(), L'?'))
        return std::nullopt;
    return out;
}

std::optional<std::wstring> ShortForm(const fs::path& path, const ConsoleSpelling& console)
{
    wchar_t shortPath[MAX_PATH];
    DWORD n = console.ShortPath(path.c_str(), shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::nullopt;
    return std::wstring(shortPath, n);
}

}  // namespace

std::optional<std::string> ConsolePath(const fs::path& path, const ConsoleSpelling& console)
{
    if (std::optional<std::string> spelled = Spell(path.wstring(), console))
        return spelled;
    if (std::optional<std::wstring> shortPath = ShortForm(path, console))
        return Spell(*shortPath, console);  // the long form again where 8.3 names are off: nothing
    return std::nullopt;
}

std::string RestartScriptFor(const fs::path& archive, const fs::path& exePath, const ConsoleSpelling& console)
{
    std::optional<std::string> exe = ConsolePath(exePath, console);
    // The archive's own name, as it stands in "arxiv": the short form is looked up there.
    std::optional<std::string> archiveName = Spell(archive.filename().wstring(), console);
    if (!archiveName)
        if (std::optional<std::wstring> shortPath = ShortForm(archive, console))
            archiveName = Spell(fs::path(*shortPath).filename().wstring(), console);
    if (exe && archiveName)
        return RestartScript(*archiveName, *exe);
    // A name cannot be spelled in the console's code page: both are in UTF-8.
    auto utf8 = [](const fs::path& path) { return Narrow(path.wstring(), CP_UTF8); };
    return RestartScript(utf8(archive.filename()), utf8(exePath), true);
}

HANDLE HoldClearingLock(const fs::path& workFolder)
{
    // Shared for reading only: the script's "del" fails until this process has ended.
    return CreateFileW((workFolder / UserText(ClearingLockName)).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}
