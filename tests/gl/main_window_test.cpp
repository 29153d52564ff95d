// main_window_test.cpp -- creating and destroying the gallery window on the recorded window
// service: step order, every failure message, the fullscreen question, the cursor counter over
// fullscreen switches, and the view set up for a window size.
#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/display_settings.h"
#include "app/main_window.h"
#include "app/window_proc.h"
#include "fakes/fake_cursor.h"
#include "fakes/fake_embedded_resources.h"
#include "fakes/fake_events.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "render/texture_names.h"
#include "platform/events.h"
#include "render/room_lists.h"
#include "support/output_capture.h"

namespace {

using Calls = std::vector<std::string>;

const Calls creationCalls = {"registerWindowClass",  "createWindow",   "getDeviceContext",
                             "choosePixelFormat",    "setPixelFormat", "createGLContext",
                             "makeGLContextCurrent", "showWindow",     "clientToScreen"};
const Calls teardownCalls = {"releaseGLContext", "deleteGLContext", "releaseDeviceContext",
                             "destroyWindow", "unregisterWindowClass"};

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(800, 600));
        resetDisplaySettings();
        resetGalleryState();
        resetFakeWindow();
        resetFakeCursor();
        resetFakeEvents();
        resetFakeMessageBoxes();
        resetFakeEmbeddedResources();
    }
    void TearDown() override {
        // Whatever a test left open is released quietly.
        if (fakeClassRegistered || fakeWindowOpen) {
            fakeWindowFailures.clear();
            destroyMainWindow();
        }
        resetFakeEmbeddedResources();
        resetDisplaySettings();
        resetGalleryState();
    }

    // Creates with the settings as they stand, as the entry does; captures the set-up output.
    static bool create() {
        startCapture(stderr);
        bool created = createMainWindow("Quillmere", screenWidth, screenHeight, 16, fullscreen);
        stopCapture(stderr);
        return created;
    }

    // The calls logged from position `from` on.
    static Calls callsFrom(size_t from) {
        return Calls(fakeWindowCalls.begin() + (long)from, fakeWindowCalls.end());
    }

    static bool nothingHeld() {
        return !fakeClassRegistered && !fakeDisplayModeChanged && !fakeWindowOpen &&
               !fakeDeviceHeld && !fakeContextExists;
    }

    static int boxesTitled(const char *title) {
        int count = 0;
        for (const ShownMessageBox &box : shownMessageBoxes)
            count += box.title == title;
        return count;
    }
};

struct FailingStep {
    const char *call;
    const char *text;
    const char *title;
};

const FailingStep failingSteps[] = {
    {"createWindow", "Failed to create window.", "Initialization Error"},
    {"getDeviceContext", "Failed to create GL device context.", "Initialization Error"},
    {"choosePixelFormat", "Failed to find a suitable PixelFormat.", "Initialization Errror"},
    {"setPixelFormat", "Failed set the PixelFormat.", "Initialization Error"},
    {"createGLContext", "Failed to create GL rendering context.", "Initialization Error"},
    {"makeGLContextCurrent", "Failed activate GL rendering context.", "Initialization Error"},
};

const FailingStep failingTeardownSteps[] = {
    {"releaseGLContext", "Failed to release DC and RC.", "Shutdown Error"},
    {"deleteGLContext", "Failed to destroy RC.", "Shutdown Error"},
    {"releaseDeviceContext", "Failed to destroy DC.", "Shutdown Error"},
    {"destroyWindow", "Failed to destroy window.", "Shutdown Error"},
    {"unregisterWindowClass", "Failed to unregister window class.", "Shutdown Error"},
};

void expectViewport(int width, int height) {
    GLint viewport[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
}

} // namespace

