// message_box_win32.cpp -- message boxes with MessageBoxW, falling back to standard error when
// no box can be shown.
#include "platform/message_box.h"

#include <cstdio>
#include <windows.h>

#include "platform/wide_text.h"

MessageBoxAnswer showMessageBox(const char *text, const char *title, MessageBoxKind kind) {
    bool question = kind == MESSAGE_BOX_QUESTION_YES_NO;
    UINT style = question ? MB_YESNO | MB_ICONQUESTION : MB_OK | MB_ICONERROR;
    // No owner window; in front of the gallery window all the same.
    int answer = MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(),
                             style | MB_SETFOREGROUND | MB_TASKMODAL);
    if (answer == 0) {
        fprintf(stderr, "%s: %s%s\n", title, text, question ? " [No]" : "");
        return question ? MESSAGE_BOX_NO : MESSAGE_BOX_OK;
    }
    if (!question)
        return MESSAGE_BOX_OK;
    return answer == IDYES ? MESSAGE_BOX_YES : MESSAGE_BOX_NO;
}
