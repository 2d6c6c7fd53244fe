#include "ui/memory/memory_check_list.h"

namespace ui::memory {

void MemoryCheckList::setLine(int index, const CheckLine& line) {
    if (index >= 0 && index < count()) {
        lines_[static_cast<std::size_t>(index)] = line;
    }
}

CheckLine MemoryCheckList::line(int index) const {
    return index >= 0 && index < count() ? lines_[static_cast<std::size_t>(index)] : CheckLine{};
}

void MemoryCheckList::select(int index) {
    if (!enabled() || index < 0 || index >= count()) {
        return;
    }
    index_ = index;
    if (onSelect_) {
        onSelect_();
    }
}

void MemoryCheckList::toggle(int index) {
    select(index);
    if (enabled() && index >= 0 && index < count() && onToggle_) {
        onToggle_(index);
    }
}

void MemoryCheckList::doubleClick(int index) {
    select(index);
    if (enabled() && index >= 0 && index < count() && onDoubleClick_) {
        onDoubleClick_();
    }
}

void MemoryComboBox::type(std::string_view text) {
    if (!enabled()) {
        return;
    }
    text_ = text;
    if (onChange_) {
        onChange_();
    }
}

}  // namespace ui::memory
