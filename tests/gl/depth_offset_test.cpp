// depth_offset_test.cpp -- doors and pictures stay in front of their wall seen from close by,
// also on a 24-bit depth buffer, whose single step is too fine to outrun depth rounding.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

#include "app/main_window.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "render/gl_state.h"
#include "render/scene_frame.h"
#include "support/temp_tree.h"

namespace {

// A surfaceless context whose depth buffer has at least 24 bits, made current.
struct DeepDepthContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface surface = EGL_NO_SURFACE;

    bool open(int width, int height) {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay == nullptr)
            return false;
        display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
            return false;
        const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,
                                     8,
                                     EGL_DEPTH_SIZE,
                                     24,
                                     EGL_NONE};
        EGLConfig config;
        EGLint count = 0;
        if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1)
            return false;
        eglBindAPI(EGL_OPENGL_API);
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
        const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, size);
        return context != EGL_NO_CONTEXT && surface != EGL_NO_SURFACE &&
               eglMakeCurrent(display, surface, surface, context);
    }

    ~DeepDepthContext() {
        if (display == EGL_NO_DISPLAY)
            return;
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(display, surface);
        if (context != EGL_NO_CONTEXT)
            eglDestroyContext(display, context);
    }
};

// Share of bright (wall-coloured) pixels in a rectangle of the frame; the iron door is dark.
double brightShare(const std::vector<unsigned char> &rgba, int width, int x0, int y0, int x1,
                   int y1) {
    int bright = 0;
    int total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char *p = &rgba[4 * (y * width + x)];
            if ((p[0] + p[1] + p[2]) / 3 > 140)
                ++bright;
            ++total;
        }
    return static_cast<double>(bright) / total;
}

} // namespace

TEST(DepthOffset, DoorSeenFromCloseByHidesTheWallOnA24BitDepthBuffer) {
    const int width = 800, height = 600;
    {
        DeepDepthContext deep;
        ASSERT_TRUE(deep.open(width, height));
        GLint depthBits = 0;
        glGetIntegerv(GL_DEPTH_BITS, &depthBits);
        ASSERT_GE(depthBits, 24);

        std::string folder = makeTempFolder();
        ASSERT_TRUE(makeFolder(folder + "/Alpha"));
        ASSERT_TRUE(makeFolder(folder + "/Beta"));
        resetGalleryState();
        snprintf(currentPath, sizeof currentPath, "%s", folder.c_str());
        scanFolder();
        ASSERT_TRUE(initGLState());
        resizeView(width, height);

        // Against the door wall, facing the door of slot 1 from 0.6 away.
        viewX = -1.4f;
        viewZ = -8.6f;
        viewHeading = 270.0f;
        drawScene();
        std::vector<unsigned char> frame(4 * width * height);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
        // The leaf fills the view right of its stone surround, up to the top edge.
        EXPECT_LT(brightShare(frame, width, 200, 250, 790, 560), 0.005);

        destroyMainWindow();
        resetGalleryState();
        removeTree(folder);
    }
    ASSERT_TRUE(makeTestGLContextCurrent());
}
