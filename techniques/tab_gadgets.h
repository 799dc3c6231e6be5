// Gadget numbers of the Techniques tab (tab 2 of panel 1) that code outside
// the tab's builder tests or writes. The technique fields themselves are found
// through the settings-slot list.
#pragma once

// On the tab itself.
constexpr int GADGET_TECHNIQUE_PANEL = 358;  // inner panel, four pages
constexpr int GADGET_RESET = 359;
constexpr int GADGET_LEARN = 360;
constexpr int GADGET_SAVE_TECHNIQUES = 361;
constexpr int GADGET_REMOVE_LABEL = 362;
constexpr int GADGET_REMOVE_THRESHOLD = 363;  // spin 0..100
constexpr int GADGET_REMOVE = 364;
constexpr int GADGET_DATABASE_FRAME = 365;
constexpr int GADGET_DATABASE_FILE = 366;     // "File:" + name
constexpr int GADGET_OPEN_DATABASE = 367;
constexpr int GADGET_DRAWS_IMPORTED = 368;    // "Draws Imported:" + count
constexpr int GADGET_TARVIK = 369;
constexpr int GADGET_BACKTEST = 961;

// Fields with a meaning of their own.
constexpr int GADGET_MAX_SEQUENCE = 430;
constexpr int GADGET_MAX_COMMON_NUMBERS = 438;
constexpr int GADGET_MAX_STAR_SEQUENCE = 779;  // range-checked, bound to nothing

// Pages of panel 358.
constexpr int TECHNIQUE_PAGE_1 = 0;
constexpr int TECHNIQUE_PAGE_2 = 1;   // numbers-with-numbers associations
constexpr int TECHNIQUE_PAGE_3 = 2;   // left diagonals (disabled)
constexpr int TECHNIQUE_STAR_PAGE = 3;

// The first and last gadget of the tab's inner panel; every gadget event in
// this range runs the field check first.
constexpr int GADGET_TECHNIQUES_FIRST = 358;
constexpr int GADGET_TECHNIQUES_LAST = 893;

// The left-diagonal frame and everything in it, disabled.
constexpr int GADGET_LEFT_DIAGONALS_FIRST = 722;
constexpr int GADGET_LEFT_DIAGONALS_LAST = 772;

// Association blocks. A grid button's number is its chooser's number plus the
// number or star it stands for.
constexpr int GADGET_INFORMATION_THEORY_LABEL = 610;
constexpr int GADGET_NUMBER_ASSOCIATION_FRAME = 609;
constexpr int GADGET_NUMBER_ASSOCIATION_CHOOSER = 616;  // buttons 617..670
constexpr int GADGET_STAR_NUMBER_ASSOCIATION_FRAME = 814;
constexpr int GADGET_STAR_NUMBER_ASSOCIATION_CHOOSER = 816;  // buttons 817..870
constexpr int GADGET_STAR_PAIR_ASSOCIATION_FRAME = 875;
constexpr int GADGET_STAR_PAIR_ASSOCIATION_CHOOSER = 877;  // buttons 878..889
constexpr int ASSOCIATION_GRID_NUMBERS = 54;  // 9 rows of 6
constexpr int ASSOCIATION_GRID_STARS = 12;    // 4 rows of 3

// The Tarvik rules window 370.
constexpr int GADGET_TARVIK_TEXT = 371;
constexpr int GADGET_TARVIK_APPLY = 372;
constexpr int GADGET_TARVIK_CLOSE = 373;

// The back-test window 960.
constexpr int GADGET_BACKTEST_SAVE = 962;           // "Save Table..."
constexpr int GADGET_BACKTEST_RESULTS = 963;        // spin "Last results", 10 .. imported - 20
constexpr int GADGET_BACKTEST_TABLE = 964;          // one row per technique, then the limits and all
constexpr int GADGET_BACKTEST_CLOSE = 965;
constexpr int GADGET_BACKTEST_STRIP = 966;          // canvas: one mark per walked result
constexpr int GADGET_BACKTEST_RESULTS_LABEL = 967;  // "Last results:"
constexpr int GADGET_BACKTEST_PASSED = 968;         // how many of the walked results passed
constexpr int GADGET_BACKTEST_SHARE = 969;          // the mean share of the tickets kept
constexpr int GADGET_BACKTEST_LEGEND = 970;         // what the marks' colours mean
constexpr int GADGET_BACKTEST_NOTE = 971;           // how the walk-forward learns, or why it is left out
