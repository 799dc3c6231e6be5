// Draws files and the text extract through the program's own menu and Main
// tab buttons: the lines written, what an open restores or refuses, the
// abort with Escape, a previous file surviving an aborted or failed write,
// and the recent-files list that follows saves and opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

namespace fs = std::filesystem;

const char* const kMagic = "LOTTODRAWSFILE-1.01";
const std::regex kDateTime(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");

// The two ways the player reaches the same operations.
struct Route {
  const char* name;
  bool menu;
};
const Route kRoutes[] = {{"menu", true}, {"buttons", false}};

void run_menu(int item) {
  ui_test_menu(WINDOW_MAIN, item);
  run_pending_events();
}

void open_via(const Route& route) {
  if (route.menu) run_menu(MENU_OPEN);
  else click_gadget(GADGET_OPEN_DRAWS);
}
void save_via(const Route& route) {
  if (route.menu) run_menu(MENU_SAVE);
  else click_gadget(GADGET_SAVE_DRAWS);
}
void save_as_via(const Route& route) {
  if (route.menu) run_menu(MENU_SAVE_AS);
  else click_gadget(GADGET_SAVE_DRAWS_AS);
}

// n different simple tickets.
std::vector<Ticket> simple_tickets(int n) {
  std::vector<Ticket> tickets;
  for (int k = 0; k < n; ++k)
    tickets.push_back({"1,2,3,4," + std::to_string(5 + k % 46), "1," + std::to_string(2 + k / 46 % 11)});
  return tickets;
}

std::vector<std::string> crlf_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(pos) + "<no line end>");
      break;
    }
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// A draws file as the program writes one, with room to spoil any part of it.
struct FileParts {
  std::string first = kMagic;
  std::string count;  // "" : the number of tickets
  std::string numbers_per_draw = "5";
  std::string stars_per_draw = "2";
  std::string eol = "\r\n";
  int header_lines = 9;
};
std::string draws_file_bytes(const std::vector<Ticket>& tickets, const FileParts& parts = {}) {
  std::vector<std::string> lines = {parts.first,      "  Cost:1.00 XYZ",
                                    "  Repeated:7",   "Techniques:8",
                                    "(Max Common Numbers:9)",
                                    parts.count.empty() ? std::to_string(tickets.size()) : parts.count,
                                    parts.numbers_per_draw, parts.stars_per_draw,
                                    "2022-02-22 18:05:09"};
  lines.resize(parts.header_lines);
  for (size_t i = 0; i < tickets.size(); ++i) {
    lines.push_back("#:" + std::to_string(i + 1));
    lines.push_back(tickets[i].first);
    lines.push_back(tickets[i].second);
  }
  std::string bytes;
  for (const std::string& line : lines) bytes += line + parts.eol;
  return bytes;
}

std::vector<std::string> recent_slots() {
  return std::vector<std::string>(g_recent_files.begin() + 1, g_recent_files.begin() + 11);
}

std::vector<std::string> list_rows() {
  std::vector<std::string> rows;
  for (int r = 0; r < ui_count_items(GADGET_DRAW_LIST); ++r) {
    std::string row;
    for (int c = 0; c <= 13; ++c) row += ui_item_text(GADGET_DRAW_LIST, r, c) + "|";
    rows.push_back(row);
  }
  return rows;
}

// Everything an open or a save may change, to compare before and after.
struct Snapshot {
  int64_t count;
  std::vector<std::string> numbers, stars, rows, recent;
  std::string path, labels;
  bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot() {
  Snapshot s{g_draw_count, {}, {}, list_rows(), recent_slots(), g_draws_file_path, ""};
  for (int64_t i = 1; i <= g_draw_count; ++i) {
    s.numbers.push_back(g_draw_numbers[i]);
    s.stars.push_back(g_draw_stars[i]);
  }
  for (int g : {GADGET_DRAWS_LABEL, GADGET_COST_LABEL, GADGET_REPEATED_LABEL, GADGET_TECHNIQUES_LABEL,
                GADGET_COMMON_LABEL, GADGET_FILE_LABEL})
    s.labels += ui_text(g) + "|";
  return s;
}


class DrawsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = start_program_for_test(); }
  void TearDown() override { ui_test_set_idle_hook(nullptr); }

  std::string at(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
};

