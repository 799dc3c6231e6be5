#include "core/state.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "draws/draws.h"
#include "techniques/techniques.h"

int64_t g_highest_number = 50;
int64_t g_highest_star = 12;
int64_t g_numbers_per_draw = 5;
int64_t g_stars_per_draw = 2;
int64_t g_best_numbers_count = 15;
int64_t g_best_stars_count = 9;

std::vector<int64_t> g_number_play_state;
std::vector<int64_t> g_star_play_state;
int64_t g_played_number_count = 0;
int64_t g_fixed_number_count = 0;
int64_t g_played_star_count = 0;
int64_t g_fixed_star_count = 0;
int64_t g_draws_to_generate = 1;
std::string g_currency = "EUR";
int64_t g_neighbour_jitter = 1;
int64_t g_use_special_techniques = 1;
int64_t g_bet_type_index = 0;
std::vector<std::string> g_prices;
int64_t g_language = 1;
int64_t g_build_language = 1;

std::vector<std::string> g_recent_files;
std::vector<std::string> g_database_draws;
int64_t g_database_draw_count = 0;
std::string g_database_path;

int64_t g_removal_threshold = 1;
int64_t g_max_common_numbers = 3;
int64_t g_max_number_sequence = 1;

std::string g_program_dir;
std::string g_installed_data_dir;
std::string g_main_prefs_version;
std::string g_techniques_prefs_version;
std::string g_program_version;
std::string g_program_build;
std::string g_release_date;
int64_t g_beta_release = 0;

int64_t g_button_height = 34;
int64_t g_text_height = 18;
int64_t g_picture_button_width = 44;
int64_t g_picture_button_height = 44;
int64_t g_field_height = 34;
int64_t g_drop_down_height = 34;
int64_t g_spinner_height = 34;
int64_t g_radio_size = 22;

// The working directory, whatever its length; "" when it cannot be read.
static std::string current_directory() {
  char* dir = getcwd(nullptr, 0);
  if (dir == nullptr) return "";
  std::string result = dir;
  std::free(dir);
  return result;
}

// Where an installation puts the programs and their shared files, each
// below the installation's prefix; the build gives its own.
#ifndef KESTROVA_INSTALLED_PROGRAM_DIR
#define KESTROVA_INSTALLED_PROGRAM_DIR "libexec/kestrova"
#endif
#ifndef KESTROVA_INSTALLED_DATA_DIR
#define KESTROVA_INSTALLED_DATA_DIR "share/kestrova"
#endif

static bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder of the running executable, its links followed, without a
// trailing "/"; "" when the system does not tell.
static std::string executable_folder() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(length));
      size_t slash = path.rfind('/');
      return slash == std::string::npos ? "" : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

// An executable is an installed one when it lies in the installation's
// program folder and the shared folder stands beside it under the same
// prefix; one in a build tree never does, wherever the tree is.
static std::string installed_data_dir() {
  const std::string folder = executable_folder();
  const std::string tail = "/" KESTROVA_INSTALLED_PROGRAM_DIR;
  if (!folder.ends_with(tail)) return "";
  const std::string data = folder.substr(0, folder.size() - tail.size()) + "/" KESTROVA_INSTALLED_DATA_DIR;
  return is_folder(data) ? data + "/" : "";
}

std::string history_folder() {
  if (!g_program_dir.empty() && is_folder(g_program_dir + "data")) return g_program_dir + "data/";
  if (!g_installed_data_dir.empty() && is_folder(g_installed_data_dir + "data")) return g_installed_data_dir + "data/";
  return "";
}

void init_game_state() {
  // 1-2: version data and the settings-file format versions.
  g_program_version = "1.0";
  g_program_build = "26";
  g_release_date = "2022-02-22";
  g_beta_release = 0;
  g_main_prefs_version = "2";
  g_techniques_prefs_version = "2";

  // 3-4: the working directory is the program directory; its settings folder
  // is created when the path does not exist at all (a plain file of that name
  // is left alone, and a failed creation is not reported).
  g_program_dir = current_directory();
  if (!g_program_dir.empty() && g_program_dir.back() != '/') g_program_dir += "/";
  std::string settings = g_program_dir + "settings";
  struct stat st;
  if (stat(settings.c_str(), &st) != 0) mkdir(settings.c_str(), 0777);
  g_installed_data_dir = installed_data_dir();

  // 5: layout constants.
  g_button_height = 34;
  g_text_height = 18;
  g_picture_button_width = 44;
  g_picture_button_height = 44;
  g_field_height = 34;
  g_drop_down_height = 34;
  g_spinner_height = 34;
  g_radio_size = 22;

  // 6-7: recent files and the game constants.
  g_recent_files.assign(11, "");
  g_highest_number = 50;
  g_highest_star = 12;
  g_numbers_per_draw = 5;
  g_stars_per_draw = 2;
  g_best_numbers_count = 15;
  g_best_stars_count = 9;

  // 8: play states, sized after the game constants.
  g_number_play_state.assign(51, 0);
  for (int64_t n = 1; n <= g_highest_number; ++n) g_number_play_state[n] = 1;
  g_star_play_state.assign(g_highest_star + 1, 0);
  for (int64_t s = 1; s <= g_highest_star; ++s) g_star_play_state[s] = 1;

  // 9: player settings.
  g_played_number_count = 0;
  g_fixed_number_count = 0;
  g_played_star_count = 0;
  g_fixed_star_count = 0;
  g_draws_to_generate = 1;
  g_currency = "EUR";
  g_neighbour_jitter = 1;
  g_use_special_techniques = 1;
  g_bet_type_index = 0;
  g_language = g_build_language;

  // 10: the ticket state, prices and the past-results database.
  init_draws_state();
  g_prices.assign(41, "");
  g_database_path = "";
  g_removal_threshold = 1;
  g_database_draws.assign(1, "");
  g_database_draw_count = 0;

  // 11: technique tables, windows and association matrices (also the two limits).
  init_technique_tables();

  // 12: frequency arrays and rankings.
  init_statistics_state();
}
