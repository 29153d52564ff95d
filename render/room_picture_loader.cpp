// room_picture_loader.cpp -- the gallery says which pictures, the room load hands over their
// slot images in slot order, and each is uploaded into its slot texture here.
#include "render/room_picture_loader.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>

#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "gallery/room_pictures.h"
#include "loading/neighbour_rooms.h"
#include "loading/room_load.h"
#include "platform/this_thread.h"
#include "render/texture_names.h"

namespace {

// A picture that arrives within a frame's time is not worth a loading screen, which itself
// takes a frame to show.
constexpr std::chrono::milliseconds UNNOTICED_WAIT(16);

// A late picture is waited for in steps this long; between them the window is answered and the
// loading screen drawn again, well within the half second in which Escape must be answered.
constexpr std::chrono::milliseconds ANSWER_INTERVAL(30);

void (*answerWindow)() = nullptr;

// Uploads a slot image into picture slot i. Linear filtering whatever the antialiasing level:
// pictures are always shown smoothed.
void uploadSlot(const SlotImage &image, uint32_t slot) {
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PICTURE0 + slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, (GLsizei)image.width, (GLsizei)image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels.data());
}

} // namespace

void setWindowAnswering(void (*answer)()) {
    answerWindow = answer;
}

bool loadRoomPictures(bool (*drawProgress)(const char *caption, int percent)) {
    REQUIRE_MAIN_THREAD();
    std::vector<RoomPicture> pictures = currentRoomPictures();
    std::vector<std::string> paths;
    for (const RoomPicture &picture : pictures)
        paths.push_back(picture.path);

    uint32_t innerWidth, innerHeight;
    bool allShown = true;
    {
        RoomLoad load(paths);
        if (!load.opened())
            return false;
        innerWidth = load.innerWidth();
        innerHeight = load.innerHeight();
        // Slot by slot, in slot order, each after its line; one bad file must not end the room,
        // or its slot would keep a picture of an earlier room, possibly of another folder.
        for (uint32_t i = 0; i < pictures.size(); ++i) {
            printf("Loading %s\n", pictures[i].path.c_str());
            if (drawProgress != nullptr && !load.ready(i, UNNOTICED_WAIT)) {
                char caption[CAPTION_BUFFER_SIZE];
                snprintf(caption, sizeof caption, "Loading %s...", pictures[i].name.c_str());
                int percent = (int)std::floor(i * 0.1 * 100);
                drawProgress(caption, percent);
                while (!load.ready(i, ANSWER_INTERVAL)) {
                    if (answerWindow != nullptr)
                        answerWindow();
                    drawProgress(caption, percent);
                }
            }
            bool shown = false;
            uploadSlot(*load.take(i, &shown), i);
            allShown = allShown && shown;
        }
    }

    // While the person looks at this room, the ones they may enter next are made ready.
    prepareNeighbourRooms(neighbourRoomPicturePaths(), facedDoorFolder(), firstRoomPicturePaths,
                          innerWidth, innerHeight);
    return allShown;
}

bool prepareRoomsAhead() {
    REQUIRE_MAIN_THREAD();
    return roomLoaded && keepNeighbourRoomsReady(facedDoorFolder());
}
