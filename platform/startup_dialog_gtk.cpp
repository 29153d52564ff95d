// startup_dialog_gtk.cpp -- the modal dialog with GTK 3: built from the embedded GtkBuilder
// description, its push buttons, Escape and the close box turned into WM_COMMAND messages.
#include "platform/startup_dialog.h"

#include <cstdio>
#include <cstring>
#include <gtk/gtk.h>

#include "platform/embedded_resources.h"

struct PlatformDialog {
    GtkBuilder *builder;
    GtkWidget *window;
    DialogProc proc;
    bool ended;
    intptr_t result;
};

namespace {

// Push buttons carry their control id to the "clicked" handler.
struct ButtonBinding {
    PlatformDialog *dialog;
    int id;
};

GObject *control(DialogHandle *dialog, int id) {
    char name[32];
    snprintf(name, sizeof name, "control_%d", id);
    return gtk_builder_get_object(dialog->builder, name);
}

template <typename Widget> Widget *controlAs(DialogHandle *dialog, int id, GType type) {
    GObject *object = control(dialog, id);
    if (object == nullptr || !G_TYPE_CHECK_INSTANCE_TYPE(object, type))
        return nullptr;
    return reinterpret_cast<Widget *>(object);
}

void sendCommand(PlatformDialog *dialog, int id) {
    if (!dialog->ended)
        dialog->proc(dialog, WM_COMMAND, static_cast<uintptr_t>(id), 0);
}

void onButtonClicked(GtkButton *, gpointer data) {
    ButtonBinding *binding = static_cast<ButtonBinding *>(data);
    sendCommand(binding->dialog, binding->id);
}

void freeBinding(gpointer data, GClosure *) {
    delete static_cast<ButtonBinding *>(data);
}

// Escape and the close box reach the dialog as a delete-event response: they mean Cancel. The
// dialog's own delete handler keeps the window alive, so only the procedure closes it.
void onResponse(GtkDialog *, gint response, gpointer data) {
    if (response == GTK_RESPONSE_DELETE_EVENT)
        sendCommand(static_cast<PlatformDialog *>(data), IDCANCEL);
}

// Every plain push button named control_<id> sends WM_COMMAND with its id when clicked; check
// boxes and radio buttons keep their state to themselves.
void bindPushButtons(PlatformDialog *dialog) {
    GSList *objects = gtk_builder_get_objects(dialog->builder);
    for (GSList *item = objects; item != nullptr; item = item->next) {
        GObject *object = G_OBJECT(item->data);
        if (!GTK_IS_BUTTON(object) || GTK_IS_TOGGLE_BUTTON(object))
            continue;
        int id = 0;
        const char *name = gtk_buildable_get_name(GTK_BUILDABLE(object));
        if (name == nullptr || sscanf(name, "control_%d", &id) != 1)
            continue;
        g_signal_connect_data(object, "clicked", G_CALLBACK(onButtonClicked),
                              new ButtonBinding{dialog, id}, freeBinding, GConnectFlags(0));
    }
    g_slist_free(objects);
}

// A check box of style class "text-left" is mirrored, so its text stands left of its box; its
// alignment is mirrored too, so the button itself stays where the description puts it.
void placeTextLeftOfBox(PlatformDialog *dialog) {
    GSList *objects = gtk_builder_get_objects(dialog->builder);
    for (GSList *item = objects; item != nullptr; item = item->next) {
        GObject *object = G_OBJECT(item->data);
        if (!GTK_IS_CHECK_BUTTON(object))
            continue;
        GtkWidget *button = GTK_WIDGET(object);
        if (!gtk_style_context_has_class(gtk_widget_get_style_context(button), "text-left"))
            continue;
        gtk_widget_set_direction(button, GTK_TEXT_DIR_RTL);
        GtkAlign align = gtk_widget_get_halign(button);
        if (align == GTK_ALIGN_START)
            gtk_widget_set_halign(button, GTK_ALIGN_END);
        else if (align == GTK_ALIGN_END)
            gtk_widget_set_halign(button, GTK_ALIGN_START);
    }
    g_slist_free(objects);
}

GtkBuilder *builderFromResource(int templateId) {
    const ResourceHandle *found = findResource(templateId, "DIALOG");
    const void *bytes = lockResource(loadResource(found));
    if (bytes == nullptr)
        return nullptr;
    GtkBuilder *builder = gtk_builder_new();
    GError *error = nullptr;
    if (gtk_builder_add_from_string(builder, static_cast<const char *>(bytes),
                                    sizeofResource(found), &error) == 0) {
        fprintf(stderr, "ERROR: dialog %d: %s\n", templateId, error->message);
        g_error_free(error);
        g_object_unref(builder);
        return nullptr;
    }
    return builder;
}

// Lets the window system catch up, so a closed window is really gone.
void flushEvents() {
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

// Says in one line why no display could be opened.
void reportNoDisplay() {
    const char *display = g_getenv("WAYLAND_DISPLAY");
    if (display == nullptr || display[0] == '\0')
        display = g_getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0')
        fprintf(stderr, "ERROR: No display to show the startup dialog on (DISPLAY is not set).\n");
    else
        fprintf(stderr, "ERROR: Cannot open display \"%s\" to show the startup dialog.\n", display);
}

} // namespace

intptr_t dialogBoxParam(int templateId, DialogProc proc, intptr_t initParam) {
    if (!gtk_init_check(nullptr, nullptr)) {
        reportNoDisplay();
        return -1;
    }
    GtkBuilder *builder = builderFromResource(templateId);
    if (builder == nullptr)
        return -1;
    GObject *window = gtk_builder_get_object(builder, "dialog");
    if (window == nullptr || !GTK_IS_DIALOG(window)) {
        fprintf(stderr, "ERROR: dialog %d: no dialog window in its description\n", templateId);
        g_object_unref(builder);
        return -1;
    }

    PlatformDialog dialog = {builder, GTK_WIDGET(window), proc, false, 0};
    bindPushButtons(&dialog);
    g_signal_connect(window, "response", G_CALLBACK(onResponse), &dialog);
    placeTextLeftOfBox(&dialog);

    proc(&dialog, WM_INITDIALOG, 0, initParam);
    if (!dialog.ended) {
        gtk_widget_show(dialog.window);
        while (!dialog.ended)
            gtk_main_iteration_do(TRUE);
    }

    gtk_widget_destroy(dialog.window);
    g_object_unref(builder);
    flushEvents();
    return dialog.result;
}

bool endDialog(DialogHandle *dialog, intptr_t result) {
    if (dialog == nullptr)
        return false;
    dialog->ended = true;
    dialog->result = result;
    return true;
}

bool setDlgItemText(DialogHandle *dialog, int id, const char *text) {
    GtkEntry *entry = controlAs<GtkEntry>(dialog, id, GTK_TYPE_ENTRY);
    if (entry == nullptr)
        return false;
    // The entry shows UTF-8 only, so a file name in another encoding is shown converted, and
    // its exact bytes are kept for reading back as long as the text stays as shown.
    gchar *shown = g_filename_display_name(text);
    gtk_entry_set_text(entry, shown);
    g_object_set_data_full(G_OBJECT(entry), "shown-text", shown, g_free);
    g_object_set_data_full(G_OBJECT(entry), "file-name-bytes", g_strdup(text), g_free);
    return true;
}

unsigned getDlgItemText(DialogHandle *dialog, int id, char *buffer, int size) {
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    GtkEntry *entry = controlAs<GtkEntry>(dialog, id, GTK_TYPE_ENTRY);
    if (entry == nullptr)
        return 0;
    // Unedited text gives back the bytes it was set from; typed text is converted into the
    // file-name encoding (kept as typed when it cannot be).
    const char *text = gtk_entry_get_text(entry);
    const char *shown = static_cast<const char *>(g_object_get_data(G_OBJECT(entry), "shown-text"));
    gchar *converted = nullptr;
    const char *bytes = text;
    if (shown != nullptr && strcmp(text, shown) == 0)
        bytes = static_cast<const char *>(g_object_get_data(G_OBJECT(entry), "file-name-bytes"));
    else if ((converted = g_filename_from_utf8(text, -1, nullptr, nullptr, nullptr)) != nullptr)
        bytes = converted;
    size_t length = strnlen(bytes, static_cast<size_t>(size) - 1);
    memcpy(buffer, bytes, length);
    buffer[length] = '\0';
    g_free(converted);
    return static_cast<unsigned>(length);
}

void comboResetContent(DialogHandle *dialog, int id) {
    GtkComboBoxText *combo = controlAs<GtkComboBoxText>(dialog, id, GTK_TYPE_COMBO_BOX_TEXT);
    if (combo != nullptr)
        gtk_combo_box_text_remove_all(combo);
}

int comboInsertString(DialogHandle *dialog, int id, int index, const char *text) {
    GtkComboBoxText *combo = controlAs<GtkComboBoxText>(dialog, id, GTK_TYPE_COMBO_BOX_TEXT);
    if (combo == nullptr)
        return CB_ERR;
    GtkTreeModel *model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
    int count = gtk_tree_model_iter_n_children(model, nullptr);
    if (index > count)
        return CB_ERR;
    int position = index < 0 ? count : index;
    gtk_combo_box_text_insert_text(combo, position, text);
    return position;
}

int comboSetCurSel(DialogHandle *dialog, int id, int index) {
    GtkComboBox *combo = controlAs<GtkComboBox>(dialog, id, GTK_TYPE_COMBO_BOX);
    if (combo == nullptr)
        return CB_ERR;
    GtkTreeModel *model = gtk_combo_box_get_model(combo);
    if (index < 0 || index >= gtk_tree_model_iter_n_children(model, nullptr)) {
        gtk_combo_box_set_active(combo, -1);
        return CB_ERR;
    }
    gtk_combo_box_set_active(combo, index);
    return index;
}

int comboGetCurSel(DialogHandle *dialog, int id) {
    GtkComboBox *combo = controlAs<GtkComboBox>(dialog, id, GTK_TYPE_COMBO_BOX);
    if (combo == nullptr)
        return CB_ERR;
    int active = gtk_combo_box_get_active(combo);
    return active < 0 ? CB_ERR : active;
}

// Checking a radio button unchecks the others of its group.
void checkDlgButton(DialogHandle *dialog, int id, unsigned state) {
    GtkToggleButton *button = controlAs<GtkToggleButton>(dialog, id, GTK_TYPE_TOGGLE_BUTTON);
    if (button != nullptr)
        gtk_toggle_button_set_active(button, state == BST_CHECKED);
}

unsigned isDlgButtonChecked(DialogHandle *dialog, int id) {
    GtkToggleButton *button = controlAs<GtkToggleButton>(dialog, id, GTK_TYPE_TOGGLE_BUTTON);
    if (button == nullptr)
        return BST_UNCHECKED;
    return gtk_toggle_button_get_active(button) ? BST_CHECKED : BST_UNCHECKED;
}

bool browseForFolder(DialogHandle *owner, const char *title, char *path, size_t size) {
    GtkWindow *parent = owner != nullptr ? GTK_WINDOW(owner->window) : nullptr;
    GtkWidget *chooser =
        gtk_file_chooser_dialog_new(title, parent, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    // It opens in the folder the program runs in, the folder the edit box starts with.
    gchar *start = g_get_current_dir();
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), start);
    g_free(start);
    bool picked = false;
    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        // A place with no local path (a network share not mounted) counts as no choice.
        gchar *folder = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        if (folder != nullptr && size > 0) {
            snprintf(path, size, "%s", folder);
            picked = true;
        }
        g_free(folder);
    }
    gtk_widget_destroy(chooser);
    flushEvents();
    return picked;
}