TEST_F(DrawsFilesTest, ThreeTicketsSaveAsEighteenLinesAndOpenAgain) {
  const std::vector<Ticket> tickets = {{"3,17,22,41,50", "2,11"}, {"1,2,3,4,5", "1,2"},
                                       {"10,20,30,40,50", "11,12"}};
  for (const Route& route : kRoutes) {
    SCOPED_TRACE(route.name);
    dir_ = start_program_for_test();
    list_tickets(tickets);
    ui_set_text(GADGET_COST_LABEL, "  Cost:9.99 EUR");
    ui_set_text(GADGET_REPEATED_LABEL, "  Repeated:1");
    ui_set_text(GADGET_TECHNIQUES_LABEL, "Techniques:2");
    ui_set_text(GADGET_COMMON_LABEL, "(Max Common Numbers:3)");
    ui_test_push_file_answer(at("three"));
    save_as_via(route);

    EXPECT_TRUE(ui_test_messages().empty());
    ASSERT_EQ(ui_test_file_dialogs().size(), 1u);
    const UiFileDialogRecord& save = ui_test_file_dialogs()[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.title, "Save Draws");
    EXPECT_EQ(save.default_path, "");
    EXPECT_EQ(save.filter, "Draws (*.draws.txt)|*.draws.txt");
    EXPECT_EQ(save.filter_index, 0);

    const std::string path = at("three.draws.txt");
    const std::string bytes = read_file_bytes(path);
    std::vector<std::string> lines = crlf_lines(bytes);
    ASSERT_EQ(lines.size(), 18u) << bytes;
    EXPECT_TRUE(std::regex_match(lines[8], kDateTime)) << lines[8];
    lines[8] = "<time>";
    const std::vector<std::string> expected = {
        kMagic, "  Cost:9.99 EUR", "  Repeated:1", "Techniques:2", "(Max Common Numbers:3)", "3", "5",
        "2", "<time>", "#:1", "3,17,22,41,50", "2,11", "#:2", "1,2,3,4,5", "1,2", "#:3",
        "10,20,30,40,50", "11,12"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(count_string(bytes, "\n"), count_string(bytes, "\r\n"));  // CR LF ends only
    EXPECT_EQ(g_draws_file_path, path);
    EXPECT_EQ(ui_text(GADGET_FILE_LABEL), "File:three.draws.txt");
    EXPECT_TRUE(staged_leftovers(dir_).empty());

    // Cleared, hit counters raised, then opened again.
    click_gadget(GADGET_CLEAR_LIST);
    g_hits_3_2 = 4;
    show_hit_counters();
    g_preview_valid = 1;
    ui_test_push_file_answer(path);
    open_via(route);
    EXPECT_TRUE(ui_test_messages().empty());
    ASSERT_EQ(ui_test_file_dialogs().size(), 2u);
    const UiFileDialogRecord& open = ui_test_file_dialogs()[1];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.title, "Open Draws");
    EXPECT_EQ(open.filter, "Draws (*.draws.txt)|*.draws.txt");
    EXPECT_EQ(open.filter_index, 0);
    ASSERT_EQ(g_draw_count, 3);
    EXPECT_EQ(ui_count_items(GADGET_DRAW_LIST), 3);
    EXPECT_EQ(g_numbers_per_draw, 5);
    EXPECT_EQ(g_stars_per_draw, 2);
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(g_draw_numbers[i], tickets[i - 1].first);
      EXPECT_EQ(g_draw_stars[i], tickets[i - 1].second);
    }
    EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 2, 5), "50");
    EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 2, 13), "12");
    EXPECT_EQ(ui_text(GADGET_DRAWS_LABEL), "Draws:3");
    EXPECT_EQ(ui_text(GADGET_COST_LABEL), "  Cost:7.50 EUR");
    EXPECT_EQ(ui_text(GADGET_REPEATED_LABEL), "  Repeated:1");
    EXPECT_EQ(ui_text(GADGET_TECHNIQUES_LABEL), "Techniques:2");
    EXPECT_EQ(ui_text(GADGET_COMMON_LABEL), "(Max Common Numbers:3)");
    EXPECT_EQ(g_hits_3_2, 0);
    EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:0");
    EXPECT_EQ(g_preview_valid, 0);
    EXPECT_EQ(recent_slots()[0], path);
    EXPECT_EQ(ticket_is_listed("1,2,3,4,5", "1,2"), 1);
  }
}

TEST_F(DrawsFilesTest, SaveAfterAnOpenWritesBackWithoutAsking) {
  for (const Route& route : kRoutes) {
    SCOPED_TRACE(route.name);
    dir_ = start_program_for_test();
    const std::string path = at("kept.draws.txt");
    const std::vector<Ticket> tickets = {{"5,6,7,8,9", "3,4"}, {"07,18,8,010,9", "12,1"}};
    write_file_bytes(path, draws_file_bytes(tickets));
    ui_test_push_file_answer(path);
    open_via(route);
    ASSERT_EQ(g_draw_count, 2);
    save_via(route);
    EXPECT_EQ(ui_test_file_dialogs().size(), 1u);  // only the open's
    EXPECT_TRUE(ui_test_messages().empty());
    std::vector<std::string> lines = crlf_lines(read_file_bytes(path));
    ASSERT_EQ(lines.size(), 15u);
    // The cost line now follows the current price; the tickets go back as read.
    EXPECT_EQ(lines[1], "  Cost:5.00 EUR");
    EXPECT_EQ(lines[2], "  Repeated:7");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.end()),
              (std::vector<std::string>{"#:1", "5,6,7,8,9", "3,4", "#:2", "07,18,8,010,9", "12,1"}));
  }
  // Save with no file known yet asks for a name like Save As.
  dir_ = start_program_for_test();
  list_tickets(simple_tickets(2));
  click_gadget(GADGET_SAVE_DRAWS);
  ASSERT_EQ(ui_test_file_dialogs().size(), 1u);
  EXPECT_EQ(ui_test_file_dialogs()[0].title, "Save Draws");
  EXPECT_EQ(g_draws_file_path, "");  // cancelled: nothing written, nothing recorded
}

