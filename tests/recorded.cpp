#include "recorded.h"

const char REFUSAL[] =
    "MessageBoxA owner=(nil) flags=0x30 caption=5:Error text=14:Email too long\n";

bool RecordedText(const std::string& out, int item, std::string* text) {
  std::string key = "SetDlgItemTextA item=" + std::to_string(item) + " text=";
  size_t at = out.find(key);
  if (at == std::string::npos)
    return false;
  at += key.size();
  size_t colon = out.find(':', at);
  size_t length = std::stoul(out.substr(at, colon - at));
  *text = out.substr(colon + 1, length);
  return true;
}

std::string Shown(const std::string& out) {
  std::string text;
  return RecordedText(out, 1121, &text) ? text : "<none>";
}
