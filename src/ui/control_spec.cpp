#include "ui/control_spec.h"

#include <stdexcept>

#include "ui/text_trim.h"

namespace ui {

const ControlSpec* findControl(std::span<const ControlSpec> table, std::string_view name) {
    for (const ControlSpec& item : table) {
        if (item.name == name) {
            return &item;
        }
    }
    return nullptr;
}

const ControlSpec& control(std::span<const ControlSpec> table, std::string_view name) {
    if (const ControlSpec* item = findControl(table, name)) {
        return *item;
    }
    throw std::out_of_range("no control " + std::string(name) + " in the window's table");
}

std::string accessibleCaption(std::string_view caption) {
    std::string name;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                name += '&';
                ++i;
            }
            continue;
        }
        name += caption[i];
    }
    return std::string(trimControls(name));
}

bool namedByLabel(ControlKind kind) {
    switch (kind) {
        case ControlKind::Memo:
        case ControlKind::LineEdit:
        case ControlKind::ListBox:
        case ControlKind::TabBar:
        case ControlKind::CheckList:
        case ControlKind::ProgressBar:
        case ControlKind::ComboBox:
            return true;
        default:
            return false;
    }
}

std::string accessibleName(std::span<const ControlSpec> table, const ControlSpec& item) {
    if (!item.accessibleName.empty()) {
        return accessibleCaption(item.accessibleName);
    }
    if (namedByLabel(item.kind)) {
        for (std::size_t i = 1; i < table.size(); ++i) {
            if (&table[i] == &item && table[i - 1].kind == ControlKind::Label) {
                return accessibleCaption(table[i - 1].caption);
            }
        }
        return {};
    }
    return accessibleCaption(item.caption);
}

std::string accessibleName(std::span<const ControlSpec> table, std::string_view name) {
    return accessibleName(table, control(table, name));
}

}  // namespace ui
