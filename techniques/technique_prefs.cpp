// The technique settings file "settings/techniques.prefs": the version line
// "2" and LF, then the 169 slots in slot order, each the low 32 bits of its
// global as a signed little-endian integer (678 bytes in all).
#include "core/files.h"
#include "core/settings_file.h"
#include "core/state.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"

namespace {

std::string technique_prefs_path() { return g_program_dir + "settings/techniques.prefs"; }

}  // namespace

int64_t load_technique_prefs() {
  // A file of this format is 678 bytes; a larger one is read no further.
  constexpr size_t kLargestRead = 4096;
  SettingsReader r;
  if (!open_settings_file(technique_prefs_path(), kLargestRead, r)) return 0;
  // A byte-order mark is part of the version line, so such a file is another
  // version.
  if (read_settings_line(r) != g_techniques_prefs_version) return 0;
  // Bytes missing at the end read as 0: a slot cut short keeps the bytes it
  // has, every later slot reads 0.
  for (const TechniqueSlot& slot : g_technique_slots) *slot.value = read_settings_int(r);
  return 1;
}

int64_t save_technique_prefs() {
  std::string bytes;
  append_settings_line(bytes, g_techniques_prefs_version);
  for (const TechniqueSlot& slot : g_technique_slots) append_settings_int(bytes, *slot.value);
  // The old file stays whole until the new one is complete on the disk. The
  // result is not reported: saving is silent whatever happens to the file.
  write_file_atomically(technique_prefs_path(), bytes);
  return 1;
}
