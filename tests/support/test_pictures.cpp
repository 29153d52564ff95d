// test_pictures.cpp -- picture files made with GdkPixbuf, a writer independent of the program's
// own code.
#include "support/test_pictures.h"

#include "support/big_endian.h"

#include <cstdio>
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

namespace {

// A big-endian TIFF block: the first directory holds the orientation and, with a date, a
// pointer to an EXIF directory whose one entry is the date the picture was taken.
std::string exifBlock(int orientation, const std::string &dateTaken) {
    bool dated = !dateTaken.empty();
    std::string tiff("MM\x00\x2A", 4);
    put32(&tiff, 8);
    unsigned entries = dated ? 2 : 1;
    put16(&tiff, entries);
    put16(&tiff, 0x0112); // orientation, SHORT, 1
    put16(&tiff, 3);
    put32(&tiff, 1);
    put16(&tiff, (unsigned)orientation);
    put16(&tiff, 0);
    unsigned exifDirectory = 8 + 2 + 12 * entries + 4;
    if (dated) {
        put16(&tiff, 0x8769); // the EXIF directory, LONG, 1
        put16(&tiff, 4);
        put32(&tiff, 1);
        put32(&tiff, exifDirectory);
    }
    put32(&tiff, 0); // no further image
    if (dated) {
        unsigned dateAt = exifDirectory + 2 + 12 + 4;
        put16(&tiff, 1);
        put16(&tiff, 0x9003); // taken, ASCII, 20 bytes
        put16(&tiff, 2);
        put32(&tiff, 20);
        put32(&tiff, dateAt);
        put32(&tiff, 0);
        tiff += dateTaken;
        tiff.push_back('\0');
    }
    std::string segment("\xFF\xE1", 2);
    put16(&segment, (unsigned)(2 + 6 + tiff.size()));
    segment += std::string("Exif\0\0", 6) + tiff;
    return segment;
}

} // namespace

namespace {

// Saves the pixbuf as a JPEG with the EXIF block, and lets go of it.
bool saveJpeg(GdkPixbuf *pixbuf, const std::string &path, int orientation,
              const std::string &dateTaken) {
    gchar *jpeg = nullptr;
    gsize size = 0;
    bool encoded =
        gdk_pixbuf_save_to_buffer(pixbuf, &jpeg, &size, "jpeg", nullptr, "quality", "95", nullptr);
    g_object_unref(pixbuf);
    if (!encoded)
        return false;
    std::string bytes(jpeg, size);
    g_free(jpeg);
    if (orientation != 0)
        bytes.insert(2, exifBlock(orientation, dateTaken));
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

} // namespace

bool writeQuadrantJpeg(const std::string &path, int width, int height,
                       const unsigned char quadrants[4][3], int orientation,
                       const std::string &dateTaken) {
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    if (pixbuf == nullptr)
        return false;
    guchar *pixels = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[y * stride + x * 3 + c] =
                    quadrants[(y >= height / 2) * 2 + (x >= width / 2)][c];
    return saveJpeg(pixbuf, path, orientation, dateTaken);
}

bool writeTexturedJpeg(const std::string &path, int width, int height, int orientation) {
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    if (pixbuf == nullptr)
        return false;
    guchar *pixels = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            guchar *pixel = pixels + y * stride + x * 3;
            pixel[0] = (guchar)(x * 255 / width);
            pixel[1] = (guchar)(y * 255 / height);
            pixel[2] = (guchar)((x * 7 ^ y * 13) & 255);
        }
    return saveJpeg(pixbuf, path, orientation, "");
}
