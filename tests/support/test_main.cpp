// Every test program starts the gadget layer offscreen in test mode.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/ui.h"
#include "ui/ui_test.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  if (!ui_init()) return 1;
  ui_test_reset();
  return RUN_ALL_TESTS();
}
