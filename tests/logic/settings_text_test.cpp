// settings_text_test.cpp -- the settings file's lines: every choice survives writing and
// reading back; a damaged or foreign text is refused whole and leaves the choices alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gallery/display_settings.h"
#include "gallery/settings_text.h"

namespace {

SettingsChoices unusualChoices() {
    SettingsChoices choices = {};
    choices.hasFolder = true;
    strcpy(choices.folder, "/srv/Fotos/Été 2019 ");
    choices.width = 1024;
    choices.height = 768;
    choices.fullscreen = true;
    choices.antialiasLevel = ANTIALIAS_MEDIUM;
    choices.mouseNavigation = false;
    choices.smoothMouse = true;
    return choices;
}

SettingsChoices firstRunChoices() {
    resetDisplaySettings();
    return choicesFromDisplaySettings(nullptr);
}

void expectSame(const SettingsChoices &a, const SettingsChoices &b) {
    EXPECT_EQ(a.hasFolder, b.hasFolder);
    EXPECT_STREQ(a.folder, b.folder);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.fullscreen, b.fullscreen);
    EXPECT_EQ(a.antialiasLevel, b.antialiasLevel);
    EXPECT_EQ(a.mouseNavigation, b.mouseNavigation);
    EXPECT_EQ(a.smoothMouse, b.smoothMouse);
}

bool parse(const std::string &text, SettingsChoices *choices, std::string *why = nullptr) {
    char reason[160] = "";
    bool parsed = parseSettings(text.data(), text.size(), choices, reason, sizeof reason);
    if (why != nullptr)
        *why = reason;
    return parsed;
}

} // namespace

TEST(SettingsText, EveryChoiceSurvivesWritingAndReadingBack) {
    SettingsChoices written = unusualChoices();
    SettingsChoices read = firstRunChoices();
    ASSERT_TRUE(parse(formatSettings(written), &read));
    expectSame(read, written);

    // Each antialiasing level and both states of every switch, the other way round too.
    for (int level = ANTIALIAS_LOW; level <= ANTIALIAS_HIGH; ++level) {
        written.antialiasLevel = level;
        written.fullscreen = !written.fullscreen;
        written.mouseNavigation = !written.mouseNavigation;
        written.smoothMouse = !written.smoothMouse;
        written.width = resolutionTable[level].width;
        written.height = resolutionTable[level].height;
        read = firstRunChoices();
        ASSERT_TRUE(parse(formatSettings(written), &read)) << level;
        expectSame(read, written);
    }
}

TEST(SettingsText, FolderThatCannotStandOnALineIsLeftOut) {
    SettingsChoices written = unusualChoices();
    strcpy(written.folder, "/srv/two\nlines");
    std::string text = formatSettings(written);
    EXPECT_EQ(text.find("two"), std::string::npos);
    SettingsChoices read = firstRunChoices();
    ASSERT_TRUE(parse(text, &read));
    EXPECT_FALSE(read.hasFolder);
    EXPECT_EQ(read.width, 1024);
}

// What an editor or another version may leave: a byte order mark, CR LF, comments, blank lines,
// spaces around a value, keys this version does not know, choices not named at all.
TEST(SettingsText, EditedFileIsTakenWithTheChoicesItNames) {
    SettingsChoices read = firstRunChoices();
    ASSERT_TRUE(parse("\xEF\xBB\xBF# mine\r\n\r\n; too\r\nsize = 640x480\r\ncolour=blue\r\n"
                      "smooth_mouse=true",
                      &read));
    EXPECT_EQ(read.width, 640);
    EXPECT_EQ(read.height, 480);
    EXPECT_TRUE(read.smoothMouse);
    EXPECT_FALSE(read.hasFolder);
    EXPECT_EQ(read.antialiasLevel, ANTIALIAS_HIGH);
    EXPECT_TRUE(read.mouseNavigation);
    EXPECT_TRUE(parse("", &read));
}

TEST(SettingsText, DamagedTextIsRefusedWholeAndChangesNothing) {
    const std::string longFolder = "folder=/" + std::string(PATH_BUFFER_SIZE, 'a') + "\n";
    const std::string cases[] = {
        "size=1000x1000\n",                                   // not a size the dialog offers
        "size=800x600x\n",                                    // nor a spelling of one
        "fullscreen=yes\n",                                   // booleans are true or false
        "antialiasing=ultra\n",                               // no such level
        "mouse_navigation=\n",                                // empty
        "smooth mouse is on\n",                               // no key=value
        std::string("size=640x480\nfull\0screen=true\n", 30), // a NUL byte
        "\x89PNG\r\n\x1a\n\x00\x00",                          // binary data
        longFolder,                                           // a folder longer than any path
    };
    for (const std::string &text : cases) {
        SettingsChoices read = unusualChoices();
        std::string why;
        EXPECT_FALSE(parse("fullscreen=false\n" + text, &read, &why)) << text;
        EXPECT_FALSE(why.empty()) << text;
        expectSame(read, unusualChoices());
    }
}
