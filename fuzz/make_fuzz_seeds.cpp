// Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/:
// valid files of each kind, small ones and ones of the largest sizes the
// targets take (a draws file of thousands of tickets, lines and paths past
// the readers' 64 KiB), written by the program's own writers where it has
// one (the past-results database and the clipboard have none, so their seeds
// are written out here in the form the program reads). Some values never
// appear in them (no past result holds a number above 50): the targets'
// dictionaries and value profiling are to find those.
//
//   make_fuzz_seeds <corpus folder>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <string>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
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
  // A currency past the 64 KiB that a line of the other files keeps.
  g_currency = std::string(70 * 1024, 'E');
  save_main_prefs();
  keep_file("main_prefs", "long_currency", settings("kestrova.prefs"));
  init_game_state();
}

// The generate target's input: bet type, switches, request, the 62 play
// states (see generate_fuzz.cpp), then a technique settings file.
std::string generate_input(int bet_type, int flags, int request, const std::string& states,
                           const std::string& technique_file = "") {
  std::string bytes{static_cast<char>(bet_type), static_cast<char>(flags), static_cast<char>(request % 256),
                    static_cast<char>(request / 256)};
  std::string all_states = states;
  all_states.resize(62, '\1');
  return bytes + all_states + technique_file;
}

// The technique settings seeds serve both the reader's target and Generate's
// (with the techniques on and the windows read from the file).
void keep_technique_prefs(const std::string& name) {
  keep_file("technique_prefs", name, settings("techniques.prefs"));
  keep("generate", name, generate_input(0, 1 | 8, 3, "", read_file_bytes(settings("techniques.prefs"))));
}

// Selections, bet types and requests, with the techniques as learned at start.
void generate_seeds() {
  const std::string all(62, '\1');
  std::string fixed = all;
  fixed[0] = fixed[1] = '\2';    // numbers 1 and 2 fixed
  fixed[50] = '\2';              // star 1 fixed
  for (int n = 30; n < 50; ++n) fixed[n] = '\0';
  std::string few = std::string(50, '\0') + std::string(12, '\1');
  few[3] = few[9] = few[27] = '\1';  // three numbers played
  std::string exact(62, '\0');
  for (int n : {4, 11, 17, 23, 38, 44}) exact[n] = '\1';
  exact[51] = exact[56] = '\1';
  keep("generate", "simple_learned", generate_input(0, 1, 3, all));
  keep("generate", "simple_off", generate_input(0, 0, 10, all));
  keep("generate", "fixed_values", generate_input(0, 0, 12, fixed));
  keep("generate", "six_numbers", generate_input(11, 0, 20, all));
  keep("generate", "eleven_numbers", generate_input(39, 0, 5, all));
  keep("generate", "twelve_stars", generate_input(10, 0, 5, all));
  keep("generate", "too_few_numbers", generate_input(0, 0, 3, few));
  keep("generate", "every_ticket", generate_input(0, 0, 31, exact));
  keep("generate", "jitter_scan", generate_input(0, 2 | 4, 8, all));
  keep("generate", "large_request", generate_input(0, 16, 1200, all));
  keep("generate", "techniques_multiple", generate_input(11, 1, 3, all));
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

// The recent-files target's input: the log, a NUL, the path recorded, and a
// second NUL for a log that cannot be read.
void keep_recent(const std::string& name, const std::string& path, bool unreadable = false) {
  keep("recent_files", name,
       read_file_bytes(settings("recent_files.log")) + '\0' + path + (unreadable ? std::string(1, '\0') : ""));
}

void recent_files_seeds() {
  clear_recent_files();
  keep_recent("empty", "/home/player/week12.draws.txt");
  update_recent_files("/home/player/week12.draws.txt");
  update_recent_files("/home/player/Jogos/semana 13.draws.txt");
  keep_recent("two", "/home/player/week12.draws.txt");
  keep_recent("line_break", "/home/player/week\r\n13.draws.txt");
  keep_recent("unreadable", "/home/player/new.draws.txt", true);
  for (int i = 1; i <= 11; ++i) update_recent_files("/home/player/week" + std::to_string(i) + ".draws.txt");
  keep_recent("full", "/home/player/week5.draws.txt");
  // Paths past the 64 KiB that the reader keeps of a line.
  update_recent_files("/home/player/" + std::string(66 * 1024, 'w') + ".draws.txt");
  keep_recent("long_path", "/home/player/" + std::string(80 * 1024, 'x') + ".draws.txt");
  clear_recent_files();
}

// Three thousand made-up weekly results, in the form of the database: each
// draws five different numbers of 1..50 and two stars of 1..12 from a fixed
// sequence.
std::string many_past_results(int count) {
  uint32_t state = 12345;
  auto next = [&](int highest) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % static_cast<uint32_t>(highest)) + 1;
  };
  std::string text = "# made-up results, oldest first\r\n";
  int year = 2004, week = 1;
  for (int i = 1; i <= count; ++i) {
    int numbers[5], stars[2];
    for (int k = 0; k < 5; ++k) {
      bool again;
      do {
        numbers[k] = next(50);
        again = false;
        for (int j = 0; j < k; ++j) again |= numbers[j] == numbers[k];
      } while (again);
    }
    std::sort(numbers, numbers + 5);
    do {
      stars[0] = next(12);
      stars[1] = next(12);
    } while (stars[0] == stars[1]);
    if (stars[0] > stars[1]) std::swap(stars[0], stars[1]);
    text += past_result_line(i, year, (week - 1) / 4 % 12 + 1, (week - 1) % 4 * 7 + 1, numbers, stars) + "\r\n";
    if (++week > 48) {
      week = 1;
      ++year;
    }
  }
  return text + "@end_database\r\n";
}

