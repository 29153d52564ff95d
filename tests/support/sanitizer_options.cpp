// sanitizer_options.cpp -- sanitizer settings built into every test program, so a test run
// directly or through ctest behaves the same: leaks checked, system-library caches ignored,
// any undefined behaviour fatal. Weak defaults; the environment still overrides them.
extern "C" {
// Dynamic thread-local blocks are not tracked: this runtime reads a block that starts 16 bytes
// into a page as an old glibc layout and hands LeakSanitizer a bogus range, which crashes its
// scan. The blocks are still found through glibc's own pointers to them.
const char *__asan_default_options() {
    return "detect_leaks=1:intercept_tls_get_addr=0";
}

const char *__ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

// Driver, font and toolkit libraries keep caches for the life of the process.
const char *__lsan_default_suppressions() {
    return "leak:libGLX_mesa\n"
           "leak:libGL.so\n"
           "leak:libEGL\n"
           "leak:swrast_dri\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libfontconfig\n"
           "leak:libX11\n"
           "leak:libdbus\n"
           "leak:libgtk-3\n"
           "leak:libgdk-3\n"
           "leak:libglib-2.0\n"
           "leak:libgobject-2.0\n"
           "leak:libSDL2\n";
}

// GLib, GdkPixbuf and its loaders lock with their own futex-based primitives, which
// ThreadSanitizer cannot see in uninstrumented libraries; their internal accesses are left out.
const char *__tsan_default_suppressions() {
    return "called_from_lib:libglib-2.0.so\n"
           "called_from_lib:libgobject-2.0.so\n"
           "called_from_lib:libgio-2.0.so\n"
           "called_from_lib:libgdk_pixbuf-2.0.so\n"
           "called_from_lib:libpixbufloader-bmp.so\n"
           "called_from_lib:libpixbufloader-gif.so\n"
           "called_from_lib:libjpeg.so\n"
           "called_from_lib:libpng16.so\n";
}
}
