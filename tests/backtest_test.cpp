// The back-test window, driven by its gadget numbers as a player drives it:
// the refusal, the modal window and its ways out, the table of the windows in
// the fields, the saved table's bytes, the abort, a database of one result,
// both languages, and the real history against counts of this test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/selection.h"
#include "draws/statistics.h"
#include "support/program_fixture.h"
#include "support/technique_reading.h"
#include "support/test_support.h"
#include "techniques/backtest.h"
#include "techniques/catalogue.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// The first `results` results of the real history as a past-results file.
std::string write_history_head(int results) {
  std::ifstream in(history_file("past_results.txt"));
  std::string line, text = "# the first results of the real history\n";
  for (int kept = 0; kept < results && std::getline(in, line);)
    if (!line.empty() && line[0] != '#') {
      text += line + "\n";
      ++kept;
    }
  const std::string path = std::filesystem::current_path().string() + "/head_" + std::to_string(results) + ".txt";
  write_file_bytes(path, text + "@end_database\n");
  return path;
}

// The program started with the Techniques tab shown and `results` results of
// the real history imported (all of them for 0), learned and narrowed at 1 %.
void start_with_history(int results, int64_t language = 1) {
  start_program_for_test(language);
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  import_file_through_open(results == 0 ? history_file("past_results.txt") : write_history_head(results));
  click_gadget(GADGET_LEARN);
  click_gadget(GADGET_REMOVE);
  ui_test_clear_messages();
}

bool window_waits_for_the_player() {
  return ui_window_exists(WINDOW_BACKTEST) && ui_count_items(GADGET_BACKTEST_TABLE) > 0;
}

// Presses "Back-test"; `inside` runs once the window waits for the player,
// and must close it (or let the test's other steps close it).
void with_backtest_window(const std::function<void()>& inside) {
  bool done = false;
  ui_test_set_idle_hook([&] {
    if (done || !window_waits_for_the_player()) return;
    done = true;
    inside();
  });
  click_gadget(GADGET_BACKTEST);
  ui_test_set_idle_hook(nullptr);
  EXPECT_TRUE(done) << "the back-test window never waited for the player";
}

// The table as the window shows it: row by row, the cells of each row.
std::vector<std::vector<std::string>> shown_table() {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < ui_count_items(GADGET_BACKTEST_TABLE); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < 8; ++c) cells.push_back(ui_item_text(GADGET_BACKTEST_TABLE, r, c));
    rows.push_back(cells);
  }
  return rows;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (size_t comma; (comma = line.find(',', from)) != std::string::npos; from = comma + 1)
    fields.push_back(line.substr(from, comma - from));
  fields.push_back(line.substr(from));
  return fields;
}

// The past results as the import keeps them.
std::vector<std::pair<Numbers, Stars>> imported_results() {
  std::vector<std::pair<Numbers, Stars>> results;
  for (int64_t i = 1; i <= g_database_draw_count; ++i) {
    Numbers n;
    Stars s;
    for (int k = 0; k < 5; ++k) n[k] = val_int(string_field(g_database_draws[i], k + 1, " "));
    for (int k = 0; k < 2; ++k) s[k] = val_int(string_field(g_database_draws[i], k + 6, " "));
    results.push_back({n, s});
  }
  return results;
}

// The windows that the fields show, by key (a field's text as its number).
Windows windows_in_fields() {
  Windows w;
  for (const TechniqueRow& row : g_technique_catalogue) {
    if (row.check == CHECK_NONE) continue;
    const int64_t max = val_int(ui_text(g_technique_slots[row.max_slot - 1].field));
    const int64_t min = row.min_slot == 0 ? 0 : val_int(ui_text(g_technique_slots[row.min_slot - 1].field));
    w.window[row.key] = {min, max};
  }
  w.longest_run = val_int(ui_text(GADGET_MAX_SEQUENCE));
  w.common = val_int(ui_text(GADGET_MAX_COMMON_NUMBERS));
  return w;
}

class BacktestWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    ui_test_set_idle_hook(nullptr);
    g_language = 1;
  }
};

