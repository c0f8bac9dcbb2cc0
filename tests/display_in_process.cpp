// For the tests that drive the dialog functions inside their own process:
// the display is opened in that process, which must not fork.
#include "display_child.h"

bool EnterDisplayProcess() {
  return true;
}
