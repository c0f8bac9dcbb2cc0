// The GTK stand-in for the dialog functions, in this process on a virtual
// display. Each test opens a dialog whose procedure records every message
// and schedules steps that run from inside the modal loop: they look at
// the widgets and press keys; a watchdog ends a dialog that gets stuck.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <pango/pangocairo.h>
#include <string.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "adversarial_lines.h"
#include "dialog_widgets.h"
#include "dialog_window.h"
#include "edit_text.h"
#include "instance.h"
#include "mail.h"
#include "res_builder.h"
#include "res_file.h"
#include "send_mail.h"
#include "send_mail_template.h"

namespace {

const UINT WM_CLOSE = 0x0010;
const LPCSTR SEND_MAIL = MAKEINTRESOURCE(SEND_MAIL_ID);
const INT_PTR STUCK = -99;

struct Message {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// A step returns true when done, false to be tried again 10 ms later.
typedef std::function<bool(HWND)> Step;

struct Script {
  std::vector<Step> steps;
  size_t next = 0;
  std::string text;  // put into the text control on WM_INITDIALOG
  DLGPROC proc = NULL;  // a procedure to watch instead, and pass every message to
  std::vector<Message> log;
  HWND dialog = NULL;
  guint ticker = 0, watchdog = 0;
  bool stuck = false;
};
Script* run;

gboolean Tick(gpointer) {
  while (run->next < run->steps.size() && run->steps[run->next](run->dialog))
    ++run->next;
  if (run->next < run->steps.size())
    return G_SOURCE_CONTINUE;
  run->ticker = 0;
  return G_SOURCE_REMOVE;
}

gboolean Stuck(gpointer) {
  run->stuck = true;
  run->watchdog = 0;
  EndDialog(run->dialog, STUCK);
  return G_SOURCE_REMOVE;
}

// Ends with 100 + the command id on IDOK and IDCANCEL, so the way the
// dialog was closed shows in its result.
INT_PTR CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  run->log.push_back({msg, wParam, lParam});
  if (msg == WM_INITDIALOG) {
    run->dialog = hwnd;
    run->ticker = g_timeout_add(10, Tick, NULL);
    run->watchdog = g_timeout_add_seconds(60, Stuck, NULL);
  }
  if (run->proc)
    return run->proc(hwnd, msg, wParam, lParam);
  if (msg == WM_INITDIALOG) {
    SetDlgItemTextA(hwnd, SEND_MAIL_TEXT.id, run->text.c_str());
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(hwnd, 100 + LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

// Opens the Send Mail dialog of the program's own resources with `text`
// and runs `steps` in it. Returns what DialogBoxParamA returned.
INT_PTR RunDialog(Script* r, HINSTANCE instance = ProgramInstance(), int id = SEND_MAIL_ID) {
  run = r;
  INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCE(id), NULL, RecordingProc, 0x5EED);
  if (r->ticker)
    g_source_remove(r->ticker);
  if (r->watchdog)
    g_source_remove(r->watchdog);
  EXPECT_FALSE(r->stuck) << "the dialog had to be ended by the watchdog at step " << r->next;
  EXPECT_EQ(r->steps.size(), r->next) << "steps left undone";
  return result;
}

GtkWidget* Window(HWND d) { return DialogWindowWidget(d); }
GtkWidget* Ok(HWND d) { return DialogItemWidget(d, IDOK); }
GtkWidget* Text(HWND d) { return DialogItemWidget(d, SEND_MAIL_TEXT.id); }
GtkTextBuffer* Buffer(HWND d) { return gtk_text_view_get_buffer(GTK_TEXT_VIEW(Text(d))); }

// Waits until the window is on the screen, laid out and has the keyboard.
Step Visible() {
  return [](HWND d) {
    GtkWidget* w = Window(d);
    return gtk_widget_get_mapped(w) && gtk_window_is_active(GTK_WINDOW(w)) &&
           gtk_widget_get_allocated_width(Text(d)) > 1;
  };
}

// Queues a key press and release for the window, as if typed; GTK hands
// them to the window and then to the control with the focus.
void Type(GtkWidget* window, guint keyval, GdkModifierType mods) {
  GdkDisplay* display = gtk_widget_get_display(window);
  GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
  GdkKeymapKey* keys;
  gint n = 0;
  gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &n);
  for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.state = mods;
    event->key.keyval = keyval;
    event->key.hardware_keycode = n > 0 ? keys[0].keycode : 0;
    event->key.group = n > 0 ? keys[0].group : 0;
    gdk_event_set_device(event, keyboard);
    gdk_event_put(event);
    gdk_event_free(event);
  }
  g_free(keys);
}

Step Key(guint keyval, GdkModifierType mods = static_cast<GdkModifierType>(0)) {
  return [=](HWND d) {
    Type(Window(d), keyval, mods);
    return true;
  };
}

Step Check(std::function<void(HWND)> check) {
  return [=](HWND d) {
    check(d);
    return true;
  };
}

// Waits for a condition.
Step Until(std::function<bool(HWND)> condition) { return condition; }

std::string ShownText(HWND d) {
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(Buffer(d), &start, &end);
  gchar* text = gtk_text_buffer_get_text(Buffer(d), &start, &end, TRUE);
  std::string s(text);
  g_free(text);
  return s;
}

// Windows' MulDiv: a * b / c rounded to the nearest, halves away from zero.
int MulDiv(int a, int b, int c) {
  int product = a * b;
  return (product < 0 ? product - c / 2 : product + c / 2) / c;
}

// The base units of the dialog on this display, worked out apart from the
// stand-in as the dialog manager works them out for the dialog's font, here
// Monospace (the face that stands in for Fixedsys) at the template's size:
// the width of the 52 letters A-Z a-z averaged and rounded
// ((width / 26 + 1) / 2), and the font's height, ascent plus descent.
struct Units {
  int x, y;
};
Units BaseUnits() {
  GdkScreen* screen = gdk_screen_get_default();
  PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
  pango_cairo_context_set_resolution(context, gdk_screen_get_resolution(screen));
  pango_cairo_context_set_font_options(context, gdk_screen_get_font_options(screen));
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "Monospace");
  pango_font_description_set_size(font, SEND_MAIL_POINTS * PANGO_SCALE);
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
  int width, height;
  pango_layout_get_pixel_size(layout, &width, &height);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, font, NULL);
  Units base = {(width / 26 + 1) / 2,
                PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) +
                             pango_font_metrics_get_descent(metrics))};
  pango_font_metrics_unref(metrics);
  g_object_unref(layout);
  pango_font_description_free(font);
  g_object_unref(context);
  return base;
}

