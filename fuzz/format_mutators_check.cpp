// Checks the format mutators with the program's own readers: each committed
// seed of a format is mutated many times, with fixed seeds, and every result
// is read as the targets read it. Most results must pass the reader (the
// search goes on past the changed record), each of the reader's refusals must
// be reached, and most must differ from the seed in one value of one record,
// which is what finds a fault keyed on two values of one record. An input
// that does not parse goes to the byte mutation, here a stand-in that counts
// its calls. Prints one line per format and exits with 1 when a property
// does not hold.
//
//   format_mutators_check
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/selection.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"
#include "ui/ui_test.h"

namespace {

size_t g_byte_mutations = 0;

}  // namespace

// The byte mutation's stand-in: one bit of one byte.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size) {
  ++g_byte_mutations;
  if (size == 0 || size > max_size) return size;
  data[g_byte_mutations % size] ^= 1;
  return size;
}

namespace {

constexpr unsigned kMutationsPerSeed = 300;
bool g_failed = false;

void require(bool holds, const std::string& format, const std::string& what) {
  if (holds) return;
  std::printf("  BROKEN (%s): %s\n", format.c_str(), what.c_str());
  g_failed = true;
}

std::vector<std::string> seeds_of(const std::string& target) {
  std::vector<std::string> seeds;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(KESTROVA_SOURCE_DIR) + "/fuzz/corpus/" + target))
    seeds.push_back(read_file_bytes(entry.path().string()));
  return seeds;
}

// What the reader made of one input: whether it took it without a message,
// the messages it gave, and what it read.
struct Reading {
  bool taken = false;
  std::vector<std::string> messages;
  std::vector<std::string> records;  // one text per record read
};

// How the mutations of one format's seeds went.
struct Tally {
  size_t calls = 0;
  size_t byte_calls = 0;
  size_t structured = 0;          // made by the format's own mutation
  size_t taken = 0;               // of those, read without a message
  size_t of_small_seeds = 0;      // structured, of a seed of at most kLargeSeed bytes and few records
  size_t one_record_changed = 0;  // of those, one record differs from the seed's in one value
  size_t pair_changed = 0;        // of those, exactly two related records differ (RelatedPair)
  size_t of_large_seeds = 0;      // structured, of a seed of more than kLargeSeed bytes
  size_t shrunk = 0;              // of those, under three quarters of the seed's size
  std::map<std::string, size_t> messages;
};

// Seeds of tens of kilobytes cost the targets tens of milliseconds an input:
// their mutations must often make them much smaller, while those of the
// small seeds (few bytes and, of a line format, a few records) mostly change
// values.
constexpr size_t kLargeSeed = 16 * 1024;
constexpr size_t kFewLines = 100;
constexpr size_t kAnyCount = static_cast<size_t>(-1);

// Records that differ in one place: same count, one record other than the
// seed's, and that one differs from it in one field (`fields` splits it).
// Fields are matched whatever their place in the record: the import keeps a
// CSV row's numbers and stars sorted, so a changed value may stand anywhere
// in the entry.
bool one_value_differs(const std::vector<std::string>& seed, const std::vector<std::string>& read,
                       const std::function<std::vector<std::string>(const std::string&)>& fields) {
  if (seed.size() != read.size()) return false;
  size_t records = 0, values = 0;
  for (size_t i = 0; i < seed.size(); ++i) {
    if (seed[i] == read[i]) continue;
    ++records;
    std::vector<std::string> a = fields(seed[i]), b = fields(read[i]), gone;
    if (a.size() != b.size()) return false;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(gone));
    values += gone.size();
  }
  return records == 1 && values == 1;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> pieces(1);
  for (char c : text) {
    if (c == separator)
      pieces.emplace_back();
    else
      pieces.back() += c;
  }
  return pieces;
}

using Mutator = size_t (*)(uint8_t*, size_t, size_t, unsigned);

// Whether the records that differ between a seed's reading and a result's are
// exactly two that the reader takes together (the two bounds of a window, a
// play state and the bet type).
using RelatedPair = std::function<bool(size_t a, size_t b, const std::vector<std::string>& records)>;

bool related_pair_differs(const std::vector<std::string>& seed, const std::vector<std::string>& read,
                          const RelatedPair& related) {
  if (!related || seed.size() != read.size()) return false;
  std::vector<size_t> changed;
  for (size_t i = 0; i < seed.size(); ++i)
    if (seed[i] != read[i]) changed.push_back(i);
  return changed.size() == 2 && related(changed[0], changed[1], seed);
}

