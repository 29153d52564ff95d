// fake_message_box.h -- records every message box the logic shows; scripts Yes/No answers.
#pragma once
#include <string>
#include <vector>
#include "platform/message_box.h"

struct ShownMessageBox {
    std::string text;
    std::string title;
    MessageBoxKind kind;
};

// Every box shown since the last reset, in order.
extern std::vector<ShownMessageBox> shownMessageBoxes;

// The answer the next Yes/No questions get (Yes unless set).
extern MessageBoxAnswer fakeQuestionAnswer;

void resetFakeMessageBoxes();
