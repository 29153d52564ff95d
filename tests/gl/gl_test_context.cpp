// gl_test_context.cpp -- the surfaceless EGL contexts of the GL tests.
#include "gl/gl_test_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <cstdio>
#include <cstdlib>

namespace {

struct TestContext {
    int depthBits = 0;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface surface = EGL_NO_SURFACE;
    int width = 0;
    int height = 0;
};

EGLDisplay display = EGL_NO_DISPLAY;
// One context per depth size asked for: the usual 16 bits, and a deeper one.
TestContext contexts[2];

bool openDisplay() {
    if (display != EGL_NO_DISPLAY)
        return true;
    // No shader cache on disk: the tests write nothing into the home folder.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        return false;
    display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        display = EGL_NO_DISPLAY;
        return false;
    }
    return eglBindAPI(EGL_OPENGL_API) == EGL_TRUE;
}

// A compatibility context (fixed-function pipeline, display lists) with the depth asked for.
bool openContext(TestContext *test, int depthBits) {
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_ALPHA_SIZE,
                                 8,
                                 EGL_DEPTH_SIZE,
                                 depthBits,
                                 EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &test->config, 1, &count) || count < 1)
        return false;
    test->context = eglCreateContext(display, test->config, EGL_NO_CONTEXT, nullptr);
    test->depthBits = depthBits;
    return test->context != EGL_NO_CONTEXT;
}

} // namespace

bool makeTestGLContextCurrent(int width, int height, int depthBits) {
    if (!openDisplay()) {
        fprintf(stderr, "No surfaceless EGL display could be opened\n");
        return false;
    }
    TestContext *test = &contexts[depthBits > 16 ? 1 : 0];
    if (test->context == EGL_NO_CONTEXT && !openContext(test, depthBits)) {
        fprintf(stderr, "No surfaceless EGL context with %d depth bits\n", depthBits);
        return false;
    }
    if (test->surface == EGL_NO_SURFACE || width != test->width || height != test->height) {
        if (test->surface != EGL_NO_SURFACE) {
            eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            eglDestroySurface(display, test->surface);
        }
        const EGLint pbuffer[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        test->surface = eglCreatePbufferSurface(display, test->config, pbuffer);
        if (test->surface == EGL_NO_SURFACE)
            return false;
        test->width = width;
        test->height = height;
    }
    return eglMakeCurrent(display, test->surface, test->surface, test->context) == EGL_TRUE;
}

void releaseTestGLContext() {
    if (display != EGL_NO_DISPLAY)
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}
