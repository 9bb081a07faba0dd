#include "platform/file_store_win.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text_win.h"
#include "platform/user_data.h"

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, DWORD error)
{
    throw std::runtime_error("Не удалось сохранить файл " + UserData(FromUserText(file.wstring())) + ": " +
                             SystemErrorText(error));
}

}  // namespace

bool AtomicFileStore::WriteChunk(HANDLE file, const char* data, DWORD size, DWORD& written)
{
    return WriteFile(file, data, size, &written, nullptr) != 0;
}

void AtomicFileStore::SavePieces(const std::filesystem::path& file, const FilePieces& next)
{
    std::filesystem::path temp = file;
    temp += L".new";
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        Fail(file, GetLastError());

    auto abandon = [&](DWORD error) {
        CloseHandle(h);
        DeleteFileW(temp.c_str());
        Fail(file, error);
    };
    std::string_view piece;
    for (;;) {
        bool more = false;
        try {
            more = next(piece);
        } catch (...) {  // the maker of the bytes failed (out of memory): no file is left behind
            CloseHandle(h);
            DeleteFileW(temp.c_str());
            throw;
        }
        if (!more)
            break;
        while (!piece.empty()) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1u << 20));
            DWORD written = 0;
            if (!WriteChunk(h, piece.data(), chunk, written))
                abandon(GetLastError());
            if (written == 0)
                abandon(ERROR_DISK_FULL);
            piece.remove_prefix(written);
        }
    }
    if (!FlushFileBuffers(h))
        abandon(GetLastError());
    if (!CloseHandle(h)) {
        DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        Fail(file, error);
    }

    // Another program (a virus scanner, a backup) may hold the old file for a moment.
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExW(temp.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            break;
        Sleep(50);
    }
    DeleteFileW(temp.c_str());
    Fail(file, error);
}
