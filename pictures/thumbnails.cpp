// thumbnails.cpp -- framed square picture thumbnails composed on the CPU with DevIL and ILU.
#include "pictures/thumbnails.h"

#include <cstdio>
#include <cstring>

#include "pictures/picture_fit.h"
#include "platform/this_thread.h"

namespace {

// One third in single precision, slightly above a third, so that 48 gives exactly 16.
constexpr float TILE_FRACTION = 0.33333334f;

// Makes the scratch image an opaque white RGBA image of the given size.
bool resetScratch(ILuint scratch, ILuint width, ILuint height) {
    ilBindImage(scratch);
    if (!ilTexImage(width, height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr)) {
        fputs("ERROR: Unable initialize temparory image\n", stderr);
        return false;
    }
    if (!clearBoundImage(255)) {
        fputs("ERROR: Unable reset temparory image\n", stderr);
        return false;
    }
    return true;
}

// Cuts frame tile (i, j) into the scratch image.
bool cutTile(ILuint frame, ILuint scratch, ILuint i, ILuint j, ILuint tw, ILuint th) {
    if (!resetScratch(scratch, tw, th))
        return false;
    if (!ilBlit(frame, 0, 0, 0, i * tw, j * th, 0, tw, th, 1)) {
        fputs("ERROR: Unable to copy src image\n", stderr);
        return false;
    }
    return true;
}

// Copies the top-left width x height pixels of the scratch image into the destination.
bool placePiece(ILuint destination, ILuint scratch, ILuint x, ILuint y, ILuint width,
                ILuint height) {
    ilBindImage(destination);
    if (!ilBlit(scratch, (ILint)x, (ILint)y, 0, 0, 0, 0, width, height, 1)) {
        fputs("ERROR: Unable to copy src image\n", stderr);
        return false;
    }
    return true;
}

bool placeCorner(ILuint destination, ILuint frame, ILuint scratch, ILuint i, ILuint j, ILuint x,
                 ILuint y, ILuint tw, ILuint th) {
    return cutTile(frame, scratch, i, j, tw, th) && placePiece(destination, scratch, x, y, tw, th);
}

// Lays tile (i, j) end to end along a strip length pixels long in the scratch image, across x
// (across = true) or down y, the last copy keeping only the tile's leading pixels, then copies
// the strip into the destination at (x, y) in one piece. Each copy lands on opaque white, as a
// tile cut on its own would, so the edge looks exactly as if placed tile by tile; the
// destination is written once instead of once per tile.
bool placeStrip(ILuint destination, ILuint frame, ILuint scratch, ILuint i, ILuint j, ILuint x,
                ILuint y, ILuint length, bool across, ILuint tw, ILuint th) {
    if (length == 0)
        return true;
    ILuint stripWidth = across ? length : tw;
    ILuint stripHeight = across ? th : length;
    if (!resetScratch(scratch, stripWidth, stripHeight))
        return false;
    ILuint step = across ? tw : th;
    for (ILuint covered = 0; covered < length; covered += step) {
        ILuint piece = length - covered < step ? length - covered : step;
        ILint toX = across ? (ILint)covered : 0;
        ILint toY = across ? 0 : (ILint)covered;
        if (!ilBlit(frame, toX, toY, 0, i * tw, j * th, 0, across ? piece : tw, across ? th : piece,
                    1)) {
            fputs("ERROR: Unable to copy src image\n", stderr);
            return false;
        }
    }
    return placePiece(destination, scratch, x, y, stripWidth, stripHeight);
}

// The eight frame pieces around a w x h picture whose frame starts at (ox, oy), clockwise from
// the top-left corner.
bool drawFrame(ILuint destination, ILuint frame, ILuint scratch, ILuint ox, ILuint oy, ILuint w,
               ILuint h, ILuint tw, ILuint th) {
    ILuint innerX = ox + tw;
    ILuint innerY = oy + th;
    ILuint rightX = innerX + w;
    ILuint bottomY = innerY + h;
    return placeCorner(destination, frame, scratch, 0, 0, ox, oy, tw, th) &&
           placeStrip(destination, frame, scratch, 1, 0, innerX, oy, w, true, tw, th) &&
           placeCorner(destination, frame, scratch, 2, 0, rightX, oy, tw, th) &&
           placeStrip(destination, frame, scratch, 2, 1, rightX, innerY, h, false, tw, th) &&
           placeCorner(destination, frame, scratch, 2, 2, rightX, bottomY, tw, th) &&
           placeStrip(destination, frame, scratch, 1, 2, innerX, bottomY, w, true, tw, th) &&
           placeCorner(destination, frame, scratch, 0, 2, ox, bottomY, tw, th) &&
           placeStrip(destination, frame, scratch, 0, 1, ox, innerY, h, false, tw, th);
}

// Makes everything outside the frame's outer rectangle fully transparent, in four bands.
bool clearMargins(ILuint destination, ILuint wd, ILuint hd, ILuint ox, ILuint oy, ILuint outerW,
                  ILuint outerH) {
    bool ok = true;
    if (ox > 0)
        ok = ok && fillImageRect(destination, 0, 0, ox - 1, hd - 1, 0, 0, 0, 0);
    if (oy > 0)
        ok = ok && fillImageRect(destination, 0, 0, wd - 1, oy - 1, 0, 0, 0, 0);
    if (ox + outerW < wd)
        ok = ok && fillImageRect(destination, ox + outerW, 0, wd - 1, hd - 1, 0, 0, 0, 0);
    if (oy + outerH < hd)
        ok = ok && fillImageRect(destination, 0, oy + outerH, wd - 1, hd - 1, 0, 0, 0, 0);
    if (!ok)
        fputs("ERROR: Unable to set area color", stderr);
    return ok;
}

} // namespace

