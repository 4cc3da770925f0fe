#pragma once
// What the commands that play many silent games share (simulate, rank, highlights): a progress
// bar on a terminal, Ctrl-C or SIGTERM that stops the run and still prints what it found, and
// a report's text as standard output takes it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "modes/mode.hpp"

namespace morvane::cli {

// The values that simulate, rank and highlights all take, as typed (their counts as text, read
// as plain decimal: CLI11's own integers take 010 as octal).
struct BatchOptions {
  std::string mode, seed, threads, max_rounds;
};
struct BatchSettings {
  Mode mode = Mode::TeamMatch;
  std::uint32_t seed = 0;
  unsigned threads = 1;
  std::int64_t max_rounds = 0;
};
// The values read; or nothing, with the reason in `refusal`.
std::optional<BatchSettings> read_batch_options(const BatchOptions& typed, std::string& refusal);
// The number of cores, as text: the default of --threads.
std::string cores();
// "（默认1000）"
std::string by_default(std::int64_t value);
// The help of --mode: "1：正常模式（默认），2：疯狂阿瓦达模式", the default marked.
std::string batch_modes_help(Mode default_mode);
// The option's value "，不能是“…”" as typed, for a refusal.
std::string not_this(const std::string& value);

// A file of results named on the command line (a shard to merge), read whole if it holds at
// most `most` bytes; or nothing, with the reason in `refusal`.
std::optional<std::string> read_results_file(const std::string& path, std::size_t most,
                                             std::string& refusal);

// `\r[####      ] 42% 126/300` on stderr when stderr is a terminal, redrawn as the run goes on;
// nothing (an empty function) otherwise.
std::function<void(std::int64_t done)> progress_bar(std::int64_t total);
// Ends the bar's line, if there was a bar.
void end_progress(const std::function<void(std::int64_t)>& bar);

// From construction on, SIGINT and SIGTERM set stop() instead of ending the program: the run's
// workers give up the games under way and stop, and what they finished is printed. A second one
// ends the run at once, by its signal. finish() then dies of the first signal, as a program
// stopped by it does (status 130 for Ctrl-C, 143 for SIGTERM), or returns the status it is given.
class StopOnSignal {
 public:
  StopOnSignal();
  ~StopOnSignal();
  StopOnSignal(const StopOnSignal&) = delete;
  StopOnSignal& operator=(const StopOnSignal&) = delete;

  const std::atomic<bool>& stop() const;
  int finish(int status);
};

// A report's UTF-8 text as standard output takes it: in the console's encoding, and on a
// terminal with the control bytes of names (which may come from files anyone made) shown as
// text.
std::string text_for_stdout(const std::string& utf8);

}  // namespace morvane::cli
