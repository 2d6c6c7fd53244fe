#pragma once

// The answer keys of tests/data/learning/answer_keys.txt, one operation a line: read by the
// arithmetic tests and by the tests of tattilo-cli calc.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace learning::testing {

struct KeyCase {
    int line = 0;
    std::string operation;
    int decimals = 0;
    std::string expression;
    std::vector<std::string> rows;
    std::string result;
    std::string remainder;
};

inline std::vector<std::string> split(const std::string& s, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = s.find(at, start);
        parts.push_back(s.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

inline std::vector<KeyCase> readKeys() {
    std::ifstream in(std::string(TATTILO_TEST_DATA) + "/learning/answer_keys.txt");
    std::vector<KeyCase> cases;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || (line[0] == '#' && line.find('\t') == std::string::npos)) {
            continue;
        }
        const auto f = split(line, '\t');
        if (f.size() != 6) {
            ADD_FAILURE() << "answer_keys.txt:" << number << ": six fields expected";
            continue;
        }
        cases.push_back({number, f[0], std::stoi(f[1]), f[2], split(f[3], '|'), f[4], f[5]});
    }
    return cases;
}

}  // namespace learning::testing