// Mutates every seed that the reader takes as it stands and finds records
// in, reads each result, and tallies. `fields` splits a record into its
// values; a seed of at most `few_records` records and kLargeSeed bytes is a
// small one.
Tally run_mutations(Mutator mutate, const std::vector<std::string>& seeds,
                    const std::function<Reading(const std::string&)>& read,
                    const std::function<std::vector<std::string>(const std::string&)>& fields, size_t few_records,
                    const RelatedPair& related = nullptr) {
  Tally tally;
  for (const std::string& seed : seeds) {
    const Reading before = read(seed);
    if (!before.taken || before.records.empty()) continue;
    for (unsigned s = 0; s < kMutationsPerSeed; ++s) {
      const size_t max_size = seed.size() + 4096;
      std::vector<uint8_t> data(seed.begin(), seed.end());
      data.resize(max_size);
      const size_t bytes_before = g_byte_mutations;
      const size_t size = mutate(data.data(), seed.size(), max_size, s);
      ++tally.calls;
      require(size <= max_size, "", "a mutation stays within the size it is given");
      if (g_byte_mutations != bytes_before) {
        ++tally.byte_calls;
        continue;
      }
      ++tally.structured;
      if (seed.size() > kLargeSeed) {
        ++tally.of_large_seeds;
        tally.shrunk += size < seed.size() / 4 * 3;
      }
      const Reading after = read(std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size)));
      tally.taken += after.taken;
      // Messages without the line number they name.
      for (const std::string& m : after.messages) ++tally.messages[m.substr(0, m.find_last_not_of("0123456789") + 1)];
      if (seed.size() <= kLargeSeed && before.records.size() <= few_records) {
        ++tally.of_small_seeds;
        tally.one_record_changed += after.taken && one_value_differs(before.records, after.records, fields);
        tally.pair_changed += after.taken && related_pair_differs(before.records, after.records, related);
      }
    }
  }
  return tally;
}

double share(size_t part, size_t whole) {
  return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

// The properties every format shares: about one call in five goes to the
// byte mutation, most results pass the reader, and a good share differ from
// the seed in exactly one value of one record.
void check_shares(const std::string& format, const Tally& t, double least_taken, double least_one_value) {
  std::printf(
      "%-18s %5zu calls, %3.0f%% bytes, %3.0f%% read whole, %3.0f%% one value changed, %3.0f%% of large seeds shrunk\n",
      format.c_str(), t.calls, 100 * share(t.byte_calls, t.calls), 100 * share(t.taken, t.structured),
      100 * share(t.one_record_changed, t.of_small_seeds), 100 * share(t.shrunk, t.of_large_seeds));
  for (const auto& [text, count] : t.messages) std::printf("    %6zu  %s\n", count, text.c_str());
  require(t.calls > 0, format, "some seed is read whole");
  require(share(t.byte_calls, t.calls) > 0.1 && share(t.byte_calls, t.calls) < 0.3, format,
          "about one call in five is left to the byte mutation");
  require(share(t.taken, t.structured) >= least_taken, format, "most results pass the reader");
  require(share(t.one_record_changed, t.of_small_seeds) >= least_one_value, format,
          "a good share of the small seeds' results differ from the seed in one value of one record");
  require(t.of_large_seeds == 0 || share(t.shrunk, t.of_large_seeds) >= 0.15, format,
          "a large seed often comes out much smaller");
}

// A settings file's mutations change two fields that the reader takes
// together often enough that a fault keyed on both is found.
void check_pairs(const std::string& format, const Tally& t, double least) {
  std::printf("%-18s %3.0f%% of the small seeds' results change two related values\n", format.c_str(),
              100 * share(t.pair_changed, t.of_small_seeds));
  require(share(t.pair_changed, t.of_small_seeds) >= least, format,
          "some results of the small seeds differ from the seed in two related values");
}

// The records that differ between two readings of the same layout.
std::vector<size_t> changed_records(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::vector<size_t> changed;
  if (a.size() != b.size()) return changed;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) changed.push_back(i);
  return changed;
}

