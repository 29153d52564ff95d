// fake_embedded_resources.h -- the program's resources as compiled in, with scripted failures of
// the find, load and lock steps for every id or for one id.
#pragma once

enum FakeResourceStep { FAKE_RESOURCE_FIND, FAKE_RESOURCE_LOAD, FAKE_RESOURCE_LOCK };

// Passed as the id: the step fails for every resource.
constexpr int FAKE_RESOURCE_ANY_ID = -1;

// From now on the given step fails for the given id (or for every id). Several failures can
// be scripted at once.
void failFakeResource(FakeResourceStep step, int id = FAKE_RESOURCE_ANY_ID);

// Every resource is found, loaded and locked again.
void resetFakeEmbeddedResources();
