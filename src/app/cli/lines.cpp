// The --lines mode: the batch loop of to-braille, to-latex and speak.

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <fstream>
#include <istream>
#include <mutex>
#include <ostream>
#include <span>
#include <thread>
#include <utility>
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
// A piece of input with fewer lines is converted by this thread alone: sharing it out would
// cost more than it saves, and a program that writes a line at a time waits for no one.
constexpr std::size_t kSharedLines = 128;

// One line's conversion: its output, or nullopt and why the line is refused in `message`.
std::optional<std::string> convertLine(const LineConversion& convert, std::string_view line,
                                       std::string& message) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    message.clear();
    return convert(line, message);
}

// A run of lines converted by one thread, what each gave kept in `store`, one after another.
struct Share {
    struct Outcome {
        std::size_t end;  // of its output or message in `store`
        bool refused;
    };
    std::span<const std::string_view> lines;
    std::string store;
    std::vector<Outcome> outcomes;
    std::exception_ptr failure;  // handed to the reading thread

    void convert(const LineConversion& conversion) {
        store.clear();
        outcomes.clear();
        try {
            std::string message;
            for (const std::string_view line : lines) {
                const std::optional<std::string> output = convertLine(conversion, line, message);
                store += output ? *output : message;
                outcomes.push_back({store.size(), !output});
            }
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

// Threads that convert shares of a piece beside the reading thread, started when a piece first
// has enough lines, and kept until the input ends.
class Helpers {
public:
    Helpers() = default;
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;
    ~Helpers() {
        {
            std::lock_guard guard(lock_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) {
            t.join();
        }
    }

    // How many shares a piece is cut into: one for each of the `wanted` helpers that runs, one
    // for the caller. (A helper that cannot be started leaves its share to the others.)
    std::size_t shares(std::size_t wanted) {
        while (threads_.size() < wanted && !startFailed_) {
            try {
                const std::size_t k = threads_.size() + 1;
                threads_.emplace_back([this, k] { serve(k); });
            } catch (const std::system_error&) {
                startFailed_ = true;
            }
        }
        return threads_.size() + 1;
    }

    // Converts every share: the first on this thread, the others on the helpers; returns when
    // all are done.
    void convert(std::vector<Share>& shares, const LineConversion& conversion) {
        {
            std::lock_guard guard(lock_);
            shares_ = &shares;
            conversion_ = &conversion;
            busy_ = shares.size() - 1;
            ++round_;
        }
        wake_.notify_all();
        shares[0].convert(conversion);
        std::unique_lock held(lock_);
        done_.wait(held, [&] { return busy_ == 0; });
    }

private:
    void serve(std::size_t k) {
        std::size_t seen = 0;
        for (;;) {
            Share* share = nullptr;
            const LineConversion* conversion = nullptr;
            {
                std::unique_lock held(lock_);
                wake_.wait(held, [&] { return stopping_ || round_ != seen; });
                if (stopping_) {
                    return;
                }
                seen = round_;
                if (k < shares_->size()) {
                    share = &(*shares_)[k];
                    conversion = conversion_;
                }
            }
            if (share == nullptr) {
                continue;
            }
            share->convert(*conversion);
            std::lock_guard guard(lock_);
            if (--busy_ == 0) {
                done_.notify_one();
            }
        }
    }

    bool startFailed_ = false;
    std::vector<std::thread> threads_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable done_;
    bool stopping_ = false;
    std::size_t round_ = 0;
    std::vector<Share>* shares_ = nullptr;
    const LineConversion* conversion_ = nullptr;
    std::size_t busy_ = 0;
};

}  // namespace

std::size_t lineThreads() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
}

int convertLines(const std::string& path, Io& io, const LineConversion& convert,
                 std::size_t threads) {
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
    // A line's output, or (when refused) why.
    const auto deliver = [&](bool lineRefused, std::string_view text) {
        ++number;
        if (!lineRefused) {
            answers += text;
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
            writeMessage(io.err, number, text);
        }
    };
    const auto answer = [&](std::string_view line) {
        const std::optional<std::string> output = convertLine(convert, line, message);
        deliver(!output, output ? *output : message);
    };
    Helpers helpers;
    std::vector<Share> shares;
    // The lines of a piece: converted one by one, or shared out when there are many; the
    // answers go out in input order either way.
    const auto answerAll = [&](std::span<const std::string_view> lines) {
        if (lines.size() >= kSharedLines && threads == 0) {
            threads = lineThreads();
        }
        if (threads <= 1 || lines.size() < kSharedLines) {
            for (const std::string_view line : lines) {
                answer(line);
            }
            return;
        }
        shares.resize(helpers.shares(threads - 1));
        for (std::size_t k = 0, from = 0; k < shares.size(); ++k) {
            const std::size_t to = lines.size() * (k + 1) / shares.size();
            shares[k].lines = lines.subspan(from, to - from);
            from = to;
        }
        helpers.convert(shares, convert);
        for (Share& share : shares) {
            if (share.failure) {
                std::rethrow_exception(std::exchange(share.failure, nullptr));
            }
            std::size_t start = 0;
            for (const Share::Outcome& outcome : share.outcomes) {
                deliver(outcome.refused,
                        std::string_view(share.store).substr(start, outcome.end - start));
                start = outcome.end;
            }
        }
    };
    // The input is read in pieces of what it has buffered; the lines whole inside a piece are
    // converted where they stand, and only a line that runs on into the next piece is kept.
    std::vector<char> piece(kReadPiece);
    std::string unfinished;
    std::string joined;  // the line that ran on into this piece, whole
    std::vector<std::string_view> lines;
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
        lines.clear();
        for (std::size_t end = rest.find('\n'); end != std::string_view::npos;
             end = rest.find('\n')) {
            if (unfinished.empty()) {
                lines.push_back(rest.substr(0, end));
            } else {
                unfinished.append(rest.substr(0, end));
                joined.swap(unfinished);
                unfinished.clear();
                lines.push_back(joined);
            }
            rest.remove_prefix(end + 1);
        }
        answerAll(lines);
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
