// message_box.h -- modal message boxes with no owner window. When no box can be shown (no
// display), the title and text go to standard error instead, so no message is lost.
#pragma once

enum MessageBoxKind {
    MESSAGE_BOX_ERROR,          // error icon, one OK button
    MESSAGE_BOX_QUESTION_YES_NO // question icon, Yes and No buttons
};

enum MessageBoxAnswer { MESSAGE_BOX_OK = 1, MESSAGE_BOX_YES = 6, MESSAGE_BOX_NO = 7 };

// Shows the box and waits for the answer.
MessageBoxAnswer showMessageBox(const char *text, const char *title, MessageBoxKind kind);
