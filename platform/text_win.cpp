#include "platform/text_win.h"

#include <windows.h>

#include "platform/user_data.h"

std::wstring Widen(std::string_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring UserText(std::string_view text) { return Widen(text, CP_ACP); }
std::string FromUserText(std::wstring_view text) { return Narrow(text, CP_ACP); }

std::u32string CodePoints(std::wstring_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            out += 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FirstUserCharacters(std::string_view text, std::size_t count)
{
    if (text.size() <= count)
        return std::string(text);  // no more bytes than characters wanted
    std::wstring wide = UserText(text);
    std::size_t units = 0;
    for (std::size_t characters = 0; units < wide.size() && characters < count; ++characters)
        units += (wide[units] >= 0xD800 && wide[units] < 0xDC00 && units + 1 < wide.size()) ? 2 : 1;
    if (units >= wide.size())
        return std::string(text);
    return FromUserText(std::wstring_view(wide).substr(0, units));
}

std::wstring BoxText(std::string_view text)
{
    std::wstring out;
    while (!text.empty()) {
        const std::size_t begin = text.find(UserDataBegin);
        out += ProgramText(text.substr(0, begin));
        if (begin == std::string_view::npos)
            break;
        text.remove_prefix(begin + 1);
        const std::size_t end = text.find(UserDataEnd);
        out += UserText(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return out;
}

std::string SystemErrorText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : L"error " + std::to_wstring(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return UserData(FromUserText(text));  // in the system's language
}
