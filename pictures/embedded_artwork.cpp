// embedded_artwork.cpp -- an embedded PNG loaded into the bound image-library image.
#include "pictures/embedded_artwork.h"

#include "platform/embedded_resources.h"
#include "platform/image_library.h"
#include "platform/message_box.h"
#include "platform/this_thread.h"

static bool failTextureLoad(const char *text) {
    showMessageBox(text, "Initialization Failed", MESSAGE_BOX_ERROR);
    return false;
}

bool loadTextureResource(int id) {
    REQUIRE_MAIN_THREAD();
    const ResourceHandle *found = findResource(id, "TEXTURES");
    if (found == nullptr)
        return failTextureLoad("Unable to load textures");
    const ResourceHandle *loaded = loadResource(found);
    if (loaded == nullptr)
        return failTextureLoad("Unable to access memory to load textures");
    const void *bytes = lockResource(loaded);
    if (bytes == nullptr)
        return failTextureLoad("Unable to lock memory to load textures");
    // The embedded images are fixed data that decode, so the library's answer is not examined.
    ilLoadL(IL_PNG, bytes, static_cast<ILuint>(sizeofResource(found)));
    return true;
}
