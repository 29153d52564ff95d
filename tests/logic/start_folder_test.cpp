// start_folder_test.cpp -- what the startup dialog's folder box starts with: a folder named on
// the command line, or the current directory, or the drive list when that cannot be read.
#include <gtest/gtest.h>

#include "app/startup_dialog.h"
#include "fakes/fake_current_directory.h"
#include "fakes/fake_startup_dialog.h"
#include "gallery/gallery_state.h"
#include "support/native_paths.h"

namespace {

class StartFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        resetFakeStartupDialog();
        resetGalleryState();
        scriptDialogPress(IDOK);
    }
    void TearDown() override {
        fakeCurrentDirectoryFails = false;
        resetGalleryState();
    }
};

} // namespace

TEST_F(StartFolder, NamedFolderTakesThePlaceOfTheCurrentDirectory) {
    ASSERT_EQ(runStartupDialog("/srv/Photos"), 1);
    EXPECT_STREQ(currentPath, "/srv/Photos");
}

// "." would be a folder whose parent door leads back into the same room.
TEST_F(StartFolder, UnreadableCurrentDirectoryStartsAtTheDriveList) {
    fakeCurrentDirectoryFails = true;
    ASSERT_EQ(runStartupDialog(), 1);
    EXPECT_EQ(currentPath, driveListPath());
}
