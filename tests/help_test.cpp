// The About window, the credits window and the addresses handed to the
// system (the manual, the mail links).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "draws/statistics.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/backtest.h"
#include "techniques/catalogue.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

const std::string kTeamAddress = "maintainers@users.noreply.c-seed-0f33fb31.example";

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = enter_fresh_directory();
    ui_test_reset();
    // The whole start-up: the main window, the fonts and the built-in images.
    start_program();
    ASSERT_TRUE(ui_window_exists(WINDOW_MAIN));
    ui_test_clear_messages();
  }
  void TearDown() override { ui_test_set_idle_hook(nullptr); }

  // Runs `open` with `act` called once, inside the window's own loop, as soon
  // as `window` exists; records whether the main window was disabled then.
  void run_window(int window, const std::function<void()>& open, const std::function<void()>& act) {
    acted_ = false;
    main_disabled_inside_ = false;
    ui_test_set_idle_hook([this, window, act] {
      if (acted_ || !ui_window_exists(window)) return;
      acted_ = true;
      main_disabled_inside_ = ui_window_disabled(WINDOW_MAIN);
      act();
    });
    open();
    ui_test_set_idle_hook(nullptr);
    EXPECT_TRUE(acted_) << "the window never waited for the player";
    EXPECT_FALSE(ui_window_exists(window));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  }

  // Opens the About window, lets `read` look at it, then closes it with Escape.
  void inspect_about(const std::function<void()>& read) {
    run_window(WINDOW_ABOUT, show_about_window, [read] {
      read();
      ui_test_key(WINDOW_ABOUT, UI_KEY_ESCAPE);
    });
  }

  std::string last_address() {
    const auto& opened = ui_test_opened_addresses();
    return opened.empty() ? "" : opened.back();
  }

  std::string directory_;
  bool acted_ = false;
  bool main_disabled_inside_ = false;
};

// ---- addresses ---------------------------------------------------------------

TEST_F(HelpTest, AddressesArePercentEncodedByteByByte) {
  struct Case {
    std::string text;
    std::string address;
  };
  const std::vector<Case> cases = {
      {"ABCXYZabcxyz0189", "ABCXYZabcxyz0189"},
      {"-._~!#$&'()*,/:;=?@", "-._~!#$&'()*,/:;=?@"},
      {"a b", "a%20b"},
      {"C:\\Apps", "C:%5CApps"},
      {"1+1=2 100%", "1%2B1=2%20100%25"},
      {"\xC3\xA9", "%C3%A9"},                  // é
      {"\xE2\x98\x85", "%E2%98%85"},           // ★, three bytes
      {"\"<>[]{}|^`", "%22%3C%3E%5B%5D%7B%7D%7C%5E%60"},
      {"\n\r\t", "%0A%0D%09"},
  };
  for (const Case& c : cases) {
    open_in_browser(c.text);
    EXPECT_EQ(last_address(), c.address) << "for " << c.text;
  }
  EXPECT_EQ(ui_test_opened_addresses().size(), cases.size());
}

TEST_F(HelpTest, ManualAddressFollowsTheLanguageAndTheWorkingDirectory) {
  g_program_dir = "/home/x/";
  g_language = 1;
  EXPECT_EQ(build_manual_url(), "file:///home/x/Kestrova_Manual10_EN.html");
  g_language = 2;
  EXPECT_EQ(build_manual_url(), "file:///home/x/Kestrova_Manual10_PT.html");
  // A directory that does not begin with "/" still gives three slashes.
  g_program_dir = "C:\\Apps\\";
  g_language = 1;
  EXPECT_EQ(build_manual_url(), "file:///C:\\Apps\\Kestrova_Manual10_EN.html");
}

