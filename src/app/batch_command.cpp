#include "app/batch_command.hpp"

#include <csignal>
#include <cstdio>
#include <thread>

#include "app/cli.hpp"
#include "app/options.hpp"
#include "app/system_reason.hpp"
#include "terminal/platform.hpp"
#include "terminal/visible_text.hpp"

namespace morvane::cli {
namespace {

// The line only ever grows, so no escape sequence is needed to clear what it covered.
void draw_progress(std::int64_t done, std::int64_t total) {
  constexpr int kWidth = 30;
  const int filled = total > 0 ? static_cast<int>(done * kWidth / total) : kWidth;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, ' ');
  std::fprintf(stderr, "\r[%s] %3d%% %lld/%lld", bar.c_str(),
               total > 0 ? static_cast<int>(done * 100 / total) : 100, static_cast<long long>(done),
               static_cast<long long>(total));
  std::fflush(stderr);
}

std::atomic<bool> stop_requested{false};
volatile std::sig_atomic_t stop_signal = 0;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void request_stop(int sig) {
  if (stop_requested.load()) {
    // Delivered once this handler returns.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    return;
  }
  stop_signal = sig;
  stop_requested.store(true);
}

}  // namespace

std::function<void(std::int64_t)> progress_bar(std::int64_t total) {
  if (!platform::stderr_is_terminal()) return {};
  return [total](std::int64_t done) { draw_progress(done, total); };
}

void end_progress(const std::function<void(std::int64_t)>& bar) {
  if (bar) std::fputs("\n", stderr);
}

StopOnSignal::StopOnSignal() {
  std::signal(SIGINT, request_stop);
  std::signal(SIGTERM, request_stop);
}

StopOnSignal::~StopOnSignal() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

const std::atomic<bool>& StopOnSignal::stop() const {
  return stop_requested;
}

int StopOnSignal::finish(int status) {
  if (stop_signal != 0) {
    const int sig = stop_signal;
    std::signal(sig, SIG_DFL);
    std::raise(sig);
  }
  return status;
}

std::optional<BatchSettings> read_batch_options(const BatchOptions& t, std::string& refusal) {
  const auto mode = parse_count(t.mode, 1, 2);
  const auto threads = parse_count(t.threads, 1, 1024);
  const auto rounds = parse_count(t.max_rounds, 1, std::int64_t{1} << 40);
  const auto seed = parse_seed(t.seed);
  if (!mode) {
    refusal = "--mode 只能是1或2" + not_this(t.mode);
  } else if (!threads) {
    refusal = "--threads 要是1～1024" + not_this(t.threads);
  } else if (!rounds) {
    refusal = "--max-rounds 要是大于0的数" + not_this(t.max_rounds);
  } else if (!seed) {
    refusal = "--seed 要是十进制整数（可带正负号）" + not_this(t.seed);
  } else {
    return BatchSettings{static_cast<Mode>(*mode), *seed, static_cast<unsigned>(*threads), *rounds};
  }
  return std::nullopt;
}

std::string cores() {
  return std::to_string(std::max(1u, std::thread::hardware_concurrency()));
}

std::string by_default(std::int64_t value) {
  return "（默认" + std::to_string(value) + "）";
}

std::string batch_modes_help(Mode default_mode) {
  const auto mode = [default_mode](Mode m) {
    return std::to_string(static_cast<std::int32_t>(m)) + "：" + std::string(mode_name(m)) +
           (m == default_mode ? "（默认）" : "");
  };
  return mode(Mode::TeamMatch) + "，" + mode(Mode::DarkMatch);
}

std::string not_this(const std::string& value) {
  return "，不能是“" + typed(value) + "”";
}

std::optional<std::string> read_results_file(const std::string& path, std::size_t most,
                                             std::string& refusal) {
  FileText file = read_capped(path, most);
  if (file.status == FileText::Status::Unreadable) {
    refusal = "读不了结果文件 " + typed(path) + "：" + system_reason(file.error);
  } else if (file.status == FileText::Status::TooLarge) {
    refusal = "结果文件 " + typed(path) + " 太大";
  } else {
    return std::move(file.text);
  }
  return std::nullopt;
}

std::string text_for_stdout(const std::string& utf8) {
  if (!platform::stdout_is_terminal()) return for_console(utf8);
  const auto to_gbk = speaks_gbk() ? platform::utf8_to_gbk() : nullptr;
  return visible_on_terminal(utf8, to_gbk.get());
}

}  // namespace morvane::cli