TEST_F(BacktestWindow, RefusesWithoutPastResults) {
  start_with_techniques_tab();
  EXPECT_EQ(ui_text(GADGET_BACKTEST), "Back-test");
  EXPECT_EQ(ui_x(GADGET_BACKTEST), 310);
  EXPECT_EQ(ui_y(GADGET_BACKTEST), 507);
  click_gadget(GADGET_BACKTEST);
  expect_single_message("Error", "No draws database for techniques.");
  EXPECT_FALSE(ui_window_exists(WINDOW_BACKTEST));
  EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
}

// Modal like the Tarvik window: the main window stays disabled while it is
// open, and Close, Escape and the close box each close it.
TEST_F(BacktestWindow, IsModalAndClosesEveryWay) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"Close", [] { ui_test_click(GADGET_BACKTEST_CLOSE); }},
      {"Escape", [] { ui_test_key(WINDOW_BACKTEST, UI_KEY_ESCAPE); }},
      {"close box", [] { ui_test_close_window(WINDOW_BACKTEST); }},
  };
  start_with_history(40);
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    bool disabled = false;
    std::string title, spin, note;
    with_backtest_window([&, close = close] {
      disabled = ui_window_disabled(WINDOW_MAIN);
      title = ui_window_title(WINDOW_BACKTEST);
      spin = ui_text(GADGET_BACKTEST_RESULTS);
      note = ui_text(GADGET_BACKTEST_NOTE);
      for (int g = GADGET_BACKTEST_SAVE; g <= GADGET_BACKTEST_NOTE; ++g) EXPECT_TRUE(ui_gadget_exists(g)) << g;
      close();
    });
    EXPECT_TRUE(disabled);
    EXPECT_EQ(title, "Back-test");
    // 40 results: at most the last 20 are walked, each learned from 20 or more.
    EXPECT_EQ(spin, "20");
    EXPECT_EQ(note.rfind("Before each walked result the windows are learned anew", 0), 0u) << note;
    EXPECT_FALSE(ui_window_exists(WINDOW_BACKTEST));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
    EXPECT_TRUE(ui_test_messages().empty());
  }
}

// The table shows the windows now in the fields, taken as Generate Draws
// takes them, without writing them into the program's windows; the
// walk-forward learns its own and is the same with or without the edit.
TEST_F(BacktestWindow, TheTableReadsTheFieldsAndTheWalkForwardIgnoresTheirEdits) {
  start_with_history(60);
  auto sum_row_and_walk = [] {
    std::vector<std::string> sum_row;
    std::string walked, share;
    with_backtest_window([&] {
      sum_row = shown_table().front();
      walked = ui_text(GADGET_BACKTEST_PASSED);
      share = ui_text(GADGET_BACKTEST_SHARE);
      ui_test_click(GADGET_BACKTEST_CLOSE);
    });
    return std::make_tuple(sum_row, walked, share);
  };
  const auto [learned_row, learned_walk, learned_share] = sum_row_and_walk();
  const int64_t learned_max = g_techniques[T_sum_numbers].max;
  EXPECT_EQ(learned_row[0], "Sum Nrs");
  EXPECT_EQ(learned_row[2], str_int(learned_max));

  ui_test_type(g_technique_slots[0].field, "100");  // Sum Nrs Max, not taken in
  run_pending_events();
  const auto [edited_row, edited_walk, edited_share] = sum_row_and_walk();
  EXPECT_EQ(edited_row[2], "100");
  EXPECT_NE(edited_row[5], learned_row[5]);
  EXPECT_EQ(edited_walk, learned_walk);
  EXPECT_EQ(edited_share, learned_share);
  EXPECT_NE(edited_walk, translate("Walk-forward, results passed:"));
  EXPECT_EQ(g_techniques[T_sum_numbers].max, learned_max);
  EXPECT_EQ(ui_text(g_technique_slots[0].field), "100");
}

