#pragma once
// What the command's parts share: how the program speaks outside the game (its help, its
// refusals, a failed write), always as "morvane: ..." and in the console's encoding, and how a
// file named on the command line is read and written.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace morvane::cli {

// A bad option or argument, bad or too large input, a refused replay code: a message and this
// status.
constexpr int kUsageError = 2;
// The output could not be written.
constexpr int kWriteFailure = 1;

// Whether the console speaks GBK rather than UTF-8. main() sets it from the locale at start,
// and from --encoding once the command line has been read.
void speak_gbk(bool gbk);
bool speaks_gbk();
// Text typed on the command line (in the console's encoding, or UTF-8 where the system hands the
// arguments over so), as UTF-8, to be quoted in a message.
std::string typed(std::string_view text);
// UTF-8 text in the console's encoding.
std::string for_console(std::string_view utf8);

// UTF-8 text on standard error, in the console's encoding.
void write_message(std::string_view text);
// "morvane: <message>" and a line end on standard error; the message is UTF-8.
void say(std::string_view message);
// What a command line that cannot be run gets: "morvane: <message>", then the line that says
// where its usage is described (the help of `command`, such as "simulate"; the game's own when
// empty).
std::string usage_message(std::string_view message, std::string_view command);
// Says usage_message() on standard error; returns the status.
int usage_error(std::string_view message, std::string_view command = {});
// Input or a replay code refused: says why; returns the status.
int refused(std::string_view why);

// Output that could not be written (a full disk, a closed stdout): "morvane: 写入失败：" and
// what failed on stderr, and the status to exit with. A closed pipe is not an error worth a
// message: the program ends as SIGPIPE would have ended it (141).
int write_failure(std::string_view what);
int write_failure(int errnum);

// Writes bytes to standard output as they are; the exit status: 0, or kWriteFailure after
// saying why.
int print(std::string_view bytes);
// Writes UTF-8 text (the help, the version) to standard output in the console's encoding.
int show(std::string_view utf8);

// A file read whole, if it could be read and holds at most the bytes asked for; no more than
// that is ever held in memory. `error` is the system's error number when it could not be read.
struct FileText {
  enum class Status { Read, Unreadable, TooLarge };
  Status status = Status::Read;
  std::string text;
  int error = 0;
};
FileText read_capped(const std::string& path, std::size_t most);
// The same from a stream already open (standard input, for `replay -`).
FileText read_capped(std::istream& in, std::size_t most);
// Writes text to a file, replacing it; 0, or the error number of the failure.
int write_file(const std::string& path, std::string_view text);

}  // namespace morvane::cli