// Expects `widget` at the place and of the size of template control `c`.
void ExpectPlaced(GtkWidget* widget, const TemplateControl& c) {
  Units base = BaseUnits();
  GtkAllocation a;
  gtk_widget_get_allocation(widget, &a);
  EXPECT_EQ(MulDiv(c.x, base.x, 4), a.x) << c.cls;
  EXPECT_EQ(MulDiv(c.y, base.y, 8), a.y) << c.cls;
  EXPECT_EQ(MulDiv(c.cx, base.x, 4), a.width) << c.cls;
  EXPECT_EQ(MulDiv(c.cy, base.y, 8), a.height) << c.cls;
}

class Dialog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenDisplay()) << "no display"; }
};

TEST_F(Dialog, IsBuiltFromTheTemplate) {
  Script r;
  r.text = "To: a@example.org\r\n\r\nHello";
  r.steps = {Visible(), Check([](HWND d) {
    GtkWindow* w = GTK_WINDOW(Window(d));
    EXPECT_STREQ(SEND_MAIL_CAPTION, gtk_window_get_title(w));
    EXPECT_FALSE(gtk_window_get_resizable(w));
    EXPECT_TRUE(gtk_window_get_deletable(w));
    EXPECT_TRUE(gtk_window_get_decorated(w));
    EXPECT_TRUE(gtk_window_get_modal(w));
    EXPECT_EQ(GDK_WINDOW_TYPE_HINT_DIALOG, gtk_window_get_type_hint(w));
    EXPECT_EQ(ATK_ROLE_DIALOG, atk_object_get_role(gtk_widget_get_accessible(Window(d))));

    // The dialog font: a fixed-pitch 9-point face.
    PangoContext* context = gtk_widget_get_pango_context(Text(d));
    const PangoFontDescription* font = pango_context_get_font_description(context);
    EXPECT_STREQ("Monospace", pango_font_description_get_family(font));
    EXPECT_EQ(SEND_MAIL_POINTS * PANGO_SCALE, pango_font_description_get_size(font));
    int narrow, wide, height;
    PangoLayout* layout = gtk_widget_create_pango_layout(Text(d), "iiii");
    pango_layout_get_pixel_size(layout, &narrow, &height);
    pango_layout_set_text(layout, "MMMM", -1);
    pango_layout_get_pixel_size(layout, &wide, &height);
    EXPECT_EQ(narrow, wide);
    g_object_unref(layout);

    // Sizes from the dialog units of that font.
    Units base = BaseUnits();
    EXPECT_GE(base.x, 5);
    EXPECT_GE(base.y, 10);
    int width, windowHeight;
    gtk_window_get_size(w, &width, &windowHeight);
    EXPECT_EQ(MulDiv(SEND_MAIL_CX, base.x, 4), width);
    EXPECT_EQ(MulDiv(SEND_MAIL_CY, base.y, 8), windowHeight);
    ExpectPlaced(Ok(d), SEND_MAIL_OK);
    ExpectPlaced(gtk_widget_get_parent(Text(d)), SEND_MAIL_TEXT);

    // Centred on the work area.
    GdkRectangle work;
    gdk_monitor_get_workarea(gdk_display_get_monitor_at_window(
        gdk_display_get_default(), gtk_widget_get_window(Window(d))), &work);
    int x, y;
    gtk_window_get_position(w, &x, &y);
    EXPECT_NEAR(work.x + (work.width - width) / 2, x, 1);
    EXPECT_NEAR(work.y + (work.height - windowHeight) / 2, y, 1);

    // OK is the default button and has the focus.
    EXPECT_TRUE(gtk_widget_has_default(Ok(d)));
    EXPECT_TRUE(gtk_widget_has_focus(Ok(d)));
    EXPECT_STREQ("OK", gtk_button_get_label(GTK_BUTTON(Ok(d))));

    // The text: read-only with a caret, wrapped, a vertical bar always.
    GtkTextView* view = GTK_TEXT_VIEW(Text(d));
    EXPECT_FALSE(gtk_text_view_get_editable(view));
    EXPECT_TRUE(gtk_text_view_get_cursor_visible(view));
    EXPECT_TRUE(gtk_widget_get_can_focus(Text(d)));
    EXPECT_EQ(GTK_WRAP_WORD_CHAR, gtk_text_view_get_wrap_mode(view));
    GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(gtk_widget_get_parent(Text(d)));
    GtkPolicyType h, v;
    gtk_scrolled_window_get_policy(scrolled, &h, &v);
    EXPECT_EQ(GTK_POLICY_EXTERNAL, h);  // no bar, and no width from the text
    EXPECT_EQ(GTK_POLICY_ALWAYS, v);
    EXPECT_TRUE(gtk_widget_get_mapped(gtk_scrolled_window_get_vscrollbar(scrolled)));
    EXPECT_FALSE(gtk_scrolled_window_get_overlay_scrolling(scrolled));
    EXPECT_EQ(GTK_SHADOW_IN, gtk_scrolled_window_get_shadow_type(scrolled));
    EXPECT_EQ("To: a@example.org\r\n\r\nHello", ShownText(d));
    // WM_INITDIALOG named the control to get the focus: OK.
    EXPECT_EQ(reinterpret_cast<WPARAM>(DialogItemHandle(d, IDOK)), run->log[0].wParam);
  }), Key(GDK_KEY_Escape)};
  EXPECT_EQ(100 + IDCANCEL, RunDialog(&r));
  ASSERT_FALSE(r.log.empty());
  EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), r.log[0].msg);
  EXPECT_EQ(0x5EED, r.log[0].lParam);
  EXPECT_EQ(NULL, DialogWindowWidget(r.dialog));  // gone
}

