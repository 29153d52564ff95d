// fake_settings_file.cpp -- the settings file as a string, for the logic tests.
#include "fakes/fake_settings_file.h"

#include <cstdio>
#include <cstring>

bool fakeSettingsExists = false;
std::string fakeSettingsText;
bool fakeSettingsUnreadable = false;
bool fakeSettingsWriteFails = false;
int fakeSettingsWrites = 0;

void resetFakeSettingsFile() {
    fakeSettingsExists = false;
    fakeSettingsText.clear();
    fakeSettingsUnreadable = false;
    fakeSettingsWriteFails = false;
    fakeSettingsWrites = 0;
}

bool settingsFilePath(char *path, size_t size) {
    return snprintf(path, size, "%s", FAKE_SETTINGS_PATH) < static_cast<int>(size);
}

SettingsFileRead readSettingsFile(const char *, char *buffer, size_t capacity, size_t *length) {
    *length = 0;
    if (!fakeSettingsExists)
        return SETTINGS_MISSING;
    if (fakeSettingsUnreadable)
        return SETTINGS_UNREADABLE;
    if (fakeSettingsText.size() > capacity)
        return SETTINGS_TOO_LARGE;
    memcpy(buffer, fakeSettingsText.data(), fakeSettingsText.size());
    *length = fakeSettingsText.size();
    return SETTINGS_READ;
}

bool writeSettingsFile(const char *, const char *data, size_t size, char *why, size_t whySize) {
    if (fakeSettingsWriteFails) {
        snprintf(why, whySize, "Read-only file system");
        return false;
    }
    fakeSettingsExists = true;
    fakeSettingsText.assign(data, size);
    ++fakeSettingsWrites;
    return true;
}
