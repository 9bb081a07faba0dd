#pragma once
#include <windows.h>

#include "platform/file_store.h"

// Replaces a file atomically: the bytes go to a temporary file beside it, every write is
// checked, the file is flushed to the disk and then renamed over the old one. ReplaceFileW
// is not used: under Wine it removes the old name for a moment.
class AtomicFileStore : public FileStore {
public:
    void SavePieces(const std::filesystem::path& file, const FilePieces& next) override;

protected:
    // One write of the save; tests make it fail part-way.
    virtual bool WriteChunk(HANDLE file, const char* data, DWORD size, DWORD& written);
};
