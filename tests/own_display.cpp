// An X display of its own for each `window` test program (cmake/gtests.cmake):
// a private Xvfb from before its first test to after its last, named in
// DISPLAY for the tests and the programs they start. Listing starts none.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "displays.h"

namespace {

struct OwnDisplay : testing::Environment {
  void SetUp() override {
    ASSERT_TRUE(StartXServer(&server)) << "Xvfb did not start";
    setenv("DISPLAY", server.display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
  }
  void TearDown() override { KillXServer(&server); }
  XServer server;
};

testing::Environment* const ownDisplay = testing::AddGlobalTestEnvironment(new OwnDisplay);

}  // namespace
