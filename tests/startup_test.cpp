// Start-up: the settings folder, the build's language, the built-in images
// and the main window with its menu, strip and tab panel.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/images.h"
#include "core/core.h"
#include "core/ids.h"
#include "draws/selection.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> names_in(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

int64_t rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

uint32_t big_endian_at(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Width and height of a PNG file, from its header.
std::pair<int, int> png_size(const std::string& path) {
  std::string bytes = read_file_bytes(path);
  if (bytes.size() < 24) return {0, 0};
  auto* header = reinterpret_cast<const unsigned char*>(bytes.data());
  return {static_cast<int>(big_endian_at(header + 16)), static_cast<int>(big_endian_at(header + 20))};
}

// Display pixels per unit that the run was started with: 1 at 96 DPI, and
// KESTROVA_DISPLAY_RATIO where a test run sets the display to another scale.
int display_ratio_of_the_run() {
  const char* ratio = std::getenv("KESTROVA_DISPLAY_RATIO");
  return ratio != nullptr ? std::atoi(ratio) : 1;
}

}  // namespace

TEST(Startup, FirstStartCreatesTheSettingsFolderSilently) {
  std::string dir = start_program_for_test();
  struct stat st;
  ASSERT_EQ(stat((dir + "/settings").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(g_program_dir, fs::canonical(dir).string() + "/");
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_TRUE(ui_window_exists(WINDOW_MAIN));
}

TEST(Startup, PlainFileNamedSettingsIsLeftAloneWithoutMessage) {
  const std::string bytes = "not a folder\n";
  std::string dir = start_program_for_test(1, [&] { write_file_bytes("settings", bytes); });
  EXPECT_TRUE(fs::is_regular_file(dir + "/settings"));
  EXPECT_EQ(read_file_bytes(dir + "/settings"), bytes);
  EXPECT_EQ(names_in(dir), std::set<std::string>{"settings"});
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_TRUE(ui_window_exists(WINDOW_MAIN));
}

TEST(Startup, EachBuildStartsInItsOwnLanguage) {
  for (int64_t language : {1, 2}) {
    start_program_for_test(language);
    EXPECT_EQ(g_language, language);
  }
}

TEST(Startup, BothProgramsStartAndWaitForThePlayer) {
  for (const char* program : {"kestrova_en", "kestrova_pt"}) {
    SCOPED_TRACE(program);
    std::string exe = std::string(KESTROVA_BINARY_DIR) + "/" + program;
    ASSERT_TRUE(fs::exists(exe));
    std::string dir = enter_fresh_directory();
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
      // QT_QPA_PLATFORM=offscreen is inherited from the test program
      execl(exe.c_str(), program, static_cast<char*>(nullptr));
      _exit(127);
    }
    // The recent-files log is written in the last steps of start-up.
    bool started = false, ended = false;
    int status = 0;
    for (int i = 0; i < 200 && !started && !ended; ++i) {
      started = fs::exists(dir + "/settings/recent_files.log");
      ended = waitpid(child, &status, WNOHANG) == child;
      if (!started && !ended) usleep(50 * 1000);
    }
    if (!ended) {
      usleep(300 * 1000);
      ended = waitpid(child, &status, WNOHANG) == child;
    }
    if (!ended) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
    }
    EXPECT_TRUE(started);
    EXPECT_FALSE(ended) << "ended by itself with status " << status;
    EXPECT_TRUE(fs::is_directory(dir + "/settings"));
  }
}

