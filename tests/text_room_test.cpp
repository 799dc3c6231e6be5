// Every text that the program's own gadgets show (labels, links, buttons,
// check boxes, options, frame captions, list column titles) fits its gadget
// in both languages, at the largest figures the program can show: counts of
// 139,838,160 (every ticket of the game) and their cost at the highest price,
// 10,000 a ticket. tests/CMakeLists.txt runs these tests once more on a
// 192-DPI display.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/tab_gadgets.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t kEveryTicket = 139838160;  // C(50, 5) x C(12, 2)
constexpr int BET_5N_2S = 0;                // the first bet type

// Every text cut short in every window open now, one line each.
std::string texts_cut_short() {
  std::ostringstream cut;
  for (int window : ui_test_windows())
    for (int gadget : ui_test_window_gadgets(window))
      for (const UiTestTextRoom& text : ui_test_text_rooms(gadget))
        if (text.needed > text.room)
          cut << "window " << window << ", gadget " << gadget << ": \"" << text.text << "\" needs "
              << text.needed << ", has " << text.room << "\n";
  return cut.str();
}

// The counters at their largest, and the price of a simple ticket at the
// highest the field takes.
void largest_figures() {
  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  ui_test_type(PREFS_PRICE_FIELD_BASE + BET_5N_2S, "10000");
  run_pending_events();
  ASSERT_EQ(bet_type_price_is_valid(BET_5N_2S), 1);
  ui_set_state(PREFS_BET_TYPE_LIST, BET_5N_2S);
  for (int64_t* counter : {&g_draw_count, &g_draws_to_generate, &g_repeated_count,
                           &g_technique_reject_count, &g_common_rejections})
    *counter = kEveryTicket;
  for (int64_t* hits : {&g_hits_5_2, &g_hits_5_1, &g_hits_5_0, &g_hits_4_2, &g_hits_4_1, &g_hits_4_0,
                        &g_hits_3_2, &g_hits_3_1, &g_hits_3_0, &g_hits_2_2, &g_hits_2_1, &g_hits_2_0,
                        &g_hits_1_2, &g_hits_1_1, &g_hits_1_0, &g_hits_0_2, &g_hits_0_1, &g_hits_0_0})
    *hits = kEveryTicket;
}

// A modal window that `open` opens: its texts (and the main window's) are
// read once it stands, then `close` shuts it.
std::string texts_cut_short_in(int window, const std::function<void()>& open,
                               const std::function<void()>& close,
                               const std::function<bool()>& ready = [] { return true; }) {
  std::string cut = "the window did not open\n";
  bool done = false;
  ui_test_set_idle_hook([&] {
    if (done || !ui_window_exists(window) || !ready()) return;
    done = true;
    cut = texts_cut_short();
    close();
  });
  open();
  run_pending_events();
  ui_test_set_idle_hook(nullptr);
  return cut;
}

class TextRoom : public ::testing::TestWithParam<int64_t> {
 protected:
  void SetUp() override { start_program_for_test(GetParam()); }
  void TearDown() override { ui_test_set_idle_hook(nullptr); }
};

// The four tabs as they stand once a run of every ticket of the game has
// ruled out as many, and the Preferences tab asks for that many.
TEST_P(TextRoom, TheMainWindowShowsEveryTextWhole) {
  EXPECT_EQ(texts_cut_short(), "") << "as built";
  largest_figures();
  show_run_summary(kEveryTicket);
  show_hit_counters();
  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  ui_test_type(PREFS_DRAWS_SPIN, std::to_string(kEveryTicket));
  run_pending_events();
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), format_number(kEveryTicket * 10000.0f, 2) + " EUR");
  EXPECT_EQ(texts_cut_short(), "") << "at the largest figures";
}

// The secondary windows: the preview, the progress window of a run showing
// the largest counters, the Tarvik rules, About and the credits.
TEST_P(TextRoom, EverySecondaryWindowShowsEveryTextWhole) {
  largest_figures();
  ui_set_state(GADGET_PANEL, TAB_MAIN);
  list_tickets({{"3,17,22,41,50", "2,11"}});

  EXPECT_EQ(texts_cut_short_in(
                WINDOW_PREVIEW, [] { ui_test_click(GADGET_PREVIEW); },
                [] { ui_test_key(WINDOW_PREVIEW, UI_KEY_ESCAPE); }, [] { return g_preview_valid == 1; }),
            "")
      << "preview";
  g_draws_to_generate = 1000;
  g_use_special_techniques = 0;
  EXPECT_EQ(texts_cut_short_in(
                WINDOW_PROGRESS, [] { ui_test_click(GADGET_GENERATE); },
                [] {
                  const int64_t made = g_draw_count, asked = g_draws_to_generate;
                  g_draw_count = g_draws_to_generate = kEveryTicket;
                  show_progress_counts();
                  show_progress_rejections();
                  g_draw_count = made;
                  g_draws_to_generate = asked;
                  ui_test_click(GADGET_PROGRESS_CANCEL);
                }),
            "")
      << "progress window";
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  EXPECT_EQ(texts_cut_short_in(
                WINDOW_TARVIK, [] { ui_test_click(GADGET_TARVIK); },
                [] { ui_test_click(GADGET_TARVIK_CLOSE); }),
            "")
      << "Tarvik rules";
  // The back-test on the real history, learned, with the walk-forward shown.
  import_file_through_open(history_file("past_results.txt"));
  click_gadget(GADGET_LEARN);
  ui_test_clear_messages();
  EXPECT_EQ(texts_cut_short_in(
                WINDOW_BACKTEST, [] { ui_test_click(GADGET_BACKTEST); },
                [] { ui_test_click(GADGET_BACKTEST_CLOSE); },
                [] { return ui_count_items(GADGET_BACKTEST_TABLE) > 0; }),
            "")
      << "back-test";
  EXPECT_EQ(texts_cut_short_in(
                WINDOW_ABOUT, [] { ui_test_menu(WINDOW_MAIN, MENU_ABOUT); },
                [] { ui_test_key(WINDOW_ABOUT, UI_KEY_ESCAPE); }),
            "")
      << "About";
  EXPECT_EQ(texts_cut_short_in(
                WINDOW_CREDITS, [] { ui_test_menu(WINDOW_MAIN, MENU_CREDITS); },
                [] { ui_test_key(WINDOW_CREDITS, UI_KEY_ESCAPE); }),
            "")
      << "credits";
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, TextRoom, ::testing::Values(1, 2), [](const auto& info) {
  return std::string(info.param == 1 ? "kestrova_en" : "kestrova_pt");
});

}  // namespace
