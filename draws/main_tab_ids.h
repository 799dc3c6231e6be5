// Gadget numbers of the Main tab (tab 0 of panel 1), of the preview window
// (53) and of the generation progress window (155). The handlers, the draws
// files and the tests name them through these constants.
#pragma once

// The draw list and its prize tiers.
constexpr int GADGET_DRAW_LIST = 26;
constexpr int GADGET_HITS_FRAME = 27;
constexpr int GADGET_TIER_FIRST = 28;  // 28..45: "5+2:" .. "0+0:"
constexpr int GADGET_TIER_LAST = 45;
constexpr int GADGET_EVALUATE = 46;    // never enabled

// INFO: the summary of the list.
constexpr int GADGET_INFO_FRAME = 47;
constexpr int GADGET_DRAWS_LABEL = 48;
constexpr int GADGET_COST_LABEL = 49;
constexpr int GADGET_GENERATE = 154;

constexpr int GADGET_CLEAR_LIST = 50;
constexpr int GADGET_EXTRACT = 51;
constexpr int GADGET_PREVIEW = 52;

// The result box of the prize check.
constexpr int GADGET_RESULT_FRAME = 132;
constexpr int GADGET_CHECK_PRIZES = 133;
constexpr int GADGET_VALIDATE = 134;
constexpr int GADGET_CLEAR_RESULT = 135;
constexpr int GADGET_RESULT_NUMBER_FIRST = 136;  // 136..140: the five numbers
constexpr int GADGET_RESULT_NUMBER_LAST = 140;
constexpr int GADGET_RESULT_STAR_FIRST = 141;    // 141, 142: the two stars
constexpr int GADGET_RESULT_STAR_LAST = 142;
constexpr int RESULT_FIELD_CHARACTERS = 2;       // the player types at most this many
constexpr int GADGET_RESULT_PLUS = 143;
constexpr int GADGET_PASTE = 144;

// Tickets the last generation dropped.
constexpr int GADGET_DELETED_FRAME = 145;
constexpr int GADGET_REPEATED_LABEL = 146;
constexpr int GADGET_TECHNIQUES_LABEL = 147;
constexpr int GADGET_COMMON_LABEL = 148;

// The draws file.
constexpr int GADGET_FILE_FRAME = 149;
constexpr int GADGET_FILE_LABEL = 150;
constexpr int GADGET_OPEN_DRAWS = 151;
constexpr int GADGET_SAVE_DRAWS = 152;
constexpr int GADGET_SAVE_DRAWS_AS = 153;

// Preview window 53.
constexpr int GADGET_PREVIEW_CLOSE = 54;
constexpr int GADGET_PREVIEW_PLAYED_NUMBERS = 55;  // "⚫ 31/50"
constexpr int GADGET_PREVIEW_PLAYED_STARS = 56;    // " ★ 12/12"
constexpr int GADGET_PREVIEW_UNHIT_NUMBERS = 57;   // "⚫ 1/5"
constexpr int GADGET_PREVIEW_UNHIT_STARS = 58;     // " ★ 0/2"
constexpr int GADGET_PREVIEW_PLAYED_SWATCH = 59;
constexpr int GADGET_PREVIEW_PLAYED_CAPTION = 60;
constexpr int GADGET_PREVIEW_UNHIT_SWATCH = 61;
constexpr int GADGET_PREVIEW_UNHIT_CAPTION = 62;
constexpr int GADGET_PREVIEW_NUMBER_BASE = 62;  // number n (1..54) is label 62 + n
constexpr int GADGET_PREVIEW_STAR_BASE = 116;   // star s (1..15) is label 116 + s
constexpr int PREVIEW_NUMBER_CELLS = 54;
constexpr int PREVIEW_STAR_CELLS = 15;

// Progress window 155.
constexpr int GADGET_PROGRESS_GENERATED = 156;
constexpr int GADGET_PROGRESS_COST = 157;
constexpr int GADGET_PROGRESS_ELAPSED = 158;
constexpr int GADGET_PROGRESS_REASONS = 159;
constexpr int GADGET_PROGRESS_REPEATED = 160;
constexpr int GADGET_PROGRESS_TECHNIQUES = 161;
constexpr int GADGET_PROGRESS_COMMON = 162;
constexpr int GADGET_PROGRESS_CANCEL = 163;