TEST_F(DrawsFilesTest, NamesGetTheirEndingUnlessTheyHaveIt) {
  struct Case {
    bool extract;
    std::string answer, written;
  };
  const Case cases[] = {
      {false, "week12", "week12.draws.txt"},  {false, "x.Draws.Txt", "x.Draws.Txt"},
      {false, "A.DRAWS.TXT", "A.DRAWS.TXT"},  {false, "draws.txt", "draws.txt.draws.txt"},
      {false, "plan.txt", "plan.txt.draws.txt"}, {true, "list", "list.txt"},
      {true, "LIST.TXT", "LIST.TXT"},         {true, "a.draws.txt", "a.draws.txt"},
      {true, "notes.tx", "notes.tx.txt"},
  };
  list_tickets(simple_tickets(2));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    ui_test_push_file_answer(at(c.answer));
    click_gadget(c.extract ? GADGET_EXTRACT : GADGET_SAVE_DRAWS_AS);
    EXPECT_TRUE(fs::exists(at(c.written)));
    if (c.answer != c.written) EXPECT_FALSE(fs::exists(at(c.answer)));
    if (!c.extract) EXPECT_EQ(g_draws_file_path, at(c.written));
  }
}

TEST_F(DrawsFilesTest, ExistingFilesAreReplacedOnlyWhenEmptyOrConfirmed) {
  struct Case {
    bool extract;
    std::string old_bytes;
    int answer;  // 0: no question expected
    bool replaced;
  };
  const Case cases[] = {{false, "old", UI_ANSWER_NO, false}, {false, "old", UI_ANSWER_YES, true},
                        {false, "", 0, true},                {true, "old", UI_ANSWER_NO, false},
                        {true, "old", UI_ANSWER_YES, true},  {true, "", 0, true}};
  list_tickets(simple_tickets(2));
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(n));
    const std::string name = "f" + std::to_string(n++) + (c.extract ? ".txt" : ".draws.txt");
    write_file_bytes(at(name), c.old_bytes);
    const std::string path_before = g_draws_file_path;
    ui_test_clear_messages();
    if (c.answer != 0) ui_test_push_message_answer(c.answer);
    ui_test_push_file_answer(at(name));
    click_gadget(c.extract ? GADGET_EXTRACT : GADGET_SAVE_DRAWS_AS);
    if (c.answer != 0) {
      expect_single_message("Warning!", "File already exists! Overwrite it?",
                            UI_MESSAGE_YES_NO | UI_ICON_WARNING);
    } else {
      EXPECT_TRUE(ui_test_messages().empty());
    }
    const std::string now = read_file_bytes(at(name));
    EXPECT_EQ(now != c.old_bytes, c.replaced);
    if (!c.extract) EXPECT_EQ(g_draws_file_path, c.replaced ? at(name) : path_before);
  }
}

TEST_F(DrawsFilesTest, NothingIsAskedOrWrittenForAnEmptyList) {
  const std::vector<std::function<void()>> actions = {
      [] { click_gadget(GADGET_SAVE_DRAWS); }, [] { click_gadget(GADGET_SAVE_DRAWS_AS); },
      [] { click_gadget(GADGET_EXTRACT); },    [] { run_menu(MENU_SAVE); },
      [] { run_menu(MENU_SAVE_AS); }};
  for (const auto& action : actions) {
    ui_test_clear_messages();
    action();
    expect_single_message("Warning!", "No draws found.");
  }
  EXPECT_TRUE(ui_test_file_dialogs().empty());
}

