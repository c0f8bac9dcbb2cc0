// Resources in a .res file: a run of entries, each a header (data size,
// header size, type, name, then fixed fields) and the data, each entry
// starting on a 4-byte boundary.
#include "res_file.h"

#include <stdint.h>
#include <string.h>

#include "little_endian.h"

namespace {

// Reads a type or name field at *pos, no further than `end`: 0xFFFF and a
// number, or a NUL-terminated UTF-16 string. Sets *id to the number, or to
// -1 for a string, and moves *pos past the field.
bool ReadNameOrId(const unsigned char* p, size_t end, size_t* pos, long* id) {
  if (*pos > end || end - *pos < 2)
    return false;
  if (WordAt(p + *pos) == 0xFFFF) {
    if (end - *pos < 4)
      return false;
    *id = WordAt(p + *pos + 2);
    *pos += 4;
    return true;
  }
  for (size_t at = *pos; end - at >= 2; at += 2) {
    if (WordAt(p + at) == 0) {
      *id = -1;
      *pos = at + 2;
      return true;
    }
  }
  return false;
}

}  // namespace

bool FindResourceData(const unsigned char* res, size_t size, unsigned type,
                      unsigned id, ResourceData* data) {
  size_t pos = 0;
  while (size - pos >= 8) {
    unsigned long dataSize = DwordAt(res + pos);
    unsigned long headerSize = DwordAt(res + pos + 4);
    if (headerSize < 16 || headerSize > size - pos ||
        dataSize > size - pos - headerSize)
      return false;
    size_t headerEnd = pos + headerSize;
    size_t field = pos + 8;
    long entryType, entryName;
    if (!ReadNameOrId(res, headerEnd, &field, &entryType) ||
        !ReadNameOrId(res, headerEnd, &field, &entryName))
      return false;
    if (entryType == static_cast<long>(type) &&
        (entryName == static_cast<long>(id) ||
         (id == ANY_RESOURCE_ID && entryName >= 0))) {
      data->bytes = res + headerEnd;
      data->size = dataSize;
      return true;
    }
    size_t next = headerEnd + dataSize;  // at most size
    size_t padding = (4 - next % 4) % 4;
    if (padding > size - next)
      break;
    pos = next + padding;
  }
  return false;
}

size_t BuildIconFile(const unsigned char* res, size_t size, unsigned id,
                     unsigned char* out, size_t outSize) {
  const size_t DIR_SIZE = 6, GROUP_ENTRY = 14, FILE_ENTRY = 16;
  ResourceData group;
  if (!FindResourceData(res, size, RES_GROUP_ICON, id, &group) ||
      group.size < DIR_SIZE || WordAt(group.bytes) != 0 ||
      WordAt(group.bytes + 2) != 1)
    return 0;
  unsigned count = WordAt(group.bytes + 4);
  if (count == 0 || (group.size - DIR_SIZE) / GROUP_ENTRY < count)
    return 0;

  // First the size: the directory, then every image after it.
  uint64_t total = DIR_SIZE + static_cast<uint64_t>(count) * FILE_ENTRY;
  for (unsigned i = 0; i < count; ++i) {
    const unsigned char* entry = group.bytes + DIR_SIZE + i * GROUP_ENTRY;
    ResourceData image;
    if (!FindResourceData(res, size, RES_ICON, WordAt(entry + 12), &image) ||
        image.size == 0)
      return 0;
    total += image.size;
  }
  if (total > 0xFFFFFFFFu || total > SIZE_MAX)
    return 0;
  if (total > outSize)
    return static_cast<size_t>(total);

  memcpy(out, group.bytes, DIR_SIZE);
  size_t offset = DIR_SIZE + count * FILE_ENTRY;
  for (unsigned i = 0; i < count; ++i) {
    const unsigned char* entry = group.bytes + DIR_SIZE + i * GROUP_ENTRY;
    ResourceData image;
    FindResourceData(res, size, RES_ICON, WordAt(entry + 12), &image);
    unsigned char* fileEntry = out + DIR_SIZE + i * FILE_ENTRY;
    memcpy(fileEntry, entry, 8);  // sizes, colours, planes, bit count
    PutDwordAt(fileEntry + 8, image.size);
    PutDwordAt(fileEntry + 12, offset);
    memcpy(out + offset, image.bytes, image.size);
    offset += image.size;
  }
  return offset;
}
