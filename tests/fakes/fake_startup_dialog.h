// fake_startup_dialog.h -- a dialog whose controls live in memory: the controls come from the
// embedded dialog description, and a test scripts what the user does and reads the outcome.
#pragma once
#include <map>
#include <string>
#include <vector>
#include "platform/startup_dialog.h"

enum FakeControlKind { FAKE_EDIT, FAKE_COMBO, FAKE_CHECK_BOX, FAKE_RADIO, FAKE_PUSH_BUTTON };

struct FakeControl {
    FakeControlKind kind;
    std::string text;               // edit boxes
    std::vector<std::string> items; // drop-down lists, in list order
    int selection = CB_ERR;
    unsigned check = BST_UNCHECKED;
};

// The controls of the last dialog shown, by id, as they were when it closed.
extern std::map<int, FakeControl> fakeDialogControls;
// The description the last dialog was built from, and the title of every folder chooser
// opened since the last reset.
extern int fakeDialogTemplateId;
extern std::vector<std::string> fakeChooserTitles;

// The user's actions, carried out in order after WM_INITDIALOG until the dialog ends. A script
// that runs out before the dialog ends makes dialogBoxParam return -1.
void scriptDialogType(int id, const char *text); // replaces the edit box's text
void scriptDialogSelect(int id, int index);      // CB_ERR clears the selection
void scriptDialogSetCheck(int id, bool checked); // this button only, its group untouched
void scriptDialogPress(int id);                  // presses a push button: WM_COMMAND
// The answers of the folder choosers, in order: a folder, or nullptr for Cancel. A chooser
// with no scripted answer is cancelled.
void scriptChooserAnswer(const char *folder);

void resetFakeStartupDialog();
