#include "core/state.h"
#include "draws/draws.h"

int64_t g_draw_count = 0;
std::vector<std::string> g_draw_numbers;
std::vector<std::string> g_draw_stars;
int64_t g_hits_5_2, g_hits_5_1, g_hits_5_0, g_hits_4_2, g_hits_4_1, g_hits_4_0, g_hits_3_2,
    g_hits_3_1, g_hits_3_0, g_hits_2_2, g_hits_2_1, g_hits_2_0, g_hits_1_2, g_hits_1_1,
    g_hits_1_0, g_hits_0_2, g_hits_0_1, g_hits_0_0;
std::vector<int64_t> g_result_numbers;
std::vector<int64_t> g_result_stars;

std::vector<int64_t> g_pick_numbers;
std::vector<int64_t> g_pick_stars;
int64_t g_repeated_count = 0;
int64_t g_technique_reject_count = 0;
int64_t g_common_rejections = 0;

std::string g_draws_file_path;
int64_t g_draws_changed = 0;
int64_t g_preview_valid = 0;
std::vector<int64_t> g_played_numbers;
std::vector<int64_t> g_played_stars;

std::vector<int64_t> g_number_frequency;
std::vector<int64_t> g_star_frequency;
int64_t g_chart_highlight = 0;
std::vector<RankingRecord> g_number_ranking;
std::vector<RankingRecord> g_star_ranking;

void init_draws_state() {
  g_hits_5_2 = g_hits_5_1 = g_hits_5_0 = g_hits_4_2 = g_hits_4_1 = g_hits_4_0 = 0;
  g_hits_3_2 = g_hits_3_1 = g_hits_3_0 = g_hits_2_2 = g_hits_2_1 = g_hits_2_0 = 0;
  g_hits_1_2 = g_hits_1_1 = g_hits_1_0 = g_hits_0_2 = g_hits_0_1 = g_hits_0_0 = 0;
  g_result_numbers.assign(6, 0);
  g_result_stars.assign(3, 0);
  g_pick_numbers.assign(12, 0);
  g_pick_stars.assign(13, 0);
  g_draw_count = 0;
  g_repeated_count = 0;
  g_technique_reject_count = 0;
  g_common_rejections = 0;
  g_draws_file_path = "";
  g_draws_changed = 0;
  g_draw_numbers.assign(1, "");
  g_draw_stars.assign(1, "");
  g_preview_valid = 0;
  g_played_numbers.assign(g_highest_number + 1, 0);
  g_played_stars.assign(g_highest_star + 1, 0);
}

void init_statistics_state() {
  g_number_frequency.assign(55, 0);
  g_star_frequency.assign(13, 0);
  g_chart_highlight = 0;
  g_number_ranking.assign(55, RankingRecord{"", 0});
  g_star_ranking.assign(13, RankingRecord{"", 0});
}