TEST_F(DrawsFilesTest, BadFilesAreRefusedAndTheListStaysShown) {
  const std::vector<Ticket> body = simple_tickets(2);
  struct Case {
    const char* name;
    std::string bytes;  // "" : no file at all
    std::string message;
  };
  auto spoiled = [&](const std::function<void(FileParts&)>& spoil) {
    FileParts parts;
    spoil(parts);
    return draws_file_bytes(body, parts);
  };
  auto with_last = [&](const Ticket& last) {
    std::vector<Ticket> tickets = body;
    tickets.push_back(last);
    return draws_file_bytes(tickets);
  };
  const std::string not_valid = "Not a valid draws file.";
  const std::vector<Case> cases = {
      {"older version", spoiled([](FileParts& p) { p.first = "LOTTODRAWSFILE-1.00"; }), not_valid},
      {"lower case", spoiled([](FileParts& p) { p.first = "lottodrawsfile-1.01"; }), not_valid},
      {"byte-order mark", spoiled([](FileParts& p) { p.first = "\xEF\xBB\xBFLOTTODRAWSFILE-1.01"; }),
       not_valid},
      {"trailing blank", spoiled([](FileParts& p) { p.first += " "; }), not_valid},
      {"header cut short", spoiled([](FileParts& p) { p.header_lines = 5; }), not_valid},
      {"4 numbers", spoiled([](FileParts& p) { p.numbers_per_draw = "4"; }), not_valid},
      {"12 numbers", spoiled([](FileParts& p) { p.numbers_per_draw = "12"; }), not_valid},
      {"1 star", spoiled([](FileParts& p) { p.stars_per_draw = "1"; }), not_valid},
      {"13 stars", spoiled([](FileParts& p) { p.stars_per_draw = "13"; }), not_valid},
      {"a billion announced", spoiled([](FileParts& p) { p.count = "1000000000"; }),
       "Invalid number of draws in the file."},
      {"one past the largest", spoiled([](FileParts& p) { p.count = "139838161"; }),
       "Invalid number of draws in the file."},
      {"negative count", spoiled([](FileParts& p) { p.count = "-1"; }),
       "Invalid number of draws in the file."},
      // A ticket that no draw of this lottery can be, after sound ones.
      {"a number twice", with_last({"5,5,23,30,44", "2,11"}), not_valid},
      {"a star twice", with_last({"5,6,23,30,44", "8,8"}), not_valid},
      {"number 0", with_last({"0,6,23,30,44", "2,11"}), not_valid},
      {"number 51", with_last({"5,6,23,30,51", "2,11"}), not_valid},
      {"number 60", with_last({"5,6,23,30,60", "2,11"}), not_valid},
      {"star 13", with_last({"5,6,23,30,44", "2,13"}), not_valid},
      {"star 0", with_last({"5,6,23,30,44", "0,11"}), not_valid},
      {"an empty field", with_last({"5,,23,30,44", "2,11"}), not_valid},
      {"no stars", with_last({"5,6,23,30,44", ""}), not_valid},
      {"a repeat in a multiple bet", with_last({"1,2,3,4,5,6,1", "1,2,3"}), not_valid},
      // A value that is not digits alone, though it begins with some.
      {"letter O for zero", with_last({"5,12,23,3O,44", "2,11"}), not_valid},
      {"letter l for one", with_last({"5,12,23,30,1l", "2,11"}), not_valid},
      {"a letter in a star", with_last({"5,12,23,30,44", "2,1l"}), not_valid},
      {"a blank before a value", with_last({"5,12,23,30, 44", "2,11"}), not_valid},
      {"a sign", with_last({"5,12,23,30,+44", "2,11"}), not_valid},
      {"a decimal point", with_last({"5,12,23,30,44.0", "2,11"}), not_valid},
      // Not the header's 5 numbers and 2 stars, or not joined by single commas.
      {"six numbers", with_last({"5,12,23,30,44,47", "2,11"}), not_valid},
      {"four numbers", with_last({"5,12,23,30", "2,11"}), not_valid},
      {"one star", with_last({"5,12,23,30,44", "2"}), not_valid},
      {"three stars", with_last({"5,12,23,30,44", "2,11,12"}), not_valid},
      {"semicolons", with_last({"5;12;23;30;44", "2,11"}), not_valid},
      {"blanks", with_last({"5 12 23 30 44", "2,11"}), not_valid},
      {"a trailing comma", with_last({"5,12,23,30,44,", "2,11"}), not_valid},
      {"a leading comma", with_last({",5,12,23,30,44", "2,11"}), not_valid},
      {"a simple ticket under a multiple header",
       spoiled([](FileParts& p) { p.numbers_per_draw = "6"; }), not_valid},
      {"empty file", "", ".DRAWS.TXT file not found."},
      {"folder", "<folder>", ".DRAWS.TXT file not found."},
      {"missing", "<missing>", ".DRAWS.TXT file not found."},
  };
  list_tickets({{"3,17,22,41,50", "2,11"}, {"1,2,3,4,5", "1,2"}, {"6,7,8,9,10", "3,4"}});
  g_draws_file_path = at("before.draws.txt");
  show_draws_file_name();
  const size_t capacity = g_draw_numbers.capacity();
  const Snapshot before = snapshot();
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = at("bad" + std::to_string(n++) + ".draws.txt");
    if (c.bytes == "<folder>") fs::create_directory(path);
    else if (c.bytes != "<missing>") write_file_bytes(path, c.bytes);
    ui_test_clear_messages();
    ui_test_push_file_answer(path);
    click_gadget(GADGET_OPEN_DRAWS);
    expect_single_message("Error", c.message);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(g_draw_numbers.capacity(), capacity);
  }
}

// Every game of the lottery draws from 1..50 and 1..12 at most: a file from
// a larger game opens in a smaller one, as it stands.
TEST_F(DrawsFilesTest, TicketsOfEveryGameSizeOpen) {
  g_highest_number = 30;
  g_highest_star = 9;
  const std::vector<Ticket> tickets = {{"46,47,48,49,50", "11,12"}, {"1,2,3,4,5", "1,2"},
                                       {"07,8,9,10,11", "03,4"}};
  write_file_bytes(at("big.draws.txt"), draws_file_bytes(tickets));
  open_draws_file(at("big.draws.txt"));
  EXPECT_TRUE(ui_test_messages().empty());
  ASSERT_EQ(g_draw_count, 3);
  EXPECT_EQ(g_draw_numbers[1], "46,47,48,49,50");
  EXPECT_EQ(g_draw_stars[3], "03,4");
}