// The input window of a button.
GdkWindow* InputWindow(GtkWidget* widget) {
  GList* children = gdk_window_get_children(gtk_widget_get_window(widget));
  GdkWindow* found = NULL;
  for (GList* c = children; c; c = c->next) {
    gpointer owner;
    gdk_window_get_user_data(GDK_WINDOW(c->data), &owner);
    if (owner == widget)
      found = GDK_WINDOW(c->data);
  }
  g_list_free(children);
  return found;
}

// A press and release of the first mouse button in the middle of a button.
Step Click(GtkWidget* (*which)(HWND)) {
  return [=](HWND d) {
    GtkWidget* widget = which(d);
    GdkWindow* window = InputWindow(widget);
    EXPECT_NE(nullptr, window);
    if (!window)
      return true;
    GdkDevice* pointer = gdk_seat_get_pointer(
        gdk_display_get_default_seat(gtk_widget_get_display(widget)));
    for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
      GdkEvent* event = gdk_event_new(type);
      event->button.window = GDK_WINDOW(g_object_ref(window));
      event->button.send_event = TRUE;
      event->button.time = GDK_CURRENT_TIME;
      event->button.x = gtk_widget_get_allocated_width(widget) / 2;
      event->button.y = gtk_widget_get_allocated_height(widget) / 2;
      event->button.button = 1;
      event->button.state = type == GDK_BUTTON_RELEASE ? GDK_BUTTON1_MASK : 0;
      gdk_event_set_device(event, pointer);
      gdk_event_put(event);
      gdk_event_free(event);
    }
    return true;
  };
}

