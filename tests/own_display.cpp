// An X display of its own for a test program that opens windows: a private
// Xvfb, started before its first test and killed after its last, named in
// DISPLAY for the tests and for every program they start. Linked into each
// `window` test program (cmake/gtests.cmake); listing the tests starts none.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "displays.h"

namespace {

class OwnDisplay : public testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(StartXServer(&server_)) << "Xvfb did not start";
    setenv("DISPLAY", server_.display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
  }
  void TearDown() override { KillXServer(&server_); }

 private:
  XServer server_;
};

testing::Environment* const ownDisplay =
    testing::AddGlobalTestEnvironment(new OwnDisplay);

}  // namespace