// Save Table... through the save dialog: the header and one line per row as
// the window shows them, the walk-forward's line, UTF-8 with LF line ends,
// plain numbers; ".csv" added to a name without it; an existing file is
// replaced only after the question, and nothing is left beside it.
TEST_F(BacktestWindow, TheSavedTableHoldsTheHeaderTheRowsAndTheWalkForward) {
  start_with_history(60);
  const std::string folder = std::filesystem::current_path().string();
  std::vector<std::vector<std::string>> shown;
  std::string walked;
  ui_test_push_file_answer(folder + "/table");
  with_backtest_window([&] {
    shown = shown_table();
    walked = ui_text(GADGET_BACKTEST_PASSED);
    ui_test_click(GADGET_BACKTEST_SAVE);
    ui_test_click(GADGET_BACKTEST_CLOSE);
  });
  ASSERT_EQ(ui_test_file_dialogs().size(), 2u);  // the import's, then this one
  EXPECT_TRUE(ui_test_file_dialogs().back().save);
  EXPECT_EQ(ui_test_file_dialogs().back().title, "Save Table");
  EXPECT_EQ(ui_test_file_dialogs().back().filter, "CSV (*.csv)|*.csv");
  const std::string csv = read_file_bytes(folder + "/table.csv");
  ASSERT_FALSE(csv.empty());
  EXPECT_EQ(csv.find('\r'), std::string::npos);
  EXPECT_NE(static_cast<unsigned char>(csv[0]), 0xEF);
  EXPECT_EQ(csv.back(), '\n');
  EXPECT_EQ(valid_utf8(csv), csv);

  const std::vector<std::string> lines = lines_of(csv);
  ASSERT_EQ(lines.size(), shown.size() + 2);
  EXPECT_EQ(lines[0], "technique,min,max,past_inside,past_total,tickets_inside,tickets_total,ratio");
  std::vector<std::string> keys;
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check != CHECK_NONE) keys.push_back(row.key);
  for (const char* key : {"max_number_sequence", "max_common_numbers", "associations", "all"}) keys.push_back(key);
  ASSERT_EQ(keys.size(), shown.size());
  for (size_t r = 0; r < shown.size(); ++r) {
    SCOPED_TRACE(keys[r]);
    const std::vector<std::string> f = fields_of(lines[r + 1]);
    ASSERT_EQ(f.size(), 8u);
    EXPECT_EQ(f[0], keys[r]);
    // The bounds as the window shows them; the counts without separators.
    EXPECT_EQ(f[1], shown[r][1]);
    EXPECT_EQ(f[2], shown[r][2]);
    EXPECT_EQ(f[3], replace_string(shown[r][3], ",", ""));
    EXPECT_EQ(f[4], "60");
    EXPECT_EQ(f[5], replace_string(shown[r][5], ",", ""));
    EXPECT_EQ(f[6], "139838160");
    for (int k : {3, 4, 5, 6}) EXPECT_TRUE(text_is_digits(f[k])) << f[k];
    // Four decimals, the window's two the same value rounded.
    ASSERT_EQ(f[7].size(), 6u) << f[7];
    EXPECT_EQ(f[7][1], '.');
    EXPECT_EQ(format_number(std::stod(f[7]), 2), shown[r][7]);
  }
  const std::vector<std::string> walk = fields_of(lines.back());
  ASSERT_EQ(walk.size(), 4u);
  EXPECT_EQ(walk[0], "walk_forward");
  EXPECT_EQ(walk[1], "40");
  EXPECT_EQ(translate("Walk-forward, results passed:") + " " + walk[2] + "/40 (" +
                format_number(std::stod(walk[2]) * 100 / 40, 2) + "%)",
            walked);
  ASSERT_EQ(walk[3].size(), 8u) << walk[3];
  EXPECT_EQ(walk[3].substr(0, 2), "0.");

  // Again onto the same file: No keeps it, Yes replaces it.
  write_file_bytes(folder + "/table.csv", "kept\n");
  for (int answer : {UI_ANSWER_NO, UI_ANSWER_YES}) {
    ui_test_clear_messages();
    ui_test_push_file_answer(folder + "/table");
    ui_test_push_message_answer(answer);
    with_backtest_window([] {
      ui_test_click(GADGET_BACKTEST_SAVE);
      ui_test_click(GADGET_BACKTEST_CLOSE);
    });
    expect_single_message("Warning!", "File already exists! Overwrite it?", UI_MESSAGE_YES_NO | UI_ICON_WARNING);
    EXPECT_EQ(read_file_bytes(folder + "/table.csv"), answer == UI_ANSWER_NO ? "kept\n" : csv);
  }
  EXPECT_TRUE(staged_leftovers(folder).empty());
}