Step FocusOn(GtkWidget* (*which)(HWND)) {
  return [=](HWND d) { return gtk_widget_has_focus(which(d)); };
}

TEST_F(Dialog, EveryWayOfClosingReachesTheProcedure) {
  // The Send Mail template with no default push button (OK without
  // BS_DEFPUSHBUTTON), where Enter out of a button is IDOK all the same.
  std::vector<TemplateItem> plain;
  for (const TemplateControl& c : {SEND_MAIL_OK, SEND_MAIL_TEXT})
    plain.push_back({c.style & ~1ul, c.x, c.y, c.cx, c.cy, c.id, c.cls, 0, c.text});
  Bytes res = ResFile({{{RES_DIALOG, ""}, {SEND_MAIL_ID, ""},
      DialogTemplateBytes(SEND_MAIL_STYLE, SEND_MAIL_CX, SEND_MAIL_CY, SEND_MAIL_CAPTION,
                          SEND_MAIL_POINTS, SEND_MAIL_FACE, plain)}});
  HINSTANCE__ noDefault = {res.data(), res.size()};
  struct Way {
    const char* name;
    std::vector<Step> steps;
    WORD id;
    bool closeMessage;  // WM_CLOSE comes first
    HINSTANCE instance = ProgramInstance();
  };
  const Way ways[] = {
      {"Enter on OK", {Key(GDK_KEY_Return)}, IDOK, false},
      {"keypad Enter", {Key(GDK_KEY_KP_Enter)}, IDOK, false},
      {"Space on OK", {Key(GDK_KEY_space)}, IDOK, false},
      {"Enter in the text", {Key(GDK_KEY_Tab), FocusOn(Text), Key(GDK_KEY_Return)}, IDOK, false},
      {"Enter in the text, no default button",
       {Key(GDK_KEY_Tab), FocusOn(Text), Key(GDK_KEY_Return)}, IDOK, false, &noDefault},
      {"a click on OK", {Click(Ok)}, IDOK, false},
      {"Esc", {Key(GDK_KEY_Escape)}, IDCANCEL, false},
      {"Esc in the text", {Key(GDK_KEY_Tab), FocusOn(Text), Key(GDK_KEY_Escape)}, IDCANCEL, false},
      {"the close box", {Check([](HWND d) { gtk_window_close(GTK_WINDOW(Window(d))); })},
       IDCANCEL, true},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Script r;
    r.text = "line 1\r\nline 2\r\n";
    GtkWidget* window = NULL;
    HWND ok = NULL;
    r.steps = {Visible(), Check([&](HWND d) {
      window = Window(d);
      g_object_add_weak_pointer(G_OBJECT(window), reinterpret_cast<gpointer*>(&window));
      ok = DialogItemHandle(d, IDOK);
    })};
    r.steps.insert(r.steps.end(), way.steps.begin(), way.steps.end());
    EXPECT_EQ(100 + way.id, RunDialog(&r, way.instance));
    EXPECT_EQ(NULL, window) << "the window was not destroyed";
    EXPECT_EQ(NULL, DialogWindowWidget(r.dialog));
    // WM_CLOSE from the close box alone, and exactly one command ended it:
    // the id, BN_CLICKED, and the button.
    int closes = 0;
    std::vector<Message> commands;
    for (const Message& m : r.log) {
      closes += m.msg == WM_CLOSE && m.wParam == 0;
      if (m.msg == WM_COMMAND)
        commands.push_back(m);
    }
    EXPECT_EQ(way.closeMessage ? 1 : 0, closes);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(MAKEWPARAM(way.id, 0), commands[0].wParam);
    EXPECT_EQ(way.id == IDOK ? reinterpret_cast<LPARAM>(ok) : 0, commands[0].lParam);
  }
}

TEST_F(Dialog, TabMovesBetweenTheControls) {
  Script r;
  r.text = "first\r\nsecond";
  r.steps = {
      Visible(), Key(GDK_KEY_Tab), FocusOn(Text), Check([&](HWND d) {
        // Tabbing in selects the whole text, as in a Windows dialog.
        GtkTextIter start, end;
        ASSERT_TRUE(gtk_text_buffer_get_selection_bounds(Buffer(d), &start, &end));
        EXPECT_TRUE(gtk_text_iter_is_start(&start));
        EXPECT_TRUE(gtk_text_iter_is_end(&end));
      }),
      Key(GDK_KEY_Tab), FocusOn(Ok),
      Key(GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK), FocusOn(Text),
      Key(GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK), FocusOn(Ok),
      Key(GDK_KEY_Return)};
  EXPECT_EQ(100 + IDOK, RunDialog(&r));
}

