// startup_dialog_test.cpp -- the startup dialog: its initial choices, how OK maps the controls
// to the start folder and the display settings, Cancel, and the folder chooser.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gallery/display_settings.h"
#include "app/startup_dialog.h"
#include "fakes/fake_startup_dialog.h"
#include "gallery/gallery_state.h"
#include "support/native_paths.h"
#include "platform/embedded_resources.h"

namespace {

// The folder the fake current directory reports.
const char *const startDirectory = "/home/user/Pictures";

class StartupDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        resetFakeStartupDialog();
        resetGalleryState();
        resetDisplaySettings();
    }
    void TearDown() override {
        resetGalleryState();
        resetDisplaySettings();
    }

    // Settings unlike every value the dialog could write by default.
    static void setUnusualSettings() {
        strcpy(currentPath, "/unchanged");
        screenWidth = 1;
        screenHeight = 2;
        fullscreen = true;
        antialiasLevel = 7;
        mouseNavigation = false;
        smoothMouse = true;
    }
    static void expectUnusualSettings() {
        EXPECT_STREQ(currentPath, "/unchanged");
        EXPECT_EQ(screenWidth, 1);
        EXPECT_EQ(screenHeight, 2);
        EXPECT_TRUE(fullscreen);
        EXPECT_EQ(antialiasLevel, 7);
        EXPECT_FALSE(mouseNavigation);
        EXPECT_TRUE(smoothMouse);
    }
};

} // namespace

TEST_F(StartupDialog, OkAtOnceTakesTheInitialChoices) {
    setUnusualSettings();
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(fakeDialogTemplateId, 122);
    EXPECT_STREQ(currentPath, startDirectory);
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenHeight, 600);
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(antialiasLevel, ANTIALIAS_HIGH);
    EXPECT_TRUE(mouseNavigation);
    EXPECT_FALSE(smoothMouse);
    // Only High and mouse navigation start checked.
    EXPECT_EQ(fakeDialogControls[IDC_FULLSCREEN].check, BST_UNCHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_ANTIALIAS_LOW].check, BST_UNCHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_ANTIALIAS_MEDIUM].check, BST_UNCHECKED);
    EXPECT_EQ(fakeDialogControls[IDC_SMOOTH_MOUSE].check, BST_UNCHECKED);
}

TEST_F(StartupDialog, ResolutionListIsInTableOrderAndIndexesTheTable) {
    scriptDialogSelect(IDC_RESOLUTION, 2);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    const std::vector<std::string> expected = {"640x480", "800x600", "1024x768"};
    EXPECT_EQ(fakeDialogControls[IDC_RESOLUTION].items, expected);

    scriptDialogSelect(IDC_RESOLUTION, 0);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(screenWidth, 640);
    EXPECT_EQ(screenHeight, 480);
}

TEST_F(StartupDialog, CancelChangesNothing) {
    setUnusualSettings();
    scriptDialogType(IDC_START_FOLDER, "/elsewhere");
    scriptDialogSelect(IDC_RESOLUTION, 2);
    scriptDialogSetCheck(IDC_FULLSCREEN, false);
    scriptDialogPress(IDCANCEL);
    EXPECT_EQ(runStartupDialog(), 2);
    expectUnusualSettings();
}

TEST_F(StartupDialog, EditBoxTextIsCutToThePathBuffer) {
    std::string longPath = "/" + std::string(PATH_BUFFER_SIZE + 40, 'a');
    scriptDialogType(IDC_START_FOLDER, longPath.c_str());
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(std::string(currentPath), longPath.substr(0, PATH_BUFFER_SIZE - 1));

    // An empty edit box gives the drive list.
    scriptDialogType(IDC_START_FOLDER, "");
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(currentPath, driveListPath());
}

TEST_F(StartupDialog, ChecksMapToFullscreenAndMouseNavigation) {
    scriptDialogSetCheck(IDC_FULLSCREEN, true);
    scriptDialogSetCheck(IDC_MOUSE_NAVIGATION, false);
    scriptDialogSetCheck(IDC_SMOOTH_MOUSE, true);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_TRUE(fullscreen);
    EXPECT_FALSE(mouseNavigation);
    EXPECT_TRUE(smoothMouse);
}

TEST_F(StartupDialog, MissingChoicesKeepTheirSettings) {
    screenWidth = 1024;
    screenHeight = 768;
    antialiasLevel = ANTIALIAS_MEDIUM;
    scriptDialogSelect(IDC_RESOLUTION, CB_ERR);
    scriptDialogSetCheck(IDC_ANTIALIAS_HIGH, false);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(antialiasLevel, ANTIALIAS_MEDIUM);
}

