// path_model_test.cpp -- drive list, entering drives and sub-folders, the parent step and name
// joining in both path styles, and cutting at the buffer.
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "gallery/path_model.h"
#include "gallery/text_limits.h"

namespace {

const PathStyle WIN = PATH_STYLE_WINDOWS;
const PathStyle POSIX = PATH_STYLE_POSIX;

// The successive results of taking the parent step from start, steps times.
std::vector<std::string> parentSteps(const char *start, int steps, PathStyle style) {
    char path[PATH_BUFFER_SIZE];
    strcpy(path, start);
    std::vector<std::string> results;
    for (int i = 0; i < steps; i++) {
        pathParentStep(path, sizeof path, style);
        results.push_back(path);
    }
    return results;
}

std::string enterSubfolder(const char *start, const char *name, PathStyle style) {
    char path[PATH_BUFFER_SIZE];
    strcpy(path, start);
    pathEnterSubfolder(path, sizeof path, name, style);
    return path;
}

} // namespace

TEST(PathModel, DriveListIsSlashOnWindowsAndEmptyOnPosix) {
    EXPECT_TRUE(pathIsDriveList("/", WIN));
    EXPECT_TRUE(pathIsDriveList("/anything", WIN)); // only the first character counts
    EXPECT_FALSE(pathIsDriveList("C:", WIN));
    EXPECT_FALSE(pathIsDriveList("", WIN));
    EXPECT_TRUE(pathIsDriveList("", POSIX));
    EXPECT_FALSE(pathIsDriveList("/", POSIX));

    char path[8] = "C:\\x";
    pathSetDriveList(path, sizeof path, WIN);
    EXPECT_STREQ(path, "/");
    pathSetDriveList(path, sizeof path, POSIX);
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(pathIsDriveList(path, POSIX));
}

TEST(PathModel, EnteringADriveKeepsTheBareDriveOrTheMountPoint) {
    char path[PATH_BUFFER_SIZE] = "/";
    pathEnterDrive(path, sizeof path, "D:\\", WIN);
    EXPECT_STREQ(path, "D:");
    pathEnterDrive(path, sizeof path, "/", POSIX);
    EXPECT_STREQ(path, "/");
    pathEnterDrive(path, sizeof path, "/media/usb stick", POSIX);
    EXPECT_STREQ(path, "/media/usb stick");
}

TEST(PathModel, ParentStepFromTwoCharactersGoesToDriveList) {
    EXPECT_EQ(parentSteps("C:", 1, WIN), std::vector<std::string>{"/"});
    EXPECT_EQ(parentSteps("/", 1, POSIX), std::vector<std::string>{""});
    // Two characters that are not a drive are not special in the POSIX style.
    EXPECT_EQ(parentSteps("ab", 1, POSIX), std::vector<std::string>{"ab"});
}

TEST(PathModel, ParentStepsFromTwoFoldersDeepReachTheDriveList) {
    EXPECT_EQ(parentSteps("C:\\photos\\2019", 3, WIN),
              (std::vector<std::string>{"C:\\photos", "C:", "/"}));
    EXPECT_EQ(parentSteps("/photos/2019", 3, POSIX),
              (std::vector<std::string>{"/photos", "/", ""}));
    EXPECT_EQ(parentSteps("/mnt/data/photos", 3, POSIX),
              (std::vector<std::string>{"/mnt/data", "/mnt", "/"}));
}

TEST(PathModel, TrailingSeparatorIsRemovedAloneByTheParentStep) {
    EXPECT_EQ(parentSteps("C:\\", 2, WIN), (std::vector<std::string>{"C:", "/"}));
    EXPECT_EQ(parentSteps("C:\\a\\", 1, WIN), std::vector<std::string>{"C:\\a"});
    EXPECT_EQ(parentSteps("/media/usb/", 2, POSIX),
              (std::vector<std::string>{"/media/usb", "/media"}));
}

TEST(PathModel, ParentStepWithoutSeparatorLeavesThePath) {
    EXPECT_EQ(parentSteps("photos", 1, WIN), std::vector<std::string>{"photos"});
    EXPECT_EQ(parentSteps(".", 1, WIN), std::vector<std::string>{"."});
    EXPECT_EQ(parentSteps("", 1, WIN), std::vector<std::string>{""});
    EXPECT_EQ(parentSteps("photos", 1, POSIX), std::vector<std::string>{"photos"});
    EXPECT_EQ(parentSteps("", 1, POSIX), std::vector<std::string>{""});
    // The search starts at the second-to-last character; a leading separator is a cut at 0.
    EXPECT_EQ(parentSteps("\\xy", 1, WIN), std::vector<std::string>{""});
    EXPECT_EQ(parentSteps("/x", 1, POSIX), std::vector<std::string>{"/"});
    EXPECT_EQ(parentSteps("a/b", 1, POSIX), std::vector<std::string>{"a"});
}

