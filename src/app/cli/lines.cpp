// The --lines mode: the batch loop of to-braille, to-latex and speak.

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

#include "app/cli/cli.h"

namespace cli {
namespace {

// The message as the terminal expects it: CR LF line breaks become LF.
void writeMessage(std::ostream& err, std::size_t lineNumber, std::string_view message) {
    err << "line " << lineNumber << ": ";
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
            continue;
        }
        err << message[i];
    }
    err << '\n';
}

}  // namespace

int convertLines(const std::string& path, Io& io, const LineConversion& convert) {
    std::ifstream file;
    if (!path.empty()) {
        file.open(path, std::ios::binary);
        if (!file) {
            io.err << path << ": " << std::strerror(errno) << '\n';
            return kFailed;
        }
    }
    std::istream& in = path.empty() ? io.in : file;
    // A program that writes a line and waits for its answer gets it: the output is flushed
    // whenever the input has nothing more buffered, that is, before a read that may wait. A
    // stream tied to the output would flush it before every line instead, one write per line.
    std::ostream* const tied = in.tie(nullptr);
    bool refused = false;
    std::size_t number = 0;
    std::string line;
    std::string message;
    for (;;) {
        if (in.rdbuf()->in_avail() <= 0) {
            io.out.flush();
        }
        if (!std::getline(in, line)) {
            break;
        }
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        message.clear();
        if (const std::optional<std::string> output = convert(line, message)) {
            io.out << *output << '\n';
        } else {
            // On a terminal the message shows right under the line's empty output line.
            refused = true;
            io.out << '\n';
            io.out.flush();
            writeMessage(io.err, number, message);
        }
    }
    in.tie(tied);
    if (in.bad()) {
        io.err << (path.empty() ? std::string("standard input") : path) << ": "
               << std::strerror(errno != 0 ? errno : EIO) << '\n';
        return kFailed;
    }
    return refused ? kFailed : kOk;
}

}  // namespace cli
