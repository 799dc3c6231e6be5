// The technique settings file: its exact bytes, reading it back, the files
// it refuses, and writing it without ever leaving a damaged file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <random>

#include "core/files.h"
#include "core/state.h"
#include "support/engine_support.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"

namespace {

const char* const kPath = "settings/techniques.prefs";

std::vector<int64_t> slot_values() {
  std::vector<int64_t> values;
  for (const TechniqueSlot& slot : g_technique_slots) values.push_back(*slot.value);
  return values;
}

bool no_temporary_files(const std::string& folder) { return staged_leftovers(folder).empty(); }

class EnginePrefs : public ::testing::Test {
 protected:
  void SetUp() override { start_engine_test(); }
};

TEST_F(EnginePrefs, FileAfterResetHoldsTheNotLearnedWindows) {
  reset_technique_windows();
  EXPECT_EQ(save_technique_prefs(), 1);
  std::string expected = "2\n";
  for (int k = 1; k <= 169; ++k) {
    const TechniqueSlot& slot = g_technique_slots[k - 1];
    int32_t v = k == 6 ? 3 : k == 9 ? 1 : (slot.value == &g_techniques[slot.technique].min ? 999 : 0);
    expected += le32_bytes(v);
  }
  std::string bytes = read_file_bytes(kPath);
  EXPECT_EQ(bytes.size(), 678u);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\x32\x0A"));
  EXPECT_TRUE(no_temporary_files("settings"));
}

TEST_F(EnginePrefs, RoundTripGivesBackEverySlot) {
  std::mt19937_64 random(5);
  for (const TechniqueSlot& slot : g_technique_slots) *slot.value = static_cast<int32_t>(random());
  *g_technique_slots[0].value = INT32_MIN;
  *g_technique_slots[1].value = -5;
  std::vector<int64_t> saved = slot_values();
  save_technique_prefs();
  init_technique_tables();
  EXPECT_EQ(load_technique_prefs(), 1);
  EXPECT_EQ(slot_values(), saved);

  // Beyond 32 bits the low 32 are kept and the sign is extended on reading.
  g_techniques[T_even].max = (int64_t{1} << 32) + 7;
  g_techniques[T_even].min = int64_t{0xFFFFFFFF};
  save_technique_prefs();
  EXPECT_EQ(load_technique_prefs(), 1);
  EXPECT_EQ(g_techniques[T_even].max, 7);
  EXPECT_EQ(g_techniques[T_even].min, -1);
}

TEST_F(EnginePrefs, FilesThatAreNotReadLeaveEveryGlobal) {
  std::vector<int64_t> defaults = slot_values();
  std::string good = "2\n" + std::string(676, '\x01');
  for (const std::string& bytes : {std::string(), "\xEF\xBB\xBF" + good, "3\n" + good.substr(2), "22\n" + good.substr(2),
                                   std::string(" 2\n") + good.substr(2)}) {
    write_file_bytes(kPath, bytes);
    EXPECT_EQ(load_technique_prefs(), 0);
    EXPECT_EQ(slot_values(), defaults);
  }
  std::filesystem::remove(kPath);
  EXPECT_EQ(load_technique_prefs(), 0);
  std::filesystem::create_directory(kPath);
  EXPECT_EQ(load_technique_prefs(), 0);
  EXPECT_EQ(slot_values(), defaults);
}

TEST_F(EnginePrefs, ShortFilesReadMissingBytesAsZero) {
  // Slot 1 complete, slot 2 cut after two bytes, nothing more.
  write_file_bytes(kPath, "2\n" + le32_bytes(240) + std::string("\x10\x02", 2));
  EXPECT_EQ(load_technique_prefs(), 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 240);
  EXPECT_EQ(g_techniques[T_sum_numbers].min, 0x0210);
  EXPECT_EQ(g_techniques[T_decades].max, 0);
  EXPECT_EQ(g_max_common_numbers, 0);
  EXPECT_EQ(g_techniques[T_star_column_3].min, 0);

  // A version line alone, and one ended by CR LF.
  write_file_bytes(kPath, "2");
  EXPECT_EQ(load_technique_prefs(), 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 0);
  write_file_bytes(kPath, "2\r\n" + le32_bytes(77));
  EXPECT_EQ(load_technique_prefs(), 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 77);
  // Bytes after slot 169 are ignored.
  save_technique_prefs();
  write_file_bytes(kPath, read_file_bytes(kPath) + "trailing");
  EXPECT_EQ(load_technique_prefs(), 1);
}

TEST_F(EnginePrefs, SavingReplacesTheWholeOldFile) {
  write_file_bytes(kPath, "");
  save_technique_prefs();
  EXPECT_EQ(read_file_bytes(kPath).size(), 678u);
  write_file_bytes(kPath, std::string(5000, 'x'));
  save_technique_prefs();
  EXPECT_EQ(read_file_bytes(kPath).size(), 678u);
  EXPECT_TRUE(no_temporary_files("settings"));
}

TEST_F(EnginePrefs, SavingWhereNoFileCanBeWrittenStillAnswersOne) {
  std::filesystem::remove_all("settings");
  EXPECT_EQ(save_technique_prefs(), 1);
  EXPECT_FALSE(std::filesystem::exists(kPath));
}

TEST(EngineFiles, AtomicWriteLeavesTheOldFileOnFailure) {
  enter_fresh_directory();
  write_file_bytes("old.bin", "old content");
  EXPECT_EQ(write_file_atomically("old.bin", std::string("new\0bytes", 9)), 1);
  EXPECT_EQ(read_file_bytes("old.bin"), std::string("new\0bytes", 9));

  // The target is a folder: the rename fails, the folder and its file stay,
  // no temporary file is left.
  std::filesystem::create_directory("target");
  write_file_bytes("target/inside", "kept");
  EXPECT_EQ(write_file_atomically("target", "bytes"), 0);
  EXPECT_TRUE(std::filesystem::is_directory("target"));
  EXPECT_EQ(read_file_bytes("target/inside"), "kept");
  EXPECT_TRUE(no_temporary_files("."));

  // No such folder: nothing is written anywhere.
  EXPECT_EQ(write_file_atomically("missing/file", "bytes"), 0);
  EXPECT_FALSE(std::filesystem::exists("missing"));
}

TEST(EngineFiles, AtomicWriteKeepsTheFilePermissions) {
  enter_fresh_directory();
  write_file_bytes("private", "x");
  ::chmod("private", 0600);
  EXPECT_EQ(write_file_atomically("private", "y"), 1);
  struct stat info;
  ASSERT_EQ(::stat("private", &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
