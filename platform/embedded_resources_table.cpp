// embedded_resources_table.cpp -- the program's resources found in the table of files compiled
// into it; find, load and lock all succeed for a resource that exists.
#include "platform/embedded_resources.h"

#include <cstring>

#include "platform/embedded_resource_table.h"

// A handle is the table entry itself, seen through the opaque handle type.
static const ResourceHandle *handleOf(const EmbeddedResource *entry) {
    return reinterpret_cast<const ResourceHandle *>(entry);
}

static const EmbeddedResource *entryOf(const ResourceHandle *handle) {
    return reinterpret_cast<const EmbeddedResource *>(handle);
}

const ResourceHandle *findResource(int id, const char *type) {
    for (const EmbeddedResource *entry = embeddedResources; entry->type != nullptr; ++entry) {
        if (entry->id == id && std::strcmp(entry->type, type) == 0)
            return handleOf(entry);
    }
    return nullptr;
}

const ResourceHandle *loadResource(const ResourceHandle *found) {
    return found;
}

const void *lockResource(const ResourceHandle *loaded) {
    return loaded != nullptr ? entryOf(loaded)->bytes : nullptr;
}

size_t sizeofResource(const ResourceHandle *found) {
    return found != nullptr ? entryOf(found)->size : 0;
}
