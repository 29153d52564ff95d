// picture_format.h -- which decoder may see a file, told from its first bytes.
#pragma once
#include <cstddef>

#include "platform/picture_codec.h"

// The format whose signature the bytes start with: JPEG, PNG, GIF, WebP, TIFF, an ISO media
// file whose brands say HEIF or AVIF, or a BMP whose header is plausible (see below). False for
// anything else, which no decoder is shown. Thread: any.
bool sniffPictureFormat(const unsigned char *bytes, size_t size, PictureFormat *format);

// True when a BMP's header length, pixel offset and palette size are ones a real BMP has.
// The BMP decoder sizes its header and palette buffers from them before any picture size is
// known, so a few bytes could make it reserve gigabytes. Thread: any.
bool plausibleBmpHeader(const unsigned char *bytes, size_t size);
