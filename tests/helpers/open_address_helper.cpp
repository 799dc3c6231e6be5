// A helper program for address_handover_test: it starts the gadget layer
// outside test mode, so that open_in_browser really hands its address to the
// system, and opens the manual of the directory it is started in (argument
// "manual") or the address given. It exits with 0 when the system took the
// address and with 1 when it did not.
//
//   open_address_helper manual | open_address_helper <text>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/app.h"
#include "core/state.h"
#include "ui/ui.h"

int main(int argc, char** argv) {
  if (argc != 2 || !ui_init()) return 2;
  init_game_state();
  const std::string what = argv[1];
  const bool opened = open_in_browser(what == "manual" ? build_manual_url() : what);
  // An opener still running has its time to write down what it got.
  ui_delay(200);
  return opened ? 0 : 1;
}
