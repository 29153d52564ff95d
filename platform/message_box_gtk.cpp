// message_box_gtk.cpp -- message boxes as modal GTK message dialogs, falling back to standard
// error when no display can be opened.
#include "platform/message_box.h"

#include <cstdio>
#include <gtk/gtk.h>

// Lets the window system catch up, so a closed box is really gone before the caller goes on.
static void flushEvents() {
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

// GTK 3 message dialogs no longer show a sign of their own: the error or question sign is put
// before the text, in the row that holds the text.
static void showSign(GtkWidget *box, const char *iconName) {
    GtkWidget *text = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box));
    GtkWidget *row = gtk_widget_get_parent(text);
    if (row == nullptr || !GTK_IS_BOX(row))
        return;
    GtkWidget *sign = gtk_image_new_from_icon_name(iconName, GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(sign, GTK_ALIGN_START);
    gtk_box_pack_start(GTK_BOX(row), sign, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(row), sign, 0);
    gtk_widget_show(sign);
}

MessageBoxAnswer showMessageBox(const char *text, const char *title, MessageBoxKind kind) {
    bool question = kind == MESSAGE_BOX_QUESTION_YES_NO;
    if (!gtk_init_check(nullptr, nullptr)) {
        // Nobody can answer a question: take No, the answer that changes nothing.
        fprintf(stderr, "%s: %s%s\n", title, text, question ? " [No]" : "");
        return question ? MESSAGE_BOX_NO : MESSAGE_BOX_OK;
    }
    GtkWidget *box = gtk_message_dialog_new(
        nullptr, GTK_DIALOG_MODAL, question ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_ERROR,
        question ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), title);
    showSign(box, question ? "dialog-question" : "dialog-error");
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    // Not hidden behind a gallery window, which has no part in the box.
    gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(box), question ? GTK_RESPONSE_YES : GTK_RESPONSE_OK);
    // Escape and the close box answer with the delete-event response: No for the question.
    gint response = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    flushEvents();
    if (!question)
        return MESSAGE_BOX_OK;
    return response == GTK_RESPONSE_YES ? MESSAGE_BOX_YES : MESSAGE_BOX_NO;
}
