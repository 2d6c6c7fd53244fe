#pragma once

// tattilo-cli: the workbench's notation engine, spoken rendering and exports on the command
// line. Each subcommand is one entry of the command table (commands.cpp) and is written
// against streams, so the tests run it without starting a process.
//
// Exit status: 0 success, 1 the work was refused or failed (the program's own message on
// standard error), 2 usage error.

#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string_view name;
    std::string_view summary;  // one line for the command list
    std::string_view usage;    // the full help text of the subcommand
    int (*run)(std::span<const std::string> args, Io& io);
};

// The command table, in the order `--help` lists it.
std::span<const Command> commands();

// Runs the program with its arguments (without the program name).
int run(std::span<const std::string> args, Io& io);

// Arguments of one subcommand: options with a value ("--page 3", "-o FILE"), flags and
// positional arguments, in any order. Unknown options are usage errors. After "--" every
// argument is positional.
class Arguments {
public:
    // `valued` and `flags` list the accepted option names, for example {"--page", "-o"}.
    Arguments(std::span<const std::string> args, std::vector<std::string_view> valued,
              std::vector<std::string_view> flags);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    std::optional<std::string> value(std::string_view option) const;
    bool flag(std::string_view option) const;
    const std::vector<std::string>& positional() const { return positional_; }

    // The option's value as an integer in [min, max]; nullopt and an error when it is not.
    std::optional<int> integer(std::string_view option, int fallback, int min, int max);

private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
    std::string error_;
};

// The whole content of `path`, or of standard input when `path` is empty, as bytes.
// On failure returns nullopt and writes the system's read message to io.err.
std::optional<std::string> readInput(const std::string& path, Io& io);

// How many threads the --lines mode converts with: one per processor, four at most.
std::size_t lineThreads();

// The --lines mode shared by the commands that work on one formula: one formula per line of
// `path` (or of standard input when it is empty), one output line per input line, in order.
// A line end is LF or CR LF; a final line end does not start another line. `convert` returns
// the line's output, or nullopt after setting `message` to why the line is refused; a refused
// line gives an empty output line and "line N: " + message on standard error (message line
// breaks as LF). Returns kOk, or kFailed when the input could not be read or any line was
// refused. The input is read in pieces and the output written in pieces, so a long input streams
// through. The lines of a piece that holds many are shared out among `threads` threads, 0 for
// lineThreads() (`convert` must then bear being called from several at once); the answers keep
// the input's order.
using LineConversion =
    std::function<std::optional<std::string>(std::string_view line, std::string& message)>;
int convertLines(const std::string& path, Io& io, const LineConversion& convert,
                 std::size_t threads = 0);

}  // namespace cli
