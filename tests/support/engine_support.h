// Helpers of the technique-engine tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "techniques/technique_ids.h"

// A fresh start: a new working directory, the gadget layer reset, every
// global at its default.
void start_engine_test();
// The past results, entries like "01 12 23 34 45 06 07", as the import would
// leave them (slot 0 empty, the count, a path).
void set_database(const std::vector<std::string>& entries);
// Every window wide open (-1000..1000), runs of any length, no common-number
// limit: every ticket of one- or two-digit numbers passes.
void open_every_window();
void set_window(TechniqueId technique, int64_t min, int64_t max);
// Builds window 0 with the Techniques-tab gadgets that the engine reads and
// writes on its own: field 438, spin 363 and label 610.
void create_engine_gadgets();
