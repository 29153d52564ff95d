// slot_composer.h -- the DevIL work images that turn a decoded picture into a picture slot's
// framed square image. Main thread only, like every DevIL call.
#pragma once
#include <IL/il.h>
#include <cstdint>
#include <memory>

#include "images/picture_decoder.h"

struct SlotComposer {
    ILuint destination; // the framed slot image
    ILuint frame;       // the embedded frame artwork
    ILuint picture;     // the decoded picture
    ILuint scratch;
    uint32_t innerWidth; // the area inside the frame, which pictures are decoded to fit
    uint32_t innerHeight;
};

// Makes the four work images, the destination at its full size and the frame loaded. False,
// after its line on standard error and with everything released, when either fails.
bool openSlotComposer(SlotComposer *composer);

// Frames the picture into the destination; false after a line on standard error.
bool composeSlotPicture(const SlotComposer &composer, const DecodedPicture &picture);

// Frames a plain grey 4:3 area, the mark of a picture that cannot be shown; should even that
// fail, the destination is made fully transparent, so the slot never keeps another picture.
void composeEmptySlot(const SlotComposer &composer);

// A copy of the destination's pixels as the slot textures take them: bottom row first.
std::shared_ptr<const DecodedPicture> copySlotImage(const SlotComposer &composer);

void closeSlotComposer(SlotComposer *composer);