TEST_F(DrawsFilesTest, EveryLineEndOpensAndAShortFileYieldsWhatItHolds) {
  const std::vector<Ticket> tickets = simple_tickets(3);
  for (const char* eol : {"\n", "\r", "\r\n"}) {
    SCOPED_TRACE(eol[0] == '\n' ? "LF" : eol[1] ? "CR LF" : "CR");
    FileParts parts;
    parts.eol = eol;
    std::string bytes = draws_file_bytes(tickets, parts);
    bytes.resize(bytes.size() - parts.eol.size());  // the last line without its end
    write_file_bytes(at("ends.draws.txt"), bytes);
    ui_test_clear_messages();
    open_draws_file(at("ends.draws.txt"));
    EXPECT_TRUE(ui_test_messages().empty());
    ASSERT_EQ(g_draw_count, 3);
    EXPECT_EQ(g_draw_stars[3], tickets[2].second);
  }

  struct Short {
    const char* count;
    int cut_lines;  // lines taken off the end of a two-ticket file
    int64_t kept;
  };
  for (const Short& s : {Short{"5", 0, 2}, Short{"139838160", 0, 2}, Short{"2", 1, 1},
                         Short{"2", 2, 1}, Short{"2", 6, 0}}) {
    SCOPED_TRACE(std::string(s.count) + " announced, cut " + std::to_string(s.cut_lines));
    FileParts parts;
    parts.count = s.count;
    std::vector<std::string> lines = crlf_lines(draws_file_bytes(simple_tickets(2), parts));
    lines.resize(lines.size() - s.cut_lines);
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    write_file_bytes(at("short.draws.txt"), bytes);
    ui_test_clear_messages();
    open_draws_file(at("short.draws.txt"));
    expect_single_message("Warning!", "The file holds fewer draws than it announces.");
    EXPECT_EQ(g_draw_count, s.kept);
    EXPECT_EQ(ui_count_items(GADGET_DRAW_LIST), s.kept);
    EXPECT_EQ(ui_text(GADGET_DRAWS_LABEL), "Draws:" + std::to_string(s.kept));
    EXPECT_LT(g_draw_numbers.capacity(), 100u);
    EXPECT_EQ(g_draws_file_path, at("short.draws.txt"));
  }
}

TEST_F(DrawsFilesTest, OpenedSizesAndTheCurrentPriceDecide) {
  // Saved with "6N + 2S" while "5N + 2S" at 2.50 is selected now.
  const std::vector<Ticket> tickets = {{"1,2,3,4,5,6", "1,2"}, {"07,8,9,10,11,12", "3,04"},
                                       {"13,14,15,16,17,18", "5,6"}, {"19,20,21,22,23,24", "7,8"}};
  FileParts parts;
  parts.numbers_per_draw = "6";
  write_file_bytes(at("six.draws.txt"), draws_file_bytes(tickets, parts));
  g_currency = "GBP";
  open_draws_file(at("six.draws.txt"));
  ASSERT_EQ(g_draw_count, 4);
  EXPECT_EQ(g_numbers_per_draw, 6);
  EXPECT_EQ(ui_text(GADGET_COST_LABEL), "  Cost:10.00 GBP");
  ui_test_push_file_answer(at("six"));
  click_gadget(GADGET_EXTRACT);
  std::vector<std::string> lines = crlf_lines(read_file_bytes(at("six.txt")));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[1], "Numbers:6");
  EXPECT_EQ(lines[3], "   Cost:10.00 GBP");
  EXPECT_EQ(lines[6], "7 8 9 10 11 12 + 3 4");
}

TEST_F(DrawsFilesTest, ExtractWritesTheTicketsAsText) {
  for (int64_t language : {1, 2}) {
    SCOPED_TRACE("language " + std::to_string(language));
    dir_ = start_program_for_test(language);
    std::vector<Ticket> tickets = simple_tickets(25);
    tickets[0] = {"3,17,22,40,48", "2,11"};
    tickets[1] = {"07,1,2,3,4", "01,2"};
    list_tickets(tickets);
    ui_test_push_file_answer(at("out"));
    click_gadget(GADGET_EXTRACT);
    EXPECT_TRUE(ui_test_messages().empty());
    ASSERT_EQ(ui_test_file_dialogs().size(), 1u);
    EXPECT_TRUE(ui_test_file_dialogs()[0].save);
    EXPECT_EQ(ui_test_file_dialogs()[0].title, "Extract Draws");
    EXPECT_EQ(ui_test_file_dialogs()[0].filter, "Draws (*.txt)|*.txt");
    std::vector<std::string> lines = crlf_lines(read_file_bytes(at("out.txt")));
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0], "# Draws:25");
    EXPECT_EQ(lines[1], "Numbers:5");
    EXPECT_EQ(lines[2], "  Stars:2");
    EXPECT_EQ(lines[3], "   Cost:62.50 EUR");
    EXPECT_EQ(lines[4].substr(0, 8), "   Date:");
    EXPECT_TRUE(std::regex_match(lines[4].substr(8), kDateTime)) << lines[4];
    EXPECT_EQ(lines[5], "3 17 22 40 48 + 2 11");
    EXPECT_EQ(lines[6], "7 1 2 3 4 + 1 2");
    EXPECT_EQ(lines[29], "1 2 3 4 29 + 1 2");
    // An extract is not a draws file: nothing remembers it.
    EXPECT_EQ(g_draws_file_path, "");
    EXPECT_EQ(recent_slots()[0], "");
    EXPECT_EQ(ui_text(GADGET_FILE_LABEL), translate("File:") + "N/A");
  }
}

