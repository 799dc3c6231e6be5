// The executable: kestrova_en and kestrova_pt differ only in this definition.
#include "app/app.h"
#include "core/state.h"

#ifndef KESTROVA_BUILD_LANGUAGE
#define KESTROVA_BUILD_LANGUAGE 1
#endif

int main() {
  g_build_language = KESTROVA_BUILD_LANGUAGE;
  program_main();
}
