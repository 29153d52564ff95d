// prepared_pictures.h -- the two stores pictures are kept in between rooms: decoded pictures
// fitted to the frame (filled by decoding threads), and finished slot images, framed and ready
// to upload (filled on the main thread). Together they stay within one budget.
#pragma once
#include "loading/picture_store.h"

// Bytes held at most by both stores together: four rooms of framed pictures (the one shown and
// the three that may come next), and the decoded pictures of three rooms of 4:3 photographs
// waiting to be framed, as they pile up while the window is hidden and no frames are drawn.
constexpr size_t PREPARED_PICTURE_BUDGET = 64u * 1024 * 1024;
constexpr size_t DECODED_PICTURE_BUDGET = 24u * 1024 * 1024;
constexpr size_t FRAMED_PICTURE_BUDGET = PREPARED_PICTURE_BUDGET - DECODED_PICTURE_BUDGET;

// Pictures as decodePicture gives them for the frame's inner area.
extern PictureStore<Picture> decodedPictures;

// Slot images, framed and ready to upload.
extern PictureStore<SlotImage> framedPictures;
