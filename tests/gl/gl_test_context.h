// gl_test_context.h -- an offscreen OpenGL compatibility context on Mesa's surfaceless EGL
// platform, so GL tests run with no display at all.
#pragma once

// Creates (once per process and depth size) and makes current a context with a pbuffer of the
// given size and a depth buffer of at least depthBits. False when no such context can be had.
bool makeTestGLContextCurrent(int width = 800, int height = 600, int depthBits = 16);

// Releases the context again (used by tests of code that must cope with no current context).
void releaseTestGLContext();
