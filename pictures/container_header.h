// container_header.h -- the declared size of pictures in the containers phones and browsers
// write, read before any decoder sees them: the ISO media files of HEIF and AVIF, and WebP's
// RIFF file.
#pragma once
#include <cstddef>
#include <cstdint>

enum IsoPictureBrand { ISO_NOT_A_PICTURE, ISO_HEIF, ISO_AVIF };

// Which still-picture family an ISO media file's ftyp box names: AVIF when its major brand is
// avif or avis, or it names no HEVC brand but an AVIF one; HEIF for the HEVC brands and the
// plain image brands. Thread: any.
IsoPictureBrand isoPictureBrand(const unsigned char *bytes, size_t size);

// The largest image spatial extent (ispe) the meta box declares: the primary image, or the
// whole of a grid of tiles. False when no meta box with one lies within the bytes. Thread: any.
bool isoPictureSize(const unsigned char *bytes, size_t size, uint32_t *width, uint32_t *height);

// The number of items the meta box's item information box (iinf) lists: a grid picture's tiles
// are items. False when no such box lies within the bytes. Thread: any.
bool isoItemCount(const unsigned char *bytes, size_t size, uint32_t *count);

// The canvas of a WebP file from its first chunk (VP8X, VP8 or VP8L). Thread: any.
bool webpPictureSize(const unsigned char *bytes, size_t size, uint32_t *width, uint32_t *height);