// Escape while the window counts asks "Really abort?": No goes on, Yes
// closes the window with nothing shown. Escape during a new walk-forward
// leaves the table and shows no walk-forward.
TEST_F(BacktestWindow, EscapeAsksAndYesStopsWithNothingShown) {
  start_with_history(60);
  for (int answer : {UI_ANSWER_YES, UI_ANSWER_NO}) {
    SCOPED_TRACE(answer);
    ui_test_clear_messages();
    bool pressed = false, shown = false;
    ui_test_set_idle_hook([&] {
      if (!ui_window_exists(WINDOW_BACKTEST)) return;
      if (!pressed) {
        pressed = true;
        ui_test_push_message_answer(answer);
        ui_test_key(WINDOW_BACKTEST, UI_KEY_ESCAPE);
      } else if (!shown && window_waits_for_the_player()) {
        shown = true;
        ui_test_click(GADGET_BACKTEST_CLOSE);
      }
    });
    click_gadget(GADGET_BACKTEST);
    ui_test_set_idle_hook(nullptr);
    expect_single_message("Warning!", "Really abort?", UI_MESSAGE_YES_NO | UI_ICON_WARNING);
    EXPECT_EQ(shown, answer == UI_ANSWER_NO);
    EXPECT_FALSE(ui_window_exists(WINDOW_BACKTEST));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  }

  // A new walk-forward, aborted: the hook acts once the window waits, then
  // in the first poll of the new walk, then once the window waits again.
  ui_test_clear_messages();
  std::string walked_before, walked_after;
  int rows = 0, phase = 0;
  ui_test_set_idle_hook([&] {
    if (phase == 0 && window_waits_for_the_player()) {
      walked_before = ui_text(GADGET_BACKTEST_PASSED);
      phase = 1;
      ui_test_type(GADGET_BACKTEST_RESULTS, "30");
    } else if (phase == 1) {
      phase = 2;
      ui_test_push_message_answer(UI_ANSWER_YES);
      ui_test_key(WINDOW_BACKTEST, UI_KEY_ESCAPE);
    } else if (phase == 2) {
      phase = 3;
      walked_after = ui_text(GADGET_BACKTEST_PASSED);
      rows = ui_count_items(GADGET_BACKTEST_TABLE);
      ui_test_click(GADGET_BACKTEST_CLOSE);
    }
  });
  click_gadget(GADGET_BACKTEST);
  ui_test_set_idle_hook(nullptr);
  EXPECT_EQ(phase, 3);
  expect_single_message("Warning!", "Really abort?", UI_MESSAGE_YES_NO | UI_ICON_WARNING);
  EXPECT_NE(walked_before, translate("Walk-forward, results passed:"));
  EXPECT_EQ(walked_after, translate("Walk-forward, results passed:"));
  EXPECT_EQ(rows, 77);
  EXPECT_EQ(g_backtest_walk.results, 0);
  EXPECT_FALSE(ui_window_exists(WINDOW_BACKTEST));
}

// A new number of results walks again; a number outside 10 .. imported - 20
// turns the spin red and keeps what is shown.
TEST_F(BacktestWindow, TheLastResultsSpinWalksAgain) {
  start_with_history(60);
  // Each step acts once the window waits with the walk-forward it expects
  // (a walk in progress has none).
  std::vector<std::string> passed;
  int64_t red_back = 0, valid_back = 0;
  ui_test_set_idle_hook([&] {
    if (!window_waits_for_the_player()) return;
    const int64_t walked = g_backtest_walk.results;
    if (passed.empty() && walked == 40) {
      passed.push_back(ui_text(GADGET_BACKTEST_PASSED));
      ui_test_type(GADGET_BACKTEST_RESULTS, "10");
    } else if (passed.size() == 1 && walked == 10) {
      passed.push_back(ui_text(GADGET_BACKTEST_PASSED));
      ui_test_type(GADGET_BACKTEST_RESULTS, "41");
    } else if (passed.size() == 2) {
      passed.push_back(ui_text(GADGET_BACKTEST_PASSED));
      red_back = ui_colour(GADGET_BACKTEST_RESULTS, UI_BACK);
      ui_test_spin_arrow(GADGET_BACKTEST_RESULTS, false);  // 41 taken as 40, less one
    } else if (passed.size() == 3 && walked == 39) {
      passed.push_back(ui_text(GADGET_BACKTEST_PASSED));
      valid_back = ui_colour(GADGET_BACKTEST_RESULTS, UI_BACK);
      ui_test_click(GADGET_BACKTEST_CLOSE);
    }
  });
  click_gadget(GADGET_BACKTEST);
  ui_test_set_idle_hook(nullptr);
  ASSERT_EQ(passed.size(), 4u);
  EXPECT_NE(passed[0].find("/40 ("), std::string::npos) << passed[0];
  EXPECT_NE(passed[1].find("/10 ("), std::string::npos) << passed[1];
  EXPECT_EQ(passed[2], passed[1]);
  EXPECT_EQ(red_back, 255);
  EXPECT_NE(passed[3].find("/39 ("), std::string::npos) << passed[3];
  EXPECT_EQ(valid_back, UI_DEFAULT_COLOUR);
  EXPECT_FALSE(ui_window_exists(WINDOW_BACKTEST));
}

