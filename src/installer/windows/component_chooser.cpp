#include "installer/windows/component_chooser.h"

#include "installer/messages.h"

namespace installer {

ComponentChooser::ComponentChooser(const ChooserWidgets& widgets, ComponentList& list,
                                   ChooserContext& context)
    : w_(widgets), list_(list), context_(context) {
    w_.list.setOnSelect([this] { selected(); });
    w_.list.setOnToggle([this](int index) { toggled(index); });
    w_.list.setOnDoubleClick([this] {
        if (const ComponentItem* item = current(); item && item->isGroup()) {
            details();
        }
    });
    w_.selectAll.setOnClick([this] { selectAll(); });
    w_.recommended.setOnClick([this] { recommended(); });
    w_.clear.setOnClick([this] { clear(); });
    w_.details.setOnClick([this] { details(); });
    w_.itemInfo.setOnClick([this] { itemInfo(); });
    w_.details.setEnabled(false);
    w_.itemInfo.setEnabled(false);
    refresh();
}

void ComponentChooser::refresh() {
    std::vector<ui::CheckLine> lines;
    for (const auto& item : list_) {
        ui::CheckLine line;
        line.caption = item->name;
        const int state = item->state();
        line.mark = state == 1 ? 1 : state == 2 ? 2 : 0;
        if (!item->available(context_.sys, context_.distributionPath)) {
            line.color = kMissingPackageColor;
        }
        lines.push_back(std::move(line));
    }
    const int index = w_.list.itemIndex();
    w_.list.setLines(lines);
    w_.list.setItemIndex(index < static_cast<int>(lines.size()) ? index : -1);
}

std::int64_t ComponentChooser::neededKb() const {
    return totalSizeKb(list_, context_.clusterSize());
}

ComponentItem* ComponentChooser::current() const {
    const int index = w_.list.itemIndex();
    return index >= 0 && index < static_cast<int>(list_.size())
               ? list_[static_cast<std::size_t>(index)].get()
               : nullptr;
}

void ComponentChooser::selected() {
    const ComponentItem* item = current();
    w_.itemInfo.setEnabled(item != nullptr);
    w_.details.setEnabled(item != nullptr && item->isGroup());
    if (item) {
        w_.description.setCaption(item->description +
                                  (item->isGroup() ? std::string(msg::kPressDetails) : ""));
    }
}

void ComponentChooser::toggled(int index) {
    if (index < 0 || index >= static_cast<int>(list_.size())) {
        return;
    }
    ComponentItem& item = *list_[static_cast<std::size_t>(index)];
    const int state = item.state();
    item.setState(state == 1 || state == 2 ? 0 : 1);
    changed();
}

void ComponentChooser::setAll(int state) {
    for (auto& item : list_) {
        item->setState(state);
    }
    changed();
}

void ComponentChooser::selectAll() {
    setAll(1);
}

void ComponentChooser::clear() {
    setAll(0);
}

void ComponentChooser::recommended() {
    for (auto& item : list_) {
        item->reset();
    }
    changed();
}

void ComponentChooser::changed() {
    refresh();
    if (onChange) {
        onChange();
    }
}

// The group is edited in place; Cancel puts the copy kept here back in its place.
void ComponentChooser::details() {
    const int index = w_.list.itemIndex();
    ComponentItem* item = current();
    if (!item || !item->isGroup() || !context_.openDetails) {
        return;
    }
    const std::uint32_t cluster = context_.clusterSize();
    const std::int64_t otherKb = totalSizeKb(list_, cluster) - item->sizeKb(cluster);
    std::unique_ptr<ComponentItem> copy = item->clone();
    if (!context_.openDetails(static_cast<ComponentGroup&>(*item), otherKb, context_)) {
        list_[static_cast<std::size_t>(index)] = std::move(copy);
    }
    changed();
    w_.list.setItemIndex(index);
}

void ComponentChooser::itemInfo() {
    const ComponentItem* item = current();
    if (!item) {
        return;
    }
    std::string text = item->description;
    if (!item->available(context_.sys, context_.distributionPath)) {
        text += "\n" + std::string(msg::kCannotFindPackage);
    }
    context_.prompter.message(text, item->name, Icon::None, Buttons::Ok);
}

}  // namespace installer