TEST(Startup, BuiltInImagesHaveTheirNumbersSizesAndChannels) {
  struct Expected {
    int number, width, height, channels;
  };
  const std::vector<Expected> expected = {
      {1, 27, 17, 3},   {2, 27, 17, 3},   {3, 27, 17, 3},   {4, 24, 24, 4},   {5, 24, 24, 4},
      {6, 56, 34, 3},   {7, 56, 34, 3},   {8, 439, 140, 3}, {9, 140, 140, 4}, {10, 24, 24, 4},
      {12, 400, 295, 4}, {13, 27, 24, 4}, {14, 26, 24, 4}};

  // The embedded files themselves: 8 bits per channel, not interlaced, RGB
  // (colour type 2) or RGBA (6) as each image's use needs.
  size_t i = 0;
  for (const EmbeddedImage* e = kestrova_embedded_images; e->number != 0; ++e, ++i) {
    ASSERT_LT(i, expected.size()) << "unexpected image " << e->number;
    const Expected& x = expected[i];
    SCOPED_TRACE("image " + std::to_string(x.number));
    ASSERT_EQ(e->number, x.number);
    ASSERT_GT(e->size, 33u);
    EXPECT_EQ(big_endian_at(e->data + 16), uint32_t(x.width));
    EXPECT_EQ(big_endian_at(e->data + 20), uint32_t(x.height));
    EXPECT_EQ(e->data[24], 8);
    EXPECT_EQ(e->data[25], x.channels == 3 ? 2 : 6);
    EXPECT_EQ(e->data[28], 0);
  }
  EXPECT_EQ(i, expected.size());

  start_program_for_test();
  for (const Expected& x : expected) {
    SCOPED_TRACE("image " + std::to_string(x.number));
    ASSERT_TRUE(ui_image_exists(x.number));
    EXPECT_EQ(ui_image_width(x.number), x.width);
    EXPECT_EQ(ui_image_height(x.number), x.height);
  }
  EXPECT_FALSE(ui_image_exists(11));
  EXPECT_EQ(ui_image_width(IMAGE_PROGRAM_ICON), 64);  // set as the window's icon
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST(Startup, ImagesDecodeToTheirColours) {
  start_program_for_test();
  struct Probe {
    int image, x, y;
    int64_t colour;
  };
  const Probe probes[] = {
      // the legend swatches: exact fill inside a black border
      {IMAGE_SWATCH_DONT_PLAY, 13, 8, rgb(236, 233, 216)},
      {IMAGE_SWATCH_DONT_PLAY, 1, 1, rgb(236, 233, 216)},
      {IMAGE_SWATCH_DONT_PLAY, 0, 0, 0},
      {IMAGE_SWATCH_DONT_PLAY, 26, 16, 0},
      {IMAGE_SWATCH_PLAY, 13, 8, rgb(255, 255, 0)},
      {IMAGE_SWATCH_PLAY, 26, 8, 0},
      {IMAGE_SWATCH_FIXED, 13, 8, rgb(255, 174, 201)},
      {IMAGE_SWATCH_FIXED, 13, 0, 0},
      // the flags: the red cross at the centre, blue in a corner field;
      // green at the hoist and red at the fly
      {IMAGE_FLAG_UK, 28, 17, rgb(200, 16, 46)},
      {IMAGE_FLAG_UK, 14, 2, rgb(1, 33, 105)},
      {IMAGE_FLAG_PORTUGAL, 4, 4, rgb(0, 102, 0)},
      {IMAGE_FLAG_PORTUGAL, 50, 30, rgb(255, 0, 0)},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE("image " + std::to_string(p.image) + " at " + std::to_string(p.x) + "," +
                 std::to_string(p.y));
    ASSERT_TRUE(ui_start_drawing_image(p.image));
    EXPECT_EQ(ui_point(p.x, p.y), p.colour);
    ui_stop_drawing();
  }
}

TEST(MainWindow, TitleSizeBottomStripAndTabPanel) {
  start_program_for_test();
  EXPECT_EQ(ui_window_title(WINDOW_MAIN), "Kestrova V1.0 build 26");
  EXPECT_EQ(ui_window_inner_width(WINDOW_MAIN), 1366);
  EXPECT_EQ(ui_window_inner_height(WINDOW_MAIN), 700);

  ASSERT_TRUE(ui_gadget_exists(GADGET_PANEL));
  EXPECT_EQ(ui_x(GADGET_PANEL), 10);
  EXPECT_EQ(ui_y(GADGET_PANEL), 10);
  EXPECT_EQ(ui_width(GADGET_PANEL), 1346);
  EXPECT_EQ(ui_height(GADGET_PANEL), 626);
  EXPECT_EQ(ui_state(GADGET_PANEL), TAB_MAIN);

  // The menu bar as the player sees it: the window's picture holds the bar
  // and, below it, the 700 units of the inner area.
  ASSERT_TRUE(ui_test_save_png(WINDOW_MAIN, "window.png"));
  const int ratio = display_ratio_of_the_run();
  const auto [picture_width, picture_height] = png_size("window.png");
  EXPECT_EQ(picture_width, 1366 * ratio);
  ASSERT_EQ(picture_height % ratio, 0);
  const int bar = picture_height / ratio - 700;
  ASSERT_GT(bar, 0);
  EXPECT_EQ(ui_menu_height(WINDOW_MAIN), bar);

  // 5 from the left, as wide as the inner width less 8, 41 high, its top 63
  // above the bottom of the inner height counted with the menu bar (700 +
  // bar - 63 below the inner area's top): under the panel, ending a few
  // units above the window's lower edge.
  ASSERT_TRUE(ui_gadget_exists(GADGET_BOTTOM_STRIP));
  EXPECT_EQ(ui_x(GADGET_BOTTOM_STRIP), 5);
  EXPECT_EQ(ui_y(GADGET_BOTTOM_STRIP), 700 + bar - 63);
  EXPECT_EQ(ui_width(GADGET_BOTTOM_STRIP), 1366 - 8);
  EXPECT_EQ(ui_height(GADGET_BOTTOM_STRIP), 41);
  EXPECT_GE(ui_y(GADGET_BOTTOM_STRIP), 10 + 626);
  EXPECT_LE(ui_y(GADGET_BOTTOM_STRIP) + 41, 700);
}

TEST(MainWindow, MenuAndTabCaptionsInTheLanguageInForce) {
  struct Item {
    int item;
    const char* english;
    const char* shortcut;
  };
  const Item items[] = {
      {MENU_OPEN, "Open...", "Ctrl+O"},     {MENU_SAVE, "Save", "Ctrl+S"},
      {MENU_SAVE_AS, "Save As...", "Shift+Ctrl+S"}, {MENU_RECENT_CLEAR, "Clear", ""},
      {MENU_EXIT, "Exit", "Ctrl+Q"},        {MENU_CHECK_UPDATES, "Check for Updates", ""},
      {MENU_HTML_HELP, "HTML Help", "F1"},  {MENU_CREDITS, "Credits", ""},
      {MENU_ABOUT, "About", ""},
  };
  for (int64_t language : {1, 2}) {
    SCOPED_TRACE("language " + std::to_string(language));
    start_program_for_test(language);
    for (const Item& it : items) {
      std::string expected = translate(it.english);
      EXPECT_NE(expected, "???????????") << it.english;
      if (language == 1) EXPECT_EQ(expected, it.english);
      if (*it.shortcut) expected += std::string("\t") + it.shortcut;
      EXPECT_EQ(ui_menu_item_text(MENU_MAIN, it.item), expected);
    }
    const char* tabs[] = {"Main", "Preferences", "Techniques", "Statistics"};
    ASSERT_EQ(ui_count_items(GADGET_PANEL), 4);
    for (int tab = 0; tab < 4; ++tab) {
      EXPECT_EQ(ui_item_text(GADGET_PANEL, tab), translate(tabs[tab]));
      EXPECT_NE(ui_item_text(GADGET_PANEL, tab), "???????????");
    }
    if (language == 2) {
      EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE), "Gravar\tCtrl+S");
      EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE_AS), "Gravar Como...\tShift+Ctrl+S");
    }
    EXPECT_EQ(ui_window_title(WINDOW_MAIN), "Kestrova V1.0 build 26");
  }
}

