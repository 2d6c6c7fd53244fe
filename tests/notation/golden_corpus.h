#pragma once

// Recorded outputs of the conversions and of the spoken rendering, kept as one hash per block
// of inputs, so that a change of the engines shows as the block whose output changed.
//
// The inputs: every text of the fixture files, and a seeded corpus of generated formulas
// (formula_corpus.h) with damaged copies of them and of their cells, so that refusals and
// their messages are part of what is recorded.
//
// Recording: with TATTILO_GOLDEN_RECORD=1 the test writes the golden file instead of comparing
// (do so only when an output is meant to change). With TATTILO_GOLDEN_DUMP=PATH it also writes
// every input and output in full to PATH, for finding the formula behind a changed block.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "formula_corpus.h"

namespace golden {

// How many generated formulas each block holds, and how many blocks there are.
inline constexpr int kBlockSize = 2000;
inline constexpr int kBlocks = 50;
inline constexpr unsigned kSeed = 4242;

// FNV-1a over a sequence of records.
class Hash {
public:
    void add(std::string_view bytes) {
        for (const char c : bytes) {
            value_ = (value_ ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        // A separator that no length of bytes could imitate.
        value_ = (value_ ^ (bytes.size() & 0xFF)) * 1099511628211ULL;
        value_ = (value_ ^ 0x100U) * 1099511628211ULL;
    }
    void add(long n) { add(std::to_string(n)); }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 14695981039346656037ULL;
};

// One stream of records: its hash and how many of its inputs were refused.
struct Stream {
    Hash hash;
    int refused = 0;
};

// The streams of one block, by name, in the order of the golden file.
using Block = std::map<std::string, Stream>;

// A damaged copy of `text`: a few characters deleted, doubled, exchanged or replaced by one of
// `alphabet`, as a student's typing slips would.
inline std::string damaged(std::string text, std::mt19937& random, std::string_view alphabet) {
    const int edits = 1 + static_cast<int>(random() % 3);
    for (int n = 0; n < edits; ++n) {
        const std::size_t size = text.size();
        const std::size_t at = size == 0 ? 0 : random() % size;
        const char c = alphabet[random() % alphabet.size()];
        switch (random() % 4) {
            case 0:
                if (size > 0) {
                    text.erase(at, 1);
                }
                break;
            case 1:
                text.insert(at, 1, size > 0 ? text[at] : c);
                break;
            case 2:
                if (size > 1 && at + 1 < size) {
                    std::swap(text[at], text[at + 1]);
                }
                break;
            default:
                text.insert(at, 1, c);
        }
    }
    return text;
}

// The characters damage inserts: the notation's special ones and a few plain ones.
inline constexpr std::string_view kLatexAlphabet = "\\{}^_()[]|%'$#<>=+-,:;!x1 \r\n";
inline constexpr std::string_view kBrailleAlphabet = "#|1694npo?*{}&y:,;/=_$>!<7\\ \xF2\xA0Tab";

inline std::string hex(std::uint64_t v) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i) {
        s[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
        v >>= 4;
    }
    return s;
}

// One line of the golden file: the block's name, then "stream=hash/refused" for each stream.
inline std::string line(const std::string& name, const Block& block) {
    std::string out = name;
    for (const auto& [stream, s] : block) {
        out += ' ' + stream + '=' + hex(s.hash.value()) + '/' + std::to_string(s.refused);
    }
    return out;
}

inline bool recording() {
    return std::getenv("TATTILO_GOLDEN_RECORD") != nullptr;
}

// Everything in full, when asked for.
class Dump {
public:
    Dump() {
        if (const char* path = std::getenv("TATTILO_GOLDEN_DUMP")) {
            file_.open(path, std::ios::binary | std::ios::trunc);
        }
    }
    void write(std::string_view stream, std::string_view input, std::string_view output) {
        if (file_.is_open()) {
            file_ << stream << '\t' << escaped(input) << '\t' << escaped(output) << '\n';
        }
    }

private:
    static std::string escaped(std::string_view s) {
        std::string out;
        for (const char c : s) {
            if (c == '\r') {
                out += "<CR>";
            } else if (c == '\n') {
                out += "<LF>";
            } else if (c == '\t') {
                out += "<TAB>";
            } else {
                out += c;
            }
        }
        return out;
    }
    std::ofstream file_;
};

// Compares the blocks with the golden file `path` (tests/data/...), or writes it when
// recording. Reports each block that differs by its name.
inline void compareWithFile(const std::string& path, const std::vector<std::string>& lines) {
    if (recording()) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (const std::string& l : lines) {
            out << l << '\n';
        }
        ASSERT_TRUE(out.good()) << "cannot write " << path;
        GTEST_SKIP() << "recorded " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good()) << "cannot read " << path;
    std::vector<std::string> recorded;
    for (std::string l; std::getline(in, l);) {
        recorded.push_back(l);
    }
    ASSERT_EQ(recorded.size(), lines.size()) << path;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], recorded[i]) << "block " << i << " of " << path;
    }
}

}  // namespace golden
