// room_picture_loader.cpp -- the current room's pictures framed into the picture-slot textures:
// straight from the framed-picture store when the room was prepared while the person looked,
// otherwise obtained on worker threads and framed here, with a loading screen whenever a
// picture keeps the person waiting.
#include "images/room_picture_loader.h"

#include <GL/gl.h>
#include <IL/il.h>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "images/embedded_textures.h"
#include "images/neighbour_rooms.h"
#include "images/picture_batch.h"
#include "images/prepared_pictures.h"
#include "images/slot_composer.h"

namespace {

// A picture that arrives within a frame's time is not worth a loading screen, which itself
// takes a frame to show.
constexpr std::chrono::milliseconds UNNOTICED_WAIT(16);

// One picture position of the room.
struct RoomSlot {
    std::string name; // as listed
    std::string path;
    bool stamped; // stamp read: the picture may be kept and found again
    FileStamp stamp;
    std::shared_ptr<const DecodedPicture> framed; // ready to upload, or null
    size_t batchIndex;                            // its place in the batch when not framed
};

// Uploads a framed slot image (bottom row first) into picture slot i. Linear filtering
// whatever the antialiasing level: pictures are always shown smoothed.
void uploadSlot(const DecodedPicture &image, uint32_t slot) {
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PICTURE0 + slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, (GLsizei)image.width, (GLsizei)image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels.data());
}

std::vector<RoomSlot> listRoomSlots() {
    std::vector<RoomSlot> slots;
    for (uint32_t i = 0; i < picturesPerRoom && firstPicture + i < pictureCount; ++i) {
        RoomSlot slot;
        slot.name = pictureNames[firstPicture + i];
        char path[PATH_BUFFER_SIZE];
        pathJoin(path, sizeof path, currentPath, slot.name.c_str(), NATIVE_PATH_STYLE);
        slot.path = path;
        // The stamp is checked on entering, so a file changed since it was framed is not shown
        // from the older copy.
        slot.stamped = readFileStamp(path, &slot.stamp);
        if (slot.stamped)
            slot.framed = findPicture(&framedPictures, path, slot.stamp);
        slots.push_back(slot);
    }
    return slots;
}

// Frames the picture of a slot that was not ready framed, waiting for its worker, and keeps
// the result for later visits. A picture refused or not decoded gets the empty frame, which
// is not kept: the file is looked at again next time.
bool frameFromBatch(const SlotComposer &composer, PictureBatch *batch, RoomSlot *slot, int percent,
                    bool (*drawProgress)(const char *caption, int percent)) {
    if (drawProgress != nullptr &&
        !waitForPictureSlotFor(batch, slot->batchIndex, UNNOTICED_WAIT)) {
        char caption[CAPTION_BUFFER_SIZE];
        snprintf(caption, sizeof caption, "Loading %s...", slot->name.c_str());
        drawProgress(caption, percent);
    }
    PictureSlot *decoded = waitForPictureSlot(batch, slot->batchIndex);
    std::shared_ptr<const DecodedPicture> framed;
    if (decoded->result != PICTURE_DECODED)
        fprintf(stderr, "ERROR: Unable to load %s\n", slot->path.c_str());
    else
        framed = frameSlotPicture(composer, decoded->picture);
    decoded->picture = DecodedPicture();
    if (framed == nullptr) {
        slot->framed = frameEmptySlot(composer);
        return false;
    }
    slot->framed = framed;
    if (slot->stamped)
        keepPicture(&framedPictures, slot->path.c_str(), slot->stamp, framed);
    return true;
}

} // namespace

bool loadRoomPictures(bool (*drawProgress)(const char *caption, int percent)) {
    SlotComposer composer;
    if (!openSlotComposer(&composer))
        return false;

    std::vector<RoomSlot> slots = listRoomSlots();
    std::vector<std::string> toObtain;
    for (RoomSlot &slot : slots)
        if (slot.framed == nullptr) {
            slot.batchIndex = toObtain.size();
            toObtain.push_back(slot.path);
        }
    PictureBatch batch;
    startPictureBatch(&batch, toObtain, composer.innerWidth, composer.innerHeight);

    // Slot by slot, in slot order, each after its line; one bad file must not end the room,
    // or its slot would keep a picture of an earlier room, possibly of another folder.
    bool allComposed = true;
    for (uint32_t i = 0; i < slots.size(); ++i) {
        RoomSlot &slot = slots[i];
        printf("Loading %s\n", slot.path.c_str());
        if (slot.framed == nullptr) {
            int percent = (int)std::floor(i * 0.1 * 100);
            if (!frameFromBatch(composer, &batch, &slot, percent, drawProgress))
                allComposed = false;
        }
        uploadSlot(*slot.framed, i);
    }
    finishPictureBatch(&batch);
    closeSlotComposer(&composer);

    // While the person looks at this room, the ones they may enter next are made ready.
    prepareNeighbourRooms(composer.innerWidth, composer.innerHeight);
    return allComposed;
}
