// slot_composer.h -- the image-library work images that turn a decoded picture into a picture
// slot's framed square image. Thread: main only, like every image-library call.
#pragma once
#include <cstdint>
#include <memory>

#include "pictures/picture.h"
#include "platform/image_library.h"

struct SlotComposer {
    ILuint destination; // the framed slot image
    ILuint frame;       // the embedded frame artwork
    ILuint picture;     // the decoded picture
    ILuint scratch;
    uint32_t innerWidth; // the area inside the frame, which pictures are decoded to fit
    uint32_t innerHeight;
    uint64_t frameKey; // tells frame artworks apart, for the frames kept between pictures
};

// Makes the four work images, the destination at its full size and the frame loaded. False,
// after its line on standard error and with everything released, when either fails.
bool openSlotComposer(SlotComposer *composer);

// The picture framed as makeThumbnail frames it. Null after a line on standard error.
std::shared_ptr<const SlotImage> frameSlotPicture(const SlotComposer &composer,
                                                  const Picture &picture);

// A plain grey 4:3 area framed, the mark of a picture that cannot be shown; should even that
// fail, a fully transparent image, so the slot never keeps another picture.
std::shared_ptr<const SlotImage> frameEmptySlot(const SlotComposer &composer);

void closeSlotComposer(SlotComposer *composer);
