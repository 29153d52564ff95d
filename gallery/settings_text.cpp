// settings_text.cpp -- the settings file's lines: key=value, one per choice of the startup
// dialog, checked strictly on the way in since the file may have been edited or damaged.
#include "gallery/settings_text.h"

#include <cstdio>
#include <cstring>

#include "gallery/display_settings.h"

namespace {

const char *const ANTIALIAS_NAMES[] = {"low", "medium", "high"};

const char *yesNo(bool value) {
    return value ? "true" : "false";
}

bool parseBool(const std::string &value, bool *result) {
    if (value == "true" || value == "false") {
        *result = value == "true";
        return true;
    }
    return false;
}

// "WxH" naming an entry of the resolution table.
bool parseSize(const std::string &value, int32_t *width, int32_t *height) {
    for (const Resolution &entry : resolutionTable) {
        char name[32];
        snprintf(name, sizeof name, "%dx%d", entry.width, entry.height);
        if (value == name) {
            *width = entry.width;
            *height = entry.height;
            return true;
        }
    }
    return false;
}

bool parseAntialias(const std::string &value, int32_t *level) {
    for (int i = 0; i < 3; ++i) {
        if (value == ANTIALIAS_NAMES[i]) {
            *level = i;
            return true;
        }
    }
    return false;
}

std::string trimmed(const std::string &text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One "key=value" line into choices; false when the key's value is not one it may take.
bool parseLine(const std::string &key, const std::string &rawValue, SettingsChoices *choices) {
    std::string value = trimmed(rawValue);
    if (key == "folder") {
        // Taken byte for byte: a folder's name may begin or end with a space.
        if (rawValue.size() >= sizeof choices->folder)
            return false;
        memcpy(choices->folder, rawValue.c_str(), rawValue.size() + 1);
        choices->hasFolder = true;
        return true;
    }
    if (key == "size")
        return parseSize(value, &choices->width, &choices->height);
    if (key == "fullscreen")
        return parseBool(value, &choices->fullscreen);
    if (key == "antialiasing")
        return parseAntialias(value, &choices->antialiasLevel);
    if (key == "mouse_navigation")
        return parseBool(value, &choices->mouseNavigation);
    if (key == "smooth_mouse")
        return parseBool(value, &choices->smoothMouse);
    return true;
}

} // namespace

SettingsChoices choicesFromDisplaySettings(const char *folder) {
    SettingsChoices choices = {};
    if (folder != nullptr) {
        choices.hasFolder = true;
        snprintf(choices.folder, sizeof choices.folder, "%s", folder);
    }
    choices.width = screenWidth;
    choices.height = screenHeight;
    choices.fullscreen = fullscreen;
    choices.antialiasLevel = antialiasLevel;
    choices.mouseNavigation = mouseNavigation;
    choices.smoothMouse = smoothMouse;
    return choices;
}

void applyToDisplaySettings(const SettingsChoices &choices) {
    screenWidth = choices.width;
    screenHeight = choices.height;
    fullscreen = choices.fullscreen;
    antialiasLevel = choices.antialiasLevel;
    mouseNavigation = choices.mouseNavigation;
    smoothMouse = choices.smoothMouse;
}

std::string formatSettings(const SettingsChoices &choices) {
    std::string text = "# Quillmere: the startup dialog's choices of the last run.\n";
    if (choices.hasFolder && strpbrk(choices.folder, "\r\n") == nullptr)
        text += std::string("folder=") + choices.folder + "\n";
    char line[64];
    snprintf(line, sizeof line, "size=%dx%d\n", choices.width, choices.height);
    text += line;
    text += std::string("fullscreen=") + yesNo(choices.fullscreen) + "\n";
    int level = choices.antialiasLevel;
    text += std::string("antialiasing=") +
            ANTIALIAS_NAMES[level < 0   ? 0
                            : level > 2 ? 2
                                        : level] +
            "\n";
    text += std::string("mouse_navigation=") + yesNo(choices.mouseNavigation) + "\n";
    text += std::string("smooth_mouse=") + yesNo(choices.smoothMouse) + "\n";
    return text;
}

bool parseSettings(const char *text, size_t length, SettingsChoices *choices, char *why,
                   size_t whySize) {
    if (length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        length -= 3;
    }
    SettingsChoices read = *choices;
    size_t start = 0;
    for (int number = 1; start < length; ++number) {
        const char *end = static_cast<const char *>(memchr(text + start, '\n', length - start));
        size_t stop = end != nullptr ? static_cast<size_t>(end - text) : length;
        std::string line(text + start, stop - start);
        start = stop + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        for (unsigned char byte : line) {
            if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
                snprintf(why, whySize, "line %d holds binary data", number);
                return false;
            }
        }
        std::string content = trimmed(line);
        if (content.empty() || content[0] == '#' || content[0] == ';')
            continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos) {
            snprintf(why, whySize, "line %d is not key=value", number);
            return false;
        }
        std::string key = trimmed(line.substr(0, equals));
        if (!parseLine(key, line.substr(equals + 1), &read)) {
            snprintf(why, whySize, "line %d: %.40s is not a value of %.40s", number,
                     trimmed(line.substr(equals + 1)).c_str(), key.c_str());
            return false;
        }
    }
    *choices = read;
    return true;
}