// A price that is not one gives no cost. Extract, whose header states the
// cost, refuses as Generate does, before it asks for a file, and writes
// nothing; an open lists the tickets with no cost. A red price of a bet type
// not selected costs nothing here.
TEST_F(DrawsFilesTest, APriceThatIsNotOneGivesNoCost) {
  const std::string path = at("five.draws.txt");
  write_file_bytes(path, draws_file_bytes(simple_tickets(5)));
  write_file_bytes(at("old.txt"), "the player's extract");
  for (const char* price : {"2,5", "-1", "abc", "2.49", "10000.5", ""}) {
    SCOPED_TRACE(price);
    ui_set_text(PREFS_PRICE_FIELD_BASE + 0, price);
    ui_test_clear_messages();
    open_draws_file(path);
    EXPECT_TRUE(ui_test_messages().empty());
    ASSERT_EQ(g_draw_count, 5);
    EXPECT_EQ(ui_text(GADGET_COST_LABEL), "  Cost:");
    const size_t dialogs = ui_test_file_dialogs().size();
    click_gadget(GADGET_EXTRACT);
    expect_single_message("Warning!", "The price of 5N + 2S must be in the range 2.5:10000");
    EXPECT_EQ(ui_test_file_dialogs().size(), dialogs);
    EXPECT_EQ(read_file_bytes(at("old.txt")), "the player's extract");
  }
  ui_set_text(PREFS_PRICE_FIELD_BASE + 0, "2.5");
  ui_set_text(PREFS_PRICE_FIELD_BASE + 1, "2,5");
  ui_test_clear_messages();
  open_draws_file(path);
  EXPECT_EQ(ui_text(GADGET_COST_LABEL), "  Cost:12.50 EUR");
  ui_test_push_message_answer(UI_ANSWER_YES);
  ui_test_push_file_answer(at("old"));
  click_gadget(GADGET_EXTRACT);
  EXPECT_EQ(crlf_lines(read_file_bytes(at("old.txt")))[3], "   Cost:12.50 EUR");
}

TEST_F(DrawsFilesTest, EscapeWhileOpeningKeepsTheTicketsReadSoFar) {
  struct Case {
    int answer;
    int64_t kept;
  };
  for (const Case& c : {Case{UI_ANSWER_YES, 10}, Case{UI_ANSWER_NO, 100}}) {
    SCOPED_TRACE(c.answer == UI_ANSWER_YES ? "Yes" : "No");
    dir_ = start_program_for_test();
    const std::string path = at("hundred.draws.txt");
    write_file_bytes(path, draws_file_bytes(simple_tickets(100)));
    g_preview_valid = 1;
    // The open polls once after each ticket it reads, and lists the tickets
    // once all are read: Escape comes at the tenth poll.
    int polls = 0;
    ui_test_set_idle_hook([&] {
      if (++polls == 10) ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
    });
    ui_test_push_message_answer(c.answer);
    ui_test_push_file_answer(path);
    click_gadget(GADGET_OPEN_DRAWS);
    ui_test_set_idle_hook(nullptr);
    // One question, and the Escape is used up by it.
    expect_single_message("Warning!", "Really abort?", UI_MESSAGE_YES_NO | UI_ICON_WARNING);
    EXPECT_EQ(ui_test_queue_length(), 0);
    EXPECT_EQ(g_draw_count, c.kept);
    EXPECT_EQ(ui_count_items(GADGET_DRAW_LIST), c.kept);
    EXPECT_EQ(ui_text(GADGET_DRAWS_LABEL), "Draws:" + std::to_string(c.kept));
    EXPECT_EQ(g_preview_valid, 0);
    if (c.answer == UI_ANSWER_YES) {
      // Partly read: not the list's file, so Save cannot cut the file down.
      EXPECT_EQ(g_draws_file_path, "");
      EXPECT_EQ(ui_text(GADGET_FILE_LABEL), "File:N/A");
      EXPECT_EQ(recent_slots()[0], "");
    } else {
      EXPECT_EQ(g_draws_file_path, path);
      EXPECT_EQ(recent_slots()[0], path);
    }
  }
}

// After an aborted open the list holds the first tickets of another file
// than the one the path named: the path is forgotten, so Save asks for a
// name and writes over neither file.
TEST_F(DrawsFilesTest, SaveAfterAnAbortedOpenAsksForANameAndTouchesNoFile) {
  const std::string a = at("a.draws.txt");
  const std::string b = at("b.draws.txt");
  write_file_bytes(a, draws_file_bytes(simple_tickets(5)));
  write_file_bytes(b, draws_file_bytes(simple_tickets(300)));
  const std::string a_bytes = read_file_bytes(a);
  const std::string b_bytes = read_file_bytes(b);
  open_draws_file(a);
  ASSERT_EQ(g_draws_file_path, a);
  ASSERT_EQ(g_draw_count, 5);

  int polls = 0;  // one after each ticket read
  ui_test_set_idle_hook([&] {
    if (++polls == 20) ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
  });
  ui_test_push_message_answer(UI_ANSWER_YES);  // really abort
  open_draws_file(b);
  ui_test_set_idle_hook(nullptr);
  ASSERT_EQ(g_draw_count, 20);
  EXPECT_EQ(g_draws_file_path, "");
  EXPECT_EQ(ui_text(GADGET_FILE_LABEL), translate("File:") + "N/A");
  EXPECT_EQ(recent_slots()[0], a);

  for (const Route& route : kRoutes) {
    SCOPED_TRACE(route.name);
    ui_test_clear_messages();
    const size_t dialogs = ui_test_file_dialogs().size();
    ui_test_push_file_answer("");  // the player cancels the dialog
    save_via(route);
    ASSERT_EQ(ui_test_file_dialogs().size(), dialogs + 1);
    EXPECT_TRUE(ui_test_file_dialogs().back().save);
    EXPECT_TRUE(ui_test_messages().empty());
    EXPECT_EQ(read_file_bytes(a), a_bytes);
    EXPECT_EQ(read_file_bytes(b), b_bytes);
  }
}

