#pragma once

// A Braille display in memory, for tests: what was shown, whether it is held, and keys pressed
// by the test.

#include <utility>

#include "ui/braille_display.h"

namespace ui::memory {

class MemoryBrailleDisplay : public BrailleDisplay {
public:
    explicit MemoryBrailleDisplay(int width) : width_(width) {}

    int acquire() override {
        held_ = width_ > 0;
        return width_;
    }
    void show(const std::vector<BrailleDots>& cells) override { shown_ = cells; }
    void release() override {
        held_ = false;
        shown_.clear();
    }
    void setOnKey(std::function<void(DisplayKey)> onKey) override { onKey_ = std::move(onKey); }

    void press(DisplayKey key) {
        if (held_ && onKey_) {
            onKey_(key);
        }
    }
    bool held() const { return held_; }
    const std::vector<BrailleDots>& shown() const { return shown_; }

private:
    int width_;
    bool held_ = false;
    std::vector<BrailleDots> shown_;
    std::function<void(DisplayKey)> onKey_;
};

}  // namespace ui::memory
