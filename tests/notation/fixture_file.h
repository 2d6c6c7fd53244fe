#pragma once

// Fixture files of tests/data/notation: one case a line, "input<TAB>expected". Lines starting
// with "@@" and empty lines are skipped. In both columns "<CRLF>" stands for a line break and
// "<SP>" for a blank (to show blanks at the ends). An expected text "refused: MESSAGE" means
// the conversion refuses with MESSAGE (the part after "Pagina 1" and the line break).

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "notation/text_scan.h"

namespace notation_test {

struct FixtureCase {
    int line = 0;
    std::string input;
    std::string expected;
    bool refused = false;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string decodeColumn(std::string_view text) {
    std::string out = notation::replaceAll(text, "<CRLF>", "\r\n");
    return notation::replaceAll(out, "<SP>", " ");
}

inline std::vector<FixtureCase> readFixture(const std::string& name) {
    const std::string text = readBytes(std::string(TATTILO_TEST_DATA) + "/notation/" + name);
    std::vector<FixtureCase> cases;
    std::size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.starts_with("@@")) {
            continue;
        }
        const std::size_t tab = line.find('\t');
        FixtureCase c;
        c.line = number;
        c.input = decodeColumn(line.substr(0, tab));
        std::string_view expected = tab == std::string_view::npos ? "" : line.substr(tab + 1);
        if (expected.starts_with("refused: ")) {
            c.refused = true;
            expected.remove_prefix(9);
        }
        c.expected = decodeColumn(expected);
        cases.push_back(std::move(c));
    }
    return cases;
}

}  // namespace notation_test
