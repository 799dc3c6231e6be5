// The technique settings file: the reader on the bytes, the fields shown and
// taken back in, every field's range check, then the filter with the windows
// it read (the fast one against the literal one, on fixed tickets and on a
// ticket taken from the bytes past the file's 678), Remove, and the writer,
// whose file holds exactly the windows' encoding and reads back to the same
// windows.
#include <cstdint>
#include <iterator>
#include <vector>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr size_t kFileBytes = 678;

// The window each field showed when it was last checked.
std::vector<bool> g_checked(TECHNIQUE_SLOT_COUNT, false);
std::vector<int64_t> g_checked_values(TECHNIQUE_SLOT_COUNT, 0);

void compare_filters(const std::string& numbers, const std::string& stars) {
  const int64_t before = g_common_rejections;
  const int64_t fast = check_number_techniques(numbers);
  const int64_t fast_rejections = g_common_rejections - before;
  const int64_t literal = check_number_techniques_literal(numbers);
  fuzz_require(fast == literal, "both number checks agree");
  fuzz_require(g_common_rejections - before == 2 * fast_rejections, "both count a common-numbers rejection");
  fuzz_require(check_star_windows(stars) == check_star_windows_literal(stars), "both star checks agree");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_learn_sample_database();
  fuzz_drop_association_grid();
  return 0;
}

// Mutations of one window bound, or of both bounds of one window, at a time
// (fuzz/format_mutators.h).
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_technique_prefs(data, size, max_size, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzz_bytes(data, size);
  fuzz_write_file(fuzz_directory() + "settings/techniques.prefs", bytes);
  ui_test_clear_messages();
  reset_technique_windows();
  load_technique_prefs();
  show_technique_settings();
  read_technique_windows();
  // A field's check colours it from its text and its range alone, and the
  // fields show the windows just read: a field whose window holds the value
  // it held when the field was last checked keeps its colour, and only the
  // others are checked again.
  for (size_t k = 0; k < std::size(g_technique_slots); ++k) {
    const int64_t value = *g_technique_slots[k].value;
    if (g_checked[k] && g_checked_values[k] == value) continue;
    validate_technique_field(g_technique_slots[k].field);
    g_checked[k] = true;
    g_checked_values[k] = value;
  }

  compare_filters("3,17,22,41,50", "2,11");
  compare_filters("16,29,32,36,41", "7,9");
  compare_filters("1,2,3,4,5", "1,12");
  if (bytes.size() > kFileBytes) {
    const std::string tail = bytes.substr(kFileBytes);
    compare_filters(string_field(tail, 1, "\n"), string_field(tail, 2, "\n"));
  }
  remove_weak_outcomes();
  compare_filters("3,17,22,41,50", "2,11");

  // The file holds the version line and each window's low 32 bits,
  // little-endian, and reads back to the same windows.
  const std::string path = fuzz_directory() + "settings/techniques.prefs";
  save_technique_prefs();
  std::string expected = "2\n";
  std::vector<int64_t> windows;
  for (const TechniqueSlot& slot : g_technique_slots) {
    expected += le32_bytes(*slot.value);
    windows.push_back(*slot.value);
  }
  fuzz_require(read_file_bytes(path) == expected, "the file holds the version line and every window");
  // Every window set to another value first, so that one the reader leaves
  // alone shows.
  for (size_t k = 0; k < windows.size(); ++k) *g_technique_slots[k].value = windows[k] + 1;
  fuzz_require(load_technique_prefs() == 1, "a saved file loads");
  for (size_t k = 0; k < windows.size(); ++k)
    fuzz_require(*g_technique_slots[k].value == windows[k], "every window comes back");
  return 0;
}
