// thumbnails.h -- composing a picture into a framed square RGBA thumbnail with the image
// library, and the two pixel-filling helpers the composition uses. Thread: main only, like
// every image-library call.
#pragma once
#include "platform/image_library.h"

// Width and height of every picture-slot thumbnail.
constexpr ILuint THUMBNAIL_SIZE = 512;

// Width (or height) of one of the 3x3 tiles of a frame image frameSide pixels wide (or high);
// a thumbnail's picture area is its side less two tiles.
ILuint frameTileSize(ILuint frameSide);

// Rewrites the destination (an RGBA image at least two frame tiles wide and high) with the
// picture, shrunk to fit inside the frame if it is too large, framed with the eight outer tiles
// of the 3x3 frame image and centred on a transparent canvas. The scratch image is re-created
// as needed; picture and frame are not changed. True with the entry binding restored; false
// after a line on standard error.
bool makeThumbnail(ILuint destination, ILuint picture, ILuint frame, ILuint scratch);

// Sets every pixel with x0 <= x <= x1 and y0 <= y <= y1 (rows counted from the top as seen) of
// an RGBA image whose rows are stored bottom row first. An empty range writes nothing. Rebinds
// the entry image on success.
bool fillImageRect(ILuint image, ILuint x0, ILuint y0, ILuint x1, ILuint y1, ILubyte red,
                   ILubyte green, ILubyte blue, ILubyte alpha);

// Sets every byte of the bound RGBA image to value.
bool clearBoundImage(ILubyte value);
