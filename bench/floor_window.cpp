// The least a GTK 3 program can do to show a message as mailview does:
// standard input in a scrolled, word-wrapping, monospace text view, one
// button under it that ends the program. The benchmarks' floor; without a
// display it ends once it has read its input.
#include <gtk/gtk.h>
#include <unistd.h>

int main(int argc, char** argv) {
  GString* text = g_string_new(NULL);
  char buf[65536];
  for (ssize_t n; (n = read(0, buf, sizeof buf)) > 0;)
    g_string_append_len(text, buf, n);
  if (!gtk_init_check(&argc, &argv))
    return 0;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 516, 519);  // mailview's
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  GtkWidget* scrolled = gtk_scrolled_window_new(NULL, NULL);
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)),
                           text->str, static_cast<gint>(text->len));
  GtkWidget* button = gtk_button_new_with_label("OK");
  g_signal_connect(button, "clicked", G_CALLBACK(gtk_main_quit), NULL);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  gtk_box_pack_start(GTK_BOX(box), scrolled, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(box), button, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(window), box);
  gtk_widget_grab_focus(button);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
