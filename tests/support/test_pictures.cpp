// test_pictures.cpp -- picture files made with GdkPixbuf, a writer independent of the program's
// own code.
#include "support/test_pictures.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

bool writeSolidPng(const std::string &path, int width, int height, unsigned char red,
                   unsigned char green, unsigned char blue) {
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    if (pixbuf == nullptr)
        return false;
    gdk_pixbuf_fill(pixbuf, (guint32)red << 24 | (guint32)green << 16 | (guint32)blue << 8 | 255);
    bool saved = gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    return saved;
}
