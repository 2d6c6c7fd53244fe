// The --lines mode: the batch loop of to-braille, to-latex and speak.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <fstream>
#include <functional>
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
// How many lines a thread takes at a time from a piece that is shared out.
constexpr std::size_t kChunkLines = 64;

// One line's conversion: its output, or nullopt and why the line is refused in `message`.
std::optional<std::string> convertLine(const LineConversion& convert, std::string_view line,
                                       std::string& message) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    message.clear();
    return convert(line, message);
}

// Lines converted together by one thread: the answers of those converted (each with its line
// end) and the messages of those refused, one after another in `store`.
struct Chunk {
    struct Outcome {
        std::size_t end;  // of its answer or message in `store`
        bool refused;
    };
    std::span<const std::string_view> lines;
    std::string store;
    std::vector<Outcome> outcomes;
    std::exception_ptr failure;  // handed to the reading thread
    std::atomic<bool> done{false};

    void convert(const LineConversion& conversion) {
        store.clear();
        outcomes.clear();
        try {
            std::string message;
            for (const std::string_view line : lines) {
                if (const std::optional<std::string> output =
                        convertLine(conversion, line, message)) {
                    store += *output;
                    store += '\n';
                    outcomes.push_back({store.size(), false});
                } else {
                    store += message;
                    outcomes.push_back({store.size(), true});
                }
            }
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

// Threads that take chunks of a piece beside the reading thread, started when a piece first
// has enough lines and kept until the input ends. The reading thread converts chunks too, and
// hands out each one's answers, in input order, as soon as it is done.
class Crew {
public:
    Crew() = default;
    Crew(const Crew&) = delete;
    Crew& operator=(const Crew&) = delete;
    ~Crew() {
        {
            std::lock_guard guard(lock_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : helpers_) {
            t.join();
        }
    }

    // Starts helpers up to `wanted`; whether one at least runs. (One that cannot be started
    // leaves its chunks to the others.)
    bool start(std::size_t wanted) {
        while (helpers_.size() < wanted && !startFailed_) {
            try {
                // Only this thread starts rounds: the helper waits for the next one.
                helpers_.emplace_back([this, round = round_] { serve(round); });
            } catch (const std::system_error&) {
                startFailed_ = true;
            }
        }
        return !helpers_.empty();
    }

    // Converts the first `count` of `chunks` and gives each to `deliver` on this thread, in
    // order. A conversion that failed fails here, once no helper works on the chunks any more.
    void convert(std::deque<Chunk>& chunks, std::size_t count, const LineConversion& conversion,
                 const std::function<void(const Chunk&)>& deliver) {
        {
            std::lock_guard guard(lock_);
            for (std::size_t k = 0; k < count; ++k) {
                chunks[k].done.store(false);
            }
            chunks_ = &chunks;
            count_ = count;
            conversion_ = &conversion;
            next_.store(0);
            working_ = helpers_.size();
            ++round_;
        }
        wake_.notify_all();
        std::exception_ptr failure;
        for (std::size_t k = 0; k < count && !failure; ++k) {
            Chunk& chunk = chunks[k];
            while (!chunk.done.load(std::memory_order_acquire)) {
                if (!convertNext()) {
                    std::unique_lock held(lock_);
                    chunkDone_.wait(held, [&] { return chunk.done.load(); });
                }
            }
            try {
                if (chunk.failure) {
                    std::rethrow_exception(std::exchange(chunk.failure, nullptr));
                }
                deliver(chunk);
            } catch (...) {
                failure = std::current_exception();
                next_.store(count);  // the helpers take no further chunk
            }
        }
        std::unique_lock held(lock_);
        roundDone_.wait(held, [&] { return working_ == 0; });
        if (failure) {
            std::rethrow_exception(failure);
        }
    }

private:
    // Converts the next chunk nobody has taken; false when none is left.
    bool convertNext() {
        const std::size_t k = next_.fetch_add(1);
        if (k >= count_) {
            return false;
        }
        Chunk& chunk = (*chunks_)[k];
        chunk.convert(*conversion_);
        chunk.done.store(true, std::memory_order_release);
        {
            std::lock_guard guard(lock_);  // the reading thread is waiting, or sees it done
        }
        chunkDone_.notify_one();
        return true;
    }

    void serve(std::size_t seen) {
        for (;;) {
            {
                std::unique_lock held(lock_);
                wake_.wait(held, [&] { return stopping_ || round_ != seen; });
                if (stopping_) {
                    return;
                }
                seen = round_;
            }
            while (convertNext()) {
            }
            std::lock_guard guard(lock_);
            if (--working_ == 0) {
                roundDone_.notify_one();
            }
        }
    }

    bool startFailed_ = false;
    std::vector<std::thread> helpers_;
    std::mutex lock_;
    std::condition_variable wake_;       // a round starts, or the crew stops
    std::condition_variable chunkDone_;  // a helper has converted a chunk
    std::condition_variable roundDone_;  // every helper has left the round
    bool stopping_ = false;
    std::size_t round_ = 0;
    std::size_t working_ = 0;  // helpers still taking chunks of this round
    std::deque<Chunk>* chunks_ = nullptr;
    std::size_t count_ = 0;
    const LineConversion* conversion_ = nullptr;
    std::atomic<std::size_t> next_{0};
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
    std::deque<Chunk> chunks;
    Crew crew;  // stopped before the chunks go
    // A chunk's answers: those converted go out together, each refusal on its own.
    const auto deliverChunk = [&](const Chunk& chunk) {
        const std::string_view store = chunk.store;
        std::size_t start = 0;  // of the answers not yet given
        std::size_t end = 0;
        for (const Chunk::Outcome& outcome : chunk.outcomes) {
            if (outcome.refused) {
                answers += store.substr(start, end - start);
                deliver(true, store.substr(end, outcome.end - end));
                start = outcome.end;
            } else {
                ++number;
            }
            end = outcome.end;
        }
        answers += store.substr(start, end - start);
        if (answers.size() >= kPiece) {
            handOver();
        }
    };
    // The lines of a piece: converted one by one, or shared out when there are many; the
    // answers go out in input order either way.
    const auto answerAll = [&](std::span<const std::string_view> lines) {
        if (lines.size() >= kSharedLines && threads == 0) {
            threads = lineThreads();
        }
        if (threads <= 1 || lines.size() < kSharedLines || !crew.start(threads - 1)) {
            for (const std::string_view line : lines) {
                answer(line);
            }
            return;
        }
        const std::size_t count = (lines.size() + kChunkLines - 1) / kChunkLines;
        while (chunks.size() < count) {
            chunks.emplace_back();
        }
        for (std::size_t k = 0; k < count; ++k) {
            chunks[k].lines = lines.subspan(k * kChunkLines,
                                            std::min(kChunkLines, lines.size() - k * kChunkLines));
        }
        crew.convert(chunks, count, convert, deliverChunk);
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
