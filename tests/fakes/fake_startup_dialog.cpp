// fake_startup_dialog.cpp -- the modal dialog played from a script, with in-memory controls.
#include "fakes/fake_startup_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <regex>

#include "platform/embedded_resources.h"

struct PlatformDialog {
    bool ended;
    intptr_t result;
};

std::map<int, FakeControl> fakeDialogControls;
int fakeDialogTemplateId = 0;
std::vector<std::string> fakeChooserTitles;

namespace {

enum ActionKind { ACTION_TYPE, ACTION_SELECT, ACTION_SET_CHECK, ACTION_PRESS };

struct Action {
    ActionKind kind;
    int id;
    int value;
    std::string text;
};

std::vector<Action> script;
std::deque<std::pair<bool, std::string>> chooserAnswers;

// The controls named control_<id> in the dialog description, with their kinds.
bool loadControls(int templateId) {
    const ResourceHandle *found = findResource(templateId, "DIALOG");
    const void *bytes = lockResource(loadResource(found));
    if (bytes == nullptr)
        return false;
    std::string description(static_cast<const char *>(bytes), sizeofResource(found));
    static const std::regex object("<object class=\"(\\w+)\" id=\"control_(\\d+)\"");
    static const std::map<std::string, FakeControlKind> kinds = {{"GtkEntry", FAKE_EDIT},
                                                                 {"GtkComboBoxText", FAKE_COMBO},
                                                                 {"GtkCheckButton", FAKE_CHECK_BOX},
                                                                 {"GtkRadioButton", FAKE_RADIO},
                                                                 {"GtkButton", FAKE_PUSH_BUTTON}};
    fakeDialogControls.clear();
    for (std::sregex_iterator match(description.begin(), description.end(), object), end;
         match != end; ++match) {
        auto kind = kinds.find((*match)[1].str());
        if (kind != kinds.end())
            fakeDialogControls[std::stoi((*match)[2].str())].kind = kind->second;
    }
    return true;
}

// The control with this id when it is of the kind asked for (a radio button answers for a
// check box too); null otherwise.
FakeControl *controlOf(int id, FakeControlKind kind) {
    auto found = fakeDialogControls.find(id);
    if (found == fakeDialogControls.end())
        return nullptr;
    FakeControlKind actual = found->second.kind;
    if (actual == kind || (kind == FAKE_CHECK_BOX && actual == FAKE_RADIO))
        return &found->second;
    return nullptr;
}

void perform(PlatformDialog *dialog, DialogProc proc, const Action &action) {
    switch (action.kind) {
    case ACTION_TYPE:
        if (FakeControl *edit = controlOf(action.id, FAKE_EDIT))
            edit->text = action.text;
        break;
    case ACTION_SELECT:
        comboSetCurSel(dialog, action.id, action.value);
        break;
    case ACTION_SET_CHECK:
        checkDlgButton(dialog, action.id, action.value ? BST_CHECKED : BST_UNCHECKED);
        break;
    case ACTION_PRESS:
        if (controlOf(action.id, FAKE_PUSH_BUTTON) != nullptr)
            proc(dialog, WM_COMMAND, static_cast<uintptr_t>(action.id), 0);
        break;
    }
}

} // namespace

void scriptDialogType(int id, const char *text) {
    script.push_back({ACTION_TYPE, id, 0, text});
}

void scriptDialogSelect(int id, int index) {
    script.push_back({ACTION_SELECT, id, index, ""});
}

void scriptDialogSetCheck(int id, bool checked) {
    script.push_back({ACTION_SET_CHECK, id, checked ? 1 : 0, ""});
}

void scriptDialogPress(int id) {
    script.push_back({ACTION_PRESS, id, 0, ""});
}

void scriptChooserAnswer(const char *folder) {
    chooserAnswers.emplace_back(folder != nullptr, folder != nullptr ? folder : "");
}

void resetFakeStartupDialog() {
    fakeDialogControls.clear();
    fakeDialogTemplateId = 0;
    fakeChooserTitles.clear();
    script.clear();
    chooserAnswers.clear();
}

intptr_t dialogBoxParam(int templateId, DialogProc proc, intptr_t initParam) {
    fakeDialogTemplateId = templateId;
    if (!loadControls(templateId))
        return -1;
    PlatformDialog dialog = {false, 0};
    proc(&dialog, WM_INITDIALOG, 0, initParam);
    for (size_t i = 0; i < script.size() && !dialog.ended; ++i)
        perform(&dialog, proc, script[i]);
    script.clear();
    return dialog.ended ? dialog.result : -1;
}

bool endDialog(DialogHandle *dialog, intptr_t result) {
    dialog->ended = true;
    dialog->result = result;
    return true;
}

bool setDlgItemText(DialogHandle *, int id, const char *text) {
    FakeControl *edit = controlOf(id, FAKE_EDIT);
    if (edit == nullptr)
        return false;
    edit->text = text;
    return true;
}

unsigned getDlgItemText(DialogHandle *, int id, char *buffer, int size) {
    if (size <= 0)
        return 0;
    FakeControl *edit = controlOf(id, FAKE_EDIT);
    size_t length = edit != nullptr ? std::min(edit->text.size(), size_t(size - 1)) : 0;
    if (length > 0)
        memcpy(buffer, edit->text.data(), length);
    buffer[length] = '\0';
    return static_cast<unsigned>(length);
}

void comboResetContent(DialogHandle *, int id) {
    if (FakeControl *combo = controlOf(id, FAKE_COMBO)) {
        combo->items.clear();
        combo->selection = CB_ERR;
    }
}

int comboInsertString(DialogHandle *, int id, int index, const char *text) {
    FakeControl *combo = controlOf(id, FAKE_COMBO);
    if (combo == nullptr || index > static_cast<int>(combo->items.size()))
        return CB_ERR;
    int position = index < 0 ? static_cast<int>(combo->items.size()) : index;
    combo->items.insert(combo->items.begin() + position, text);
    return position;
}

int comboSetCurSel(DialogHandle *, int id, int index) {
    FakeControl *combo = controlOf(id, FAKE_COMBO);
    if (combo == nullptr)
        return CB_ERR;
    combo->selection = index >= 0 && index < static_cast<int>(combo->items.size()) ? index : CB_ERR;
    return combo->selection;
}

int comboGetCurSel(DialogHandle *, int id) {
    FakeControl *combo = controlOf(id, FAKE_COMBO);
    return combo != nullptr ? combo->selection : CB_ERR;
}

void checkDlgButton(DialogHandle *, int id, unsigned state) {
    if (FakeControl *button = controlOf(id, FAKE_CHECK_BOX))
        button->check = state;
}

unsigned isDlgButtonChecked(DialogHandle *, int id) {
    FakeControl *button = controlOf(id, FAKE_CHECK_BOX);
    return button != nullptr ? button->check : BST_UNCHECKED;
}

bool browseForFolder(DialogHandle *, const char *title, char *path, size_t size) {
    fakeChooserTitles.push_back(title);
    if (chooserAnswers.empty())
        return false;
    std::pair<bool, std::string> answer = chooserAnswers.front();
    chooserAnswers.pop_front();
    if (!answer.first)
        return false;
    snprintf(path, size, "%s", answer.second.c_str());
    return true;
}