// One past result: the table counts it (nothing before it to share numbers
// with), and the walk-forward is left out with its reason.
TEST_F(BacktestWindow, ADatabaseOfOneResult) {
  start_with_history(1);
  ASSERT_EQ(g_database_draw_count, 1);
  std::vector<std::vector<std::string>> shown;
  std::string note, walked;
  bool spin_disabled = false;
  const std::string path = std::filesystem::current_path().string() + "/one.csv";
  ui_test_push_file_answer(path);
  with_backtest_window([&] {
    shown = shown_table();
    note = ui_text(GADGET_BACKTEST_NOTE);
    walked = ui_text(GADGET_BACKTEST_PASSED);
    spin_disabled = ui_disabled(GADGET_BACKTEST_RESULTS);
    ui_test_click(GADGET_BACKTEST_SAVE);
    ui_test_click(GADGET_BACKTEST_CLOSE);
  });
  ASSERT_EQ(shown.size(), 77u);
  // After Learn on one result every window holds its value: it passes all.
  for (const std::vector<std::string>& row : shown) EXPECT_EQ(row[3], "1") << row[0];
  EXPECT_EQ(shown.back()[0], "All techniques");
  EXPECT_EQ(note, "The walk-forward needs at least 30 past results: it is left out.");
  EXPECT_EQ(walked, "Walk-forward, results passed:");
  EXPECT_TRUE(spin_disabled);
  const std::vector<std::string> lines = lines_of(read_file_bytes(path));
  ASSERT_EQ(lines.size(), 79u);
  EXPECT_EQ(lines[1].rfind("sum_numbers,", 0), 0u);
  EXPECT_EQ(lines.back(), "walk_forward,0,0,");
}

// The Portuguese program: every text of the window in Portuguese, and every
// label, button and caption as wide as its text needs, with the figures of
// the real history and the longest note (the techniques option off).
TEST_F(BacktestWindow, BothLanguagesShowWholeTexts) {
  for (int64_t language : {1, 2}) {
    SCOPED_TRACE(language);
    start_with_history(0, language);
    g_use_special_techniques = 0;
    ui_set_state(PREFS_SPECIAL_TECHNIQUES, 0);
    with_backtest_window([&] {
      EXPECT_NE(ui_text(GADGET_BACKTEST_NOTE).find("\n" + translate("The option Use special techniques for simple draws "
                                                                   "(Information Theory) is off: Generate Draws applies "
                                                                   "none of these checks.")),
                std::string::npos);
      EXPECT_EQ(ui_count_items(GADGET_BACKTEST_TABLE), 76);
      EXPECT_EQ(ui_window_title(WINDOW_BACKTEST), translate("Back-test"));
      EXPECT_EQ(ui_list_column_title(GADGET_BACKTEST_TABLE, 0), translate("Technique"));
      EXPECT_EQ(ui_list_column_title(GADGET_BACKTEST_TABLE, 3), translate("Past results inside"));
      EXPECT_EQ(ui_list_column_title(GADGET_BACKTEST_TABLE, 7), translate("Ratio"));
      const std::vector<std::vector<std::string>> shown = shown_table();
      EXPECT_EQ(shown[0][0], translate("Sum Nrs"));
      EXPECT_EQ(shown[5][0], translate("Even"));
      EXPECT_EQ(shown[30][0], translate("Distances between numbers") + " 1:2");
      EXPECT_EQ(shown.back()[0], translate("All techniques"));
      for (int g : {GADGET_BACKTEST_PASSED, GADGET_BACKTEST_SHARE, GADGET_BACKTEST_LEGEND, GADGET_BACKTEST_RESULTS_LABEL,
                    GADGET_BACKTEST_SAVE, GADGET_BACKTEST_CLOSE})
        EXPECT_LE(ui_required_width(g), ui_width(g)) << g << " " << ui_text(g);
      EXPECT_LE(ui_required_height(GADGET_BACKTEST_NOTE), ui_height(GADGET_BACKTEST_NOTE));
      ui_test_click(GADGET_BACKTEST_CLOSE);
    });
    EXPECT_LE(ui_required_width(GADGET_BACKTEST), ui_width(GADGET_BACKTEST));
    EXPECT_LE(ui_x(GADGET_BACKTEST) + ui_width(GADGET_BACKTEST), ui_x(GADGET_DATABASE_FRAME));
  }
  g_language = 1;
  EXPECT_EQ(translate("Back-test"), "Back-test");
  g_language = 2;
  EXPECT_EQ(translate("Back-test"), "Teste retrospetivo");
  EXPECT_EQ(translate("All techniques"), "Todas as técnicas");
}

