// fake_embedded_resources.cpp -- the compiled-in resource table with scripted step failures.
#include "fakes/fake_embedded_resources.h"

#include <cstring>
#include <vector>

#include "platform/embedded_resource_table.h"
#include "platform/embedded_resources.h"

namespace {
struct ScriptedFailure {
    FakeResourceStep step;
    int id;
};

std::vector<ScriptedFailure> scriptedFailures;

bool stepFails(FakeResourceStep step, int id) {
    for (const ScriptedFailure &failure : scriptedFailures) {
        if (failure.step == step && (failure.id == FAKE_RESOURCE_ANY_ID || failure.id == id))
            return true;
    }
    return false;
}

const ResourceHandle *handleOf(const EmbeddedResource *entry) {
    return reinterpret_cast<const ResourceHandle *>(entry);
}

const EmbeddedResource *entryOf(const ResourceHandle *handle) {
    return reinterpret_cast<const EmbeddedResource *>(handle);
}
} // namespace

void failFakeResource(FakeResourceStep step, int id) {
    scriptedFailures.push_back({step, id});
}

void resetFakeEmbeddedResources() {
    scriptedFailures.clear();
}

const ResourceHandle *findResource(int id, const char *type) {
    if (stepFails(FAKE_RESOURCE_FIND, id))
        return nullptr;
    for (const EmbeddedResource *entry = embeddedResources; entry->type != nullptr; ++entry) {
        if (entry->id == id && std::strcmp(entry->type, type) == 0)
            return handleOf(entry);
    }
    return nullptr;
}

const ResourceHandle *loadResource(const ResourceHandle *found) {
    if (found == nullptr || stepFails(FAKE_RESOURCE_LOAD, entryOf(found)->id))
        return nullptr;
    return found;
}

const void *lockResource(const ResourceHandle *loaded) {
    if (loaded == nullptr || stepFails(FAKE_RESOURCE_LOCK, entryOf(loaded)->id))
        return nullptr;
    return entryOf(loaded)->bytes;
}

size_t sizeofResource(const ResourceHandle *found) {
    return found != nullptr ? entryOf(found)->size : 0;
}