ILuint frameTileSize(ILuint frameSide) {
    return (ILuint)((float)frameSide * TILE_FRACTION);
}

bool makeThumbnail(ILuint destination, ILuint picture, ILuint frame, ILuint scratch) {
    REQUIRE_MAIN_THREAD();
    ILuint entryImage = (ILuint)ilGetInteger(IL_CUR_IMAGE);

    ilBindImage(picture);
    ILuint ws = (ILuint)ilGetInteger(IL_IMAGE_WIDTH);
    ILuint hs = (ILuint)ilGetInteger(IL_IMAGE_HEIGHT);
    ilBindImage(destination);
    ILuint wd = (ILuint)ilGetInteger(IL_IMAGE_WIDTH);
    ILuint hd = (ILuint)ilGetInteger(IL_IMAGE_HEIGHT);
    ilBindImage(frame);
    ILuint wf = (ILuint)ilGetInteger(IL_IMAGE_WIDTH);
    ILuint hf = (ILuint)ilGetInteger(IL_IMAGE_HEIGHT);
    ILuint tw = frameTileSize(wf);
    ILuint th = frameTileSize(hf);
    ILuint aw = wd - 2 * tw;
    ILuint ah = hd - 2 * th;

    ilBindImage(destination);
    if (!clearBoundImage(255)) {
        fputs("ERROR: Unable reset destination image\n", stderr);
        return false;
    }

    // Pictures are only ever shrunk: a large one is copied into the scratch image and
    // resampled there, leaving the decoded picture itself untouched.
    ILuint source = picture;
    ILuint w = ws;
    ILuint h = hs;
    if (fitPictureSize(ws, hs, aw, ah, &w, &h)) {
        if (!resetScratch(scratch, ws, hs))
            return false;
        if (!ilBlit(picture, 0, 0, 0, 0, 0, 0, ws, hs, 1)) {
            fputs("ERROR: Unable to copy src image\n", stderr);
            return false;
        }
        iluImageParameter(ILU_FILTER, ILU_BILINEAR);
        iluScale(w, h, 1);
        source = scratch;
    }

    // Integer halves: an odd remainder leaves the extra pixel on the right or at the bottom.
    ILuint ox = (aw - w) / 2;
    ILuint oy = (ah - h) / 2;

    ilBindImage(destination);
    if (!ilBlit(source, (ILint)(ox + tw), (ILint)(oy + th), 0, 0, 0, 0, w, h, 1)) {
        fputs("ERROR: Unable to copy image\n", stderr);
        return false;
    }

    if (tw > 0 && th > 0 && !drawFrame(destination, frame, scratch, ox, oy, w, h, tw, th))
        return false;

    if (!clearMargins(destination, wd, hd, ox, oy, w + 2 * tw, h + 2 * th))
        return false;

    ilBindImage(entryImage);
    return true;
}

bool fillImageRect(ILuint image, ILuint x0, ILuint y0, ILuint x1, ILuint y1, ILubyte red,
                   ILubyte green, ILubyte blue, ILubyte alpha) {
    ILuint entryImage = (ILuint)ilGetInteger(IL_CUR_IMAGE);
    ilBindImage(image);
    if (ilGetInteger(IL_IMAGE_FORMAT) != IL_RGBA) {
        fputs("ERROR: Image format should be RGBA\n", stderr);
        return false;
    }
    ILubyte *data = ilGetData();
    if (data == nullptr) {
        fputs("ERROR: Unable to read image data\n", stderr);
        return false;
    }
    size_t width = (size_t)ilGetInteger(IL_IMAGE_WIDTH);
    size_t height = (size_t)ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte pixel[4] = {red, green, blue, alpha};
    // 64-bit counters, so an inclusive bound at the top of the range still ends the loop.
    for (size_t y = y0; y <= y1; ++y) {
        ILubyte *row = data + (height - 1 - y) * width * 4;
        for (size_t x = x0; x <= x1; ++x)
            memcpy(row + 4 * x, pixel, 4);
    }
    ilBindImage(entryImage);
    return true;
}

bool clearBoundImage(ILubyte value) {
    size_t width = (size_t)ilGetInteger(IL_IMAGE_WIDTH);
    size_t height = (size_t)ilGetInteger(IL_IMAGE_HEIGHT);
    ILubyte *data = ilGetData();
    if (data == nullptr) {
        fputs("ERROR: Unable open temparory image\n", stderr);
        return false;
    }
    memset(data, value, width * height * 4);
    return true;
}
