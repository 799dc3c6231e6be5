// Numbers shared by the code that creates a window, gadget, menu item, timer,
// font or image and the handlers that test its events. The gadget numbers of
// each tab live beside the tab's builder.
#pragma once

// Windows.
constexpr int WINDOW_MAIN = 0;
constexpr int WINDOW_PREVIEW = 53;
constexpr int WINDOW_PROGRESS = 155;
constexpr int WINDOW_TARVIK = 370;
constexpr int WINDOW_CREDITS = 905;
constexpr int WINDOW_ABOUT = 910;
constexpr int WINDOW_BACKTEST = 960;

// Gadgets of the main window itself.
constexpr int GADGET_PANEL = 1;         // tabs 0 Main, 1 Preferences, 2 Techniques, 3 Statistics
constexpr int GADGET_BOTTOM_STRIP = 2;
constexpr int TAB_MAIN = 0;
constexpr int TAB_PREFERENCES = 1;
constexpr int TAB_TECHNIQUES = 2;
constexpr int TAB_STATISTICS = 3;

// Menu 5 and its items.
constexpr int MENU_MAIN = 5;
constexpr int MENU_OPEN = 6;
constexpr int MENU_SAVE = 7;
constexpr int MENU_SAVE_AS = 8;
constexpr int MENU_EXIT = 9;
constexpr int MENU_CHECK_UPDATES = 10;
constexpr int MENU_HTML_HELP = 11;
constexpr int MENU_CREDITS = 12;
constexpr int MENU_ABOUT = 13;
constexpr int MENU_RECENT_FIRST = 15;  // 15..24: recent files 1..10
constexpr int MENU_RECENT_LAST = 24;
constexpr int MENU_RECENT_CLEAR = 25;
constexpr int MENU_EVENT_ESCAPE = 1000;
constexpr int MENU_EVENT_RETURN = 1003;

// Timers.
constexpr int TIMER_LONG_OPERATION = 800;

// Fonts: Arial 10, 8, 7 and 10 bold.
constexpr int FONT_NORMAL = 1;
constexpr int FONT_SMALL = 2;
constexpr int FONT_TINY = 3;
constexpr int FONT_BOLD = 4;

// Built-in images (there is no image 11).
constexpr int IMAGE_SWATCH_DONT_PLAY = 1;
constexpr int IMAGE_SWATCH_PLAY = 2;
constexpr int IMAGE_SWATCH_FIXED = 3;
constexpr int IMAGE_BAR_CHART = 4;
constexpr int IMAGE_CLIPBOARD = 5;
constexpr int IMAGE_FLAG_UK = 6;
constexpr int IMAGE_FLAG_PORTUGAL = 7;
constexpr int IMAGE_BANNER = 8;
constexpr int IMAGE_LOGO = 9;
constexpr int IMAGE_WASTE_BIN = 10;
constexpr int IMAGE_ABOUT_LOGO = 12;
constexpr int IMAGE_PERSON = 13;
constexpr int IMAGE_ENVELOPE = 14;
// The program icon, shown by the window system only.
constexpr int IMAGE_PROGRAM_ICON = 99;