TEST(MainWindow, SavedLanguageAppliesFromTheFirstCaption) {
  // settings saved by the Portuguese build, then read by the English one
  std::string dir = start_program_for_test(2);
  ASSERT_EQ(save_main_prefs(), 1);
  std::string prefs = read_file_bytes(dir + "/settings/kestrova.prefs");
  ASSERT_FALSE(prefs.empty());
  start_program_for_test(1, [&] {
    fs::create_directory("settings");
    write_file_bytes("settings/kestrova.prefs", prefs);
  });
  EXPECT_EQ(g_language, 2);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE), "Gravar\tCtrl+S");
  EXPECT_EQ(ui_item_text(GADGET_PANEL, TAB_MAIN), translate("Main"));
  EXPECT_EQ(ui_window_title(WINDOW_MAIN), "Kestrova V1.0 build 26");
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST(MainWindow, UpdatesEntryAndEmptyRecentEntriesAreDisabled) {
  start_program_for_test();
  EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, MENU_CHECK_UPDATES));
  for (int item : {MENU_OPEN, MENU_SAVE, MENU_SAVE_AS, MENU_RECENT_CLEAR, MENU_EXIT,
                   MENU_HTML_HELP, MENU_CREDITS, MENU_ABOUT}) {
    EXPECT_FALSE(ui_menu_item_disabled(MENU_MAIN, item)) << item;
  }
  for (int entry = 1; entry <= 10; ++entry) {
    int item = MENU_RECENT_FIRST + entry - 1;
    EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, item)) << item;
    EXPECT_EQ(ui_menu_item_text(MENU_MAIN, item), std::to_string(entry) + ": ");
  }
}