// A settings file the mutator made, handed back to it, gets the field it
// changed (or a field `related` to it) changed again in about half of the
// mutations.
void check_focus(const std::string& format, Mutator mutate, const std::vector<std::string>& seeds,
                 const std::function<Reading(const std::string&)>& read, const RelatedPair& related) {
  size_t made = 0, again = 0;
  for (const std::string& seed : seeds) {
    if (seed.size() > kLargeSeed) continue;
    const Reading before = read(seed);
    for (unsigned s = 0; s < kMutationsPerSeed; ++s) {
      std::vector<uint8_t> data(seed.begin(), seed.end());
      data.resize(seed.size() + 4096);
      const size_t bytes_before = g_byte_mutations;
      const size_t size = mutate(data.data(), seed.size(), data.size(), s);
      if (g_byte_mutations != bytes_before) continue;
      const std::string first(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
      const Reading once = read(first);
      const std::vector<size_t> changed = changed_records(before.records, once.records);
      if (!once.taken || changed.empty()) continue;
      const size_t again_bytes = g_byte_mutations;
      const size_t size2 = mutate(data.data(), size, data.size(), s + 100000);
      if (g_byte_mutations != again_bytes) continue;
      const Reading twice = read(std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size2)));
      const std::vector<size_t> changed2 = changed_records(once.records, twice.records);
      if (!twice.taken || changed2.empty()) continue;
      ++made;
      bool same = false;
      for (size_t a : changed)
        for (size_t b : changed2) same |= a == b || related(std::min(a, b), std::max(a, b), once.records);
      again += same;
    }
  }
  std::printf("%-18s %3.0f%% of the mutations of a file it made change the same field again\n", format.c_str(),
              100 * share(again, made));
  require(share(again, made) >= 0.4, format, "a file the mutator made has the field it changed changed again often");
}

// A file the mutator made by changing the first field of a related pair,
// handed back after other files (as libFuzzer hands back a file it kept),
// has the pair's other field tried at many values in the next mutations,
// whatever files those are given: a value of the other field is a
// mutation's output that is that file with only that field changed.
void check_sweep(const std::string& format, Mutator mutate, const std::vector<std::string>& seeds,
                 const std::function<Reading(const std::string&)>& read, const RelatedPair& related,
                 const std::function<size_t(size_t record)>& values_of) {
  const auto mutated = [&](const std::string& bytes, unsigned s, bool& structured) {
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    data.resize(bytes.size() + 4096);
    const size_t bytes_before = g_byte_mutations;
    const size_t size = mutate(data.data(), bytes.size(), data.size(), s);
    structured = g_byte_mutations == bytes_before;
    return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
  };
  size_t sweeps = 0, whole = 0;
  unsigned s = 7000000;
  for (const std::string& seed : seeds) {
    if (seed.size() > kLargeSeed) continue;
    const Reading before = read(seed);
    for (int attempt = 0; attempt < 50; ++attempt) {
      forget_made_files();
      bool structured = false;
      const std::string made = mutated(seed, ++s, structured);
      const Reading once = read(made);
      const std::vector<size_t> changed = changed_records(before.records, once.records);
      if (!structured || !once.taken || changed.size() != 1) continue;
      // The first field of the pair comes first in the file.
      size_t other = once.records.size();
      for (size_t b = changed[0] + 1; b < once.records.size(); ++b)
        if (related(changed[0], b, once.records)) other = b;
      if (other == once.records.size()) continue;
      do mutated(seed, ++s, structured);
      while (!structured);
      do mutated(made, ++s, structured);
      while (!structured);
      std::vector<std::string> tried;
      for (int k = 0; k < 1000; ++k) {
        const Reading r = read(mutated(seed, ++s, structured));
        const std::vector<size_t> diff = changed_records(once.records, r.records);
        if (diff.size() == 1 && diff[0] == other &&
            std::find(tried.begin(), tried.end(), r.records[other]) == tried.end())
          tried.push_back(r.records[other]);
      }
      // Every value of the range but the one it holds and the one that may
      // have been tried as the file came back.
      ++sweeps;
      whole += tried.size() + 2 >= values_of(other);
      break;
    }
  }
  forget_made_files();
  std::printf("%-18s %3.0f%% of the files kept for a first field have the second tried at every value\n",
              format.c_str(), 100 * share(whole, sweeps));
  require(sweeps >= 2 && whole == sweeps, format,
          "the other field of a pair is tried at every value after a file kept for the first comes back");
}

void check_reached(const std::string& format, const Tally& t, const std::string& prefix) {
  bool reached = false;
  for (const auto& [text, count] : t.messages) reached |= text.rfind(prefix, 0) == 0;
  require(reached, format, "reaches \"" + prefix + "\"");
}

