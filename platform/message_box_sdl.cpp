// message_box_sdl.cpp -- message boxes through SDL, falling back to standard error.
#include "platform/message_box.h"

#include <SDL.h>
#include <cstdio>

MessageBoxAnswer showMessageBox(const char *text, const char *title, MessageBoxKind kind) {
    if (kind == MESSAGE_BOX_ERROR) {
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, nullptr) == 0)
            return MESSAGE_BOX_OK;
        fprintf(stderr, "%s: %s\n", title, text);
        return MESSAGE_BOX_OK;
    }
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, MESSAGE_BOX_YES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, MESSAGE_BOX_NO, "No"},
    };
    SDL_MessageBoxData box = {};
    box.flags = SDL_MESSAGEBOX_WARNING;
    box.title = title;
    box.message = text;
    box.numbuttons = 2;
    box.buttons = buttons;
    int pressed = MESSAGE_BOX_NO;
    if (SDL_ShowMessageBox(&box, &pressed) == 0)
        return pressed == MESSAGE_BOX_YES ? MESSAGE_BOX_YES : MESSAGE_BOX_NO;
    // Nobody can answer: say so and take No, the answer that changes nothing.
    fprintf(stderr, "%s: %s [No]\n", title, text);
    return MESSAGE_BOX_NO;
}
