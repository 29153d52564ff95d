// gl_test_context.cpp -- the surfaceless EGL context of the GL tests.
#include "gl/gl_test_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <cstdio>

namespace {
EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
EGLSurface surface = EGL_NO_SURFACE;
int surfaceWidth = 0;
int surfaceHeight = 0;
EGLConfig config;

bool openDisplay() {
    if (display != EGL_NO_DISPLAY)
        return true;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        return false;
    display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        display = EGL_NO_DISPLAY;
        return false;
    }
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT, EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                 EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 16,
                                 EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1)
        return false;
    if (!eglBindAPI(EGL_OPENGL_API))
        return false;
    // A compatibility profile: the fixed-function pipeline and display lists.
    const EGLint contextAttributes[] = {EGL_NONE};
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    return context != EGL_NO_CONTEXT;
}
} // namespace

bool makeTestGLContextCurrent(int width, int height) {
    if (!openDisplay()) {
        fprintf(stderr, "No surfaceless EGL context could be created\n");
        return false;
    }
    if (surface == EGL_NO_SURFACE || width != surfaceWidth || height != surfaceHeight) {
        if (surface != EGL_NO_SURFACE) {
            eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            eglDestroySurface(display, surface);
        }
        const EGLint pbuffer[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, pbuffer);
        if (surface == EGL_NO_SURFACE)
            return false;
        surfaceWidth = width;
        surfaceHeight = height;
    }
    return eglMakeCurrent(display, surface, surface, context) == EGL_TRUE;
}

void releaseTestGLContext() {
    if (display != EGL_NO_DISPLAY)
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}
