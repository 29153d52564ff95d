// main_loop.cpp -- polls window messages and draws frames in between: the gallery's, or the
// picture view's while it is open.
#include "app/main_loop.h"

#include "app/picture_view_screen.h"
#include "app/window_answering.h"
#include "app/window_proc.h"
#include "gallery/picture_view.h"
#include "platform/events.h"
#include "render/scene_frame.h"

int runMainLoop() {
    WindowMessage message;
    for (;;) {
        // Input that arrived while the room was made ready comes first, in its order.
        if (takeKeptMessage(&message) || pollMessage(&message)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            mainWindowProc(message.message, message.wParam, message.lParam);
            continue;
        }
        if (!windowActive)
            continue;
        if (pictureView.open)
            drawPictureViewScreen();
        else
            drawScene();
    }
}
