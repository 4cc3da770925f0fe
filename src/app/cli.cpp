#include "app/cli.hpp"

#include <cerrno>
#include <cstdio>
#include <istream>
#include <memory>

#include "app/system_reason.hpp"
#include "terminal/platform.hpp"
#include "terminal/visible_text.hpp"

namespace morvane::cli {
namespace {

bool g_gbk = false;

}  // namespace

void speak_gbk(bool gbk) {
  g_gbk = gbk;
}

bool speaks_gbk() {
  return g_gbk;
}

std::string typed(std::string_view text) {
  const bool from_gbk = g_gbk && platform::arguments_in_console_encoding();
  return from_gbk ? platform::gbk_to_utf8()->convert(text) : std::string(text);
}

std::string for_console(std::string_view utf8) {
  return g_gbk ? platform::utf8_to_gbk()->convert(utf8) : std::string(utf8);
}

void write_message(std::string_view text) {
  // A message may quote what anyone made (a file's name, a code): on a terminal its control
  // bytes are shown as the narration shows a name's, piped they stay the bytes given.
  if (!platform::stderr_is_terminal()) {
    platform::write_stderr(for_console(text), g_gbk);
    return;
  }
  const auto to_gbk = g_gbk ? platform::utf8_to_gbk() : nullptr;
  platform::write_stderr(visible_on_terminal(text, to_gbk.get()), g_gbk);
}

void say(std::string_view message) {
  std::string line = "morvane: ";
  line += message;
  write_message(line + "\n");
}

std::string usage_message(std::string_view message, std::string_view command) {
  std::string text = "morvane: ";
  text += message;
  text += "\n用 morvane ";
  if (!command.empty()) {
    text += command;
    text += ' ';
  }
  return text + "--help 查看用法\n";
}

int usage_error(std::string_view message, std::string_view command) {
  write_message(usage_message(message, command));
  return kUsageError;
}

int refused(std::string_view why) {
  say(why);
  return kUsageError;
}

int write_failure(std::string_view what) {
  say("写入失败：" + std::string(what));
  return kWriteFailure;
}

int write_failure(int errnum) {
  if (errnum == EPIPE) platform::end_by_closed_pipe();
  return write_failure(system_reason(errnum));
}

int print(std::string_view bytes) {
  const int error = platform::write_stdout(bytes.data(), bytes.size());
  return error == 0 ? 0 : write_failure(error);
}

int show(std::string_view utf8) {
  return print(for_console(utf8));
}

FileText read_capped(const std::string& path, std::size_t most) {
  std::FILE* file = platform::open_file(path, "rb");
  if (file == nullptr) return {FileText::Status::Unreadable, {}, errno};
  // A block at a time: a file far smaller than `most` (the usual case) costs only its size.
  FileText read;
  char block[1 << 16];
  for (std::size_t got = 0; (got = std::fread(block, 1, sizeof block, file)) > 0;) {
    if (read.text.size() + got > most) {
      std::fclose(file);
      return {FileText::Status::TooLarge, {}, 0};
    }
    read.text.append(block, got);
  }
  const int error = std::ferror(file) == 0 ? 0 : errno != 0 ? errno : EIO;
  std::fclose(file);
  if (error != 0) return {FileText::Status::Unreadable, {}, error};
  return read;
}

FileText read_capped(std::istream& in, std::size_t most) {
  std::string text(most + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return {FileText::Status::Unreadable, {}, EIO};
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > most) return {FileText::Status::TooLarge, {}, 0};
  return {FileText::Status::Read, std::move(text), 0};
}

int write_file(const std::string& path, std::string_view text) {
  std::FILE* file = platform::open_file(path, "wb");
  if (file == nullptr) return errno;
  int error = std::fwrite(text.data(), 1, text.size(), file) == text.size() ? 0 : errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace morvane::cli