TEST_F(Dialog, TheTextIsReadOnlyWrapsAndScrollsOnlyDownwards) {
  Script r;
  std::string longLine = "Subject: ";
  for (int i = 0; i < 20; ++i)
    longLine += "word" + std::to_string(i) + " ";
  longLine += std::string(300, 'x');  // one word longer than a line
  r.text = longLine + "\r\n";
  for (int i = 0; i < 200; ++i)
    r.text += "line " + std::to_string(i) + "\r\n";
  const std::string shown = r.text;
  r.steps = {
      Visible(), Until([](HWND d) {
        GtkAdjustment* v = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(Text(d)));
        return gtk_adjustment_get_upper(v) > gtk_adjustment_get_page_size(v);
      }),
      Check([](HWND d) {
        GtkTextView* view = GTK_TEXT_VIEW(Text(d));
        GtkAdjustment* h = gtk_scrollable_get_hadjustment(GTK_SCROLLABLE(view));
        EXPECT_LE(gtk_adjustment_get_upper(h), gtk_adjustment_get_page_size(h));
        // The first line takes several rows, none wider than the view.
        GdkRectangle visible;
        gtk_text_view_get_visible_rect(view, &visible);
        GtkTextIter row;
        gtk_text_buffer_get_start_iter(Buffer(d), &row);
        int rows = 0;
        while (gtk_text_iter_get_line(&row) == 0) {
          GtkTextIter last = row;
          gtk_text_view_forward_display_line_end(view, &last);
          GdkRectangle where;
          gtk_text_view_get_iter_location(view, &last, &where);
          EXPECT_LE(where.x, visible.width);
          ++rows;
          if (!gtk_text_view_forward_display_line(view, &row))
            break;
        }
        EXPECT_GE(rows, 4);
        EXPECT_EQ(0, gtk_adjustment_get_value(gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(view))));
      }),
      Key(GDK_KEY_Tab), FocusOn(Text),
      Key(GDK_KEY_a), Key(GDK_KEY_BackSpace), Key(GDK_KEY_Delete),
      Key(GDK_KEY_x, GDK_CONTROL_MASK), Key(GDK_KEY_v, GDK_CONTROL_MASK),
      // The keyboard moves the caret.
      Key(GDK_KEY_End, GDK_CONTROL_MASK), Until([](HWND d) {
        GtkTextIter caret;
        gtk_text_buffer_get_iter_at_mark(Buffer(d), &caret, gtk_text_buffer_get_insert(Buffer(d)));
        return gtk_text_iter_is_end(&caret);
      }),
      Check([&](HWND d) {
        EXPECT_EQ(shown, ShownText(d));
        GtkTextIter caret;
        gtk_text_buffer_get_iter_at_mark(Buffer(d), &caret, gtk_text_buffer_get_insert(Buffer(d)));
        EXPECT_TRUE(gtk_text_iter_is_end(&caret));
      }),
      // ...and the view follows it to the end of the text.
      Until([](HWND d) {
        GtkAdjustment* v = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(Text(d)));
        return gtk_adjustment_get_upper(v) > gtk_adjustment_get_page_size(v) &&
               gtk_adjustment_get_value(v) + gtk_adjustment_get_page_size(v) >=
                   gtk_adjustment_get_upper(v) - 1;
      }),
      // Ctrl+Tab is no tab either: it leaves the text, as Tab does.
      Key(GDK_KEY_Tab, GDK_CONTROL_MASK), FocusOn(Ok),
      Check([&](HWND d) { EXPECT_EQ(shown, ShownText(d)); }),
      Key(GDK_KEY_Return)};
  EXPECT_EQ(100 + IDOK, RunDialog(&r));
}

int Lines(HWND d) { return gtk_text_buffer_get_line_count(Buffer(d)); }

// The x of character `index` of the text.
int XOf(HWND d, int index) {
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_offset(Buffer(d), &at, index);
  GdkRectangle where;
  gtk_text_view_get_iter_location(GTK_TEXT_VIEW(Text(d)), &at, &where);
  return where.x;
}

