// startup_dialog_win32.cpp -- the modal dialog from the DIALOGEX template in the program's
// resources, through DialogBoxParamW; the folder chooser is SHBrowseForFolderW.
#include "platform/startup_dialog.h"

#include <cstring>
#include <string>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/wide_text.h"

struct PlatformDialog {
    HWND window;
    DialogProc proc;
    intptr_t initParam;
};

namespace {

INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        PlatformDialog *dialog = reinterpret_cast<PlatformDialog *>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, (LONG_PTR)dialog);
        dialog->window = window;
        return dialog->proc(dialog, WM_INITDIALOG, wParam, dialog->initParam) ? TRUE : FALSE;
    }
    PlatformDialog *dialog =
        reinterpret_cast<PlatformDialog *>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr)
        return FALSE;
    // Enter (the default button), Escape and the close box arrive as WM_COMMAND with IDOK or
    // IDCANCEL through the system's dialog handling.
    if (message == WM_COMMAND) {
        dialog->proc(dialog, WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

// The chooser opens at the current directory.
int CALLBACK browseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

intptr_t dialogBoxParam(int templateId, DialogProc proc, intptr_t initParam) {
    PlatformDialog dialog = {nullptr, proc, initParam};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr,
                           dialogProcedure, (LPARAM)&dialog);
}

bool endDialog(DialogHandle *dialog, intptr_t result) {
    return EndDialog(dialog->window, result) != 0;
}

bool setDlgItemText(DialogHandle *dialog, int id, const char *text) {
    return SetDlgItemTextW(dialog->window, id, widen(text).c_str()) != 0;
}

unsigned getDlgItemText(DialogHandle *dialog, int id, char *buffer, int size) {
    if (size <= 0)
        return 0;
    HWND control = GetDlgItem(dialog->window, id);
    int length = control != nullptr ? GetWindowTextLengthW(control) : 0;
    std::wstring text((size_t)length + 1, L'\0');
    GetWindowTextW(control, &text[0], length + 1);
    narrowInto(text.c_str(), buffer, (size_t)size);
    return (unsigned)strlen(buffer);
}

void comboResetContent(DialogHandle *dialog, int id) {
    SendDlgItemMessageW(dialog->window, id, CB_RESETCONTENT, 0, 0);
}

int comboInsertString(DialogHandle *dialog, int id, int index, const char *text) {
    std::wstring wide = widen(text);
    return (int)SendDlgItemMessageW(dialog->window, id, CB_INSERTSTRING, (WPARAM)index,
                                    (LPARAM)wide.c_str());
}

int comboSetCurSel(DialogHandle *dialog, int id, int index) {
    return (int)SendDlgItemMessageW(dialog->window, id, CB_SETCURSEL, (WPARAM)index, 0);
}

int comboGetCurSel(DialogHandle *dialog, int id) {
    return (int)SendDlgItemMessageW(dialog->window, id, CB_GETCURSEL, 0, 0);
}

void checkDlgButton(DialogHandle *dialog, int id, unsigned state) {
    CheckDlgButton(dialog->window, id, state);
}

unsigned isDlgButtonChecked(DialogHandle *dialog, int id) {
    return IsDlgButtonChecked(dialog->window, id);
}

bool browseForFolder(DialogHandle *owner, const char *title, char *path, size_t size) {
    // The shell's dialogs want a single-threaded apartment on the calling thread.
    HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t start[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, start);
    std::wstring wideTitle = widen(title);
    BROWSEINFOW info = {};
    info.hwndOwner = owner != nullptr ? owner->window : nullptr;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = browseCallback;
    info.lParam = (LPARAM)start;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    bool picked = chosen != nullptr;
    if (picked) {
        wchar_t folder[MAX_PATH] = L"";
        SHGetPathFromIDListW(chosen, folder);
        narrowInto(folder, path, size);
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return picked;
}
