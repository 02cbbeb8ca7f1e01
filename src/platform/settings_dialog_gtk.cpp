// The settings dialog in GTK 3: banner, mode and aspect lists, two check boxes,
// Go and Leave, in a small untitled window centred on the screen.
#include "platform/settings_dialog_ui.h"

#include <SDL.h>
#include <gtk/gtk.h>

namespace platform {

namespace {

struct Control {
    GtkWidget* widget;
    bool tabStop;
};

struct Dialog {
    GtkWidget* window = nullptr;
    GtkWidget* modeList = nullptr;
    GtkWidget* aspectList = nullptr;
    GtkWidget* fullscreenBox = nullptr;
    GtkWidget* antiAliasBox = nullptr;
    GtkWidget* goButton = nullptr;
    GtkWidget* leaveButton = nullptr;
    std::vector<Control> tabOrder;
    SettingsDialogOutcome* outcome = nullptr;
    bool done = false;
};

bool gtkStarted = false;

// A pixbuf decoded from PNG bytes, or null when there are none or they do not decode.
GdkPixbuf* pixbufFromPng(const unsigned char* bytes, std::size_t size)
{
    if (!bytes || size == 0)
        return nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (!loader)
        return nullptr;
    bool written = gdk_pixbuf_loader_write(loader, bytes, size, nullptr);
    bool closed = gdk_pixbuf_loader_close(loader, nullptr); // always closed, even after a failed write
    GdkPixbuf* pixbuf = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (pixbuf)
        g_object_ref(pixbuf);
    g_object_unref(loader);
    return pixbuf;
}

void finish(Dialog& d, bool go)
{
    if (d.done)
        return;
    d.done = true;
    SettingsDialogOutcome& out = *d.outcome;
    out.go = go;
    if (!go)
        return;
    out.modeEntry = gtk_combo_box_get_active(GTK_COMBO_BOX(d.modeList));
    GtkWidget* entry = gtk_bin_get_child(GTK_BIN(d.modeList));
    out.modeText = gtk_entry_get_text(GTK_ENTRY(entry));
    out.aspect = gtk_combo_box_get_active(GTK_COMBO_BOX(d.aspectList));
    out.fullscreen = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(d.fullscreenBox));
    out.antiAlias = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(d.antiAliasBox));
}

void onGo(GtkButton*, gpointer data)
{
    finish(*static_cast<Dialog*>(data), true);
}

void onLeave(GtkButton*, gpointer data)
{
    finish(*static_cast<Dialog*>(data), false);
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    finish(*static_cast<Dialog*>(data), false);
    return TRUE; // the window is destroyed once the loop has ended
}

void onDestroy(GtkWidget*, gpointer data)
{
    Dialog& d = *static_cast<Dialog*>(data);
    finish(d, false);
    d.window = nullptr;
}

// Index in the tab order of the control holding the focus, -1 when none does.
int focusedControl(const Dialog& d)
{
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(d.window));
    if (!focus)
        return -1;
    for (size_t i = 0; i < d.tabOrder.size(); ++i) {
        GtkWidget* w = d.tabOrder[i].widget;
        if (focus == w || gtk_widget_is_ancestor(focus, w))
            return static_cast<int>(i);
    }
    return -1;
}

// Tab walks the controls in the dialog's own order, skipping those without a tab stop.
void moveFocus(Dialog& d, int step)
{
    int n = static_cast<int>(d.tabOrder.size());
    int i = focusedControl(d);
    if (i < 0)
        i = step > 0 ? -1 : n;
    for (int k = 0; k < n; ++k) {
        i = (i + step + n) % n;
        if (d.tabOrder[i].tabStop) {
            gtk_widget_grab_focus(d.tabOrder[i].widget);
            return;
        }
    }
}

