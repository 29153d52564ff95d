// photographs.cpp -- landscapes painted with smooth areas and detail in the proportions of a
// photograph, saved as JPEG with GdkPixbuf.
#include "support/photographs.h"

#include <cmath>
#include <cstdio>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <vector>

static const int PHOTO_WIDTH = 4000;
static const int PHOTO_HEIGHT = 3000;

// A landscape: a sky gradient with soft clouds over rolling hills, fields with fine texture
// and a little sensor grain, different for every n. Smooth areas and detail in the proportions
// of a photograph, so the files compress like a camera's at quality 90.
static void paintLandscape(GdkPixbuf *pixbuf, int n) {
    int width = gdk_pixbuf_get_width(pixbuf);
    int height = gdk_pixbuf_get_height(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar *pixels = gdk_pixbuf_get_pixels(pixbuf);
    std::vector<int> horizon(width), texture(4096), cloud(4096);
    for (int x = 0; x < width; x++)
        horizon[x] = (int)(height * (0.45 + 0.08 * std::sin(x * 0.0021 + n) +
                                     0.03 * std::sin(x * 0.011 + 2 * n)));
    for (int i = 0; i < 4096; i++) {
        texture[i] = (int)(14 * std::sin(i * 0.37) * std::sin(i * 0.051 + n));
        cloud[i] = (int)(30 * std::sin(i * 0.004 + n) * std::sin(i * 0.0097));
    }
    unsigned seed = 12345u + (unsigned)n;
    for (int y = 0; y < height; y++) {
        guchar *row = pixels + (size_t)y * stride;
        for (int x = 0; x < width; x++) {
            seed = seed * 1103515245u + 12345u;
            int grain = (int)((seed >> 16) & 7) - 4;
            int r, g, b;
            if (y < horizon[x]) {
                int c = cloud[(x + 2 * y) & 4095] + cloud[(3 * x - y) & 4095] / 2;
                r = 90 + y * 80 / height + c + grain;
                g = 140 + y * 60 / height + c + grain;
                b = 220 - y * 30 / height + c / 2 + grain;
            } else {
                int depth = y - horizon[x];
                int t = texture[(x * 3 + depth * 5) & 4095] + texture[(x - depth * 7) & 4095];
                int field = ((x / 400 + depth / 300 + n) % 3) * 25;
                r = 60 + field + t + grain;
                g = 120 + depth * 60 / height - field / 2 + t + grain;
                b = 40 + t / 2 + grain;
            }
            row[x * 3 + 0] = (guchar)(r < 0 ? 0 : r > 255 ? 255 : r);
            row[x * 3 + 1] = (guchar)(g < 0 ? 0 : g > 255 ? 255 : g);
            row[x * 3 + 2] = (guchar)(b < 0 ? 0 : b > 255 ? 255 : b);
        }
    }
}

bool writePhotograph(const std::string &path, int n, long *totalBytes) {
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, PHOTO_WIDTH, PHOTO_HEIGHT);
    if (pixbuf == nullptr)
        return false;
    paintLandscape(pixbuf, n);
    bool written = gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", nullptr, "quality", "90", nullptr);
    g_object_unref(pixbuf);
    FILE *file = fopen(path.c_str(), "rb");
    if (file != nullptr) {
        fseek(file, 0, SEEK_END);
        *totalBytes += ftell(file);
        fclose(file);
    }
    return written;
}