// The real history after Learn and Remove at 1 %: every row's past results
// counted from the imported results and its tickets from every ticket of the
// game, each read off the techniques' definitions; the sum of numbers by the
// dynamic program as well. The strip shows one mark per walked result in
// its colour, and the program's windows stay as Remove left them.
TEST_F(BacktestWindow, TheRealHistoryAgreesWithCountsOfItsOwn) {
  start_with_history(0);
  ASSERT_EQ(g_database_draw_count, 1698);
  std::vector<int64_t> maxima;
  for (const TechniqueTable& t : g_techniques) maxima.push_back(t.max);
  const std::string best_number = ui_item_text(STATS_BEST_NUMBERS, 0, 0);
  std::vector<std::vector<std::string>> shown;
  std::vector<int64_t> mark_colours;
  std::string walked;
  with_backtest_window([&] {
    shown = shown_table();
    walked = ui_text(GADGET_BACKTEST_PASSED);
    const int width = ui_width(GADGET_BACKTEST_STRIP);
    for (int i = 0; i < 100; ++i) mark_colours.push_back(ui_test_gadget_pixel(GADGET_BACKTEST_STRIP, i * width / 100 + 2, 10));
    ui_test_click(GADGET_BACKTEST_CLOSE);
  });
  ASSERT_EQ(shown.size(), 77u);
  ASSERT_EQ(g_backtest_walk.results, 100);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(mark_colours[i], g_backtest_walk.marks[i] ? 0x00A000 : 0x0000DC) << i;
  EXPECT_NE(walked.find(str_int(g_backtest_walk.passed) + "/100 ("), std::string::npos);

  const Windows w = windows_in_fields();
  const auto results = imported_results();
  const auto numbers = number_statistics();
  const auto stars = star_statistics();
  // The windows beside their statistics, in one list: the brute force below
  // reads every one of them for every number set.
  struct NumberWindow {
    std::string key;
    std::function<int64_t(const Numbers&)> statistic;
    int64_t kept = 0;
  };
  std::vector<NumberWindow> number_windows;
  for (const auto& [key, statistic] : numbers) number_windows.push_back({key, statistic});
  std::vector<std::pair<int64_t, int64_t>> bounds;
  std::vector<bool> maximum_alone;
  for (const NumberWindow& n : number_windows) {
    bounds.push_back(w.window.at(n.key));
    maximum_alone.push_back(checked_by_maximum_alone(n.key));
  }
  std::map<std::string, int64_t> kept;
  int64_t runs_kept = 0, all_numbers = 0, free_of_common = 0;
  // The sets that share 4 numbers or more with a past result: 4 of its
  // numbers and any fifth, each set as a bit mask of its numbers.
  ASSERT_EQ(w.common, 3);
  std::unordered_set<uint64_t> sharing;
  for (const auto& [n, s] : results)
    for (int left_out = 0; left_out < 5; ++left_out) {
      uint64_t four = 0;
      for (int k = 0; k < 5; ++k)
        if (k != left_out) four |= uint64_t{1} << n[k];
      for (int64_t v = 1; v <= 50; ++v)
        if (!(four >> v & 1)) sharing.insert(four | uint64_t{1} << v);
    }
  for_each_numbers(50, [&](const Numbers& x) {
    bool every = true;
    for (size_t t = 0; t < number_windows.size(); ++t) {
      const int64_t v = number_windows[t].statistic(x);
      const bool in = v <= bounds[t].second && (maximum_alone[t] || v >= bounds[t].first);
      number_windows[t].kept += in;
      every = every && in;
    }
    const bool run = run_allowed(w, longest_run(x));
    runs_kept += run;
    uint64_t mine = 0;
    for (int64_t v : x) mine |= uint64_t{1} << v;
    const bool free = sharing.count(mine) == 0;
    free_of_common += free;
    all_numbers += every && run && free;
  });
  for (const NumberWindow& n : number_windows) kept[n.key] = n.kept;
  int64_t all_stars = 0;
  for_each_stars(12, [&](const Stars& s) {
    bool every = true;
    for (const auto& [key, statistic] : stars) {
      const bool in = inside(w, key, statistic(s));
      kept[key] += in;
      every = every && in;
    }
    all_stars += every;
  });
  auto figure = [](int64_t v) { return format_number(static_cast<double>(v), 0); };
  size_t r = 0;
  for (const TechniqueRow& row : g_technique_catalogue) {
    if (row.check == CHECK_NONE) continue;
    SCOPED_TRACE(row.key);
    const bool star = stars.count(row.key) != 0;
    int64_t past = 0;
    for (const auto& [n, s] : results) past += inside(w, row.key, star ? stars.at(row.key)(s) : numbers.at(row.key)(n));
    EXPECT_EQ(shown[r][3], figure(past));
    EXPECT_EQ(shown[r][5], figure(kept[row.key] * (star ? 2118760 : 66)));
    ++r;
  }
  EXPECT_EQ(shown[73][5], figure(runs_kept * 66));
  EXPECT_EQ(shown[74][5], figure(free_of_common * 66));
  EXPECT_EQ(shown[75][3], "1,698");
  EXPECT_EQ(shown[75][5], "139,838,160");
  EXPECT_EQ(shown[76][5], figure(all_numbers * all_stars));
  // Every past result through every check, its common numbers against the
  // results before it.
  int64_t past_all = 0;
  for (size_t j = 0; j < results.size(); ++j) {
    bool passes = stars_pass(w, results[j].second) && run_allowed(w, longest_run(results[j].first));
    for (const auto& [key, statistic] : numbers) passes = passes && inside(w, key, statistic(results[j].first));
    for (size_t e = 0; e < j && passes; ++e) passes = shared(results[j].first, results[e].first) <= w.common;
    past_all += passes;
  }
  EXPECT_EQ(shown[76][3], figure(past_all));

  const std::vector<int64_t> sums = five_number_sums();
  int64_t in_sum_window = 0;
  for (int64_t s = w.window.at("sum_numbers").first; s <= w.window.at("sum_numbers").second; ++s) in_sum_window += sums[s];
  EXPECT_EQ(shown[0][5], figure(in_sum_window * 66));

  for (int t = 0; t < TECHNIQUE_COUNT; ++t) EXPECT_EQ(g_techniques[t].max, maxima[t]) << t;
  EXPECT_EQ(ui_item_text(STATS_BEST_NUMBERS, 0, 0), best_number);
}

