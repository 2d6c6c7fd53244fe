#pragma once

// How the installer core asks the user something: message boxes and the licence window.
// The windows implement it with real dialogs; the unattended installer prints the text and
// answers with its documented default.

#include <string>
#include <string_view>

namespace installer {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A message box with `text` ("\n" breaks lines) and `caption`.
    virtual Answer message(std::string_view text, std::string_view caption, Icon icon,
                           Buttons buttons) = 0;
    // The licence window with the text of license.txt; true for "I Agree".
    virtual bool license(std::string_view text) = 0;
};

}  // namespace installer
