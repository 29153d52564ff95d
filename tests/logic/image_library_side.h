// image_library_side.h -- one image library behind a table of the calls the image-module tests
// make: the library's own operations and the program's framing code built on it. There are two
// tables, DevIL's and the image module's (the framing code compiled against each), so a test
// runs one sequence of calls on both and compares the pixels.
#pragma once
#include <memory>

#include "pictures/picture.h"

struct ImageLibrarySide {
    const char *name;
    void (*init)(); // ilShutDown, ilInit and iluInit: a library as the program starts it
    void (*genImages)(int count, unsigned *names);
    void (*bindImage)(unsigned name);
    void (*deleteImages)(int count, const unsigned *names);
    bool (*texImage)(unsigned width, unsigned height, unsigned char bpp, unsigned format,
                     void *data);
    bool (*blit)(unsigned source, int destX, int destY, unsigned srcX, unsigned srcY,
                 unsigned width, unsigned height);
    unsigned char *(*getData)();
    int (*getInteger)(unsigned mode);
    bool (*enable)(unsigned mode);
    bool (*disable)(unsigned mode);
    void (*setInteger)(unsigned mode, int value);
    void (*registerOrigin)(unsigned origin);
    bool (*convertImage)(unsigned format);
    bool (*loadPng)(const void *lump, unsigned size);
    bool (*scaleBilinear)(unsigned width, unsigned height);

    // The program's code, built on this library.
    bool (*makeThumbnail)(unsigned destination, unsigned picture, unsigned frame, unsigned scratch);
    bool (*loadTextureResource)(int id);
    // One slot composer per side.
    bool (*openSlotComposer)();
    std::shared_ptr<const SlotImage> (*frameSlotPicture)(const Picture &picture);
    std::shared_ptr<const SlotImage> (*frameEmptySlot)();
    void (*closeSlotComposer)();
};

namespace on_devil {
extern const ImageLibrarySide library;
}
namespace on_image_module {
extern const ImageLibrarySide library;
}