TEST_F(MainWindow, WindowedCreationRunsEveryStepAndTeardownReleasesInReverse) {
    ASSERT_TRUE(create());
    EXPECT_EQ(fakeWindowCalls, creationCalls);
    EXPECT_TRUE(shownMessageBoxes.empty());
    EXPECT_EQ(fakeWindowTitle, "Quillmere");
    EXPECT_EQ(fakeWindowWidth, 800);
    EXPECT_EQ(fakeWindowHeight, 600);
    EXPECT_FALSE(fakeWindowFullscreenStyle);
    EXPECT_FALSE(fullscreen);
    // The cursor goes to the client centre, hidden once for mouse navigation.
    ASSERT_EQ(fakeCursorWarps.size(), 1u);
    EXPECT_EQ(fakeCursorWarps[0].x, 400 + FAKE_CLIENT_LEFT);
    EXPECT_EQ(fakeCursorWarps[0].y, 300 + FAKE_CLIENT_TOP);
    EXPECT_EQ(fakeCursorCounter, -1);
    expectViewport(800, 600);
    ASSERT_TRUE(glIsTexture(textureNames[TEX_WALL]));
    ASSERT_TRUE(glIsList(roomShellList()));

    size_t before = fakeWindowCalls.size();
    destroyMainWindow();
    EXPECT_EQ(callsFrom(before), teardownCalls);
    EXPECT_TRUE(nothingHeld());
    EXPECT_TRUE(shownMessageBoxes.empty());
    // The context's textures and lists went with it.
    EXPECT_FALSE(glIsTexture(textureNames[TEX_WALL]));
    EXPECT_FALSE(glIsTexture(textureNames[TEX_PLATE]));
    EXPECT_FALSE(glIsList(roomShellList()));
    EXPECT_FALSE(glIsList(bitmapFontBase() + 'A'));
    EXPECT_EQ(fakeCursorCounter, -1);
}

TEST_F(MainWindow, RegistrationFailureShowsItsMessageAndTouchesNothingElse) {
    fakeWindowFailures = {"registerWindowClass"};
    EXPECT_FALSE(create());
    EXPECT_EQ(fakeWindowCalls, Calls{"registerWindowClass"});
    ASSERT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_EQ(shownMessageBoxes[0].text, "Failed to register the window class.");
    EXPECT_EQ(shownMessageBoxes[0].title, "Initilization Error");
    EXPECT_EQ(shownMessageBoxes[0].kind, MESSAGE_BOX_ERROR);
    EXPECT_EQ(fakeCursorCounter, 0);
}

TEST_F(MainWindow, EachFailedCreationStepShowsOnlyItsOwnMessageAndLeavesNothing) {
    for (const FailingStep &step : failingSteps) {
        SCOPED_TRACE(step.call);
        resetFakeWindow();
        resetFakeMessageBoxes();
        fakeWindowFailures = {step.call};
        EXPECT_FALSE(create());
        ASSERT_EQ(shownMessageBoxes.size(), 1u);
        EXPECT_EQ(shownMessageBoxes[0].text, step.text);
        EXPECT_EQ(shownMessageBoxes[0].title, step.title);
        EXPECT_EQ(shownMessageBoxes[0].kind, MESSAGE_BOX_ERROR);
        EXPECT_TRUE(nothingHeld());
        // Creation stopped at the failing step; the teardown released what had been made.
        EXPECT_EQ(countFakeWindowCalls("showWindow"), 0);
        EXPECT_EQ(fakeWindowCalls.back(), "unregisterWindowClass");
        EXPECT_EQ(countFakeWindowCalls("destroyWindow"),
                  step.call == std::string("createWindow") ? 0 : 1);
        EXPECT_EQ(countFakeWindowCalls("deleteGLContext"),
                  step.call == std::string("makeGLContextCurrent") ? 1 : 0);
    }
}

