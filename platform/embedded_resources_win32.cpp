// embedded_resources_win32.cpp -- the program's resources of the executable itself, through
// FindResourceW, LoadResource and LockResource: the artwork is compiled in as "TEXTURES"
// resources by the resource script, as Windows programs carry their data.
#include "platform/embedded_resources.h"

#include <windows.h>

#include "platform/wide_text.h"

const ResourceHandle *findResource(int id, const char *type) {
    return reinterpret_cast<const ResourceHandle *>(
        FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), widen(type).c_str()));
}

const ResourceHandle *loadResource(const ResourceHandle *found) {
    if (found == nullptr)
        return nullptr;
    return reinterpret_cast<const ResourceHandle *>(
        LoadResource(GetModuleHandleW(nullptr), (HRSRC)found));
}

const void *lockResource(const ResourceHandle *loaded) {
    return loaded != nullptr ? LockResource((HGLOBAL)loaded) : nullptr;
}

size_t sizeofResource(const ResourceHandle *found) {
    return found != nullptr ? SizeofResource(GetModuleHandleW(nullptr), (HRSRC)found) : 0;
}
