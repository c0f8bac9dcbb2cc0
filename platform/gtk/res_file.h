// Finding resources in the bytes of a compiled resource (.res) file, the
// form in which the Linux build carries mailview.rc. Pure byte work: no
// GTK, and nothing is ever read outside the bytes given.
#ifndef MAILVIEW_PLATFORM_GTK_RES_FILE_H_
#define MAILVIEW_PLATFORM_GTK_RES_FILE_H_

#include <stddef.h>

// Numbered resource types.
enum { RES_ICON = 3, RES_DIALOG = 5, RES_GROUP_ICON = 14 };

// A resource's data: bytes inside the .res file.
struct ResourceData {
  const unsigned char* bytes;
  size_t size;
};

// Stands for any numbered name in the lookups below.
enum { ANY_RESOURCE_ID = 0x10000 };

// Looks for the first resource of numbered type `type` and numbered name
// `id` (or any number, for ANY_RESOURCE_ID) among the `size` bytes of .res file `res`. Returns true and fills
// *data when found; false when it is not there or the file is malformed
// before it is reached.
bool FindResourceData(const unsigned char* res, size_t size, unsigned type,
                      unsigned id, ResourceData* data);

// Builds the image of an .ico file from icon group `id` (or the first icon
// group, for ANY_RESOURCE_ID) and the icons it
// names. Returns the number of bytes the image takes, 0 when there is no
// such group or it or one of its icons is malformed or missing. The image
// is written to `out` only when it fits in `outSize` bytes, so a first call
// with outSize 0 asks for the size.
size_t BuildIconFile(const unsigned char* res, size_t size, unsigned id,
                     unsigned char* out, size_t outSize);

#endif  // MAILVIEW_PLATFORM_GTK_RES_FILE_H_
