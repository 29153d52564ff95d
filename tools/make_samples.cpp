// make_samples.cpp -- paints the bundled sample gallery into a folder: make_samples <folder>.
// Every picture comes from fixed seeds, so two runs write the same bytes. Each file is decoded
// again through DevIL after it is written, and the finished tree is checked for what the
// gallery is meant to show; any failure makes the program exit with status 1.
#include "samples/painters.h"
#include "samples/picture_check.h"
#include "samples/picture_writers.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <strings.h>
#include <system_error>

namespace {

struct SampleEntry {
    const char *path; // relative to the gallery folder; the extension picks the format
    int width;
    int height;
    PainterKind kind;
    int variant;
    int quality; // JPEG quality, 0 for the usual one
};

const int USUAL_QUALITY = 80;
const long MAX_GALLERY_BYTES = 4800000;
// A JPEG may differ from what was painted by this much per channel on average.
const double MAX_JPEG_DIFFERENCE = 8.0;

const SampleEntry samples[] = {
    // The top folder: every format, extensions in mixed case, every shape and size.
    {"Sunset over hills.jpg", 800, 600, PAINT_LANDSCAPE, 0, 0},
    {"Morning valley.JPG", 800, 600, PAINT_LANDSCAPE, 1, 0},
    {"Night lake.jpeg", 640, 480, PAINT_LANDSCAPE, 2, 0},
    {"Panorama of the valley.jpg", 3600, 1200, PAINT_LANDSCAPE, 3, 55},
    {"Tall pines.Jpeg", 480, 720, PAINT_LANDSCAPE, 5, 0},
    {"Desert dunes.jpg", 800, 450, PAINT_LANDSCAPE, 4, 0},
    {"Plasma 01.jpg", 640, 480, PAINT_PLASMA, 0, 0},
    {"Plasma 02.JPEG", 600, 600, PAINT_PLASMA, 1, 0},
    {"Interference.jpg", 800, 600, PAINT_INTERFERENCE, 0, 0},
    {"Stained glass.jpg", 600, 800, PAINT_STAINED_GLASS, 0, 0},
    {"Bokeh.jpg", 800, 500, PAINT_BOKEH, 0, 0},
    {"Mandelbrot 02.jpg", 800, 600, PAINT_MANDELBROT, 1, 0},
    {"Julia 01.jpeg", 640, 640, PAINT_JULIA, 0, 0},
    {"Rosette 01.jpg", 600, 600, PAINT_ROSETTE, 0, 0},
    {"Ripples.JPG", 720, 480, PAINT_INTERFERENCE, 1, 0},
    {"Tiny landscape.jpg", 64, 48, PAINT_LANDSCAPE, 6, 0},
    {"Candy stripes.jpg", 120, 200, PAINT_STRIPES, 0, 0},
    {"Low poly.jpg", 800, 600, PAINT_TRIANGLES, 0, 0},
    {"Mandelbrot 01.GIF", 640, 480, PAINT_MANDELBROT, 0, 0},
    {"Julia 02.gif", 480, 480, PAINT_JULIA, 1, 0},
    {"Hexagons.gif", 640, 480, PAINT_HEXAGONS, 0, 0},
    {"Truchet.Gif", 500, 500, PAINT_TRUCHET, 0, 0},
    {"Stripes.gif", 400, 600, PAINT_STRIPES, 1, 0},
    {"Small rosette.gif", 100, 100, PAINT_ROSETTE, 1, 0},
    {"Checker waves.GIF", 320, 240, PAINT_CHECKER_WAVES, 0, 0},
    {"Colour wheel.bmp", 256, 256, PAINT_ROSETTE, 5, 0},
    {"Little hills.BMP", 160, 120, PAINT_LANDSCAPE, 7, 0},
    {"Tall tower.Bmp", 90, 240, PAINT_STAINED_GLASS, 1, 0},
    {"Glass tiles.bmp", 200, 200, PAINT_HEXAGONS, 1, 0},
    {"Plasma 03.bmp", 320, 240, PAINT_PLASMA, 2, 0},

    // Exactly one room of pictures.
    {"Landscapes/Green hills.jpg", 640, 480, PAINT_LANDSCAPE, 8, 0},
    {"Landscapes/Evening glow.jpg", 640, 480, PAINT_LANDSCAPE, 13, 0},
    {"Landscapes/Moonrise.JPG", 640, 480, PAINT_LANDSCAPE, 9, 0},
    {"Landscapes/Pastel dawn.jpeg", 640, 480, PAINT_LANDSCAPE, 10, 0},
    {"Landscapes/Dunes at noon.jpg", 640, 360, PAINT_LANDSCAPE, 11, 0},
    {"Landscapes/Mist.jpg", 480, 640, PAINT_LANDSCAPE, 12, 0},
    {"Landscapes/Red sky.jpg", 640, 480, PAINT_LANDSCAPE, 14, 0},
    {"Landscapes/Quiet lake.gif", 400, 300, PAINT_LANDSCAPE, 17, 0},
    {"Landscapes/High meadow.bmp", 200, 150, PAINT_LANDSCAPE, 15, 0},
    {"Landscapes/Far ridges.jpg", 800, 600, PAINT_LANDSCAPE, 16, 0},

    // More than one room of pictures.
    {"Fractals/Mandelbrot 03.jpg", 480, 360, PAINT_MANDELBROT, 2, 0},
    {"Fractals/Mandelbrot 04.jpg", 480, 360, PAINT_MANDELBROT, 3, 0},
    {"Fractals/Mandelbrot 05.jpg", 480, 360, PAINT_MANDELBROT, 4, 0},
    {"Fractals/Mandelbrot 06.jpg", 360, 480, PAINT_MANDELBROT, 5, 0},
    {"Fractals/Mandelbrot 07.jpg", 480, 360, PAINT_MANDELBROT, 6, 0},
    {"Fractals/Mandelbrot 08.JPG", 480, 360, PAINT_MANDELBROT, 7, 0},
    {"Fractals/Mandelbrot 09.gif", 320, 240, PAINT_MANDELBROT, 0, 0},
    {"Fractals/Julia 03.jpg", 400, 400, PAINT_JULIA, 2, 0},
    {"Fractals/Julia 04.jpg", 480, 360, PAINT_JULIA, 3, 0},
    {"Fractals/Julia 05.jpg", 400, 400, PAINT_JULIA, 4, 0},
    {"Fractals/Julia 06.jpg", 480, 360, PAINT_JULIA, 5, 0},
    {"Fractals/Julia 07.jpg", 400, 400, PAINT_JULIA, 6, 0},
    {"Fractals/Julia 08.GIF", 300, 300, PAINT_JULIA, 7, 0},

    {"Patterns/Plasma 04.jpg", 480, 360, PAINT_PLASMA, 3, 0},
    {"Patterns/Interference 2.jpg", 480, 360, PAINT_INTERFERENCE, 2, 0},
    {"Patterns/Checker waves 2.gif", 320, 320, PAINT_CHECKER_WAVES, 1, 0},
    {"Patterns/Bokeh 2.jpg", 480, 320, PAINT_BOKEH, 1, 0},
    {"Patterns/Stripes 3.bmp", 160, 120, PAINT_STRIPES, 2, 0},

    {"Tilings/Hexagons 2.gif", 400, 300, PAINT_HEXAGONS, 2, 0},
    {"Tilings/Truchet 2.jpg", 400, 400, PAINT_TRUCHET, 1, 0},
    {"Tilings/Triangles 2.jpg", 480, 360, PAINT_TRIANGLES, 1, 0},
    {"Tilings/Triangles 3.Bmp", 128, 128, PAINT_TRIANGLES, 2, 0},

    {"Rosettes/Rosette 03.jpg", 400, 400, PAINT_ROSETTE, 3, 0},
    {"Rosettes/Rosette 04.gif", 300, 300, PAINT_ROSETTE, 4, 0},
    {"Rosettes/Rosette 05.JPEG", 360, 480, PAINT_ROSETTE, 6, 0},
    {"Rosettes/Rosette 06.bmp", 96, 96, PAINT_ROSETTE, 7, 0},

    {"Sunsets/Last light.jpg", 640, 400, PAINT_LANDSCAPE, 21, 0},
    {"Sunsets/Amber evening.jpg", 640, 400, PAINT_LANDSCAPE, 27, 0},
    {"Sunsets/Sun on the water.jpg", 640, 400, PAINT_LANDSCAPE, 35, 0},

    // Odd shapes and tiny sizes.
    {"Small Sketches/Ribbon.gif", 480, 24, PAINT_STRIPES, 3, 0},
    {"Small Sketches/Sliver.jpg", 24, 320, PAINT_LANDSCAPE, 30, 0},
    {"Small Sketches/Stamp.bmp", 32, 32, PAINT_HEXAGONS, 3, 0},
    {"Small Sketches/Thumbnail.jpg", 48, 64, PAINT_LANDSCAPE, 18, 0},
    {"Small Sketches/Mini julia.gif", 64, 64, PAINT_JULIA, 4, 0},
    {"Small Sketches/Mote.bmp", 8, 8, PAINT_STAINED_GLASS, 2, 0},

    // A folder of folders only, with names outside ASCII, two and three levels deep.
    {"Travel/\xc3\x89t\xc3\xa9 \xc3\xa0 Paris/Seine at dusk.jpg", 640, 480, PAINT_LANDSCAPE, 20, 0},
    {"Travel/\xc3\x89t\xc3\xa9 \xc3\xa0 Paris/Rose window.jpg", 480, 480, PAINT_STAINED_GLASS, 3,
     0},
    {"Travel/\xc3\x89t\xc3\xa9 \xc3\xa0 Paris/Caf\xc3\xa9 tiles.jpg", 400, 300, PAINT_HEXAGONS, 2,
     0},
    {"Travel/B\xc3\xa4ume/Waldrand.jpg", 640, 480, PAINT_LANDSCAPE, 19, 0},
    {"Travel/B\xc3\xa4ume/Lichtung.JPG", 480, 640, PAINT_LANDSCAPE, 22, 0},
    {"Travel/Norway 2019/Arrival.jpg", 640, 480, PAINT_LANDSCAPE, 23, 0},
    {"Travel/Norway 2019/Fjords/Fjord 1.jpg", 640, 480, PAINT_LANDSCAPE, 26, 0},
    {"Travel/Norway 2019/Fjords/Fjord 2.jpg", 640, 480, PAINT_LANDSCAPE, 29, 0},

    {"Archive/Old plasma.jpg", 400, 300, PAINT_PLASMA, 5, 0},
    {"Archive/2021/January.jpg", 480, 320, PAINT_BOKEH, 2, 0},
    {"Archive/2021/February.gif", 240, 240, PAINT_TRUCHET, 2, 0},
    {"Archive/2022/Spring.jpg", 480, 360, PAINT_LANDSCAPE, 24, 0},
    {"Archive/2022/Summer.bmp", 120, 90, PAINT_LANDSCAPE, 25, 0},

    // A folder whose own name ends in a picture extension: it is a door, not a picture.
    {"Postcards.jpg/Postcard 1.jpg", 480, 320, PAINT_LANDSCAPE, 28, 0},
    {"Postcards.jpg/Postcard 2.jpg", 480, 320, PAINT_ROSETTE, 8, 0},

    {"Plasma/Plasma 05.jpg", 480, 360, PAINT_PLASMA, 6, 0},
    {"Plasma/Plasma 06.jpg", 360, 360, PAINT_PLASMA, 7, 0},
    {"Plasma/Plasma 07.gif", 240, 240, PAINT_PLASMA, 8, 0},

    {"Stripes and Waves/Stripes 4.jpg", 480, 360, PAINT_STRIPES, 4, 0},
    {"Stripes and Waves/Waves.jpg", 480, 360, PAINT_INTERFERENCE, 3, 0},
    {"Stripes and Waves/Checker 3.gif", 256, 256, PAINT_CHECKER_WAVES, 2, 0},

    {"Stained Glass/Chapel.jpg", 360, 540, PAINT_STAINED_GLASS, 4, 0},
    {"Stained Glass/Window.jpg", 480, 480, PAINT_STAINED_GLASS, 5, 0},
    {"Stained Glass/Lantern.bmp", 100, 150, PAINT_STAINED_GLASS, 6, 0},

    // A hidden folder: its picture must never show as a door or on a wall.
    {".thumbnails/Sunset over hills.jpg", 96, 72, PAINT_LANDSCAPE, 0, 0},
};

struct TextEntry {
    const char *path;
    const char *text;
};

const TextEntry texts[] = {
    {"README.txt", "This is Quillmere's sample gallery, made by tools/make_samples.\n"},
    {"notes.md", "# Notes\n\nEvery picture here is painted by a program: landscapes, fractals,\n"
                 "patterns and tilings. Walk up to a door and press Enter to go through it.\n"},
    {"cover.jpg.txt", "Not a picture: this name ends in .txt.\n"},
    {"Empty for now/about.txt", "Pictures for this folder are still to come.\n"},
};

enum FileFormat { FORMAT_JPEG, FORMAT_GIF, FORMAT_BMP, FORMAT_UNKNOWN };

FileFormat formatOf(const std::string &path) {
    const size_t dot = path.rfind('.');
    const char *extension = dot == std::string::npos ? "" : path.c_str() + dot + 1;
    if (strcasecmp(extension, "jpg") == 0 || strcasecmp(extension, "jpeg") == 0) {
        return FORMAT_JPEG;
    }
    if (strcasecmp(extension, "gif") == 0) {
        return FORMAT_GIF;
    }
    return strcasecmp(extension, "bmp") == 0 ? FORMAT_BMP : FORMAT_UNKNOWN;
}

bool makeParentFolder(const std::filesystem::path &file) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", file.parent_path().c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

// Paints, encodes and writes one picture, then reads it back and compares it with what the
// format should hold: the same pixels for BMP and GIF (after quantising), close ones for JPEG.
bool writeSample(const std::filesystem::path &root, const SampleEntry &sample) {
    const std::filesystem::path file = root / sample.path;
    const FileFormat format = formatOf(sample.path);
    if (format == FORMAT_UNKNOWN || !makeParentFolder(file)) {
        std::fprintf(stderr, "cannot write %s\n", sample.path);
        return false;
    }
    Picture picture = makePicture(sample.width, sample.height);
    paintSample(picture, sample.kind, sample.variant);
    std::vector<unsigned char> bytes;
    Picture expected = picture;
    if (format == FORMAT_JPEG) {
        encodeJpeg(picture, sample.quality ? sample.quality : USUAL_QUALITY, bytes);
    } else if (format == FORMAT_GIF) {
        const IndexedPicture indexed = quantizePicture(picture);
        expected = expandIndexed(indexed);
        bytes = encodeGif(indexed);
    } else {
        bytes = encodeBmp(picture);
    }
    if (!writeFileBytes(file.c_str(), bytes)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return false;
    }
    Picture decoded;
    if (!decodePicture(file.string(), decoded)) {
        std::fprintf(stderr, "DevIL cannot read %s back\n", file.c_str());
        return false;
    }
    const double difference = meanDifference(decoded, expected);
    const double allowed = format == FORMAT_JPEG ? MAX_JPEG_DIFFERENCE : 0.0;
    std::printf("%-50s %4dx%-4d %8zu bytes, difference %.2f\n", sample.path, sample.width,
                sample.height, bytes.size(), difference);
    if (difference < 0.0 || difference > allowed) {
        std::fprintf(stderr, "%s reads back as %dx%d with difference %.2f\n", sample.path,
                     decoded.width, decoded.height, difference);
        return false;
    }
    return true;
}

bool writeText(const std::filesystem::path &root, const TextEntry &entry) {
    const std::filesystem::path file = root / entry.path;
    const std::string text = entry.text;
    if (!makeParentFolder(file) ||
        !writeFileBytes(file.c_str(), std::vector<unsigned char>(text.begin(), text.end()))) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <gallery folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    initPictureDecoder();
    bool ok = true;
    for (const SampleEntry &sample : samples) {
        ok &= writeSample(root, sample);
    }
    for (const TextEntry &entry : texts) {
        ok &= writeText(root, entry);
    }
    ok &= checkGalleryTree(root.string(), MAX_GALLERY_BYTES);
    std::printf(ok ? "sample gallery written to %s\n" : "sample gallery in %s has problems\n",
                root.c_str());
    return ok ? 0 : 1;
}