// Pictures of the window on the real history in both languages, for a look,
// into $KESTROVA_SCREENSHOT_DIR when it is set.
TEST_F(BacktestWindow, ScreenshotsOnTheRealHistory) {
  const char* dir = std::getenv("KESTROVA_SCREENSHOT_DIR");
  const std::string out = dir != nullptr && *dir != '\0' ? dir : std::filesystem::current_path().string();
  std::filesystem::create_directories(out);
  for (int64_t language : {1, 2}) {
    start_with_history(0, language);
    const std::string code = language == 1 ? "en" : "pt";
    EXPECT_TRUE(ui_test_save_png(WINDOW_MAIN, out + "/backtest_tab_" + code + ".png"));
    with_backtest_window([&] {
      EXPECT_TRUE(ui_test_save_png(WINDOW_BACKTEST, out + "/backtest_" + code + ".png"));
      ui_test_click(GADGET_BACKTEST_CLOSE);
    });
    // With the techniques option off the note is at its longest.
    g_use_special_techniques = 0;
    with_backtest_window([&] {
      EXPECT_TRUE(ui_test_save_png(WINDOW_BACKTEST, out + "/backtest_" + code + "_option_off.png"));
      ui_test_click(GADGET_BACKTEST_CLOSE);
    });
  }
}

}  // namespace
