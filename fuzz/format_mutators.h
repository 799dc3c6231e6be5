// Mutations that know the formats the fuzz targets read: the past-results
// database, a draws file (alone or after a result line) and the two settings
// files. Each parses its input into the format's records and changes one
// thing at that level: one value of one record (most often to a value of the
// format's range, so that the reader goes on past it; sometimes to a
// neighbour, a boundary or a value found elsewhere in the file), the records'
// number or order, a header field, or one record broken on purpose (a wrong
// length, a missing separator, a stray byte) for the readers' error paths.
// Every other byte stays as it was. Part of the calls, and every call on an
// input that does not parse, is left to libFuzzer's own byte mutation
// (LLVMFuzzerMutate, with the dictionary and the comparisons it saw), so
// nothing that the byte-level search reaches is lost.
//
// The settings files are written with the program's own encoding
// (append_settings_int, append_settings_line) and parsed with its reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// libFuzzer's byte mutation, which a custom mutator may call. Weak, so that
// the programs built without libFuzzer (make_fuzz_seeds) link.
extern "C" __attribute__((weak)) size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

// Each mutates `data` (of `size` bytes, room for `max_size`) in place and
// returns the new size, as LLVMFuzzerCustomMutator does.
size_t mutate_past_results(uint8_t* data, size_t size, size_t max_size, unsigned seed);
size_t mutate_draws_file(uint8_t* data, size_t size, size_t max_size, unsigned seed);
// The prizes target's input: a line of seven result values separated by
// blanks, then a draws file.
size_t mutate_result_and_draws_file(uint8_t* data, size_t size, size_t max_size, unsigned seed);
size_t mutate_main_prefs(uint8_t* data, size_t size, size_t max_size, unsigned seed);
size_t mutate_technique_prefs(uint8_t* data, size_t size, size_t max_size, unsigned seed);
// The settings mutators remember which field they changed to make each
// file, and go on from a file libFuzzer kept to the field that goes with the
// one changed; this forgets every file they made, as at the start of a run.
void forget_made_files();

// Record-level crossovers, as LLVMFuzzerCustomCrossOver: records of the
// second input spliced into the first, or one record of it inserted. They
// decline (return 0) on most calls, so that libFuzzer, which offers the
// crossover as often as the mutation, spends most of its steps on mutations.
size_t cross_over_past_results(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2, uint8_t* out,
                               size_t max_out_size, unsigned seed);
size_t cross_over_draws_file(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2, uint8_t* out,
                             size_t max_out_size, unsigned seed);
size_t cross_over_result_and_draws_file(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                                        uint8_t* out, size_t max_out_size, unsigned seed);

// A draw line of the past-results database as its files hold it, such as
// 00001 2004-02-13 16 29 32 36 41 +07 +09: the serial in five digits, the
// date, the five numbers, and each star after a "+", every value in two
// digits (no line end).
std::string past_result_line(int serial, int year, int month, int day, const int numbers[5], const int stars[2]);
