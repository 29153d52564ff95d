// startup_dialog.h -- a modal dialog built from an embedded dialog description and driven by a
// dialog procedure of the logic, with the control accessors that procedure uses.
#pragma once
#include <cstddef>
#include <cstdint>

// Opaque handle of the open dialog; valid only while the procedure runs.
typedef struct PlatformDialog DialogHandle;

// Messages the dialog procedure receives. WM_COMMAND: low word of wParam = the id of the push
// button that was pressed (1 OK; 2 Cancel, also sent for Escape and the close box). On Windows
// these are the system's own names, which windows.h defines where a file includes it.
#ifndef WM_INITDIALOG
enum : unsigned { WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111 };
enum : int { IDOK = 1, IDCANCEL = 2 };

// A combo box with no selection, or a failed combo box operation.
enum : int { CB_ERR = -1 };
// Check box and radio button states.
enum : unsigned { BST_UNCHECKED = 0, BST_CHECKED = 1 };
#endif

// Returns true for WM_INITDIALOG when the default focus is to be used; false otherwise.
typedef bool (*DialogProc)(DialogHandle *dialog, unsigned message, uintptr_t wParam,
                           intptr_t lParam);

// Shows the dialog described by the embedded resource (templateId, "DIALOG") centred on the
// screen, without an owner, and waits until the procedure calls endDialog. The procedure gets
// WM_INITDIALOG (lParam = initParam) before the dialog appears. Returns the endDialog result,
// or -1 when the dialog cannot be shown (no display, no description).
intptr_t dialogBoxParam(int templateId, DialogProc proc, intptr_t initParam);

// Ends the dialog once the procedure returns; dialogBoxParam then returns result.
bool endDialog(DialogHandle *dialog, intptr_t result);

// Edit boxes. getDlgItemText copies at most size - 1 bytes, always terminates the buffer and
// returns the number of bytes copied.
bool setDlgItemText(DialogHandle *dialog, int id, const char *text);
unsigned getDlgItemText(DialogHandle *dialog, int id, char *buffer, int size);

// Drop-down lists. Inserting at index -1 appends; the list is never sorted. The results are
// the new entry's index, or the selection (CB_ERR when nothing is selected).
void comboResetContent(DialogHandle *dialog, int id);
int comboInsertString(DialogHandle *dialog, int id, int index, const char *text);
int comboSetCurSel(DialogHandle *dialog, int id, int index);
int comboGetCurSel(DialogHandle *dialog, int id);

// Check boxes and radio buttons (BST_CHECKED or BST_UNCHECKED).
void checkDlgButton(DialogHandle *dialog, int id, unsigned state);
unsigned isDlgButtonChecked(DialogHandle *dialog, int id);

// The folder chooser, modal over the dialog, opening in the current directory. When the user picks
// a folder its path is written into path (cut to size - 1 bytes) and the result is true; when the
// user cancels, path is left alone and the result is false.
bool browseForFolder(DialogHandle *owner, const char *title, char *path, size_t size);