// An input that no format mutation parses goes to the byte mutation whole.
void check_unparsed_goes_to_bytes(const std::string& format, Mutator mutate) {
  std::string junk = "not a file of this kind";
  const size_t before = g_byte_mutations;
  for (unsigned s = 0; s < 100; ++s) {
    std::vector<uint8_t> data(junk.begin(), junk.end());
    data.resize(junk.size() + 16);
    mutate(data.data(), junk.size(), data.size(), s);
  }
  require(g_byte_mutations - before == 100, format, "an input that does not parse goes to the byte mutation");
}

std::vector<std::string> messages_now() {
  std::vector<std::string> texts;
  for (const UiMessageRecord& m : ui_test_messages()) texts.push_back(m.text);
  return texts;
}

Reading read_past_results(const std::string& bytes) {
  const std::string path = fuzz_directory() + "past_results.txt";
  fuzz_write_file(path, bytes);
  ui_test_clear_messages();
  fuzz_import_database(path);
  Reading r;
  r.messages = messages_now();
  r.taken = r.messages.empty();
  r.records.assign(g_database_draws.begin() + 1, g_database_draws.end());
  return r;
}

Reading read_draws_file(const std::string& bytes) {
  const std::string path = fuzz_directory() + "check.draws.txt";
  fuzz_write_file(path, bytes);
  FuzzEmptyDrawListAfter empty_list_after;
  ui_test_clear_messages();
  open_draws_file(path);
  Reading r;
  r.messages = messages_now();
  r.taken = r.messages.empty();
  r.records.push_back(str_int(g_numbers_per_draw) + "/" + str_int(g_stars_per_draw));
  for (int64_t i = 1; i <= g_draw_count; ++i) r.records.push_back(g_draw_numbers[i] + "," + g_draw_stars[i]);
  return r;
}

// The main settings file as what it sets: one record per stored value.
Reading read_main_prefs(const std::string& bytes) {
  fuzz_write_file(fuzz_directory() + "settings/kestrova.prefs", bytes);
  init_game_state();
  Reading r;
  r.taken = load_main_prefs() == 1;
  r.records = {str_int(g_highest_number), str_int(g_highest_star)};
  for (size_t n = 1; n < g_number_play_state.size(); ++n) r.records.push_back(str_int(g_number_play_state[n]));
  for (size_t s = 1; s < g_star_play_state.size(); ++s) r.records.push_back(str_int(g_star_play_state[s]));
  for (int64_t v : {g_draws_to_generate, g_neighbour_jitter, g_use_special_techniques, g_bet_type_index, g_language})
    r.records.push_back(str_int(v));
  r.records.push_back(g_currency);
  for (size_t k = 1; k < g_prices.size(); ++k) r.records.push_back(g_prices[k]);
  init_game_state();
  return r;
}

Reading read_technique_prefs(const std::string& bytes) {
  fuzz_write_file(fuzz_directory() + "settings/techniques.prefs", bytes);
  reset_technique_windows();
  Reading r;
  r.taken = load_technique_prefs() == 1;
  for (const TechniqueSlot& slot : g_technique_slots) r.records.push_back(str_int(*slot.value));
  reset_technique_windows();
  return r;
}

// The prizes target's input: the result line or the draws file after it
// changes, never both, and the result line in about one call in three.
void check_result_and_draws_file() {
  size_t structured = 0, result_changed = 0, both = 0;
  for (const std::string& seed : seeds_of("prizes")) {
    const size_t line_end = seed.find('\n');
    for (unsigned s = 0; s < kMutationsPerSeed; ++s) {
      std::vector<uint8_t> data(seed.begin(), seed.end());
      data.resize(seed.size() + 4096);
      const size_t bytes_before = g_byte_mutations;
      const std::string out(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(mutate_result_and_draws_file(
                                                             data.data(), seed.size(), data.size(), s)));
      if (g_byte_mutations != bytes_before) continue;
      ++structured;
      const size_t out_end = out.find('\n');
      const bool result = out.substr(0, out_end) != seed.substr(0, line_end);
      const bool file = out_end == std::string::npos || out.substr(out_end) != seed.substr(line_end);
      result_changed += result;
      both += result && file;
    }
  }
  std::printf("%-18s %5zu structured, %3.0f%% result line changed\n", "result and file", structured,
              100 * share(result_changed, structured));
  require(both == 0, "result and file", "the result line or the file changes, never both");
  require(share(result_changed, structured) > 0.2 && share(result_changed, structured) < 0.5, "result and file",
          "about one call in three changes the result line");
}

