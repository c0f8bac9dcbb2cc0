// Fuzzes the reading of compiled resources: any bytes given as a .res file
// or as a dialog template either give a description that stays inside the
// bytes and its own limits and asks only for what the window honours, or
// are refused. The bytes are copied into an exactly sized heap buffer, so
// ASan sees any read past their end.
//
// The first byte of the input says what the rest is taken for:
//   even  a .res file: the dialog wanted is 134, the icon group any
//   odd   the bytes of one dialog template
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

#include "dialog_template.h"
#include "res_file.h"
#include "resource.h"

#include "fuzz_check.h"

namespace {

bool Terminated(const uint16_t* text, size_t room) {
  for (size_t i = 0; i < room; ++i)
    if (text[i] == 0)
      return true;
  return false;
}

void CheckDescription(const DialogTemplate& t) {
  // Only what the window honours: centred, with a caption and a close box
  // (DS_CENTER, WS_CAPTION, WS_SYSMENU), in Fixedsys in any case.
  CHECK((t.style & 0x00C80800) == 0x00C80800);
  for (int i = 0; i <= 8; ++i)
    CHECK((t.faceName[i] | (i < 8 ? 0x20 : 0)) == "fixedsys"[i]);
  CHECK(t.itemCount >= 0 && t.itemCount <= MAX_DIALOG_ITEMS);
  CHECK(Terminated(t.caption, MAX_TEMPLATE_TEXT));
  CHECK(Terminated(t.faceName, MAX_FACE_NAME));
  for (int i = 0; i < t.itemCount; ++i) {
    const DialogItem& item = t.items[i];
    CHECK(item.kind == ITEM_BUTTON || item.kind == ITEM_EDIT);
    CHECK(Terminated(item.text, MAX_TEMPLATE_TEXT));
  }
}

void CheckInside(const unsigned char* buf, size_t size, const ResourceData& d) {
  CHECK(d.bytes >= buf && d.size <= size &&
        static_cast<size_t>(d.bytes - buf) <= size - d.size);
}

void FuzzResFile(const unsigned char* res, size_t size) {
  ResourceData data;
  for (unsigned type : {RES_DIALOG, RES_ICON, RES_GROUP_ICON})
    for (unsigned id : {1u, unsigned(IDD_SENDMAIL), 128u, unsigned(ANY_RESOURCE_ID)})
      if (FindResourceData(res, size, type, id, &data))
        CheckInside(res, size, data);

  DialogTemplate t;
  if (ReadDialogTemplate(res, size, IDD_SENDMAIL, &t)) {
    CheckDescription(t);
    // What was read was the dialog the lookup finds.
    CHECK(FindResourceData(res, size, RES_DIALOG, IDD_SENDMAIL, &data));
  }

  // The icon image: asked for its size, then built into exactly that much.
  size_t need = BuildIconFile(res, size, ANY_RESOURCE_ID, NULL, 0);
  if (need > 0 && need < (64u << 20)) {
    unsigned char* image = new unsigned char[need];
    CHECK(BuildIconFile(res, size, ANY_RESOURCE_ID, image, need) == need);
    // An .ico file: reserved 0, type 1, then the number of images.
    CHECK(need >= 6 && image[0] == 0 && image[1] == 0 && image[2] == 1 &&
          image[3] == 0);
    CHECK(BuildIconFile(res, size, ANY_RESOURCE_ID, image, need - 1) == need);
    delete[] image;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  bool asTemplate = data[0] & 1;
  ++data;
  --size;
  unsigned char* bytes = new unsigned char[size];
  memcpy(bytes, data, size);
  if (asTemplate) {
    DialogTemplate t;
    if (ParseDialogTemplate(bytes, size, &t))
      CheckDescription(t);
  } else {
    FuzzResFile(bytes, size);
  }
  delete[] bytes;
  return 0;
}
