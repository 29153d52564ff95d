// image_module.h -- our own image library: exactly the DevIL operations the program uses, with
// DevIL's names, numbers and results (bound image, lower-left rows, blending blit, ILU's
// bilinear shrink, PNG from memory), so the Windows build frames pictures as Linux does. It is
// built everywhere; on Linux it lives beside DevIL (in its own namespace) for the tests that
// hold the two side by side. Its state is one bound image: Thread: main only.
#pragma once

namespace image_module {

// DevIL's values for the enumerants the module understands.
enum : int {
    RGB = 0x1907,
    RGBA = 0x1908,
    LUMINANCE = 0x1909,
    UNSIGNED_BYTE = 0x1401,
    PNG = 0x042A,
    ORIGIN_SET = 0x0600,
    ORIGIN_LOWER_LEFT = 0x0601,
    ORIGIN_UPPER_LEFT = 0x0602,
    FORMAT_SET = 0x0610,
    FORMAT_MODE = 0x0611,
    BLIT_BLEND = 0x0636,
    IMAGE_WIDTH = 0x0DE4,
    IMAGE_HEIGHT = 0x0DE5,
    IMAGE_DEPTH = 0x0DE6,
    IMAGE_SIZE_OF_DATA = 0x0DE7,
    IMAGE_BPP = 0x0DE8,
    IMAGE_FORMAT = 0x0DEA,
    IMAGE_TYPE = 0x0DEB,
    CUR_IMAGE = 0x0DF7,
    IMAGE_ORIGIN = 0x0DFE,
    FILTER = 0x2600,
    BILINEAR = 0x2603,
};

void ilInit();
void ilShutDown();
void iluInit();

void ilGenImages(int count, unsigned *names);
void ilBindImage(unsigned name);
void ilDeleteImages(int count, const unsigned *names);
bool ilIsImage(unsigned name);

// The bound image becomes width x height (depth 1) of bpp bytes a pixel in the given format
// (RGB, RGBA, LUMINANCE; unsigned bytes), filled from data when given, lower-left origin.
bool ilTexImage(unsigned width, unsigned height, unsigned depth, unsigned char bpp, unsigned format,
                unsigned type, void *data);

// Copies a rectangle of source (coordinates counted from the top row) into the bound image at
// (destX, destY); with BLIT_BLEND on (the default) an RGBA destination gets each colour mixed
// by the source pixel's alpha and keeps its own alpha.
bool ilBlit(unsigned source, int destX, int destY, int destZ, unsigned srcX, unsigned srcY,
            unsigned srcZ, unsigned width, unsigned height, unsigned depth);

unsigned char *ilGetData();
int ilGetInteger(unsigned mode);
bool ilEnable(unsigned mode);
bool ilDisable(unsigned mode);
bool ilIsEnabled(unsigned mode);
void ilSetInteger(unsigned mode, int value);
bool ilRegisterOrigin(unsigned origin);
bool ilConvertImage(unsigned format, unsigned type);

// Decodes a PNG held in memory into the bound image (upper-left origin), in the format
// FORMAT_MODE names when FORMAT_SET is on. Only PNG is read.
bool ilLoadL(unsigned type, const void *lump, unsigned size);

void iluImageParameter(unsigned name, unsigned value);
// Resamples the bound image to width x height (ILU's bilinear filter).
bool iluScale(unsigned width, unsigned height, unsigned depth);

} // namespace image_module
