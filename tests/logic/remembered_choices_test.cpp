// remembered_choices_test.cpp -- the last run's choices in the startup dialog: read from the
// settings file, written after OK only, a folder on the command line winning over the
// remembered one, and a damaged or unreadable file costing one warning line and no more.
#include <gtest/gtest.h>

#include <string>

#include "app/program_entry.h"
#include "app/remembered_choices.h"
#include "app/startup_dialog.h"
#include "fakes/fake_settings_file.h"
#include "fakes/fake_startup_dialog.h"
#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "support/output_capture.h"

namespace {

const char *const REMEMBERED =
    "folder=/srv/remembered\nsize=1024x768\nfullscreen=true\nantialiasing=low\n"
    "mouse_navigation=false\nsmooth_mouse=true\n";

class RememberedChoices : public ::testing::Test {
  protected:
    void SetUp() override {
        resetFakeSettingsFile();
        resetFakeStartupDialog();
        resetGalleryState();
        resetDisplaySettings();
    }
    void TearDown() override {
        resetFakeSettingsFile();
        resetGalleryState();
        resetDisplaySettings();
    }

    static void rememberFile(const std::string &text) {
        fakeSettingsExists = true;
        fakeSettingsText = text;
    }

    // Runs the program up to its dialog, which is cancelled; what went to standard error.
    static std::string runToCancelledDialog(std::vector<const char *> arguments) {
        arguments.insert(arguments.begin(), "quillmere");
        scriptDialogPress(IDCANCEL);
        startCapture(stderr);
        int status =
            runProgram(static_cast<int>(arguments.size()), const_cast<char **>(arguments.data()));
        std::string errors = stopCapture(stderr);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(fakeDialogTemplateId, IDD_STARTUP);
        return errors;
    }

    static void expectFirstRunControls() {
        EXPECT_EQ(fakeDialogControls[IDC_RESOLUTION].selection, 1);
        EXPECT_EQ(fakeDialogControls[IDC_FULLSCREEN].check, BST_UNCHECKED);
        EXPECT_EQ(fakeDialogControls[IDC_ANTIALIAS_HIGH].check, BST_CHECKED);
        EXPECT_EQ(fakeDialogControls[IDC_MOUSE_NAVIGATION].check, BST_CHECKED);
        EXPECT_EQ(fakeDialogControls[IDC_SMOOTH_MOUSE].check, BST_UNCHECKED);
    }
};

} // namespace

TEST_F(RememberedChoices, DialogStartsWithTheLastRunsChoices) {
    rememberFile(REMEMBERED);
    std::string errors = runToCancelledDialog({});
    EXPECT_EQ(errors, "");
    EXPECT_EQ(fakeDialogControls[IDC_START_FOLDER].text, "/srv/remembered");
    EXPECT_EQ(fakeDialogControls[IDC_RESOLUTION].selection, 2);
    EXPECT_EQ(fakeDialogControls[IDC_FULLSCREEN].check, BST_CHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_ANTIALIAS_LOW].check, BST_CHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_ANTIALIAS_HIGH].check, BST_UNCHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_MOUSE_NAVIGATION].check, BST_UNCHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_SMOOTH_MOUSE].check, BST_CHECKED);
    // Cancel keeps the file as it was.
    EXPECT_EQ(fakeSettingsWrites, 0);
    EXPECT_EQ(fakeSettingsText, REMEMBERED);
}

TEST_F(RememberedChoices, FolderOnTheCommandLineWinsOverTheRemembered) {
    rememberFile(REMEMBERED);
    runToCancelledDialog({"/srv/named"});
    EXPECT_EQ(fakeDialogControls[IDC_START_FOLDER].text, "/srv/named");
    // The other remembered choices still hold.
    EXPECT_EQ(fakeDialogControls[IDC_RESOLUTION].selection, 2);
    EXPECT_EQ(fakeDialogControls[IDC_SMOOTH_MOUSE].check, BST_CHECKED);
}

TEST_F(RememberedChoices, OkKeepsTheAcceptedChoicesForTheNextRun) {
    scriptDialogType(IDC_START_FOLDER, "/srv/chosen");
    scriptDialogSelect(IDC_RESOLUTION, 0);
    scriptDialogSetCheck(IDC_SMOOTH_MOUSE, true);
    scriptDialogSetCheck(IDC_MOUSE_NAVIGATION, false);
    scriptDialogPress(IDOK);
    ASSERT_EQ(runStartupDialog(), 1);
    ASSERT_TRUE(rememberChoices());
    EXPECT_EQ(fakeSettingsWrites, 1);

    resetDisplaySettings();
    SettingsChoices next;
    ASSERT_TRUE(loadRememberedChoices(&next));
    scriptDialogPress(IDOK);
    ASSERT_EQ(runStartupDialog(nullptr, &next), 1);
    EXPECT_STREQ(currentPath, "/srv/chosen");
    EXPECT_EQ(screenWidth, 640);
    EXPECT_EQ(screenHeight, 480);
    EXPECT_TRUE(smoothMouse);
    EXPECT_FALSE(mouseNavigation);
    EXPECT_EQ(antialiasLevel, ANTIALIAS_HIGH);
}

// A damaged, unreadable or oversized file: one warning line, and the dialog comes up as on a
// first run, where OK goes on as usual.
TEST_F(RememberedChoices, BadFileCostsOneWarningLineAndStartsAsAFirstRun) {
    enum Fault { DAMAGED, UNREADABLE, TOO_LARGE };
    for (Fault fault : {DAMAGED, UNREADABLE, TOO_LARGE}) {
        SetUp();
        rememberFile(fault == TOO_LARGE ? std::string(SETTINGS_FILE_LIMIT + 1, '#')
                                        : "folder=/srv/x\nsize=\x01\x02\x03\n");
        fakeSettingsUnreadable = fault == UNREADABLE;
        std::string errors = runToCancelledDialog({});
        EXPECT_EQ(errors.rfind("WARNING: ", 0), 0u) << errors;
        EXPECT_NE(errors.find(FAKE_SETTINGS_PATH), std::string::npos) << errors;
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
        EXPECT_EQ(fakeDialogControls[IDC_START_FOLDER].text, "/home/user/Pictures");
        expectFirstRunControls();

        SettingsChoices choices;
        startCapture(stderr);
        EXPECT_FALSE(loadRememberedChoices(&choices));
        stopCapture(stderr);
        scriptDialogPress(IDOK);
        EXPECT_EQ(runStartupDialog(nullptr, nullptr), 1) << fault;
        EXPECT_EQ(screenWidth, 800);
    }
}

TEST_F(RememberedChoices, NoFileIsAFirstRunWithoutAWord) {
    std::string errors = runToCancelledDialog({});
    EXPECT_EQ(errors, "");
    expectFirstRunControls();
}

TEST_F(RememberedChoices, FailedWriteKeepsTheOldFileAndSaysSoOnce) {
    rememberFile(REMEMBERED);
    fakeSettingsWriteFails = true;
    startCapture(stderr);
    EXPECT_FALSE(rememberChoices());
    std::string errors = stopCapture(stderr);
    EXPECT_EQ(errors.rfind("WARNING: ", 0), 0u) << errors;
    EXPECT_NE(errors.find("Read-only file system"), std::string::npos) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    EXPECT_EQ(fakeSettingsText, REMEMBERED);
}
