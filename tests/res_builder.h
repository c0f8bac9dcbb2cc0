// Hand-made .res files and dialog templates for tests of the readers.
#ifndef MAILVIEW_TESTS_RES_BUILDER_H_
#define MAILVIEW_TESTS_RES_BUILDER_H_

#include <string>
#include <vector>

#include "le_bytes.h"

// A type or name in a .res header: a number, or a string when `name` is set.
struct ResName {
  unsigned id;
  std::string name;
};

// Appends one .res entry: header, then data, padded to 4 bytes.
inline void PutResource(Bytes* res, ResName type, ResName name,
                        const Bytes& data) {
  Bytes rest;  // the header after its data's and its own size
  for (const ResName& n : {type, name}) {
    if (n.name.empty()) {
      PutWord(&rest, 0xFFFF);
      PutWord(&rest, n.id);
    } else {
      PutString(&rest, n.name);
    }
  }
  Align(&rest);
  PutDword(&rest, 0);      // data version
  PutWord(&rest, 0x1030);  // memory flags
  PutWord(&rest, 0x0409);  // language
  PutDword(&rest, 0);      // version
  PutDword(&rest, 0);      // characteristics
  PutDword(res, data.size());
  PutDword(res, 8 + rest.size());  // the two sizes count in the header's
  res->insert(res->end(), rest.begin(), rest.end());
  res->insert(res->end(), data.begin(), data.end());
  Align(res);
}

// A .res file: the empty entry every .res starts with, then `entries`.
struct ResEntry {
  ResName type, name;
  Bytes data;
};
inline Bytes ResFile(const std::vector<ResEntry>& entries) {
  Bytes res;
  PutResource(&res, {0, ""}, {0, ""}, {});
  for (const ResEntry& e : entries)
    PutResource(&res, e.type, e.name, e.data);
  return res;
}

// One control of a hand-made template. `className` is a name, or empty
// for the atom `atom`.
struct TemplateItem {
  unsigned long style;
  int x, y, cx, cy, id;
  std::string className;
  unsigned atom;
  std::string text;
};

// A classic dialog template with a font and no menu or class.
inline Bytes DialogTemplateBytes(unsigned long style, int cx, int cy,
                                 const std::string& caption, int points,
                                 const std::string& face,
                                 const std::vector<TemplateItem>& items) {
  Bytes b;
  PutDword(&b, style);
  PutDword(&b, 0);
  PutWord(&b, items.size());
  for (int v : {0, 0, cx, cy})
    PutWord(&b, v & 0xFFFF);
  PutWord(&b, 0);  // no menu
  PutWord(&b, 0);  // the default class
  PutString(&b, caption);
  PutWord(&b, points);
  PutString(&b, face);
  for (const TemplateItem& item : items) {
    Align(&b);
    PutDword(&b, item.style);
    PutDword(&b, 0);
    for (int v : {item.x, item.y, item.cx, item.cy, item.id})
      PutWord(&b, v & 0xFFFF);
    if (item.className.empty()) {
      PutWord(&b, 0xFFFF);
      PutWord(&b, item.atom);
    } else {
      PutString(&b, item.className);
    }
    PutString(&b, item.text);
    PutWord(&b, 0);  // no creation data
  }
  return b;
}

#endif  // MAILVIEW_TESTS_RES_BUILDER_H_