TEST(PathModel, SubfolderOfDriveRootDoublesTheBackslashOnlyOnWindows) {
    std::string windows = enterSubfolder("C:\\", "pics", WIN);
    EXPECT_EQ(windows, "C:\\\\pics");
    EXPECT_EQ(parentSteps(windows.c_str(), 3, WIN), (std::vector<std::string>{"C:\\", "C:", "/"}));

    std::string posix = enterSubfolder("/", "pics", POSIX);
    EXPECT_EQ(posix, "/pics");
    EXPECT_EQ(parentSteps(posix.c_str(), 2, POSIX), (std::vector<std::string>{"/", ""}));
    EXPECT_EQ(enterSubfolder("/home/me", "my pics", POSIX), "/home/me/my pics");
    EXPECT_EQ(enterSubfolder("C:", "a", WIN), "C:\\a");
}

TEST(PathModel, JoinUsesTheSubfolderRule) {
    char out[PATH_BUFFER_SIZE];
    pathJoin(out, sizeof out, "C:\\pics", "a.jpg", WIN);
    EXPECT_STREQ(out, "C:\\pics\\a.jpg");
    pathJoin(out, sizeof out, "C:\\", "a.jpg", WIN);
    EXPECT_STREQ(out, "C:\\\\a.jpg");
    pathJoin(out, sizeof out, "/", "a.jpg", POSIX);
    EXPECT_STREQ(out, "/a.jpg");
    pathJoin(out, sizeof out, "/pics", "a.jpg", POSIX);
    EXPECT_STREQ(out, "/pics/a.jpg");
}

TEST(PathModel, ResultsAreCutToTheBufferAndTerminated) {
    // Guard bytes after a short buffer show nothing is written past it.
    char buffer[12];
    memset(buffer, '#', sizeof buffer);
    strcpy(buffer, "/ab");
    pathEnterSubfolder(buffer, 8, "cdefgh", POSIX);
    EXPECT_STREQ(buffer, "/ab/cde");
    EXPECT_EQ(buffer[8], '#');

    strcpy(buffer, "C:");
    pathEnterSubfolder(buffer, 3, "x", WIN);
    EXPECT_STREQ(buffer, "C:"); // already full: nothing fits

    pathEnterDrive(buffer, 4, "/media/usb", POSIX);
    EXPECT_STREQ(buffer, "/me");

    memset(buffer, '#', sizeof buffer);
    pathJoin(buffer, 6, "/pics", "a.jpg", POSIX);
    EXPECT_STREQ(buffer, "/pics");
    EXPECT_EQ(buffer[6], '#');

    std::string longName(300, 'n');
    char path[PATH_BUFFER_SIZE] = "/";
    for (int i = 0; i < 20; i++)
        pathEnterSubfolder(path, sizeof path, longName.c_str(), POSIX);
    EXPECT_EQ(strlen(path), static_cast<size_t>(PATH_BUFFER_SIZE - 1));
}

TEST(PathModel, EditsThatLengthenAPathSayWhetherItFitted) {
    char buffer[8];
    strcpy(buffer, "/ab");
    EXPECT_TRUE(pathEnterSubfolder(buffer, sizeof buffer, "cde", POSIX)); // exactly 7
    EXPECT_STREQ(buffer, "/ab/cde");
    strcpy(buffer, "/ab");
    EXPECT_FALSE(pathEnterSubfolder(buffer, sizeof buffer, "cdef", POSIX));
    strcpy(buffer, "C:\\abcd");
    EXPECT_FALSE(pathEnterSubfolder(buffer, sizeof buffer, "", WIN)); // even the separator is cut
    strcpy(buffer, "/abcde/");
    EXPECT_TRUE(pathEnterSubfolder(buffer, sizeof buffer, "", POSIX)); // no second separator
    strcpy(buffer, "C:\\ab");
    EXPECT_TRUE(pathEnterSubfolder(buffer, sizeof buffer, "x", WIN));
    EXPECT_STREQ(buffer, "C:\\ab\\x");

    EXPECT_TRUE(pathEnterDrive(buffer, sizeof buffer, "/media1", POSIX));
    EXPECT_FALSE(pathEnterDrive(buffer, sizeof buffer, "/media12", POSIX));
    EXPECT_TRUE(pathEnterDrive(buffer, 3, "C:\\", WIN));
    EXPECT_STREQ(buffer, "C:");
}
