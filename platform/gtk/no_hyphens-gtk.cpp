// No hyphens where a line breaks inside a word. Pango draws a hyphen where
// it breaks a word that is longer than a line: a character that is not in
// the mail (think of base64 lines or long URLs). GTK 3's text view has no
// setting for it, and gives each layout its attributes through
// pango_layout_set_attributes, so the program defines that function itself:
// the dynamic linker binds GTK's calls to the program's definition, which
// adds the attribute that turns hyphens off and hands the layout on to
// Pango's. tests/window_test.cpp checks on the real program that GTK's
// calls come here.
#include <dlfcn.h>
#include <glib.h>
#include <pango/pango.h>

namespace {

typedef void (*SetAttributes)(PangoLayout*, PangoAttrList*);

// Pango's own definition, the next one after the program's. NULL when
// there is none, which only a program not linked with Pango would see.
SetAttributes FindPangos() {
  void* found = dlsym(RTLD_NEXT, "pango_layout_set_attributes");
  if (!found)
    g_critical("pango_layout_set_attributes: Pango's definition not found");
  return reinterpret_cast<SetAttributes>(found);
}

// The class of Pango's no-hyphen attribute. Classes are compared, not
// types: GTK's own attributes have types that PangoAttrType does not name.
// Found on first use: a static with an initializer would take a guard from
// the C++ runtime, which the program otherwise does without.
const PangoAttrClass* HyphensClass() {
  static const PangoAttrClass* klass;
  if (!klass) {
    PangoAttribute* attr = pango_attr_insert_hyphens_new(FALSE);
    klass = attr->klass;
    pango_attribute_destroy(attr);
  }
  return klass;
}

gboolean NoteHyphenSetting(PangoAttribute* attr, gpointer found) {
  if (attr->klass == HyphensClass())
    *static_cast<bool*>(found) = true;
  return FALSE;  // removes nothing
}

// True when `attrs` already says where hyphens go: then it is left alone.
bool HasHyphenSetting(PangoAttrList* attrs) {
  bool found = false;
  pango_attr_list_filter(attrs, NoteHyphenSetting, &found);
  return found;
}

}  // namespace

extern "C" void pango_layout_set_attributes(PangoLayout* layout,
                                            PangoAttrList* attrs) {
  static bool looked;  // set on first use, as HyphensClass's
  static SetAttributes pangos;
  if (!looked) {
    pangos = FindPangos();
    looked = true;
  }
  if (!pangos)
    return;  // the layout keeps the attributes it had
  if (attrs && HasHyphenSetting(attrs)) {
    pangos(layout, attrs);
    return;
  }
  // The caller's list may be shared with other layouts: a copy gets the
  // attribute.
  PangoAttrList* own = attrs ? pango_attr_list_copy(attrs) : pango_attr_list_new();
  pango_attr_list_insert(own, pango_attr_insert_hyphens_new(FALSE));
  pangos(layout, own);
  pango_attr_list_unref(own);
}
