#pragma once

// The terminal of `instello --unattended`: every line goes to standard output (UTF-8) and to
// the log (code page 1252, CR LF); messages are printed with their caption and questions are
// answered with their default, printed beside them. Safe to use from several threads (the
// external programs report from their own).

#include <iosfwd>
#include <mutex>
#include <string_view>

#include "installer/prompter.h"

namespace installer {

class Console {
public:
    Console(std::ostream& out, std::ostream* log) : out_(out), log_(log) {}
    void line(std::string_view text);
    // A text whose "\n" are line breaks.
    void block(std::string_view text);

private:
    void put(std::string_view text);

    std::ostream& out_;
    std::ostream* log_;
    std::recursive_mutex lock_;
};

// Prints each message with its caption and answers with the default of its question: OK for
// OK/Cancel questions (Cancel when a file to remove is in use: nobody is there to close the
// program); for Yes/No questions Yes, except the two that guard against an
// installation that cannot be what the user meant (nothing selected, not enough space) and
// the restart, which a script never wants: No.
class ConsolePrompter : public Prompter {
public:
    ConsolePrompter(Console& console, bool acceptLicense)
        : console_(console), acceptLicense_(acceptLicense) {}

    Answer message(std::string_view text, std::string_view caption, Icon icon,
                   Buttons buttons) override;
    bool license(std::string_view text) override;

private:
    Console& console_;
    bool acceptLicense_;
};

}  // namespace installer
