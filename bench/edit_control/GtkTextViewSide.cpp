// bench_edit_control's GtkTextView side (GTK 3). Keys are key events built as the window system
// delivers them and handed to GTK's event dispatch; a step ends when the view's draw handler has
// run, which GTK schedules on its frame clock.

#include <gtk/gtk.h>

#include "bench/edit_control/EditBenchText.h"
#include "bench/edit_control/EditControlProtocol.h"

namespace {

using namespace kestrel::bench;

int paints = 0;

gboolean CountDraw(GtkWidget*, cairo_t*, gpointer) {
  ++paints;
  return FALSE;
}

void WaitForPaint(int before) {
  const double start = NowMs();
  while (paints == before && NowMs() - start < 2000) g_main_context_iteration(nullptr, FALSE);
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
}

void SendKey(GtkWidget* view, guint keyval) {
  GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(view));
  GdkDisplay* display = gdk_window_get_display(window);
  GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count);
  for (const GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.send_event = FALSE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.keyval = keyval;
    event->key.hardware_keycode = count > 0 ? static_cast<guint16>(keys[0].keycode) : 0;
    event->key.group = count > 0 ? static_cast<guint8>(keys[0].group) : 0;
    gdk_event_set_device(event, keyboard);
    gtk_main_do_event(event);
    gdk_event_free(event);
  }
  g_free(keys);
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  const std::string text = MakeEditBenchText<char>(kLines, "\n");

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), kWidth, kHeight);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD);
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, "textview { font: 13px \"DejaVu Sans Mono\"; }", -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(view), GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  gtk_container_add(GTK_CONTAINER(window), scrolled);
  g_signal_connect_after(view, "draw", G_CALLBACK(CountDraw), nullptr);
  gtk_widget_show_all(window);
  gtk_widget_grab_focus(view);
  WaitForPaint(0);

  EditControlResult r;
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  const double rssBefore = ResidentMb();
  int before = paints;
  double start = NowMs();
  gtk_text_buffer_set_text(buffer, text.data(), static_cast<gint>(text.size()));
  WaitForPaint(before);
  r.openMs = NowMs() - start;
  r.rssMb = ResidentMb() - rssBefore;

  GtkTextIter middle;
  gtk_text_buffer_get_iter_at_line(buffer, &middle, kMiddleLine);
  gtk_text_buffer_place_cursor(buffer, &middle);
  gtk_text_view_scroll_to_mark(GTK_TEXT_VIEW(view), gtk_text_buffer_get_insert(buffer), 0, TRUE, 0, 0.5);
  WaitForPaint(paints);
  const double keysStart = NowMs();
  for (int i = 0; i < kKeystrokes && WithinBudget(keysStart); ++i) {
    const char c = KeystrokeChar(i);
    before = paints;
    start = NowMs();
    SendKey(view, c == ' ' ? GDK_KEY_space : GDK_KEY_a + (c - 'a'));
    WaitForPaint(before);
    r.keyMs.push_back(NowMs() - start);
  }
  const double pagesStart = NowMs();
  for (int i = 0; i < kPages && WithinBudget(pagesStart); ++i) {
    before = paints;
    start = NowMs();
    SendKey(view, GDK_KEY_Page_Down);
    WaitForPaint(before);
    r.pageMs.push_back(NowMs() - start);
  }
  PrintResult("GtkTextView", r);
  return 0;
}
