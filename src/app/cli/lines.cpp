// The --lines mode: the batch loop of to-braille, to-latex and speak.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <vector>

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

// How many bytes of answers are gathered before they go to the output stream.
constexpr std::size_t kPiece = 16384;
// How many bytes of input are taken from the stream at a time, at most.
constexpr std::streamsize kReadPiece = 65536;

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
    std::string message;
    // The answers not yet handed to the output stream, which take one call per piece instead
    // of one per line.
    std::string answers;
    const auto handOver = [&] {
        io.out.write(answers.data(), static_cast<std::streamsize>(answers.size()));
        answers.clear();
    };
    const auto answer = [&](std::string_view line) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        message.clear();
        if (const std::optional<std::string> output = convert(line, message)) {
            answers += *output;
            answers += '\n';
            if (answers.size() >= kPiece) {
                handOver();
            }
        } else {
            // On a terminal the message shows right under the line's empty output line.
            refused = true;
            answers += '\n';
            handOver();
            io.out.flush();
            writeMessage(io.err, number, message);
        }
    };
    // The input is read in pieces of what it has buffered; the lines whole inside a piece are
    // converted where they stand, and only a line that runs on into the next piece is kept.
    std::vector<char> piece(kReadPiece);
    std::string unfinished;
    for (;;) {
        if (in.rdbuf()->in_avail() <= 0) {
            handOver();
            io.out.flush();
            if (in.peek() == std::char_traits<char>::eof()) {
                break;
            }
        }
        // What is buffered now, at least the byte just looked at: a read that cannot wait.
        in.read(piece.data(), std::min(in.rdbuf()->in_avail(), kReadPiece));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            break;
        }
        std::string_view rest(piece.data(), got);
        for (std::size_t end = rest.find('\n'); end != std::string_view::npos;
             end = rest.find('\n')) {
            if (unfinished.empty()) {
                answer(rest.substr(0, end));
            } else {
                unfinished.append(rest.substr(0, end));
                answer(unfinished);
                unfinished.clear();
            }
            rest.remove_prefix(end + 1);
        }
        unfinished.append(rest);
    }
    if (!unfinished.empty()) {
        answer(unfinished);
    }
    handOver();
    in.tie(tied);
    if (in.bad()) {
        io.err << (path.empty() ? std::string("standard input") : path) << ": "
               << std::strerror(errno != 0 ? errno : EIO) << '\n';
        return kFailed;
    }
    return refused ? kFailed : kOk;
}

}  // namespace cli
