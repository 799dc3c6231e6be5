// Gadget numbers of the Preferences tab (tab 1 of panel 1), shared by its
// builder, its handlers, the main settings file and the tests.
#pragma once

#include <cstdint>

constexpr int PREFS_POOL_FRAME = 164;
constexpr int PREFS_NUMBER_BUTTON_BASE = 164;  // + n, n = 1..54
constexpr int PREFS_NUMBER_BUTTONS = 54;       // 9 rows of 6
constexpr int PREFS_STAR_BUTTON_BASE = 218;    // + s, s = 1..15
constexpr int PREFS_STAR_BUTTONS = 15;         // 5 rows of 3
constexpr int PREFS_NUMBERS_SUMMARY = 234;     // "Σ⚫:50→Play(50) Fixed(00)"
constexpr int PREFS_NUMBERS_REMOVED = 235;
constexpr int PREFS_STARS_SUMMARY = 236;
constexpr int PREFS_STARS_REMOVED = 237;
constexpr int PREFS_GAMBLE_WITH_FRAME = 238;
constexpr int PREFS_NUMBER_SIGN = 239;
constexpr int PREFS_RANDOM_NUMBERS_SPIN = 240;
constexpr int PREFS_STAR_SIGN = 241;
constexpr int PREFS_RANDOM_STARS_SPIN = 242;
constexpr int PREFS_RANDOM_BUTTON = 243;  // "Update"
constexpr int PREFS_INVERT_BUTTON = 244;
constexpr int PREFS_LEGEND_FRAME = 245;
constexpr int PREFS_LEGEND_DONT_PLAY_IMAGE = 246;
constexpr int PREFS_LEGEND_DONT_PLAY = 247;
constexpr int PREFS_LEGEND_PLAY_IMAGE = 248;
constexpr int PREFS_LEGEND_PLAY = 249;
constexpr int PREFS_LEGEND_FIXED_IMAGE = 250;
constexpr int PREFS_LEGEND_FIXED = 251;
constexpr int PREFS_ALL_BUTTON = 252;
constexpr int PREFS_NONE_BUTTON = 253;
constexpr int PREFS_PRICES_FRAME = 254;
constexpr int PREFS_PRICE_LABEL_BASE = 255;  // + bet type index 0..39
constexpr int PREFS_PRICE_FIELD_BASE = 295;  // + bet type index 0..39
constexpr int PREFS_GAMBLE_FRAME = 335;
constexpr int PREFS_DRAWS_CAPTION = 336;
constexpr int PREFS_CURRENCY_CAPTION = 337;
constexpr int PREFS_CURRENCY_FIELD = 338;
constexpr int PREFS_BET_TYPE_CAPTION = 339;
constexpr int PREFS_DRAWS_SPIN = 340;  // tickets to generate
constexpr int PREFS_COST_CAPTION = 341;
constexpr int PREFS_COST_LABEL = 342;
constexpr int PREFS_POSSIBLE_CAPTION = 343;
constexpr int PREFS_POSSIBLE_LABEL = 344;
constexpr int PREFS_SPECIAL_TECHNIQUES = 346;  // check box
constexpr int PREFS_BET_TYPE_LIST = 347;
constexpr int PREFS_LANGUAGE_FRAME = 348;  // also: option 348 + language
constexpr int PREFS_ENGLISH_OPTION = 349;
constexpr int PREFS_PORTUGUESE_OPTION = 350;
constexpr int PREFS_ENGLISH_FLAG = 351;
constexpr int PREFS_PORTUGUESE_FLAG = 352;
constexpr int PREFS_ENGLISH_LABEL = 353;
constexpr int PREFS_PORTUGUESE_LABEL = 354;
constexpr int PREFS_RESTART_NOTE = 355;
constexpr int PREFS_SAVE_BUTTON = 356;  // "Save Prefs"

constexpr int BET_TYPE_COUNT = 40;
constexpr int64_t MAX_DRAWS_TO_GENERATE = 139838160;  // C(50, 5) x C(12, 2)