TEST_F(DrawsFilesTest, AnAbortedOrFailedWriteLeavesThePreviousFile) {
  struct Case {
    const char* name;
    bool extract;
    bool abort;  // else the file system refuses the bytes
  };
  for (const Case& c : {Case{"save aborted", false, true}, Case{"save fails", false, false},
                        Case{"extract aborted", true, true}, Case{"extract fails", true, false}}) {
    SCOPED_TRACE(c.name);
    dir_ = start_program_for_test();
    const std::string target = at(c.extract ? "old.txt" : "old.draws.txt");
    list_tickets(simple_tickets(3));
    ui_test_push_file_answer(target);
    click_gadget(c.extract ? GADGET_EXTRACT : GADGET_SAVE_DRAWS_AS);
    const std::string old_bytes = read_file_bytes(target);
    ASSERT_FALSE(old_bytes.empty());
    g_draws_file_path = "";
    show_draws_file_name();

    list_tickets(simple_tickets(400));
    const Snapshot before = snapshot();
    ui_test_clear_messages();
    ui_test_push_message_answer(UI_ANSWER_YES);  // overwrite
    ui_test_push_file_answer(target);
    if (c.abort) {
      int polls = 0;
      ui_test_set_idle_hook([&] {
        if (!staged_leftovers(fs::path(target).parent_path()).empty() && ++polls == 10)
          ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
      });
      ui_test_push_message_answer(UI_ANSWER_YES);  // really abort
      click_gadget(c.extract ? GADGET_EXTRACT : GADGET_SAVE_DRAWS_AS);
      ui_test_set_idle_hook(nullptr);
      ASSERT_EQ(ui_test_messages().size(), 2u);
      EXPECT_EQ(ui_test_messages()[1].text, "Really abort?");
    } else {
      with_file_size_limit(old_bytes.size() + 100, [&] {
        click_gadget(c.extract ? GADGET_EXTRACT : GADGET_SAVE_DRAWS_AS);
      });
      ASSERT_EQ(ui_test_messages().size(), 2u);
      EXPECT_EQ(ui_test_messages()[1].title, "Error");
      EXPECT_EQ(ui_test_messages()[1].text, "Can't write the file.");
      EXPECT_EQ(ui_test_messages()[1].flags, static_cast<unsigned>(UI_ICON_WARNING));
    }
    EXPECT_EQ(read_file_bytes(target), old_bytes);
    EXPECT_TRUE(staged_leftovers(fs::path(target).parent_path()).empty());
    EXPECT_TRUE(snapshot() == before);  // no path, label or recent entry recorded
  }

  // A folder that does not exist cannot take the file either.
  list_tickets(simple_tickets(3));
  ui_test_clear_messages();
  ui_test_push_file_answer(at("no/such/folder/x"));
  click_gadget(GADGET_SAVE_DRAWS_AS);
  expect_single_message("Error", "Can't write the file.");
  EXPECT_EQ(g_draws_file_path, "");
  EXPECT_EQ(recent_slots()[0], "");
}

TEST_F(DrawsFilesTest, RecentListFollowsSavesAndOpens) {
  list_tickets(simple_tickets(2));
  for (const char* name : {"a", "b", "c"}) {
    ui_test_push_file_answer(at(name));
    run_menu(MENU_SAVE_AS);
  }
  const std::string a = at("a.draws.txt"), b = at("b.draws.txt"), c = at("c.draws.txt");
  auto top = [] {
    std::vector<std::string> s = recent_slots();
    return std::vector<std::string>(s.begin(), s.begin() + 4);
  };
  EXPECT_EQ(top(), (std::vector<std::string>{c, b, a, ""}));
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST), "1: " + c);
  EXPECT_FALSE(ui_menu_item_disabled(MENU_MAIN, MENU_RECENT_FIRST + 2));
  EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, MENU_RECENT_FIRST + 3));

  run_menu(MENU_RECENT_FIRST + 2);  // opens a
  EXPECT_EQ(g_draws_file_path, a);
  EXPECT_EQ(top(), (std::vector<std::string>{a, c, b, ""}));
  run_menu(MENU_SAVE);  // a again: still one entry, at the top
  EXPECT_EQ(top(), (std::vector<std::string>{a, c, b, ""}));
  ui_test_push_file_answer(b);
  click_gadget(GADGET_OPEN_DRAWS);
  EXPECT_EQ(top(), (std::vector<std::string>{b, a, c, ""}));
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST + 1), "2: " + a);
  EXPECT_EQ(read_file_bytes(g_program_dir + "settings/recent_files.log").substr(0, b.size() + 2),
            b + "\r\n");

  // An entry whose file has gone says so and stays listed.
  fs::remove(c);
  const Snapshot before = snapshot();
  ui_test_clear_messages();
  run_menu(MENU_RECENT_FIRST + 2);
  expect_single_message("Error", ".DRAWS.TXT file not found.");
  EXPECT_TRUE(snapshot() == before);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST + 2), "3: " + c);
}

