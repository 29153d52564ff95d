// settings_file_test.cpp -- the settings file on the real file system: where it lives, reading
// it with a bound, and replacing it whole with nothing left beside it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/settings_file.h"
#include "support/temp_tree.h"

namespace {

#ifdef _WIN32
const std::string SEPARATOR = "\\";
#else
const std::string SEPARATOR = "/";
#endif

class SettingsFile : public ::testing::Test {
  protected:
    std::string root;
    void SetUp() override {
        root = makeTempFolder();
        ASSERT_FALSE(root.empty());
    }
    void TearDown() override { removeTree(root); }

    std::string in(const std::string &relative) const { return root + SEPARATOR + relative; }

    static std::string readBack(const std::string &path) {
        char buffer[256];
        size_t length = 99;
        EXPECT_EQ(readSettingsFile(path.c_str(), buffer, sizeof buffer, &length), SETTINGS_READ);
        return std::string(buffer, length);
    }

    static bool write(const std::string &path, const std::string &text, std::string *why) {
        char reason[200] = "";
        bool written =
            writeSettingsFile(path.c_str(), text.data(), text.size(), reason, sizeof reason);
        *why = reason;
        return written;
    }

    // The names in a folder.
    static std::vector<std::string> entries(const std::string &folder) {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

} // namespace

TEST_F(SettingsFile, WriteMakesTheFoldersAndReplacesTheFileWhole) {
    std::string path = in("config" + SEPARATOR + "quillmere" + SEPARATOR + "settings.ini");
    std::string why;
    ASSERT_TRUE(write(path, "size=1024x768\nfullscreen=true\n", &why)) << why;
    EXPECT_EQ(readBack(path), "size=1024x768\nfullscreen=true\n");
    ASSERT_TRUE(write(path, "size=640x480\n", &why)) << why;
    EXPECT_EQ(readBack(path), "size=640x480\n");
    // No temporary file stays behind.
    EXPECT_EQ(entries(in("config" + SEPARATOR + "quillmere")),
              std::vector<std::string>{"settings.ini"});
}

TEST_F(SettingsFile, FailedWriteSaysWhyAndLeavesNothingBehind) {
    // A folder stands where the file should be: the rename over it fails.
    std::string path = in("settings.ini");
    ASSERT_TRUE(makeFolder(path));
    ASSERT_TRUE(makeFile(path + SEPARATOR + "kept"));
    std::string why;
    EXPECT_FALSE(write(path, "size=640x480\n", &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(entries(root), std::vector<std::string>{"settings.ini"});
    EXPECT_EQ(entries(path), std::vector<std::string>{"kept"});

    // A file stands where a folder on the way should be.
    ASSERT_TRUE(makeFile(in("plain")));
    why.clear();
    EXPECT_FALSE(write(in("plain" + SEPARATOR + "settings.ini"), "x=1\n", &why));
    EXPECT_FALSE(why.empty());
}

TEST_F(SettingsFile, ReadIsBoundedAndTellsAMissingFileFromAnUnreadableOne) {
    char buffer[8];
    size_t length = 99;
    EXPECT_EQ(readSettingsFile(in("none.ini").c_str(), buffer, sizeof buffer, &length),
              SETTINGS_MISSING);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(readSettingsFile(root.c_str(), buffer, sizeof buffer, &length), SETTINGS_UNREADABLE);

    std::string why;
    ASSERT_TRUE(write(in("full.ini"), "12345678", &why)) << why;
    EXPECT_EQ(readSettingsFile(in("full.ini").c_str(), buffer, sizeof buffer, &length),
              SETTINGS_READ);
    EXPECT_EQ(std::string(buffer, length), "12345678");
    ASSERT_TRUE(write(in("over.ini"), "123456789", &why)) << why;
    EXPECT_EQ(readSettingsFile(in("over.ini").c_str(), buffer, sizeof buffer, &length),
              SETTINGS_TOO_LARGE);
    EXPECT_EQ(length, 0u);
}

#ifdef _WIN32
TEST(SettingsFilePath, LiesInTheRoamingApplicationData) {
    char path[1024];
    ASSERT_TRUE(settingsFilePath(path, sizeof path));
    std::string text = path;
    const std::string tail = "\\AppData\\Roaming\\Quillmere\\settings.ini";
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
    EXPECT_FALSE(settingsFilePath(path, 10));
}
#else
namespace {

// Sets or (null) unsets an environment variable for one test, restored afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char *name, const char *value) : name_(name) {
        const char *old = getenv(name);
        had_ = old != nullptr;
        if (had_)
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char *name_;
    bool had_;
    std::string old_;
};

std::string settingsPath() {
    char path[4096];
    return settingsFilePath(path, sizeof path) ? path : "(none)";
}

} // namespace

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
TEST(SettingsFilePath, FollowsTheXdgBaseFolderRules) {
    ScopedVariable home("HOME", "/home/walker");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(settingsPath(), "/srv/config/quillmere/settings.ini");
        char small[16];
        EXPECT_FALSE(settingsFilePath(small, sizeof small));
    }
    for (const char *ignored : {"relative/config", "", static_cast<const char *>(nullptr)}) {
        ScopedVariable config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(settingsPath(), "/home/walker/.config/quillmere/settings.ini");
    }
}
#endif
