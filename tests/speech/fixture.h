#pragma once

// Reads the tab-separated fixture files of tests/data/speech: code page 1252 lines (CR LF),
// '#' starts a comment line, ^XX stands for the byte XX (hex) and ^^ for '^'.

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace speech::test {

struct FixtureLine {
    int number = 0;
    std::vector<std::string> fields;
};

inline std::string unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '^') {
            out += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == '^') {
            out += '^';
            ++i;
        } else if (i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            throw std::runtime_error("bad escape in fixture: " + s);
        }
    }
    return out;
}

inline std::vector<FixtureLine> readFixture(const std::string& name, std::size_t fieldCount) {
    const std::string path = std::string(TATTILO_TEST_DATA) + "/speech/" + name;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    std::vector<FixtureLine> lines;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || (line[0] == '#' && line.find('\t') == std::string::npos)) {
            continue;
        }
        FixtureLine f{number, {}};
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            f.fields.push_back(unescape(line.substr(start, tab - start)));
            if (tab == std::string::npos) {
                break;
            }
            start = tab + 1;
        }
        if (f.fields.size() != fieldCount) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": expected " +
                                     std::to_string(fieldCount) + " fields");
        }
        lines.push_back(std::move(f));
    }
    return lines;
}

}  // namespace speech::test