// Tickets a run listed are in no file: Open asks before it replaces them, by
// its button, its menu entry and a Recent Files entry alike, and No keeps
// them. A complete Open, Save and Clear leave nothing unsaved; a cancelled run
// leaves its tickets unsaved; Generate itself never asks.
TEST_F(DrawsFilesTest, OpenAsksBeforeItReplacesTicketsThatWereNeverSaved) {
  const std::string two = at("two.draws.txt");
  write_file_bytes(two, draws_file_bytes(simple_tickets(2)));
  const std::string question = "The Draws have been changed.\n\nContinue?";
  g_use_special_techniques = 0;
  auto generate = [](int64_t n) {
    g_draws_to_generate = n;
    click_gadget(GADGET_GENERATE);
  };
  // Nothing unsaved at start: no question, and the file enters the recent list.
  ui_test_push_file_answer(two);
  click_gadget(GADGET_OPEN_DRAWS);
  EXPECT_TRUE(ui_test_messages().empty());
  ASSERT_EQ(g_draw_count, 2);
  ASSERT_EQ(g_recent_files[1], two);

  struct Way {
    const char* name;
    std::function<void()> open;
    bool dialog;
  };
  const Way ways[] = {{"button", [] { click_gadget(GADGET_OPEN_DRAWS); }, true},
                      {"menu", [] { run_menu(MENU_OPEN); }, true},
                      {"recent entry", [] { run_menu(MENU_RECENT_FIRST); }, false}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    generate(5);
    ASSERT_EQ(g_draw_count, 5);
    const Snapshot before = snapshot();
    const size_t dialogs = ui_test_file_dialogs().size();
    ui_test_clear_messages();
    ui_test_push_message_answer(UI_ANSWER_NO);
    way.open();
    expect_single_message("Warning!", question, UI_MESSAGE_YES_NO | UI_ICON_INFO);
    EXPECT_EQ(ui_test_file_dialogs().size(), dialogs);
    EXPECT_TRUE(snapshot() == before);

    ui_test_clear_messages();
    ui_test_push_message_answer(UI_ANSWER_YES);
    if (way.dialog) ui_test_push_file_answer(two);
    way.open();
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].text, question);
    EXPECT_EQ(g_draw_count, 2);

    // Once opened whole, the list is that file's: no question.
    ui_test_clear_messages();
    if (way.dialog) ui_test_push_file_answer(two);
    way.open();
    EXPECT_TRUE(ui_test_messages().empty());
    EXPECT_EQ(g_draw_count, 2);
  }

  auto open_asks = [&] {
    ui_test_clear_messages();
    ui_test_push_message_answer(UI_ANSWER_NO);
    run_menu(MENU_RECENT_FIRST);
    return !ui_test_messages().empty() && ui_test_messages()[0].text == question;
  };
  // A cancelled run keeps its tickets, unsaved.
  ui_test_set_idle_hook([] {
    if (g_draw_count >= 3 && ui_window_exists(WINDOW_PROGRESS)) ui_test_click(GADGET_PROGRESS_CANCEL);
  });
  generate(100000000);
  ui_test_set_idle_hook(nullptr);
  ASSERT_GE(g_draw_count, 3);
  EXPECT_TRUE(open_asks());
  // Saved, they are in a file.
  ui_test_push_file_answer(at("five.draws.txt"));
  click_gadget(GADGET_SAVE_DRAWS_AS);
  EXPECT_FALSE(open_asks());
  // Cleared, there is nothing to lose.
  generate(5);
  click_gadget(GADGET_CLEAR_LIST);
  EXPECT_FALSE(open_asks());
  // A new run replaces unsaved tickets without a question: it is the
  // player's own replacement.
  generate(5);
  ui_test_clear_messages();
  generate(5);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_draw_count, 5);
}

TEST_F(DrawsFilesTest, FileLabelShowsTheNameAfterTheLastSeparator) {
  const std::pair<std::string, std::string> cases[] = {
      {"/home/p/week12.draws.txt", "week12.draws.txt"}, {"C:\\Draws\\w.draws.txt", "w.draws.txt"},
      {"a\\b/c.draws.txt", "b/c.draws.txt"},            {"week12.draws.txt", "n/a"},
      {"/home/p/", "n/a"},                              {"", "n/a"}};
  for (const auto& [path, shown] : cases) {
    g_draws_file_path = path;
    show_draws_file_name();
    EXPECT_EQ(ui_text(GADGET_FILE_LABEL), "File:" + shown) << path;
  }
  g_language = 2;
  show_draws_file_name();
  EXPECT_EQ(ui_text(GADGET_FILE_LABEL), "Ficheiro:n/a");
}

}  // namespace