// An installed program starts in the player's own folder, which holds no
// manual: Help opens the installation's, unless the program directory has
// one of its own; a manual missing from both is named where it was installed.
TEST_F(HelpTest, AnInstalledProgramOpensTheInstalledManual) {
  EXPECT_EQ(g_installed_data_dir, "") << "a test program in the build tree is no installed one";
  const std::string installed = directory_ + "/opt/kestrova/share/kestrova/";
  std::filesystem::create_directories(installed);
  g_installed_data_dir = installed;
  struct Case {
    const char* name;
    int64_t language;
    bool here;       // a manual in the program directory
    bool installed;  // a manual in the installation
    std::string opened;  // "" : the warning, naming `named`
    std::string named;
  };
  const std::string here_en = directory_ + "/Kestrova_Manual10_EN.html";
  const std::string installed_en = installed + "Kestrova_Manual10_EN.html";
  const std::string installed_pt = installed + "Kestrova_Manual10_PT.html";
  const Case cases[] = {
      {"installed only", 1, false, true, "file://" + installed_en, ""},
      {"installed only, Portuguese", 2, false, true, "file://" + installed_pt, ""},
      {"both", 1, true, true, "file://" + here_en, ""},
      {"neither", 1, false, false, "", installed_en},
      {"neither, Portuguese", 2, false, false, "", installed_pt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_language = c.language;
    for (const std::string& path : {here_en, directory_ + "/Kestrova_Manual10_PT.html", installed_en, installed_pt})
      std::filesystem::remove(path);
    if (c.here) write_file_bytes(c.language == 2 ? directory_ + "/Kestrova_Manual10_PT.html" : here_en, "<html>");
    if (c.installed) write_file_bytes(c.language == 2 ? installed_pt : installed_en, "<html>");
    ui_test_clear_messages();
    const size_t opened_before = ui_test_opened_addresses().size();
    ui_test_menu(WINDOW_MAIN, MENU_HTML_HELP);
    dispatch_event(ui_wait_event(1000));
    if (!c.opened.empty()) {
      EXPECT_TRUE(ui_test_messages().empty());
      EXPECT_EQ(last_address(), c.opened);
    } else {
      EXPECT_EQ(ui_test_opened_addresses().size(), opened_before);
      expect_single_message(translate("Warning!"), translate("The manual could not be opened:") + " " + c.named);
    }
  }
}

TEST_F(HelpTest, ManualOfADirectoryWithABlankAndAnAccentIsEncoded) {
  std::string dir = directory_ + "/my games \xC3\xA9";  // "my games é"
  std::filesystem::create_directory(dir);
  std::filesystem::current_path(dir);
  init_game_state();
  open_in_browser(build_manual_url());
  EXPECT_EQ(last_address(), "file://" + directory_ + "/my%20games%20%C3%A9/Kestrova_Manual10_EN.html");
}

// "#" and "?" in a folder's name are part of the path, never a fragment or a
// query of the manual's address; a mail link keeps its "?subject=".
TEST_F(HelpTest, ManualOfADirectoryWithAHashAndAQuestionMarkIsEncoded) {
  std::string dir = directory_ + "/week #1?draft&more";
  std::filesystem::create_directory(dir);
  std::filesystem::current_path(dir);
  init_game_state();
  open_in_browser(build_manual_url());
  EXPECT_EQ(last_address(), "file://" + directory_ + "/week%20%231%3Fdraft&more/Kestrova_Manual10_EN.html");
  g_language = 2;
  open_in_browser(build_manual_url());
  EXPECT_EQ(last_address(), "file://" + directory_ + "/week%20%231%3Fdraft&more/Kestrova_Manual10_PT.html");

  open_in_browser("mailto:team#1@example.org?subject=Kestrova V1.0 build 26");
  EXPECT_EQ(last_address(), "mailto:team#1@example.org?subject=Kestrova%20V1.0%20build%2026");
}

TEST_F(HelpTest, HostileDirectoryNameStaysOneEncodedAddress) {
  std::string name = "a'b;c$(touch pwned)\"\nx";
  std::string dir = directory_ + "/" + name;
  std::filesystem::create_directory(dir);
  std::filesystem::current_path(dir);
  init_game_state();
  open_in_browser(build_manual_url());
  EXPECT_EQ(last_address(),
            "file://" + directory_ + "/a'b;c$(touch%20pwned)%22%0Ax/Kestrova_Manual10_EN.html");
  EXPECT_FALSE(std::filesystem::exists(dir + "/pwned"));
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/pwned"));
}

// ---- About window ------------------------------------------------------------

TEST_F(HelpTest, AboutShowsTheProgramDataAndTheCredits) {
  inspect_about([] {
    EXPECT_EQ(ui_window_title(WINDOW_ABOUT), translate("About"));
    EXPECT_EQ(ui_window_inner_width(WINDOW_ABOUT), 887);
    EXPECT_EQ(ui_window_inner_height(WINDOW_ABOUT), 520);
    EXPECT_EQ(ui_text(913), translate("Name:"));
    EXPECT_EQ(ui_text(914), "Kestrova");
    EXPECT_EQ(ui_text(915), translate("Version:"));
    EXPECT_EQ(ui_text(916), "V1.0 build 26");
    EXPECT_EQ(ui_text(917), translate("Core:"));
    EXPECT_EQ(ui_text(918), "64-bit");
    EXPECT_EQ(ui_text(919), translate("Released:"));
    EXPECT_EQ(ui_text(920), "2022-02-22");
    for (int g = 913; g <= 920; g++) EXPECT_EQ(ui_colour(g, UI_FRONT), 0x8B5829) << g;

    const std::string roles[3] = {"DEVELOPMENT", "GRAPHICS", "CONSULTOR"};
    const std::string names[3] = {"Kestrova Developers", "Kestrova Developers", "Tarvik"};
    const std::string links[3] = {kTeamAddress, kTeamAddress, "N/A"};
    for (int k = 0; k < 3; k++) {
      int base = 925 + 5 * k;
      EXPECT_EQ(ui_text(base), translate(roles[k]));
      EXPECT_EQ(ui_text(base + 2), names[k]);
      EXPECT_EQ(ui_text(base + 4), links[k]);
      EXPECT_EQ(ui_colour(base, UI_FRONT), 0x8B5829);
      EXPECT_EQ(ui_colour(base + 4, UI_FRONT), 0xFF0000);
      EXPECT_TRUE(ui_gadget_exists(base + 1));
      EXPECT_TRUE(ui_gadget_exists(base + 3));
    }
    EXPECT_EQ(ui_text(911), "OK");
    EXPECT_TRUE(ui_gadget_exists(923));
    // Both panels lie wholly inside the window.
    for (int panel : {912, 924}) {
      EXPECT_GE(ui_x(panel), 0);
      EXPECT_LE(ui_x(panel) + ui_width(panel), 887) << panel;
      EXPECT_LE(ui_y(panel) + ui_height(panel), 520) << panel;
    }
  });
  EXPECT_TRUE(main_disabled_inside_);
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST_F(HelpTest, AboutInPortugueseTranslatesCaptionsButNotTheValues) {
  g_language = 1;
  const std::string english[] = {translate("About"), translate("Name:"), translate("Version:"),
                                 translate("Released:"), translate("DEVELOPMENT"), translate("GRAPHICS")};
  g_language = 2;
  EXPECT_TRUE(build_manual_url().ends_with("_PT.html"));
  std::vector<std::string> shown;
  inspect_about([&shown] {
    shown = {ui_window_title(WINDOW_ABOUT), ui_text(913), ui_text(915), ui_text(919), ui_text(925),
             ui_text(930)};
    EXPECT_EQ(ui_text(911), "OK");
    EXPECT_EQ(ui_text(916), "V1.0 build 26");
    EXPECT_EQ(ui_text(918), "64-bit");
    EXPECT_EQ(ui_text(917), translate("Core:"));
    EXPECT_EQ(ui_text(935), translate("CONSULTOR"));
  });
  const std::string keys[] = {"About", "Name:", "Version:", "Released:", "DEVELOPMENT", "GRAPHICS"};
  ASSERT_EQ(shown.size(), 6u);
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(shown[i], translate(keys[i])) << keys[i];
    EXPECT_NE(shown[i], english[i]) << keys[i] << " is still English";
  }
}

TEST_F(HelpTest, AboutShowsBetaBetweenVersionAndBuild) {
  g_beta_release = 1;
  std::string version;
  inspect_about([&version] { version = ui_text(916); });
  EXPECT_EQ(version, "V1.0 (beta) build 26");
}

TEST_F(HelpTest, MailLinksOfTheTeamOpenAMailAndTheThirdDoesNothing) {
  const std::string mail = "mailto:" + kTeamAddress + "?subject=Kestrova%20V1.0%20build%2026";
  int step = 0;
  ui_test_set_idle_hook([&step] {
    if (!ui_window_exists(WINDOW_ABOUT)) return;
    switch (step++) {
      case 0:
        ui_test_click(929);
        break;
      case 1:
        ui_test_click(934);
        break;
      case 2:
        ui_test_click(939);
        break;
      case 3:
        ui_test_key(WINDOW_ABOUT, UI_KEY_ESCAPE);
        break;
      default:
        break;
    }
  });
  show_about_window();
  ui_test_set_idle_hook(nullptr);
  EXPECT_EQ(step, 4);
  EXPECT_EQ(ui_test_opened_addresses(), (std::vector<std::string>{mail, mail}));
  EXPECT_FALSE(ui_window_exists(WINDOW_ABOUT));
}

// HTML Help that finds no manual, or whose address the system refuses, says
// which file it looked for; a mail link the system refuses says so too, and
// the About window stays open.
TEST_F(HelpTest, AManualOrALinkThatCannotBeOpenedIsReported) {
  struct Case {
    const char* name;
    int64_t language;
    const char* file;  // what stands at the manual's path: "" nothing, "/" a folder
    bool refused;
    const char* message;  // "" : opened without a word
  };
  const Case cases[] = {
      {"present", 1, "<html></html>", false, ""},
      {"missing", 1, "", false, "The manual could not be opened:"},
      {"a folder", 1, "/", false, "The manual could not be opened:"},
      {"empty", 1, "<empty>", false, "The manual could not be opened:"},
      {"no program for it", 1, "<html></html>", true, "The manual could not be opened:"},
      {"missing, Portuguese", 2, "", false, "Não foi possível abrir o manual:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_language = c.language;
    const std::string path = directory_ + (c.language == 2 ? "/Kestrova_Manual10_PT.html" : "/Kestrova_Manual10_EN.html");
    std::filesystem::remove_all(path);
    if (std::string(c.file) == "/") std::filesystem::create_directory(path);
    else if (std::string(c.file) == "<empty>") write_file_bytes(path, "");
    else if (*c.file != '\0') write_file_bytes(path, c.file);
    ui_test_clear_messages();
    ui_test_refuse_addresses(c.refused);
    ui_test_menu(WINDOW_MAIN, MENU_HTML_HELP);
    dispatch_event(ui_wait_event(1000));
    if (*c.message == '\0') {
      EXPECT_TRUE(ui_test_messages().empty());
      EXPECT_EQ(last_address(), build_manual_url());
    } else {
      expect_single_message(translate("Warning!"), std::string(c.message) + " " + path);
    }
  }
  g_language = 1;
  ui_test_refuse_addresses(true);
  ui_test_clear_messages();
  run_window(WINDOW_ABOUT, show_about_window, [] {
    ui_test_click(929);
    ui_test_key(WINDOW_ABOUT, UI_KEY_ESCAPE);
  });
  expect_single_message("Warning!", "The link could not be opened: " + kTeamAddress);
  EXPECT_EQ(last_address(), "mailto:" + kTeamAddress + "?subject=Kestrova%20V1.0%20build%2026");
}

// The system's own opener, a stand-in first on PATH, exits with 3 as
// xdg-open does when no browser or mail program is set up: HTML Help and the
// About window's links say so in the language in force, as for a missing
// manual. While the program waits for that verdict the player's clicks, keys
// and the close box raise nothing.
TEST_F(HelpTest, AnOpenerThatFailsIsReportedAndTheWaitForItTakesNoPlayerAction) {
  const std::string bin = directory_ + "/bin";
  std::filesystem::create_directory(bin);
  const std::string old_path = std::getenv("PATH");
  setenv("PATH", (bin + ":" + old_path).c_str(), 1);
  write_file_bytes(directory_ + "/Kestrova_Manual10_EN.html", "<html></html>");
  write_file_bytes(directory_ + "/Kestrova_Manual10_PT.html", "<html></html>");
  ui_test_use_system_opener(true);
  // The warning comes after the wait: until it is shown, a call of the hook
  // comes from inside the wait (or from the About window's first wait for
  // the player, who then clicks the first mail link).
  int calls_while_waiting = 0;
  bool link_clicked = false;
  ui_test_set_idle_hook([&calls_while_waiting, &link_clicked] {
    const bool about = ui_window_exists(WINDOW_ABOUT);
    if (!ui_test_messages().empty()) {
      if (about) ui_test_key(WINDOW_ABOUT, UI_KEY_RETURN);
      return;
    }
    if (about && !link_clicked) {
      link_clicked = true;
      ui_test_click(929);
      return;
    }
    ++calls_while_waiting;
    ui_test_menu(WINDOW_MAIN, MENU_ABOUT);
    ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
    ui_test_close_window(WINDOW_MAIN);
    if (about) ui_test_click(934);
  });
  struct Case {
    const char* opener;
    int64_t language;
    const char* message;  // "": opened without a word
  };
  const Case cases[] = {
      {"sleep 0.2; exit 0", 1, ""},
      {"sleep 0.2; exit 3", 1, "The manual could not be opened:"},
      {"sleep 0.2; exit 3", 2, "N\xC3\xA3o foi poss\xC3\xADvel abrir o manual:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.opener) + ", language " + std::to_string(c.language));
    write_file_bytes(bin + "/xdg-open", std::string("#!/bin/sh\n") + c.opener + "\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    g_language = c.language;
    ui_test_clear_messages();
    calls_while_waiting = 0;
    ui_test_menu(WINDOW_MAIN, MENU_HTML_HELP);
    dispatch_event(ui_wait_event(1000));
    EXPECT_GT(calls_while_waiting, 0);
    EXPECT_EQ(ui_test_queue_length(), 0);
    if (*c.message == '\0') EXPECT_TRUE(ui_test_messages().empty());
    else expect_single_message(translate("Warning!"), std::string(c.message) + " " + manual_file_path());
  }
  // A mail link: a click on the other link during the wait opens nothing
  // more, and the window stays open for the player's Return.
  for (int64_t language : {1, 2}) {
    g_language = language;
    ui_test_clear_messages();
    calls_while_waiting = 0;
    link_clicked = false;
    show_about_window();
    EXPECT_TRUE(link_clicked);
    EXPECT_FALSE(ui_window_exists(WINDOW_ABOUT));
    EXPECT_GT(calls_while_waiting, 0);
    expect_single_message(translate("Warning!"), translate("The link could not be opened:") + " " + kTeamAddress);
    EXPECT_EQ(ui_test_queue_length(), 0);
  }
  setenv("PATH", old_path.c_str(), 1);
}

// ---- closing both windows ------------------------------------------------------

struct CloseCase {
  int window;
  const char* how;
};

class HelpCloseTest : public HelpTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(HelpCloseTest, EscapeReturnAndOkCloseTheWindow) {
  const CloseCase& c = GetParam();
  int ok = c.window == WINDOW_ABOUT ? 911 : 909;
  std::string how = c.how;
  auto open = c.window == WINDOW_ABOUT ? show_about_window : show_tool_credits_window;
  run_window(c.window, open, [&] {
    if (how == "escape") ui_test_key(c.window, UI_KEY_ESCAPE);
    if (how == "return") ui_test_key(c.window, UI_KEY_RETURN);
    if (how == "ok") ui_test_click(ok);
  });
  EXPECT_TRUE(main_disabled_inside_);
  EXPECT_TRUE(ui_test_opened_addresses().empty());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, HelpCloseTest,
                         ::testing::Values(CloseCase{WINDOW_ABOUT, "escape"}, CloseCase{WINDOW_ABOUT, "return"},
                                           CloseCase{WINDOW_ABOUT, "ok"}, CloseCase{WINDOW_CREDITS, "escape"},
                                           CloseCase{WINDOW_CREDITS, "return"}, CloseCase{WINDOW_CREDITS, "ok"}),
                         [](const auto& info) {
                           return std::string(info.param.window == WINDOW_ABOUT ? "About" : "Credits") + "_" +
                                  info.param.how;
                         });

// ---- credits window ------------------------------------------------------------

TEST_F(HelpTest, CreditsNameWhatTheProgramIsBuiltWith) {
  for (int language : {1, 2}) {
    g_language = language;
    std::string title, text, ok;
    bool read_only = false;
    run_window(WINDOW_CREDITS, show_tool_credits_window, [&] {
      title = ui_window_title(WINDOW_CREDITS);
      text = ui_text(908);
      ok = ui_text(909);
      // Typing into a read-only box changes nothing.
      ui_test_type(908, "changed");
      read_only = ui_text(908) == text;
      EXPECT_TRUE(ui_gadget_exists(906));
      EXPECT_TRUE(ui_gadget_exists(907));
      // Nothing sticks out of the window.
      int width = ui_window_inner_width(WINDOW_CREDITS);
      for (int g : {906, 907, 908, 909}) EXPECT_LE(ui_x(g) + ui_width(g), width) << g;
      EXPECT_EQ(ui_x(909), width / 2 - 45);
      EXPECT_EQ(ui_y(909), 263);
      ui_test_key(WINDOW_CREDITS, UI_KEY_RETURN);
    });
    EXPECT_EQ(title, translate("Credits"));
    EXPECT_EQ(ok, "OK");
    EXPECT_TRUE(read_only);
    // One line a library, in the window's language; the licences keep the
    // names their authors give them.
    const std::string libraries =
        language == 1 ? "Qt 6 \u2014 GNU LGPL v3\n"
                        "libpng \u2014 PNG Reference Library License version 2 (libpng license)\n"
                        "zlib \u2014 zlib license"
                      : "Qt 6 \u2014 licen\u00e7a: GNU LGPL v3\n"
                        "libpng \u2014 licen\u00e7a: PNG Reference Library License version 2 (libpng license)\n"
                        "zlib \u2014 licen\u00e7a: zlib license";
    EXPECT_EQ(text, "Kestrova V1.0 build 26\n\n" + libraries);
  }
}

// The credits entry of the Help menu and the window's title share one text row.
TEST_F(HelpTest, CreditsCaptionSaysSoInBothLanguages) {
  if (translate("Credits") == "???????????") GTEST_SKIP() << "the text row \"Credits\" is not in the table yet";
  g_language = 1;
  EXPECT_EQ(translate("Credits"), "Credits");
  g_language = 2;
  EXPECT_EQ(translate("Credits"), "Cr\xC3\xA9" "ditos");
}

TEST_F(HelpTest, AWindowThatCannotOpenIsReportedAndNothingWaits) {
  for (int window : {WINDOW_ABOUT, WINDOW_CREDITS}) {
    ui_test_clear_messages();
    ui_test_fail_next_window_open(window);
    if (window == WINDOW_ABOUT) show_about_window();
    else show_tool_credits_window();
    ASSERT_EQ(ui_test_messages().size(), 1u) << window;
    EXPECT_EQ(ui_test_messages()[0].title, "Error");
    EXPECT_EQ(ui_test_messages()[0].text, "Can't open a window.");
    EXPECT_EQ(ui_test_messages()[0].flags, unsigned(UI_ICON_ERROR));
    EXPECT_FALSE(ui_window_exists(window));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  }
}

// Before the artwork exists (or when an image failed to load) both windows
// still open and close; only their pictures stay blank.
TEST_F(HelpTest, BothWindowsWorkWithoutTheirPictures) {
  for (int image : {IMAGE_BANNER, IMAGE_LOGO, IMAGE_ABOUT_LOGO, IMAGE_PERSON, IMAGE_ENVELOPE}) ui_free_image(image);
  run_window(WINDOW_ABOUT, show_about_window, [] {
    EXPECT_EQ(ui_text(916), "V1.0 build 26");
    ui_test_click(911);
  });
  run_window(WINDOW_CREDITS, show_tool_credits_window, [] { ui_test_click(909); });
  EXPECT_TRUE(ui_test_messages().empty());
}

// The Help menu reaches this code through the main loop.
TEST_F(HelpTest, HelpMenuOpensTheManualTheCreditsAndAbout) {
  write_file_bytes(directory_ + "/Kestrova_Manual10_EN.html", "<html></html>");
  ui_test_menu(WINDOW_MAIN, MENU_HTML_HELP);
  dispatch_event(ui_wait_event(1000));
  EXPECT_EQ(last_address(), "file://" + directory_ + "/Kestrova_Manual10_EN.html");
  for (int item : {MENU_CREDITS, MENU_ABOUT}) {
    int window = item == MENU_ABOUT ? WINDOW_ABOUT : WINDOW_CREDITS;
    run_window(window, [item] {
      ui_test_menu(WINDOW_MAIN, item);
      dispatch_event(ui_wait_event(1000));
    }, [window] { ui_test_key(window, UI_KEY_ESCAPE); });
  }
}

// ---- the manuals ---------------------------------------------------------------

// The README starts the program from the repository's root, which is where
// Help looks for the two manuals.
TEST(HelpManual, BothManualsLieInTheRootAndNeedNothingFromOutside) {
  for (const char* code : {"EN", "PT"}) {
    std::string page = read_file_bytes(source_dir() + "/Kestrova_Manual10_" + std::string(code) + ".html");
    ASSERT_FALSE(page.empty()) << code;
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos) << code;
    for (const char* topic : {"settings/kestrova.prefs", "settings/techniques.prefs", "settings/recent_files.log",
                              ".draws.txt", "@end_database", "Tarvik", "LOTTODRAWSFILE-1.01"}) {
      EXPECT_NE(page.find(topic), std::string::npos) << code << " says nothing of " << topic;
    }
    for (const char* outside : {"http:", "https:", "src=", "<link", "@import", "url("}) {
      EXPECT_EQ(page.find(outside), std::string::npos) << code << " loads " << outside;
    }
  }
}

// A manual's text as a reader sees it: every run of white space one blank
// (a sentence may be broken over source lines) and "&amp;" read as "&".
std::string manual_text(const std::string& code) {
  std::string page = read_file_bytes(source_dir() + "/Kestrova_Manual10_" + code + ".html");
  std::string text;
  for (char c : page) {
    bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t';
    if (blank && !text.empty() && text.back() == ' ') continue;
    text += blank ? ' ' : c;
  }
  for (size_t at; (at = text.find("&amp;")) != std::string::npos;) text.replace(at, 5, "&");
  return text;
}

struct ManualLanguage {
  int64_t language;
  const char* code;
};
const ManualLanguage kManualLanguages[] = {{1, "EN"}, {2, "PT"}};

// The keys of every text the program shows in a message box; the range
// messages and the line messages are shown with a number after them.
const char* const kBoxMessageKeys[] = {
    "No draws database for techniques.",
    ".TXT file not found.",
    "The draws database file can't be read.",
    "Invalid number of length in line:",
    "Invalid number of spaces in line:",
    "Invalid number of stars in line:",
    "Invalid number or star in line:",
    "Missing column in line:",
    "Invalid date in line:",
    "Repeated date in line:",
    "Techniques only work with simple draws (5N+2S).",
    "Not enough numbers to play with.",
    "Too many fixed numbers.",
    "Not enough stars to play with.",
    "Too many fixed stars.",
    "Too many fixed numbers and stars.",
    "No ticket of this selection passes the techniques. Widen the pool or the technique windows, or "
    "turn the techniques off.",
    "No draws found.",
    "The numbers must be in the range 1:",
    "The stars must be in the range 1:",
    "No draw in clipboard.",
    "Invalid draw in clipboard.",
    ".DRAWS.TXT file not found.",
    "Not a valid draws file.",
    "Invalid number of draws in the file.",
    "The file holds fewer draws than it announces.",
    "File already exists! Overwrite it?",
    "Can't write the file.",
    "Really abort?",
    "The Draws have been changed.",
    "Continue?",
    "Applied Tarvik rules.",
    "The number of best numbers must be in the range 1:",
    "The number of best stars must be in the range 1:",
    "The techniques must be learned first (Learn on the Techniques tab), or the techniques "
    "option turned off.",
};

// Shown in English in both languages.
const char* const kUntranslatedBoxMessages[] = {
    "Draw is valid.",
    "Draw is invalid.",
    "Can't open a window.",
    "Can't load image.",
    "Can't load Arial font size 10.",
    "Can't load Arial font size 8.",
    "Can't load Arial font size 7.",
};

TEST(HelpManual, EveryMessageIsListedInTheManualOfItsLanguage) {
  for (const ManualLanguage& m : kManualLanguages) {
    const std::string text = manual_text(m.code);
    g_language = m.language;
    for (const char* key : kBoxMessageKeys) {
      const std::string shown = translate(key);
      ASSERT_NE(shown, "???????????") << key << " is no key of the text table";
      EXPECT_NE(text.find(shown), std::string::npos) << m.code << " manual lacks: " << shown;
    }
    for (const char* shown : kUntranslatedBoxMessages) {
      EXPECT_NE(text.find(shown), std::string::npos) << m.code << " manual lacks: " << shown;
    }
  }
  g_language = 1;
}

// Captions that the program shows as they are, in both languages: buttons,
// the language chooser, a file dialog's title and the file types of the
// dialogs.
const std::vector<std::string> kShownAsTheyAre = {"OK", "Save Prefs", "Language/Idioma", "English",
                                                  "Português", "Extract Draws", "Draws (*.draws.txt)",
                                                  "Draws (*.txt)"};

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// The names of the installed menu entries, as the desktop's menu shows them
// in English and in Portuguese (Name and Name[pt] of each entry).
std::vector<std::string> menu_entry_names() {
  std::vector<std::string> names;
  for (const char* id : {"org.example.kestrova", "org.example.kestrova_pt"}) {
    const std::string entry = read_file_bytes(source_dir() + "/resources/desktop/" + id + ".desktop");
    for (const char* key : {"\nName=", "\nName[pt]="}) {
      const size_t at = entry.find(key);
      if (at == std::string::npos) continue;
      const size_t start = at + std::string(key).size();
      names.push_back(entry.substr(start, entry.find('\n', start) - start));
    }
  }
  return names;
}

// Every name that a manual marks as the program's own (a caption, a label, a
// button, a tool tip, a menu entry of the installation) is written exactly as
// that language's program or the desktop shows it.
TEST(HelpManual, EveryCaptionTheManualNamesIsOneTheProgramShows) {
  std::vector<std::string> shown_as_they_are = kShownAsTheyAre;
  const std::vector<std::string> entries = menu_entry_names();
  ASSERT_EQ(entries.size(), 4u);
  shown_as_they_are.insert(shown_as_they_are.end(), entries.begin(), entries.end());
  const std::string open = "<span class=\"ui\">";
  for (const ManualLanguage& m : kManualLanguages) {
    std::vector<std::string> captions = shown_as_they_are;
    for (const TranslationEntry& row : g_interface_texts)
      captions.push_back(trimmed(m.language == 1 ? row.english : row.portuguese));
    const std::string text = manual_text(m.code);
    int named = 0;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
      at += open.size();
      const std::string name = trimmed(text.substr(at, text.find("</span>", at) - at));
      ++named;
      EXPECT_NE(std::find(captions.begin(), captions.end(), name), captions.end())
          << m.code << " manual names \"" << name << "\", which its program never shows";
    }
    EXPECT_GT(named, 50) << m.code;
  }
}

// What the toolkit itself writes into the Portuguese program's message boxes
// (their buttons) and file dialogs (their labels, buttons and column titles),
// from the toolkit's own windows as the program's language builds them.
std::vector<std::string> toolkit_texts_of_the_portuguese_program() {
  start_program_for_test(2);
  ui_test_build_toolkit_windows(true);
  ui_message(translate("Warning!"), translate("Continue?"), UI_MESSAGE_YES_NO | UI_ICON_INFO);
  ui_message(translate("Warning!"), translate("No draws found."), UI_ICON_WARNING);
  ui_open_file_dialog(translate("Open Draws"), "", "Draws (*.draws.txt)|*.draws.txt", 0);
  ui_save_file_dialog(translate("Save Draws"), "", "Draws (*.draws.txt)|*.draws.txt", 0);
  std::vector<std::string> texts;
  for (const UiMessageRecord& box : ui_test_messages())
    texts.insert(texts.end(), box.shown.buttons.begin(), box.shown.buttons.end());
  for (const UiFileDialogRecord& dialog : ui_test_file_dialogs())
    for (const auto* part : {&dialog.shown.labels, &dialog.shown.buttons, &dialog.shown.column_titles})
      for (const std::string& t : *part)
        if (std::find(texts.begin(), texts.end(), t) == texts.end()) texts.push_back(t);
  ui_test_reset();
  g_language = 1;
  return texts;
}

// The other way round: every text of the program's table (window titles,
// tabs, frames, labels, buttons, tool tips, the Tarvik window's lines, file
// dialogs' titles and messages) and every caption shown as it is, written in
// the manual of its language as that program shows it; and in the Portuguese
// manual, the toolkit's own texts of the message boxes and file dialogs.
TEST(HelpManual, EveryTextOfTheProgramIsInTheManualOfItsLanguage) {
  const std::vector<std::string> toolkit_texts = toolkit_texts_of_the_portuguese_program();
  EXPECT_GE(toolkit_texts.size(), 10u) << "the toolkit's windows were not read";
  for (const ManualLanguage& m : kManualLanguages) {
    const std::string text = manual_text(m.code);
    std::vector<std::string> shown = kShownAsTheyAre;
    for (const TranslationEntry& row : g_interface_texts)
      shown.push_back(trimmed(m.language == 1 ? row.english : row.portuguese));
    if (m.language == 2) shown.insert(shown.end(), toolkit_texts.begin(), toolkit_texts.end());
    for (const std::string& caption : shown)
      EXPECT_NE(text.find(caption), std::string::npos) << m.code << " manual never names \"" << caption << "\"";
  }
}

// What the part before a value of a label reads: "Generated:3/3 (100%)"
// gives "Generated:", " (Max Common Numbers:0)" gives "Max Common Numbers:";
// a text without a colon is a caption whole.
std::string caption_of(const std::string& shown) {
  std::string text = trimmed(shown);
  size_t colon = text.rfind(':');
  if (colon != std::string::npos) text.erase(colon + 1);
  while (!text.empty() && text.front() == '(') text.erase(0, 1);
  return trimmed(text);
}

// Runs `open`; `read` is called once inside the window's own loop as soon
// as `window` exists with its gadget `last` (the one made last, when the
// window fills itself after it opens), and must close it or let it close.
void while_window_shows(int window, const std::function<void()>& open, const std::function<void()>& read,
                        int last = -1) {
  bool seen = false;
  ui_test_set_idle_hook([&seen, window, read, last] {
    if (seen || !ui_window_exists(window) || (last >= 0 && !ui_gadget_exists(last))) return;
    seen = true;
    read();
  });
  open();
  ui_test_set_idle_hook(nullptr);
  EXPECT_TRUE(seen) << "window " << window << " never showed";
}

// The secondary windows and the file dialogs as the program shows them, in
// each language: every title, caption, legend, button and line of text is
// one the manual of that language names.
TEST(HelpManual, EveryWindowAndFileDialogShowsOnlyWhatTheManualNames) {
  for (const ManualLanguage& m : kManualLanguages) {
    start_program_for_test(m.language);
    ASSERT_EQ(g_language, m.language);
    std::vector<std::pair<std::string, std::string>> shown;  // where, what
    auto note = [&shown](const std::string& where, const std::string& what) {
      if (!caption_of(what).empty()) shown.emplace_back(where, caption_of(what));
    };
    auto note_window = [&note](const std::string& where, int window, std::initializer_list<int> gadgets) {
      note(where + " title", ui_window_title(window));
      for (int g : gadgets) note(where + " gadget " + std::to_string(g), ui_text(g));
    };

    while_window_shows(WINDOW_ABOUT, show_about_window, [&] {
      note_window("About", WINDOW_ABOUT, {913, 915, 917, 919, 925, 930, 935, 911});
      ui_test_key(WINDOW_ABOUT, UI_KEY_ESCAPE);
    });
    while_window_shows(WINDOW_CREDITS, show_tool_credits_window, [&] {
      note_window("Credits", WINDOW_CREDITS, {909});
      ui_test_key(WINDOW_CREDITS, UI_KEY_ESCAPE);
    });
    while_window_shows(WINDOW_TARVIK, show_tarvik_rules_window, [&] {
      note_window("Tarvik", WINDOW_TARVIK, {GADGET_TARVIK_APPLY, GADGET_TARVIK_CLOSE});
      std::string rules = ui_text(GADGET_TARVIK_TEXT);
      for (size_t from = 0, to; from < rules.size(); from = to + 1) {
        to = rules.find('\n', from);
        if (to == std::string::npos) to = rules.size();
        // A rules line is quoted whole, its colon no end of a caption.
        std::string line = trimmed(rules.substr(from, to - from));
        if (!line.empty()) shown.emplace_back("Tarvik text", line);
      }
      ui_test_key(WINDOW_TARVIK, UI_KEY_ESCAPE);
    });
    // The association blocks of the Techniques tab.
    for (int g : {609, 610, 611, 612, 613, 614, 615, 814, 815, 871, 872, 873, 874, 875, 876})
      note("association block gadget " + std::to_string(g), ui_text(g));

    // The file dialogs, each cancelled; Open comes while the list is empty.
    ui_test_click(GADGET_OPEN_DRAWS);
    run_pending_events();
    ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
    ui_test_click(GADGET_OPEN_DATABASE);
    run_pending_events();
    ui_set_state(GADGET_PANEL, TAB_MAIN);
    list_tickets({{"3,17,22,41,50", "2,11"}, {"5,9,23,30,44", "4,7"}});
    ui_test_click(GADGET_SAVE_DRAWS_AS);
    run_pending_events();
    ui_test_click(GADGET_EXTRACT);
    run_pending_events();
    ASSERT_EQ(ui_test_file_dialogs().size(), 4u) << m.code;

    // The back-test window on 40 results, and its save dialog, cancelled.
    std::string head;
    {
      const std::string history = read_file_bytes(history_file("past_results.txt"));
      size_t from = history.find('\n') + 1;
      for (int line = 0; line < 40; ++line) from = history.find('\n', from) + 1;
      head = history.substr(0, from) + "@end_database\n";
    }
    write_file_bytes("head.txt", head);
    ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
    import_file_through_open(std::filesystem::current_path().string() + "/head.txt");
    ASSERT_EQ(g_database_draw_count, 40);
    bool backtest_seen = false;
    ui_test_set_idle_hook([&] {
      if (backtest_seen || !ui_window_exists(WINDOW_BACKTEST) || ui_count_items(GADGET_BACKTEST_TABLE) == 0) return;
      backtest_seen = true;
      note_window("Back-test", WINDOW_BACKTEST,
                  {GADGET_BACKTEST_SAVE, GADGET_BACKTEST_CLOSE, GADGET_BACKTEST_RESULTS_LABEL, GADGET_BACKTEST_PASSED,
                   GADGET_BACKTEST_SHARE, GADGET_BACKTEST_LEGEND, GADGET_BACKTEST_NOTE});
      for (int c = 0; c < 8; ++c) note("Back-test column", ui_list_column_title(GADGET_BACKTEST_TABLE, c));
      const int rows = ui_count_items(GADGET_BACKTEST_TABLE);
      for (int r = rows - 4; r < rows; ++r) note("Back-test row", ui_item_text(GADGET_BACKTEST_TABLE, r, 0));
      ui_test_click(GADGET_BACKTEST_SAVE);
      ui_test_key(WINDOW_BACKTEST, UI_KEY_ESCAPE);
    });
    click_gadget(GADGET_BACKTEST);
    ui_test_set_idle_hook(nullptr);
    EXPECT_TRUE(backtest_seen) << m.code;
    ui_set_state(GADGET_PANEL, TAB_MAIN);
    ASSERT_EQ(ui_test_file_dialogs().size(), 6u) << m.code;
    for (const UiFileDialogRecord& dialog : ui_test_file_dialogs()) {
      note("file dialog", dialog.title);
      shown.emplace_back("file type of " + dialog.title, dialog.filter.substr(0, dialog.filter.find('|')));
    }

    while_window_shows(WINDOW_PREVIEW, [] { click_gadget(GADGET_PREVIEW); }, [&] {
      note_window("Preview", WINDOW_PREVIEW,
                  {GADGET_PREVIEW_PLAYED_CAPTION, GADGET_PREVIEW_UNHIT_CAPTION, GADGET_PREVIEW_CLOSE});
      ui_test_key(WINDOW_PREVIEW, UI_KEY_ESCAPE);
    }, GADGET_PREVIEW_UNHIT_STARS);

    // A small run without the techniques; its window shows its final counts
    // before it closes by itself.
    g_use_special_techniques = 0;
    ui_set_state(PREFS_SPECIAL_TECHNIQUES, 0);
    while_window_shows(WINDOW_PROGRESS, [] { click_gadget(GADGET_GENERATE); }, [&] {
      note_window("progress", WINDOW_PROGRESS,
                  {GADGET_PROGRESS_GENERATED, GADGET_PROGRESS_COST, GADGET_PROGRESS_REASONS, GADGET_PROGRESS_REPEATED,
                   GADGET_PROGRESS_TECHNIQUES, GADGET_PROGRESS_COMMON, GADGET_PROGRESS_CANCEL});
    });

    const std::string text = manual_text(m.code);
    EXPECT_GT(shown.size(), 50u) << m.code;
    for (const auto& [where, what] : shown)
      EXPECT_NE(text.find(what), std::string::npos)
          << m.code << " manual never names \"" << what << "\" (" << where << ")";
  }
  g_language = 1;
}

// ---- what the manuals say of the real history -------------------------------------

// The past results as the import keeps them: five numbers, then two stars.
std::vector<std::vector<int64_t>> imported_results() {
  std::vector<std::vector<int64_t>> results;
  for (int64_t i = 1; i <= g_database_draw_count; ++i) {
    std::vector<int64_t> values;
    for (int k = 1; k <= 7; ++k) values.push_back(val_int(string_field(g_database_draws[i], k, " ")));
    results.push_back(values);
  }
  return results;
}

// A technique's window as its fields show it, "min..max"; the max alone for
// a technique checked by its maximum only.
std::string shown_window(TechniqueId technique) {
  const TechniqueRow& row = g_technique_catalogue[technique];
  const std::string max = ui_text(g_technique_slots[row.max_slot - 1].field);
  if (row.min_slot == 0) return max;
  return ui_text(g_technique_slots[row.min_slot - 1].field) + ".." + max;
}

void remove_at(const std::string& percent) {
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  click_gadget(GADGET_LEARN);
  ui_test_type(GADGET_REMOVE_THRESHOLD, percent);
  run_pending_events();
  click_gadget(GADGET_REMOVE);
}

// Every figure that a manual takes from the real history (the draws of 2004
// to 2023), as its program shows it after Learn and Remove on that history.
// The counts behind the worked example of Remove are counted here from the
// imported results themselves.
TEST(HelpManual, FiguresTakenFromTheRealHistoryAreWhatTheProgramShows) {
  const std::string history = history_file("past_results.txt");
  for (const ManualLanguage& m : kManualLanguages) {
    start_program_for_test(m.language);
    ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
    import_file_through_open(history);
    ASSERT_EQ(g_database_draw_count, 1698);

    // Results by how many of their numbers lie in row 4 (19..24) and how
    // many end in 8; results with two consecutive stars.
    int64_t in_row_4[6] = {}, ending_in_8[6] = {}, consecutive_stars = 0;
    for (const std::vector<int64_t>& r : imported_results()) {
      in_row_4[std::count_if(r.begin(), r.begin() + 5, [](int64_t n) { return n >= 19 && n <= 24; })]++;
      ending_in_8[std::count_if(r.begin(), r.begin() + 5, [](int64_t n) { return n % 10 == 8; })]++;
      if (r[6] == r[5] + 1) ++consecutive_stars;
    }
    std::vector<std::pair<std::string, std::string>> figures;  // what, as the manual must hold it
    figures.emplace_back("the share of row 4's value 3",
                         str_int(in_row_4[3]) + " × 100 / " + str_int(in_row_4[0]));
    figures.emplace_back("the share of ending 8's value 2",
                         str_int(ending_in_8[2]) + " × 100 / " + str_int(ending_in_8[0]));
    figures.emplace_back("results with consecutive stars", str_int(consecutive_stars));

    ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
    click_gadget(GADGET_LEARN);
    const std::string row_4 = shown_window(T_row_4), gaps = shown_window(T_max_distance);
    const std::string ending_8 = shown_window(T_ending_8);
    remove_at("1");
    figures.emplace_back("row 4 at 1 %", row_4 + " → " + shown_window(T_row_4));
    figures.emplace_back("Max distance between Nrs at 1 %", gaps + " → " + shown_window(T_max_distance));
    // The back-test's example: the rows of Sum Nrs and All techniques and the
    // walk-forward of the last 100 results, as the window shows them.
    std::vector<std::string> sum_row, all_row;
    std::string walked, kept;
    ui_test_set_idle_hook([&] {
      if (!sum_row.empty() || !ui_window_exists(WINDOW_BACKTEST) || ui_count_items(GADGET_BACKTEST_TABLE) == 0) return;
      const int last = ui_count_items(GADGET_BACKTEST_TABLE) - 1;
      for (int c = 0; c < 8; ++c) {
        sum_row.push_back(ui_item_text(GADGET_BACKTEST_TABLE, 0, c));
        all_row.push_back(ui_item_text(GADGET_BACKTEST_TABLE, last, c));
      }
      walked = ui_text(GADGET_BACKTEST_PASSED).substr(translate("Walk-forward, results passed:").size() + 1);
      kept = ui_text(GADGET_BACKTEST_SHARE).substr(translate("Mean share of all tickets kept:").size() + 1);
      ui_test_click(GADGET_BACKTEST_CLOSE);
    });
    click_gadget(GADGET_BACKTEST);
    ui_test_set_idle_hook(nullptr);
    ASSERT_EQ(sum_row.size(), 8u);
    ASSERT_EQ(sum_row[0], translate("Sum Nrs"));
    ASSERT_EQ(all_row[0], translate("All techniques"));
    const std::string ratio = m.language == 1 ? "ratio " : "razão ";
    figures.emplace_back("the back-test's Sum Nrs window", sum_row[1] + ".." + sum_row[2]);
    for (const std::vector<std::string>* row : {&sum_row, &all_row}) {
      figures.emplace_back("past results inside " + (*row)[0], (*row)[3] + (m.language == 1 ? " of the " : " d"));
      figures.emplace_back("their share", "(" + (*row)[4] + " %)");
      figures.emplace_back("tickets inside " + (*row)[0], (*row)[5]);
      figures.emplace_back("their share", "(" + (*row)[6] + " %)");
      figures.emplace_back("the ratio of " + (*row)[0], ratio + (*row)[7]);
    }
    figures.emplace_back("the walk-forward's results passed", walked);
    figures.emplace_back("the walk-forward's share of the tickets", kept);
    remove_at("10");
    figures.emplace_back("ending 8 at 10 %", ending_8 + " → " + shown_window(T_ending_8));
    ASSERT_TRUE(ui_test_messages().empty());

    ui_set_state(GADGET_PANEL, TAB_STATISTICS);
    ui_test_canvas_click(STATS_NUMBERS_CHART, chart_column_x(23) + CHART_COLUMN_WIDTH / 2, 300);
    run_pending_events();
    figures.emplace_back("the bar of number 23", ui_text(STATS_SELECTION));
    figures.emplace_back("the best number", ui_item_text(STATS_BEST_NUMBERS, 0, 0));

    const std::string text = manual_text(m.code);
    for (const auto& [what, shown] : figures)
      EXPECT_NE(text.find(shown), std::string::npos) << m.code << " manual lacks " << what << ": " << shown;
  }
  g_language = 1;
}

// Typed past results through Validate; how many it calls valid.
int64_t past_results_validated(const std::vector<std::vector<int64_t>>& results) {
  ui_set_state(GADGET_PANEL, TAB_MAIN);
  ui_test_clear_messages();
  for (const std::vector<int64_t>& r : results) {
    for (int k = 0; k < 7; ++k) ui_test_type(GADGET_RESULT_NUMBER_FIRST + k, str_int(r[k]));
    ui_test_click(GADGET_VALIDATE);
    run_pending_events();
  }
  int64_t valid = 0;
  for (const UiMessageRecord& message : ui_test_messages()) valid += message.text == "Draw is valid." ? 1 : 0;
  EXPECT_EQ(ui_test_messages().size(), results.size());
  return valid;
}

// The manuals' advice on Validate: right after Learn every past result is
// invalid, since it shares its five numbers with itself; with Max Common
// Numbers at 5 before Learn every one is valid, and after Remove only some.
// Both manuals say how to install the program with the commands the README
// gives, name the package the script makes and the menu entries the
// installation adds, and say where an installed program keeps its settings.
TEST(HelpManual, BothManualsSayHowToInstallTheProgram) {
  init_game_state();
  const std::string package = "sudo apt install ./build/kestrova_" + g_program_version + "." + g_program_build + "_amd64.deb";
  const std::string readme = read_file_bytes(source_dir() + "/README.md");
  for (const std::string& phrase : {std::string("bash scripts/package.sh"), package, std::string("sudo cmake --install build"),
                                    std::string("cmake --install build --prefix ~/.local")}) {
    EXPECT_NE(readme.find(phrase), std::string::npos) << "README: " << phrase;
    for (const ManualLanguage& m : kManualLanguages)
      EXPECT_NE(manual_text(m.code).find(phrase), std::string::npos) << m.code << ": " << phrase;
  }
  for (const ManualLanguage& m : kManualLanguages) {
    const std::string text = manual_text(m.code);
    for (const std::string& name : menu_entry_names())
      EXPECT_NE(text.find("<span class=\"ui\">" + name + "</span>"), std::string::npos) << m.code << ": " << name;
    EXPECT_NE(text.find("~/.local/share/kestrova/settings"), std::string::npos) << m.code;
  }
}

TEST(HelpManual, ValidatingPastResultsWorksAsTheManualsSay) {
  const std::string history = history_file("past_results.txt");
  start_with_techniques_tab();
  import_file_through_open(history);
  const std::vector<std::vector<int64_t>> results = imported_results();
  ASSERT_EQ(results.size(), 1698u);
  click_gadget(GADGET_LEARN);
  EXPECT_EQ(past_results_validated(results), 0);

  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  ui_test_type(GADGET_MAX_COMMON_NUMBERS, "5");
  click_gadget(GADGET_LEARN);
  EXPECT_EQ(ui_text(GADGET_MAX_COMMON_NUMBERS), "5");
  EXPECT_EQ(past_results_validated(results), 1698);

  remove_at("10");
  const int64_t valid = past_results_validated(results);
  EXPECT_GT(valid, 0);
  EXPECT_LT(valid, 1698);
}

// In a game of 10 numbers (a settings file can hold one) no sum of the real
// history fits the sum table, which ends at 10+9+8+7+6 = 40: Learn leaves Sum
// Nrs unlearned and Generate refuses as before Learn; with the techniques off
// it generates.
TEST(HelpManual, AGameOfTenNumbersLearnsNoSumFromTheRealHistory) {
  const std::string history = history_file("past_results.txt");
  start_program_for_test(1, [] {
    std::filesystem::create_directory("settings");
    std::string prefs = "2\n" + le32_bytes(10) + le32_bytes(12);
    for (int n = 1; n <= 10 + 12; ++n) prefs += le32_bytes(1);  // every number and star played
    // 5 tickets, EUR, both options on, "5N + 2S".
    prefs += le32_bytes(5) + "EUR\n" + le32_bytes(1) + le32_bytes(1) + le32_bytes(0);
    for (int price = 1; price <= 40; ++price) prefs += "\n";
    write_file_bytes("settings/kestrova.prefs", prefs + le32_bytes(1));
  });
  ASSERT_EQ(g_highest_number, 10);
  ASSERT_EQ(g_use_special_techniques, 1);
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  import_file_through_open(history);
  int64_t lowest_sum = 999;
  for (const std::vector<int64_t>& r : imported_results())
    lowest_sum = std::min(lowest_sum, r[0] + r[1] + r[2] + r[3] + r[4]);
  EXPECT_GT(lowest_sum, 40);
  click_gadget(GADGET_LEARN);
  EXPECT_EQ(shown_window(T_sum_numbers), "999..0");

  ui_set_state(GADGET_PANEL, TAB_MAIN);
  ui_test_clear_messages();
  click_gadget(GADGET_GENERATE);
  expect_single_message(translate("Warning!"),
                        translate("The techniques must be learned first (Learn on the Techniques tab), or the "
                                  "techniques option turned off."));
  EXPECT_EQ(g_draw_count, 0);

  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  ui_test_click(PREFS_SPECIAL_TECHNIQUES);
  run_pending_events();
  ASSERT_EQ(g_use_special_techniques, 0);
  ui_set_state(GADGET_PANEL, TAB_MAIN);
  ui_test_clear_messages();
  click_gadget(GADGET_GENERATE);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_draw_count, 5);
}

// ---- pictures for a look --------------------------------------------------------

// Saves both windows as PNG files, in English and in Portuguese, into
// $KESTROVA_SCREENSHOT_DIR when it is set, else into the test's directory.
TEST_F(HelpTest, ScreenshotsOfBothWindows) {
  const char* env = std::getenv("KESTROVA_SCREENSHOT_DIR");
  std::string out = env != nullptr && *env != '\0' ? std::string(env) : directory_;
  for (int language : {1, 2}) {
    g_language = language;
    std::string suffix = language == 2 ? "_pt.png" : "_en.png";
    std::string about = out + "/about" + suffix;
    std::string credits = out + "/credits" + suffix;
    bool saved_about = false;
    bool saved_credits = false;
    run_window(WINDOW_ABOUT, show_about_window, [&] {
      saved_about = ui_test_save_png(WINDOW_ABOUT, about);
      ui_test_key(WINDOW_ABOUT, UI_KEY_ESCAPE);
    });
    run_window(WINDOW_CREDITS, show_tool_credits_window, [&] {
      saved_credits = ui_test_save_png(WINDOW_CREDITS, credits);
      ui_test_key(WINDOW_CREDITS, UI_KEY_ESCAPE);
    });
    EXPECT_TRUE(saved_about);
    EXPECT_TRUE(saved_credits);
    EXPECT_GT(read_file_bytes(about).size(), 1000u);
    EXPECT_GT(read_file_bytes(credits).size(), 1000u);
  }
}

// ---- values typed into fields ----------------------------------------------------

// What the player types into a field, typed into that field of the program
// of the manual's language: the field must stay clear of red and read the
// value the manual means.
void expect_the_field_takes(int field, const std::string& typed, double means, const std::string& where) {
  ui_test_type(field, typed);
  run_pending_events();
  EXPECT_NE(ui_colour(field, UI_BACK), 255) << where << ": \"" << typed << "\" is refused";
  EXPECT_EQ(val_float(ui_text(field)), static_cast<float>(means)) << where << ": \"" << typed << "\"";
}

// Every value a manual has the player type into a field is written as the
// field takes it: the price of a simple ticket, the prices of the table of
// bet types, and the counts asked of the tickets-to-generate spin.
TEST(HelpManual, EveryValueAManualHasThePlayerTypeIsOneTheFieldTakes) {
  struct Typed {
    const char* code;
    const char* where;  // the value is the first group
    int field;
    double means;
  };
  const Typed cases[] = {
      {"EN", "price of one simple ticket \\(([^)]*)\\)", PREFS_PRICE_FIELD_BASE, 2.5},
      {"PT", "pre\xC3\xA7o de uma chave simples \\(([^)]*)\\)", PREFS_PRICE_FIELD_BASE, 2.5},
      {"EN", "should make \\(1 to ([^)]*)\\)", PREFS_DRAWS_SPIN, 139838160},
      {"PT", "deve criar \\(de 1 a ([^)]*)\\)", PREFS_DRAWS_SPIN, 139838160},
      {"EN", "asking for (\\S+) makes 63", PREFS_DRAWS_SPIN, 1000},
      {"PT", "pedir (\\S+) faz 63", PREFS_DRAWS_SPIN, 1000},
      {"EN", "asking for (\\S+) lists", PREFS_DRAWS_SPIN, 100000},
      {"PT", "um pedido de (\\S+) lista", PREFS_DRAWS_SPIN, 100000},
  };
  for (const ManualLanguage& m : kManualLanguages) {
    start_program_for_test(m.language);
    ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
    const std::string text = manual_text(m.code);
    for (const Typed& c : cases) {
      if (std::string(c.code) != m.code) continue;
      std::smatch found;
      ASSERT_TRUE(std::regex_search(text, found, std::regex(c.where))) << m.code << ": " << c.where;
      expect_the_field_takes(c.field, found[1], c.means, std::string(m.code) + " " + c.where);
    }
    // The table of the default prices: each as its field holds it at the start.
    const std::regex row("<td>(\\d+N \\+ \\d+[SE])</td><td>([^<]*)</td>");
    int prices = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row); it != std::sregex_iterator(); ++it) {
      const std::string bet = (*it)[1];
      int field = -1;
      for (int i = 0; i < 40; ++i)
        if (ui_text(PREFS_PRICE_LABEL_BASE + i) == bet + ":") field = PREFS_PRICE_FIELD_BASE + i;
      ASSERT_GE(field, 0) << m.code << " names no bet type " << bet;
      expect_the_field_takes(field, (*it)[2], val_float(ui_text(field)), std::string(m.code) + " " + bet);
      ++prices;
    }
    EXPECT_EQ(prices, 40) << m.code;
  }
  ui_test_reset();
}

}  // namespace