// Pictures of the main window, as the player sees it, with the Main and the
// Preferences tab shown: into KESTROVA_SCREENSHOT_DIR when it is set, else
// the test's own folder.
TEST(MainWindow, ScreenshotsOfTheMainAndPreferencesTabs) {
  const char* dir = std::getenv("KESTROVA_SCREENSHOT_DIR");
  start_program_for_test();
  std::string out = dir != nullptr ? dir : fs::current_path().string();
  fs::create_directories(out);
  for (int tab : {TAB_MAIN, TAB_PREFERENCES}) {
    ui_set_state(GADGET_PANEL, tab);
    std::string file = out + (tab == TAB_MAIN ? "/main_window_main.png" : "/main_window_preferences.png");
    ASSERT_TRUE(ui_test_save_png(WINDOW_MAIN, file)) << file;
    std::printf("screenshot: %s\n", file.c_str());
  }
}

// The layout is in units and the display shows each unit as `ratio` of its
// pixels each way: the window's picture is the layout times the ratio, a
// built-in image is enlarged pixel for pixel, and a face the program paints
// is drawn at the display's own pixels, as sharp as the toolkit's text. At
// 96 DPI (ratio 1) a unit is one pixel; tests/CMakeLists.txt runs these tests
// once more at ratio 2.
TEST(DisplayRatio, TheWindowPicturesAndPaintedFacesScaleTogether) {
  const int ratio = display_ratio_of_the_run();
  start_program_for_test();
  EXPECT_EQ(ui_window_inner_width(WINDOW_MAIN), 1366);
  EXPECT_EQ(ui_window_inner_height(WINDOW_MAIN), 700);
  EXPECT_EQ(ui_width(GADGET_PANEL), 1346);
  ASSERT_TRUE(ui_test_save_png(WINDOW_MAIN, "window.png"));
  const auto [picture_width, picture_height] = png_size("window.png");
  EXPECT_EQ(picture_width, 1366 * ratio);
  EXPECT_EQ(picture_height, (700 + ui_menu_height(WINDOW_MAIN)) * ratio);

  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  // Image 2, 27 x 17: yellow inside a 1-pixel black border.
  UiTestPicture swatch = ui_test_gadget_picture(PREFS_LEGEND_PLAY_IMAGE);
  ASSERT_EQ(swatch.width, 27 * ratio);
  ASSERT_EQ(swatch.height, 17 * ratio);
  int wrong = 0;
  for (int y = 0; y < swatch.height; ++y) {
    for (int x = 0; x < swatch.width; ++x) {
      const int ux = x / ratio;
      const int uy = y / ratio;
      const bool border = ux == 0 || uy == 0 || ux == 26 || uy == 16;
      if (swatch.at(x, y) != (border ? 0 : rgb(255, 255, 0))) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);

  // Number 8's face: yellow (played), the digit in black.
  const int button = PREFS_NUMBER_BUTTON_BASE + 8;
  UiTestPicture face = ui_test_gadget_picture(button);
  ASSERT_EQ(face.width, ui_width(button) * ratio);
  ASSERT_EQ(face.height, ui_height(button) * ratio);
  EXPECT_EQ(face.at(0, 0), rgb(255, 255, 0));
  EXPECT_EQ(face.at(face.width - 1, face.height - 1), rgb(255, 255, 0));
  int ink = 0;
  int units_half_inked = 0;  // a unit whose pixels are not all alike
  for (int uy = 0; uy < ui_height(button); ++uy) {
    for (int ux = 0; ux < ui_width(button); ++ux) {
      const int64_t first = face.at(ux * ratio, uy * ratio);
      bool alike = true;
      for (int y = uy * ratio; y < (uy + 1) * ratio; ++y)
        for (int x = ux * ratio; x < (ux + 1) * ratio; ++x) {
          if (face.at(x, y) == 0) ++ink;
          alike = alike && face.at(x, y) == first;
        }
      if (!alike) ++units_half_inked;
    }
  }
  EXPECT_GT(ink, 0);
  // An enlarged picture would fill each unit with one colour.
  if (ratio > 1) EXPECT_GT(units_half_inked, 0);
}
