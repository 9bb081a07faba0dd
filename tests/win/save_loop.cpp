// Saves "history.txt" in the given folder over and over, alternating two large states, so a
// test can kill it at random moments and check the file is always one state or the other.
#include <string>

#include "platform/file_store_win.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    std::filesystem::path file = std::filesystem::path(argv[1]) / L"history.txt";
    std::string states[2];
    for (int s = 0; s < 2; ++s) {
        states[s] = "SHOW=\r\nform1.width=798\r\n";
        for (int i = 0; i < 40000; ++i)
            states[s] += "9.12.2026-0\t" + std::to_string(s * 1000000 + i) + "\t42\tstate " + std::to_string(s) + "\r\n";
    }
    AtomicFileStore store;
    for (unsigned n = 0;; ++n)
        store.Save(file, states[n % 2]);
}