TEST_F(StartupDialog, RadioButtonsChooseTheAntialiasLevel) {
    scriptDialogSetCheck(IDC_ANTIALIAS_HIGH, false);
    scriptDialogSetCheck(IDC_ANTIALIAS_MEDIUM, true);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(antialiasLevel, ANTIALIAS_MEDIUM);

    scriptDialogSetCheck(IDC_ANTIALIAS_HIGH, false);
    scriptDialogSetCheck(IDC_ANTIALIAS_LOW, true);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(antialiasLevel, ANTIALIAS_LOW);
}

TEST_F(StartupDialog, ChosenFolderFillsEditAndPath) {
    scriptChooserAnswer("/srv/photos/2019");
    scriptDialogPress(IDC_BROWSE);
    scriptDialogPress(IDCANCEL);
    EXPECT_EQ(runStartupDialog(), 2);
    ASSERT_EQ(fakeChooserTitles.size(), 1u);
    EXPECT_EQ(fakeChooserTitles[0], "Choose initial picture directory");
    EXPECT_EQ(fakeDialogControls[IDC_START_FOLDER].text, "/srv/photos/2019");
    EXPECT_STREQ(currentPath, "/srv/photos/2019");

    // OK reads the edit box again, also when it was not touched after choosing.
    scriptChooserAnswer("/srv/photos/2020");
    scriptDialogPress(IDC_BROWSE);
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_STREQ(currentPath, "/srv/photos/2020");
}

TEST_F(StartupDialog, CancelledChooserChangesNothing) {
    scriptChooserAnswer(nullptr);
    scriptDialogPress(IDC_BROWSE);
    scriptDialogPress(IDCANCEL);
    EXPECT_EQ(runStartupDialog(), 2);
    EXPECT_EQ(fakeChooserTitles.size(), 1u);
    EXPECT_EQ(fakeDialogControls[IDC_START_FOLDER].text, startDirectory);
    EXPECT_STREQ(currentPath, ".");
}

TEST_F(StartupDialog, FolderEditedAfterChoosingIsTakenAsEdited) {
    scriptChooserAnswer("/srv/photos");
    scriptDialogPress(IDC_BROWSE);
    scriptDialogType(IDC_START_FOLDER, "/srv/photos/best");
    scriptDialogPress(IDOK);
    EXPECT_EQ(runStartupDialog(), 1);
    EXPECT_STREQ(currentPath, "/srv/photos/best");
}

// The embedded description names every control by its id, with its kind and text.
TEST(StartupDialogDescription, HoldsEveryControlWithItsText) {
    const ResourceHandle *found = findResource(IDD_STARTUP, "DIALOG");
    const void *bytes = lockResource(loadResource(found));
    ASSERT_NE(bytes, nullptr);
    std::string description(static_cast<const char *>(bytes), sizeofResource(found));
    struct Expected {
        int id;
        const char *kind;
        const char *text;
    };
    const Expected controls[] = {
        {1, "GtkButton", "OK"},
        {2, "GtkButton", "Cancel"},
        {1001, "GtkEntry", nullptr},
        {1002, "GtkButton", "..."},
        {1004, "GtkComboBoxText", nullptr},
        {1005, "GtkCheckButton", "Fullscreen"},
        {1006, "GtkRadioButton", "Low"},
        {1007, "GtkRadioButton", "Medium"},
        {1008, "GtkRadioButton", "High"},
        {1009, "GtkCheckButton", "Mouse Navigation (Experimental):"},
        {1010, "GtkCheckButton", "Smooth mouse"},
    };
    for (const Expected &control : controls) {
        std::string opening = std::string("<object class=\"") + control.kind + "\" id=\"control_" +
                              std::to_string(control.id) + "\"";
        size_t at = description.find(opening);
        ASSERT_NE(at, std::string::npos) << opening;
        if (control.text == nullptr)
            continue;
        size_t end = description.find("</object>", at);
        std::string label = std::string("<property name=\"label\">") + control.text + "<";
        EXPECT_LT(description.find(label, at), end) << control.id;
    }
    for (const char *text : {">Quillmere<", ">_Initial Picture Directory :<", ">Resolution :<",
                             ">Antialiasing :<", ">Use F1 (inside gallery) for more information<"})
        EXPECT_NE(description.find(text), std::string::npos) << text;
}
