// wide_text_win32.cpp -- UTF-8 <-> UTF-16 with MultiByteToWideChar and WideCharToMultiByte.
#include "platform/wide_text.h"

#include <cstring>
#include <windows.h>

std::wstring widen(const char *text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], length);
    wide.resize((size_t)length - 1);
    return wide;
}

std::string narrow(const wchar_t *text, int length) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string utf8((size_t)size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], size, nullptr, nullptr);
    if (length < 0)
        utf8.resize((size_t)size - 1);
    return utf8;
}

bool narrowInto(const wchar_t *text, char *buffer, size_t size) {
    if (size == 0)
        return false;
    std::string utf8 = narrow(text);
    size_t kept = utf8.size();
    if (kept <= size - 1) {
        memcpy(buffer, utf8.c_str(), kept + 1);
        return true;
    }
    // Never half a character: back up over continuation bytes.
    kept = size - 1;
    while (kept > 0 && ((unsigned char)utf8[kept] & 0xC0) == 0x80)
        kept--;
    memcpy(buffer, utf8.data(), kept);
    buffer[kept] = '\0';
    return false;
}
