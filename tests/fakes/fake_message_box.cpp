// fake_message_box.cpp -- message boxes that are recorded instead of shown.
#include "fakes/fake_message_box.h"

std::vector<ShownMessageBox> shownMessageBoxes;
MessageBoxAnswer fakeQuestionAnswer = MESSAGE_BOX_YES;

MessageBoxAnswer showMessageBox(const char *text, const char *title, MessageBoxKind kind) {
    shownMessageBoxes.push_back({text, title, kind});
    return kind == MESSAGE_BOX_ERROR ? MESSAGE_BOX_OK : fakeQuestionAnswer;
}

void resetFakeMessageBoxes() {
    shownMessageBoxes.clear();
    fakeQuestionAnswer = MESSAGE_BOX_YES;
}
