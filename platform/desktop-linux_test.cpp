#include "desktop.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

TEST(WindowsCanBeSeen, WhereABackEndGdkMayUseHasADisplayNamed) {
  const char* const names[] = {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET",
                               "GDK_BACKEND"};
  struct {
    const char* values[4];  // for `names`; NULL: not set
    bool seen;
  } cases[] = {
      {{NULL, NULL, NULL, NULL}, false},
      {{"", "", "", ""}, false},
      {{":0", NULL, NULL, NULL}, true},
      {{NULL, "wayland-0", NULL, NULL}, true},
      {{NULL, NULL, "3", NULL}, true},
      {{NULL, NULL, NULL, "x11"}, false},
      {{":0", NULL, NULL, "wayland"}, false},
      {{NULL, "wayland-0", NULL, "x11"}, false},
      {{NULL, NULL, "3", "wayland"}, true},
      {{":0", NULL, NULL, "wayland,x11"}, true},
      {{":0", NULL, NULL, ",,x11,"}, true},
      {{NULL, NULL, NULL, "x11,wayland,*"}, false},
      // Back ends of other names are for GDK to try.
      {{NULL, NULL, NULL, "broadway"}, true},
      {{NULL, "wayland-0", NULL, "x11x"}, true},  // another than x11
  };
  for (const auto& c : cases) {
    std::string what;
    for (int i = 0; i < 4; ++i) {
      if (c.values[i])
        setenv(names[i], c.values[i], 1);
      else
        unsetenv(names[i]);
      what += std::string(names[i]) + "=" + (c.values[i] ? c.values[i] : "(unset)") + " ";
    }
    EXPECT_EQ(c.seen, WindowsCanBeSeen()) << what;
  }
}

}  // namespace