TEST_F(Dialog, ShowsTheBytesAsTheEditControlDoes) {
  Script r;
  r.steps = {Visible(), Check([](HWND d) {
    struct { const char* bytes; const char* shown; int lines; } cases[] = {
        {"a\r\nb", "a\r\nb", 2},
        {"a\rb", "a\xE2\x90\x8D" "b", 1},  // a lone CR: its picture
        {"a\nb", "a\xE2\x90\x8A" "b", 1},  // a lone LF
        {"a\r\r\nb\n\r", "a\xE2\x90\x8D\r\nb\xE2\x90\x8A\xE2\x90\x8D", 2},
        {"\x1B[0m\x7F", "\xE2\x90\x9B[0m\xE2\x90\xA1", 1},
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC", 1},  // UTF-8
        {"caf\xE9 \x80 \x9D \xFF", "caf\xC3\xA9 \xE2\x82\xAC \xC2\x9D \xC3\xBF", 1},  // Windows-1252
        {"", "", 1},
    };
    for (const auto& c : cases) {
      EXPECT_TRUE(SetDlgItemTextA(d, SEND_MAIL_TEXT.id, c.bytes));
      EXPECT_EQ(c.shown, ShownText(d)) << c.bytes;
      EXPECT_EQ(c.lines, Lines(d)) << c.bytes;
    }
    // Tabs stop every 8 columns.
    SetDlgItemTextA(d, SEND_MAIL_TEXT.id, "\tA\r\nabc\tB\r\n1234567\tC\r\n12345678\tD");
    int column = XOf(d, 1) - XOf(d, 0);  // the A after one tab
    int cell = XOf(d, 5) - XOf(d, 4);    // one character
    ASSERT_GT(cell, 0);
    EXPECT_EQ(8 * cell, column);
    EXPECT_EQ(XOf(d, 0) + 8 * cell, XOf(d, 8));    // B
    EXPECT_EQ(XOf(d, 0) + 8 * cell, XOf(d, 19));   // C
    EXPECT_EQ(XOf(d, 0) + 16 * cell, XOf(d, 31));  // D
    // The whole text is replaced, and the caret goes to its start.
    SetDlgItemTextA(d, SEND_MAIL_TEXT.id, "new");
    EXPECT_EQ("new", ShownText(d));
    GtkTextIter caret;
    gtk_text_buffer_get_iter_at_mark(Buffer(d), &caret, gtk_text_buffer_get_insert(Buffer(d)));
    EXPECT_TRUE(gtk_text_iter_is_start(&caret));
    EXPECT_TRUE(SetDlgItemTextA(d, SEND_MAIL_TEXT.id, NULL));
    EXPECT_EQ("", ShownText(d));
    // A button's text is the template's; and no control at all.
    EXPECT_FALSE(SetDlgItemTextA(d, IDOK, "Fine"));
    EXPECT_STREQ("OK", gtk_button_get_label(GTK_BUTTON(Ok(d))));
    EXPECT_FALSE(SetDlgItemTextA(d, 999, "x"));
  }), Key(GDK_KEY_Escape)};
  EXPECT_EQ(100 + IDCANCEL, RunDialog(&r));
}

// Waits until GTK has nothing left to do: the text laid out to its end, the
// window's size settled with the X server.
Step Settled() {
  return [](HWND) {
    gdk_display_sync(gdk_display_get_default());
    return !gtk_events_pending();
  };
}

// The text control's view of `bytes`.
std::string Converted(const std::string& bytes) {
  std::string out(EditTextUtf8Size(bytes.size()), '\0');
  out.resize(EditTextToUtf8(bytes.data(), bytes.size(), &out[0], out.size()));
  return out;
}

// Checks that the window has the size of its template, laid out from its
// font, and that the text control holds all of `text`.
void ExpectTemplateSizeAndText(HWND d, const std::string& text) {
  Units base = BaseUnits();
  const int width = MulDiv(SEND_MAIL_CX, base.x, 4);
  const int height = MulDiv(SEND_MAIL_CY, base.y, 8);
  int w, h;
  gtk_window_get_size(GTK_WINDOW(Window(d)), &w, &h);
  EXPECT_EQ(width, w);
  EXPECT_EQ(height, h);
  GdkWindow* shown = gtk_widget_get_window(Window(d));
  EXPECT_EQ(width, gdk_window_get_width(shown));
  EXPECT_EQ(height, gdk_window_get_height(shown));
  EXPECT_EQ(width, gtk_widget_get_allocated_width(gtk_widget_get_parent(Text(d))));
  EXPECT_EQ(Converted(text), ShownText(d));
}

