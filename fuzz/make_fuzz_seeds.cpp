// Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/:
// small valid files of each kind, written by the program's own writers where
// it has one (the past-results database and the clipboard have none, so
// their seeds are written out here in the form the program reads).
//
//   make_fuzz_seeds <corpus folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

std::string g_corpus;

void keep(const std::string& target, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(g_corpus + "/" + target);
  fuzz_write_file(g_corpus + "/" + target + "/" + name, bytes);
}

void keep_file(const std::string& target, const std::string& name, const std::string& path) {
  if (!std::filesystem::exists(path)) {
    std::fprintf(stderr, "no %s written for %s\n", path.c_str(), target.c_str());
    return;
  }
  keep(target, name, read_file_bytes(path));
}

std::string settings(const std::string& file) { return fuzz_directory() + "settings/" + file; }

void main_prefs_seeds() {
  save_main_prefs();
  keep_file("main_prefs", "defaults", settings("kestrova.prefs"));
  g_number_play_state[7] = 2;
  g_number_play_state[8] = 0;
  g_star_play_state[3] = 0;
  g_draws_to_generate = 25;
  g_currency = "R$";
  g_use_special_techniques = 0;
  g_bet_type_index = 5;
  g_language = 2;
  ui_set_text(295, "3.50");
  ui_set_text(296, "");
  save_main_prefs();
  keep_file("main_prefs", "edited", settings("kestrova.prefs"));
}

// The technique settings seeds serve both the reader's target and Generate's.
void keep_technique_prefs(const std::string& name) {
  for (const char* target : {"technique_prefs", "generate"}) keep_file(target, name, settings("techniques.prefs"));
}

void technique_prefs_seeds() {
  reset_techniques();
  save_techniques();
  keep_technique_prefs("not_learned");
  fuzz_learn_sample_database();
  save_technique_prefs();
  keep_technique_prefs("learned");
  remove_weak_outcomes();
  save_technique_prefs();
  keep_technique_prefs("removed");
}

void recent_files_seeds() {
  clear_recent_files();
  keep_file("recent_files", "empty", settings("recent_files.log"));
  update_recent_files("/home/player/week12.draws.txt");
  update_recent_files("/home/player/Jogos/semana 13.draws.txt");
  keep_file("recent_files", "two", settings("recent_files.log"));
  for (int i = 1; i <= 11; ++i) update_recent_files("/home/player/week" + std::to_string(i) + ".draws.txt");
  keep_file("recent_files", "full", settings("recent_files.log"));
}

void database_seeds() {
  std::string lines =
      "# past results, oldest first\n"
      "00001 2004-02-13 16 29 32 36 41 +07 +09\n"
      "00002 2004-02-20 07 13 39 47 50 +02 +05\n"
      "00003 2004-02-27 14 18 19 31 37 +04 +05\n";
  for (const char* target : {"database_import", "statistics"}) {
    keep(target, "three", lines + "@end_database\n");
    keep(target, "crlf_no_end", replace_string(lines, "\n", "\r\n"));
    keep(target, "comments_only", "# nothing yet\n#\n@end_database\n");
    keep(target, "bad_line", lines + "00004 2004-03-05 04 07 33 37 39 +01 05\n");
  }
}

void draws_file_seeds() {
  size_draw_list(3);
  const char* numbers[] = {"3,17,22,41,50", "1,2,3,4,5", "7,13,39,47,50"};
  const char* stars[] = {"2,11", "1,12", "2,5"};
  for (int i = 0; i < 3; ++i) {
    g_draw_count = i + 1;
    add_draw_to_list(numbers[i], stars[i]);
  }
  const std::string path = fuzz_directory() + "three.draws.txt";
  ui_test_push_file_answer(path);
  save_draws_file(0, 1);
  keep_file("draws_file", "three", path);
  // The prize check's seeds: a result line, then the same file.
  const std::string file = read_file_bytes(path);
  keep("prizes", "some_hits", "3 17 22 40 48 2 11\n" + file);
  keep("prizes", "first_ticket", "3 17 22 41 50 2 11\n" + file);
  keep("prizes", "out_of_range", "3 17 22 40 51 2 11\n" + file);
}

void text_seeds() {
  const char* texts[] = {"12", " -7", "\t+40", "$FF", "%101", "2.50", "-0.5", "1e3", "12abc", ""};
  int k = 0;
  for (const char* t : texts) keep("text_values", "value_" + std::to_string(k++), t);
  keep("paste", "with_plus", "3 17 22 40 48 + 2 11");
  keep("paste", "without_plus", "3 17 22 40 48 2 11");
  keep("paste", "line_break", "3 17 22 40 48 + 2 11\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_fuzz_seeds <corpus folder>\n", stderr);
    return 2;
  }
  g_corpus = std::filesystem::absolute(argv[1]).string();
  fuzz_start_program();
  main_prefs_seeds();
  technique_prefs_seeds();
  recent_files_seeds();
  database_seeds();
  draws_file_seeds();
  text_seeds();
  return 0;
}
