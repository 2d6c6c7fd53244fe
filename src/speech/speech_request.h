#pragma once

// A speech request: what a window asks the speech reader to say. The reader renders the text
// into Italian words according to the mode word and hands them to its engine.

#include <string>

namespace speech {

struct Request {
    std::string workingDirectory;  // the program directory
    std::string mode;              // "key", "last", "all", "canc", "error" or empty
    std::string rate;              // decimal text, used in mode "all" only; empty means 50
    std::string text;              // code page 1252; empty does nothing; ESC alone only silences
};

// Whoever takes speech requests: the speech reader in the program, a recorder in tests.
class RequestSink {
public:
    virtual ~RequestSink() = default;
    virtual void submit(const Request& request) = 0;
};

}  // namespace speech