void database_seeds() {
  std::string lines =
      "# past results, oldest first\n"
      "00001 2004-02-13 16 29 32 36 41 +07 +09\n"
      "00002 2004-02-20 07 13 39 47 50 +02 +05\n"
      "00003 2004-02-27 14 18 19 31 37 +04 +05\n";
  for (const char* target : {"database_import", "statistics"}) {
    keep(target, "three", lines + "@end_database\n");
    keep(target, "one", "00001 2004-02-13 16 29 32 36 41 +07 +09\n");
    keep(target, "crlf_no_end", replace_string(lines, "\n", "\r\n"));
    keep(target, "comments_only", "# nothing yet\n#\n@end_database\n");
    keep(target, "bad_line", lines + "00004 2004-03-05 04 07 33 37 39 +01 05\n");
    // Well-formed lines of a damaged database: values beyond the game and
    // out of order, every first digit among them, entries that begin with 9.
    keep(target, "beyond_the_game",
         "00001 2004-02-13 91 58 61 73 84 +13 +24\n00002 2004-02-20 94 05 66 70 80 +31 +62\n"
         "00003 2004-02-27 97 42 89 00 68 +00 +87\n");
  }
  // The reader's large inputs: a comment and a draw line far past what it
  // keeps of a line. The statistics target also gets a database of a few
  // hundred entries (thousands would cost each of its inputs tens of
  // milliseconds, most of it in the import's count shown after every line).
  const std::string long_comment = "# " + std::string(120 * 1024, 'x') + "\n";
  for (const char* target : {"database_import", "statistics"}) {
    keep(target, "long_comment", long_comment + lines + "@end_database\n");
    keep(target, "long_line", lines + "00004 2004-03-05 04 07 33 37 39 +01 +05" + std::string(8 * 1024, ' ') + "\n");
  }
  keep("statistics", "hundreds", many_past_results(300));

  // The operators' result files, each of the three results above with the
  // values as drawn: the plain CSV, the French operator's semicolon file
  // (newest first, its oldest rows dated yyyymmdd, each row ending in ";")
  // and the UK operator's draw history (newest first, CR LF); and a plain
  // file whose last row repeats a date.
  const std::string plain =
      "date,n1,n2,n3,n4,n5,s1,s2\n"
      "2004-02-13,41,16,36,29,32,9,7\n"
      "2004-02-20,7,13,39,47,50,2,5\n"
      "2004-02-27,31,14,37,19,18,5,4\n";
  const std::string french =
      "annee_numero_de_tirage;jour_de_tirage;date_de_tirage;date_de_forclusion;boule_1;boule_2;boule_3;"
      "boule_4;boule_5;etoile_1;etoile_2;boules_gagnantes_en_ordre_croissant;"
      "etoiles_gagnantes_en_ordre_croissant;rapport_du_rang1_Euro_Millions;devise;\n"
      "2004003;VENDREDI;27/02/2004;28/04/2004;31;14;37;19;18;5;4;14-18-19-31-37;4-5;8234567,40;eur;\n"
      "2004002;VENDREDI;20040220;21/04/2004;50;7;47;39;13;5;2;7-13-39-47-50;2-5;0;eur;\n"
      "2004001;VENDREDI;20040213;14/04/2004;32;41;16;36;29;9;7;16-29-32-36-41;7-9;15998532,00;eur;\n";
  const std::string uk =
      "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Lucky Star 1,Lucky Star 2,UK Millionaire Maker,"
      "European Millionaire Maker,DrawNumber\r\n"
      "27-Feb-2004,37,14,31,19,18,5,4,\"ABC12345, ABC12346\",,3\r\n"
      "20-Feb-2004,50,7,47,39,13,5,2,,,2\r\n"
      "13-Feb-2004,41,36,32,29,16,9,7,,,1\r\n";
  for (const char* target : {"database_import", "statistics"}) {
    keep(target, "csv_plain", plain);
    keep(target, "csv_french", french);
    keep(target, "csv_uk", uk);
    keep(target, "csv_repeated_date", plain + "2004-02-20,1,2,3,4,5,6,7\n");
  }
}