TEST_F(Dialog, EveryByteRepeatedToTheLimitKeepsTheWindowsSize) {
  Script r;
  r.steps = {Visible()};
  for (int b = 0x01; b <= 0xFF; ++b) {
    std::string text = Fill(std::string(1, static_cast<char>(b)));
    r.steps.push_back(Check([=](HWND d) { SetDlgItemTextA(d, SEND_MAIL_TEXT.id, text.c_str()); }));
    r.steps.push_back(Settled());
    r.steps.push_back(Check([=](HWND d) {
      SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << b);
      ExpectTemplateSizeAndText(d, text);
    }));
  }
  r.steps.push_back(Key(GDK_KEY_Escape));
  EXPECT_EQ(100 + IDCANCEL, RunDialog(&r));
}

TEST_F(Dialog, AdversarialLinesKeepTheWindowsSize) {
  for (const AdversarialLine& c : AdversarialLines()) {
    SCOPED_TRACE(c.what);
    ASSERT_LE(c.text.size(), static_cast<size_t>(MAX_MAIL_LENGTH - 1));
    Script r;  // each line in a window of its own, given it before it is shown
    r.text = c.text;
    r.steps = {Visible(), Settled(), Check([&](HWND d) { ExpectTemplateSizeAndText(d, c.text); }),
               Key(GDK_KEY_Escape)};
    EXPECT_EQ(100 + IDCANCEL, RunDialog(&r));
  }
}

TEST_F(Dialog, RunsTheProgramsOwnProcedure) {
  strcpy(displayText, "To: a@example.org\r\n\r\nbody\r\n");
  Script r;
  r.proc = SendMailDlgProc;
  r.steps = {Visible(), Check([](HWND d) { EXPECT_EQ(Converted(displayText), ShownText(d)); }),
             Key(GDK_KEY_Return)};
  EXPECT_EQ(1, RunDialog(&r));
}

int Toplevels() {
  GList* all = gtk_window_list_toplevels();
  int n = g_list_length(all);
  g_list_free(all);
  return n;
}

INT_PTR CALLBACK NeverCalled(HWND, UINT msg, WPARAM, LPARAM) {
  ADD_FAILURE() << "message " << msg;
  return FALSE;
}