TEST_F(MainWindow, FailedGLStateSetupEndsWithInitializationFailedAndReleasesAll) {
    failFakeResource(FAKE_RESOURCE_FIND);
    EXPECT_FALSE(create());
    ASSERT_FALSE(shownMessageBoxes.empty());
    EXPECT_EQ(shownMessageBoxes.back().text, "Initialization Failed.");
    EXPECT_EQ(shownMessageBoxes.back().title, "Initialization Error");
    EXPECT_EQ(boxesTitled("Shutdown Error"), 0);
    EXPECT_TRUE(nothingHeld());
    EXPECT_EQ(callsFrom(creationCalls.size()), teardownCalls);
    EXPECT_FALSE(glIsTexture(textureNames[TEX_WALL]));
}

TEST_F(MainWindow, EveryTeardownFailureIsReportedAndTheTeardownGoesOn) {
    for (const FailingStep &step : failingTeardownSteps) {
        SCOPED_TRACE(step.call);
        resetFakeWindow();
        resetFakeMessageBoxes();
        ASSERT_TRUE(create());
        fakeWindowFailures = {step.call};
        destroyMainWindow();
        ASSERT_EQ(shownMessageBoxes.size(), 1u);
        EXPECT_EQ(shownMessageBoxes[0].text, step.text);
        EXPECT_EQ(shownMessageBoxes[0].title, step.title);
        EXPECT_EQ(callsFrom(creationCalls.size()), teardownCalls);
        // A second teardown finds no handle left to release.
        resetFakeMessageBoxes();
        fakeWindowFailures.clear();
        size_t before = fakeWindowCalls.size();
        destroyMainWindow();
        EXPECT_EQ(callsFrom(before), Calls{"unregisterWindowClass"});
    }
}

TEST_F(MainWindow, FullscreenChangesTheModeFirstAndRestoresItBeforeTheContextGoes) {
    fullscreen = true;
    mouseNavigation = false;
    ASSERT_TRUE(create());
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(fakeWindowFullscreenStyle);
    ASSERT_GE(fakeWindowCalls.size(), 3u);
    EXPECT_EQ(fakeWindowCalls[1], "changeDisplayMode");
    EXPECT_EQ(fakeWindowCalls[2], "createWindow");
    EXPECT_EQ(fakeCursorCounter, -1);

    size_t before = fakeWindowCalls.size();
    destroyMainWindow();
    Calls expected = {"restoreDisplayMode"};
    expected.insert(expected.end(), teardownCalls.begin(), teardownCalls.end());
    EXPECT_EQ(callsFrom(before), expected);
    EXPECT_EQ(fakeCursorCounter, 0);
}

TEST_F(MainWindow, RefusedFullscreenAnsweredYesOpensAWindowOfTheChosenSize) {
    fullscreen = true;
    fakeWindowFailures = {"changeDisplayMode"};
    fakeQuestionAnswer = MESSAGE_BOX_YES;
    ASSERT_TRUE(create());
    ASSERT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_EQ(shownMessageBoxes[0].text, "The Fullscreen Mode is not supported by your video "
                                         "card.\nDo you want to continue with windowed mode?");
    EXPECT_EQ(shownMessageBoxes[0].title, "Fullscreen Mode Failed");
    EXPECT_EQ(shownMessageBoxes[0].kind, MESSAGE_BOX_QUESTION_YES_NO);
    EXPECT_FALSE(fullscreen);
    EXPECT_FALSE(fakeWindowFullscreenStyle);
    EXPECT_EQ(fakeWindowWidth, 800);
    EXPECT_EQ(fakeWindowHeight, 600);
    // Hidden once, for mouse navigation only.
    EXPECT_EQ(fakeCursorCounter, -1);
}

TEST_F(MainWindow, RefusedFullscreenAnsweredNoEndsAtOnceWithNothingReleased) {
    fullscreen = true;
    fakeWindowFailures = {"changeDisplayMode"};
    fakeQuestionAnswer = MESSAGE_BOX_NO;
    EXPECT_FALSE(create());
    EXPECT_EQ(fakeWindowCalls, (Calls{"registerWindowClass", "changeDisplayMode"}));
    EXPECT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_TRUE(fakeClassRegistered);
    EXPECT_EQ(fakeCursorCounter, 0);
}