gboolean onKey(GtkWidget*, GdkEventKey* event, gpointer data)
{
    Dialog& d = *static_cast<Dialog*>(data);
    switch (event->keyval) {
    case GDK_KEY_Escape:
        finish(d, false); // Escape is Leave
        return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        // Return presses the focused push button, else the default one, Go.
        finish(d, gtk_window_get_focus(GTK_WINDOW(d.window)) != d.leaveButton);
        return TRUE;
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab: {
        bool back = event->keyval == GDK_KEY_ISO_Left_Tab || (event->state & GDK_SHIFT_MASK);
        moveFocus(d, back ? -1 : 1);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// A quit signal (Ctrl-C, SIGTERM) reaches SDL, not GTK: the dialog ends as if left.
gboolean pollQuit(gpointer data)
{
    if (SDL_QuitRequested())
        finish(*static_cast<Dialog*>(data), false);
    return G_SOURCE_CONTINUE;
}

GtkWidget* groupBox(GtkWidget* contents)
{
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
    gtk_container_set_border_width(GTK_CONTAINER(contents), 4);
    gtk_container_add(GTK_CONTAINER(frame), contents);
    return frame;
}

void build(Dialog& d, const SettingsDialogContent& content)
{
    d.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(d.window);
    gtk_window_set_title(window, ""); // no title text
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_keep_above(window, TRUE);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    // A small face keeps the dialog compact.
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, "* { font-family: Arial, Sans; font-size: 9pt; }", -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(d.window), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    if (GdkPixbuf* icon = pixbufFromPng(content.icon, content.iconSize)) {
        gtk_window_set_icon(window, icon);
        g_object_unref(icon);
    }

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    gtk_container_set_border_width(GTK_CONTAINER(column), 6);
    gtk_container_add(GTK_CONTAINER(d.window), column);

    // Banner at the top, sunken into the dialog.
    if (GdkPixbuf* banner = pixbufFromPng(content.banner, content.bannerSize)) {
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
        gtk_widget_set_halign(frame, GTK_ALIGN_CENTER);
        gtk_container_add(GTK_CONTAINER(frame), gtk_image_new_from_pixbuf(banner));
        gtk_box_pack_start(GTK_BOX(column), frame, FALSE, FALSE, 0);
        g_object_unref(banner);
    }

    // The mode list takes typed text; the aspect list below it does not.
    GtkWidget* lists = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
    d.modeList = gtk_combo_box_text_new_with_entry();
    for (const std::string& text : content.modeTexts)
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(d.modeList), text.c_str());
    gtk_combo_box_set_active(GTK_COMBO_BOX(d.modeList), content.mode);
    gtk_entry_set_width_chars(GTK_ENTRY(gtk_bin_get_child(GTK_BIN(d.modeList))), 22);
    gtk_box_pack_start(GTK_BOX(lists), d.modeList, FALSE, FALSE, 0);
    d.aspectList = gtk_combo_box_text_new();
    for (const std::string& text : content.aspectTexts)
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(d.aspectList), text.c_str());
    gtk_combo_box_set_active(GTK_COMBO_BOX(d.aspectList), content.aspect);
    gtk_widget_set_halign(d.aspectList, GTK_ALIGN_END);
    gtk_box_pack_start(GTK_BOX(lists), d.aspectList, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), groupBox(lists), FALSE, FALSE, 0);

    // Anti Alias on the left, Fullscreen on the right.
    GtkWidget* boxes = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    d.fullscreenBox = gtk_check_button_new_with_label(content.fullscreenText);
    d.antiAliasBox = gtk_check_button_new_with_label(content.antiAliasText);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(d.fullscreenBox), content.fullscreen);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(d.antiAliasBox), content.antiAlias);
    gtk_box_pack_start(GTK_BOX(boxes), d.antiAliasBox, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(boxes), d.fullscreenBox, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), groupBox(boxes), FALSE, FALSE, 0);

    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    gtk_box_set_homogeneous(GTK_BOX(buttons), TRUE);
    d.goButton = gtk_button_new_with_label(content.goText);
    d.leaveButton = gtk_button_new_with_label(content.leaveText);
    gtk_box_pack_start(GTK_BOX(buttons), d.goButton, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), d.leaveButton, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(column), buttons, FALSE, FALSE, 0);
    gtk_widget_set_can_default(d.goButton, TRUE);
    gtk_window_set_default(window, d.goButton);

    // The dialog's own order: the mode field takes no tab stop.
    d.tabOrder = {{d.goButton, true},      {d.leaveButton, true},   {d.aspectList, true},
                  {d.modeList, false},     {d.fullscreenBox, true}, {d.antiAliasBox, true}};

    g_signal_connect(d.goButton, "clicked", G_CALLBACK(onGo), &d);
    g_signal_connect(d.leaveButton, "clicked", G_CALLBACK(onLeave), &d);
    g_signal_connect(d.window, "delete-event", G_CALLBACK(onDelete), &d);
    g_signal_connect(d.window, "destroy", G_CALLBACK(onDestroy), &d);
    g_signal_connect(d.window, "key-press-event", G_CALLBACK(onKey), &d);
}

} // namespace

bool runSettingsDialog(const SettingsDialogContent& content, SettingsDialogOutcome& outcome,
                       std::string& error)
{
    outcome = SettingsDialogOutcome();
    if (!gtkStarted) {
        // The rest of the program reads and prints numbers in the C locale.
        gtk_disable_setlocale();
        if (!gtk_init_check(nullptr, nullptr)) {
            error = "GTK cannot open the display";
            return false;
        }
        gtkStarted = true;
    }

    Dialog d;
    d.outcome = &outcome;
    build(d, content);
    gtk_widget_show_all(d.window);
    gtk_window_present(GTK_WINDOW(d.window));
    // Focus on the first control of the tab order, Go; showing the window
    // focused the mode field on the way and selected its text, which is undone.
    gtk_widget_grab_focus(d.goButton);
    gtk_editable_select_region(GTK_EDITABLE(gtk_bin_get_child(GTK_BIN(d.modeList))), 0, 0);
    guint quitPoll = g_timeout_add(100, pollQuit, &d);

    while (!d.done)
        gtk_main_iteration_do(TRUE);

    g_source_remove(quitPoll);
    if (d.window)
        gtk_widget_destroy(d.window);
    // Let the window go from the screen before the show's own window opens.
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    gdk_display_flush(gdk_display_get_default());
    return true;
}

} // namespace platform
