// embedded_resources.h -- the program's own read-only resources, found by type and numeric id,
// in the three steps of find, load and lock.
#pragma once
#include <cstddef>

struct ResourceHandle;

// Null when no resource of this type has this id.
const ResourceHandle *findResource(int id, const char *type);
// Null when the found resource cannot be loaded.
const ResourceHandle *loadResource(const ResourceHandle *found);
// Null when the loaded resource cannot be locked; otherwise its bytes, never to be freed.
const void *lockResource(const ResourceHandle *loaded);
size_t sizeofResource(const ResourceHandle *found);
