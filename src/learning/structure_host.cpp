#include "learning/structure_host.h"

#include <algorithm>

#include "speech/request_sources.h"

namespace learning {
namespace {

namespace vk = ui::vk;

bool isKeypadKey(int key) {
    return (key >= vk::kNumpad0 && key <= vk::kDivide) && key != vk::kDivide - 3;  // no 108
}

// Keys that move between controls or close: what they do is said elsewhere.
bool isQuietKey(int key) {
    return vk::isModifier(key) || key == vk::kTab || key == vk::kEscape || key == vk::kBack ||
           key == vk::kDelete || key == vk::kNumLock || key == 0;
}

}  // namespace

void speakCode(const ToolHost& host, int keyCode, std::string text) {
    if (host.speak && !text.empty()) {
        host.speak(speech::keyCodeRequest(host.programDirectory, keyCode, std::move(text)));
    }
}

std::string lineToCaret(const ui::TextBox& box, std::size_t skip, std::size_t extra) {
    const std::string text = box.text();
    const std::size_t caret = std::min(box.selStart() + box.selLength(), text.size());
    const std::size_t start = speech::lineStart(text, caret);
    std::size_t end = text.find("\r\n", start);
    end = std::min(end == std::string::npos ? text.size() : end, caret + extra);
    return start + skip < end ? text.substr(start + skip, end - start - skip) : std::string();
}

void BoxTyping::keyDown(const ui::TextBox& box, ui::KeyEvent& event, std::size_t skip) {
    if (event.key == vk::kBack && box.selLength() == 0) {
        speakCode(host_, speech::kKeyCodeDeleted, lineToCaret(box, skip));
    } else if (event.key == vk::kDelete && box.selLength() == 0) {
        speakCode(host_, speech::kKeyCodeDeleted, lineToCaret(box, skip, 1));
    } else if (isKeypadKey(event.key) && host_.keypadMapping && host_.keypadMapping() &&
               host_.keypadText && !host_.keypadText(event.key, event.shift).empty()) {
        keypadKey_ = event.key;
        keypadShift_ = event.shift;
        event.key = 0;
    }
}

void BoxTyping::keyPress(ui::KeyPress& press) {
    if (keypadKey_ != 0) {
        press.ch = 0;
    }
}

bool BoxTyping::keyUp(ui::TextBox& box, const ui::KeyEvent& event, std::size_t skip) {
    if (keypadKey_ != 0 && event.key == keypadKey_) {
        keypadKey_ = 0;
        box.setSelText(host_.keypadText(event.key, keypadShift_));
        speakCode(host_, 0, lineToCaret(box, skip));
        return true;
    }
    if (isQuietKey(event.key) || event.shift == ui::shift::kAlt) {
        return false;
    }
    speakCode(host_, event.key, lineToCaret(box, skip));
    return true;
}

}  // namespace learning