TEST_F(Dialog, RefusesWhatItDoesNotSupportWithoutAWindow) {
  HINSTANCE program = ProgramInstance();
  ResourceData real;
  ASSERT_TRUE(FindResourceData(program->res, program->size, RES_DIALOG, SEND_MAIL_ID, &real));
  Bytes withStatic = ResFile({{{RES_DIALOG, ""}, {SEND_MAIL_ID, ""},
      DialogTemplateBytes(SEND_MAIL_STYLE, 100, 50, "x", 9, "Fixedsys",
                          {{WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, 5, "STATIC", 0, "label"}})}});
  HINSTANCE__ unsupported = {withStatic.data(), withStatic.size()};
  Bytes cut(program->res, program->res + (real.bytes - program->res) + real.size - 1);
  HINSTANCE__ truncated = {cut.data(), cut.size()};
  // A caption that is not UTF-16: a lone surrogate where the template's
  // caption starts, after its 18-byte header, menu and class.
  Bytes surrogate(program->res, program->res + program->size);
  surrogate[real.bytes - program->res + 23] = 0xD8;
  HINSTANCE__ invalid = {surrogate.data(), surrogate.size()};
  int before = Toplevels();
  EXPECT_EQ(-1, DialogBoxParamA(&invalid, SEND_MAIL, NULL, NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(&unsupported, SEND_MAIL, NULL, NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(&truncated, SEND_MAIL, NULL, NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(program, MAKEINTRESOURCE(135), NULL, NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(NULL, SEND_MAIL, NULL, NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(program, "SENDMAIL", NULL, NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(program, SEND_MAIL, reinterpret_cast<HWND>(0x134),
                                NeverCalled, 0));
  EXPECT_EQ(-1, DialogBoxParamA(program, SEND_MAIL, NULL, NULL, 0));
  // Message boxes of any kind but a warning with OK, or with an owner.
  for (UINT kind : {0x00u, 0x10u, 0x20u, 0x40u, 0x31u, 0x34u, 0x1030u})
    EXPECT_EQ(0, MessageBoxA(NULL, "text", "caption", kind)) << kind;
  EXPECT_EQ(0, MessageBoxA(reinterpret_cast<HWND>(0x134), "text", "caption",
                           MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(before, Toplevels());
  EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x134), 1));
  EXPECT_FALSE(SetDlgItemTextA(reinterpret_cast<HWND>(0x134), SEND_MAIL_TEXT.id, "x"));
  EXPECT_FALSE(EndDialog(NULL, 1));
}

bool mapped;
INT_PTR second[2];

void OnMap(GtkWidget*) { mapped = true; }

// Tries to open a second dialog, unowned and owned, and ends at once.
INT_PTR CALLBACK EndsAtOnce(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) {
    g_signal_connect(DialogWindowWidget(hwnd), "map", G_CALLBACK(OnMap), NULL);
    second[0] = DialogBoxParamA(ProgramInstance(), SEND_MAIL, NULL, NeverCalled, 0);
    second[1] = DialogBoxParamA(ProgramInstance(), SEND_MAIL, hwnd, NeverCalled, 0);
    EndDialog(hwnd, 7);
  }
  return TRUE;
}

TEST_F(Dialog, EndedWhileStartingItNeverShowsNorOpensASecond) {
  mapped = false;
  int before = Toplevels();
  EXPECT_EQ(7, DialogBoxParamA(ProgramInstance(), SEND_MAIL, NULL, EndsAtOnce, 0));
  EXPECT_FALSE(mapped);
  EXPECT_EQ(-1, second[0]);
  EXPECT_EQ(-1, second[1]);
  EXPECT_EQ(before, Toplevels());
}

// A 16 x 16 icon of 16 colours: header, palette, colour bits, mask bits.
Bytes SixteenColourIcon() {
  Bytes b;
  for (unsigned long v : {40ul, 16ul, 32ul})
    PutDword(&b, v);
  PutWord(&b, 1);
  PutWord(&b, 4);
  for (int i = 0; i < 6; ++i)
    PutDword(&b, 0);
  for (int i = 0; i < 16; ++i)
    PutDword(&b, i * 0x111111);
  b.insert(b.end(), 16 * 8, 0x5A);
  b.insert(b.end(), 16 * 4, 0);
  return b;
}

TEST_F(Dialog, ShowsTheIconOfItsResources) {
  HINSTANCE program = ProgramInstance();
  ResourceData real;
  ASSERT_TRUE(FindResourceData(program->res, program->size, RES_DIALOG, SEND_MAIL_ID, &real));
  Bytes group;
  for (unsigned v : {0u, 1u, 1u})
    PutWord(&group, v);
  group.insert(group.end(), {16, 16, 16, 0, 1, 0, 4, 0});
  PutDword(&group, SixteenColourIcon().size());
  PutWord(&group, 1);
  Bytes res = ResFile({{{RES_ICON, ""}, {1, ""}, SixteenColourIcon()},
                       {{RES_GROUP_ICON, ""}, {128, ""}, group},
                       {{RES_DIALOG, ""}, {SEND_MAIL_ID, ""}, Bytes(real.bytes, real.bytes + real.size)}});
  HINSTANCE__ withIcon = {res.data(), res.size()};
  Script r;
  r.steps = {Visible(), Check([](HWND d) {
    GdkPixbuf* icon = gtk_window_get_icon(GTK_WINDOW(Window(d)));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(16, gdk_pixbuf_get_width(icon));
    EXPECT_EQ(16, gdk_pixbuf_get_height(icon));
  }), Key(GDK_KEY_Return)};
  EXPECT_EQ(100 + IDOK, RunDialog(&r, &withIcon));

  // The program's own: icon group 128, a 32 x 32 and a 16 x 16 image (the
  // .ico file's directory entries), and the window takes the larger.
  Bytes ico(BuildIconFile(program->res, program->size, 128, NULL, 0));
  ASSERT_GT(ico.size(), 6u + 2 * 16) << "no icon group 128 in the program's resources";
  BuildIconFile(program->res, program->size, 128, ico.data(), ico.size());
  ASSERT_EQ(2, ico[4] | ico[5] << 8);
  EXPECT_EQ(32, ico[6]);
  EXPECT_EQ(32, ico[7]);
  EXPECT_EQ(16, ico[6 + 16]);
  EXPECT_EQ(16, ico[7 + 16]);
  Script own;
  own.steps = {Visible(), Check([=](HWND d) {
    GdkPixbuf* icon = gtk_window_get_icon(GTK_WINDOW(Window(d)));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(32, gdk_pixbuf_get_width(icon));
    EXPECT_EQ(32, gdk_pixbuf_get_height(icon));
  }), Key(GDK_KEY_Return)};
  EXPECT_EQ(100 + IDOK, RunDialog(&own));
}

}  // namespace