std::vector<std::string> entry_fields(const std::string& entry) { return split(entry, ' '); }
std::vector<std::string> ticket_fields(const std::string& ticket) { return split(ticket, ','); }
std::vector<std::string> whole(const std::string& value) { return {value}; }

}  // namespace

int main() {
  fuzz_start_program();
  std::vector<std::string> databases = seeds_of("database_import");
  for (const std::string& s : seeds_of("statistics")) databases.push_back(s);
  const Tally past = run_mutations(mutate_past_results, databases, read_past_results, entry_fields, kFewLines);
  check_shares("past results", past, 0.5, 0.25);
  for (const char* refusal : {"Invalid number of length in line:", "Invalid number of spaces in line:",
                              "Invalid number of stars in line:", "Invalid number or star in line:",
                              "Missing column in line:", "Invalid date in line:", "Repeated date in line:"})
    check_reached("past results", past, refusal);
  check_unparsed_goes_to_bytes("past results", mutate_past_results);

  const Tally draws =
      run_mutations(mutate_draws_file, seeds_of("draws_file"), read_draws_file, ticket_fields, kFewLines);
  check_shares("draws file", draws, 0.5, 0.25);
  for (const char* refusal : {"Not a valid draws file.", "Invalid number of draws in the file.",
                              "The file holds fewer draws than it announces."})
    check_reached("draws file", draws, refusal);
  check_unparsed_goes_to_bytes("draws file", mutate_draws_file);

  check_result_and_draws_file();

  // The records of read_main_prefs: the two sizes, the play states of the
  // numbers, then of the stars, then the tickets to generate, the two
  // options and the bet type.
  const RelatedPair state_and_bet_type = [](size_t a, size_t b, const std::vector<std::string>& records) {
    const size_t bet_type = 2 + static_cast<size_t>(val_int(records[0]) + val_int(records[1])) + 3;
    return b == bet_type && a >= 2 && a < bet_type - 3;
  };
  const Tally main_prefs =
      run_mutations(mutate_main_prefs, seeds_of("main_prefs"), read_main_prefs, whole, kAnyCount, state_and_bet_type);
  check_shares("main settings", main_prefs, 0.9, 0.5);
  check_pairs("main settings", main_prefs, 0.05);
  check_focus("main settings", mutate_main_prefs, seeds_of("main_prefs"), read_main_prefs, state_and_bet_type);
  check_sweep("main settings", mutate_main_prefs, seeds_of("main_prefs"), read_main_prefs, state_and_bet_type,
              [](size_t) { return static_cast<size_t>(BET_TYPE_COUNT); });
  check_unparsed_goes_to_bytes("main settings", mutate_main_prefs);

  // Records of read_technique_prefs are the slots in order: slot k + 1.
  const RelatedPair window_bounds = [](size_t a, size_t b, const std::vector<std::string>&) {
    const TechniqueSlot& slot = g_technique_slots[a];
    if (slot.technique == TECHNIQUE_COUNT) return false;
    const TechniqueRow& row = g_technique_catalogue[slot.technique];
    return row.min_slot > 0 && std::minmax<size_t>(row.max_slot - 1, row.min_slot - 1) == std::minmax(a, b);
  };
  const Tally techniques = run_mutations(mutate_technique_prefs, seeds_of("technique_prefs"), read_technique_prefs,
                                         whole, kAnyCount, window_bounds);
  check_shares("technique settings", techniques, 0.9, 0.7);
  check_pairs("technique settings", techniques, 0.05);
  check_focus("technique settings", mutate_technique_prefs, seeds_of("technique_prefs"), read_technique_prefs,
              window_bounds);
  check_sweep("technique settings", mutate_technique_prefs, seeds_of("technique_prefs"), read_technique_prefs,
              window_bounds, [](size_t record) {
                int64_t lo = 0, hi = 0;
                technique_field_range(g_technique_slots[record].range, &lo, &hi);
                return static_cast<size_t>(hi - lo + 1);
              });
  check_unparsed_goes_to_bytes("technique settings", mutate_technique_prefs);

  std::printf(g_failed ? "the format mutators are broken\n" : "the format mutators keep their formats\n");
  return g_failed ? 1 : 0;
}