TEST_F(MainWindow, FullscreenSwitchKeepsTheGalleryAndBalancesTheCursor) {
    mouseNavigation = false;
    ASSERT_TRUE(create());
    viewX = 0.75f;
    viewZ = 3.5f;
    viewHeading = 270.0f;
    roomNumber = 2;
    roomLoaded = true;
    for (int i = 1; i <= 4; i++) {
        SCOPED_TRACE(i);
        startCapture(stderr);
        toggleFullscreen();
        stopCapture(stderr);
        EXPECT_EQ(fullscreen, i % 2 == 1);
        EXPECT_EQ(fakeWindowFullscreenStyle, i % 2 == 1);
        EXPECT_EQ(fakeCursorCounter, i % 2 == 1 ? -1 : 0);
        EXPECT_FALSE(roomLoaded);
        roomLoaded = true;
        EXPECT_TRUE(glIsList(roomShellList()));
    }
    EXPECT_EQ(viewX, 0.75f);
    EXPECT_EQ(viewZ, 3.5f);
    EXPECT_EQ(viewHeading, 270.0f);
    EXPECT_EQ(roomNumber, 2);
    EXPECT_TRUE(shownMessageBoxes.empty());
    EXPECT_FALSE(fakeQuitPosted);
    EXPECT_EQ(countFakeWindowCalls("restoreDisplayMode"), 2);

    // With mouse navigation every creation hides it once more: it stays hidden.
    mouseNavigation = true;
    for (int i = 0; i < 2; i++) {
        int before = fakeCursorCounter;
        startCapture(stderr);
        toggleFullscreen();
        stopCapture(stderr);
        EXPECT_EQ(fakeCursorCounter, before - 1);
    }
}

TEST_F(MainWindow, FailedFullscreenSwitchAsksTheLoopToEnd) {
    ASSERT_TRUE(create());
    fakeWindowFailures = {"changeDisplayMode"};
    fakeQuestionAnswer = MESSAGE_BOX_NO;
    toggleFullscreen();
    EXPECT_TRUE(fakeQuitPosted);
    EXPECT_EQ(fakeQuitExitCode, 0);

    resetFakeEvents();
    resetFakeMessageBoxes();
    fakeWindowFailures = {"createGLContext"};
    fullscreen = false;
    startCapture(stderr);
    toggleFullscreen();
    EXPECT_EQ(stopCapture(stderr), "ERROR: Failed to create GL rendering context.\n");
    EXPECT_TRUE(fakeQuitPosted);
    EXPECT_EQ(fakeQuitExitCode, 1);
    ASSERT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_EQ(shownMessageBoxes[0].text, "Failed to create GL rendering context.");
}

TEST_F(MainWindow, ResizeSetsViewportPerspectiveAndIdentityModelview) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    resizeView(640, 480);
    expectViewport(640, 480);

    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
    const double zNear = (double)0.1f, zFar = 30.0;
    EXPECT_NEAR(projection[0], f / (640.0 / 480.0), 1e-5);
    EXPECT_NEAR(projection[5], f, 1e-5);
    EXPECT_NEAR(projection[10], (zFar + zNear) / (zNear - zFar), 1e-5);
    EXPECT_NEAR(projection[11], -1.0, 1e-9);
    EXPECT_NEAR(projection[14], 2.0 * zFar * zNear / (zNear - zFar), 1e-6);

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0 : 0.0) << i;
}

TEST_F(MainWindow, SizeMessageWithZeroHeightUsesHeightOne) {
    EXPECT_EQ(mainWindowProc(WM_SIZE, 0, makeLParam(1024, 0)), 0);
    expectViewport(1024, 1);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[0], 1.0 / std::tan(30.0 * M_PI / 180.0) / 1024.0, 1e-8);

    mainWindowProc(WM_SIZE, 0, makeLParam(1024, 768));
    expectViewport(1024, 768);
}