// Saves the list as a draws file and keeps it for the targets that read one.
std::string keep_draws_file(const std::string& name) {
  const std::string path = fuzz_directory() + name + ".draws.txt";
  std::remove(path.c_str());
  ui_test_push_file_answer(path);
  save_draws_file(0, 1);
  for (const char* target : {"draws_file", "extract"}) keep_file(target, name, path);
  return read_file_bytes(path);
}

// A list made by the generator: `count` tickets of bet type `bet_type` from
// every number and star, the techniques off.
void generate_list(int64_t count, int bet_type) {
  for (int64_t n = 1; n <= 50; ++n) g_number_play_state[static_cast<size_t>(n)] = 1;
  for (int64_t s = 1; s <= 12; ++s) g_star_play_state[static_cast<size_t>(s)] = 1;
  update_selection_counts();
  g_use_special_techniques = 0;
  g_draws_to_generate = count;
  ui_set_state(PREFS_BET_TYPE_LIST, bet_type);
  generate_requested_draws();
  run_pending_events();
  if (g_draw_count != count) std::fprintf(stderr, "the generator made %lld tickets\n", static_cast<long long>(g_draw_count));
}

void draws_file_seeds() {
  size_draw_list(3);
  const char* numbers[] = {"3,17,22,41,50", "1,2,3,4,5", "7,13,39,47,50"};
  const char* stars[] = {"2,11", "1,12", "2,5"};
  for (int i = 0; i < 3; ++i) {
    g_draw_count = i + 1;
    add_draw_to_list(numbers[i], stars[i]);
  }
  const std::string file = keep_draws_file("three");
  // The prize check's seeds: a result line, then the same file.
  keep("prizes", "some_hits", "3 17 22 40 48 2 11\n" + file);
  keep("prizes", "first_ticket", "3 17 22 41 50 2 11\n" + file);
  keep("prizes", "out_of_range", "3 17 22 40 51 2 11\n" + file);

  generate_list(3000, 0);
  keep("prizes", "thousands", "3 17 22 40 48 2 11\n" + keep_draws_file("thousands"));
  generate_list(300, 39);
  keep_draws_file("eleven_numbers");
  // A ticket text past the 64 KiB that the reader keeps of a line.
  clear_draw_list();
  size_draw_list(2);
  g_draw_count = 1;
  add_draw_to_list("3,17,22,41,50", "2,11");
  g_draw_count = 2;
  add_draw_to_list(std::string(70 * 1024, '7'), "2,11");
  keep_draws_file("long_line");
  clear_draw_list();
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
  generate_seeds();
  recent_files_seeds();
  database_seeds();
  draws_file_seeds();
  text_seeds();
  return 0;
}
