#include "installer/component_list.h"

#include "installer/cerror.h"
#include "installer/drives.h"
#include "installer/messages.h"
#include "installer/win_path.h"

namespace installer {

namespace {

// Longest line, without its line break, that the list may hold.
constexpr std::size_t kMaxLine = 511;
// Deeper nesting than any list needs is taken as a damaged file.
constexpr int kMaxDepth = 64;

[[noreturn]] void bad() {
    throw CError(CError::kCorrupted, std::string(msg::kComponentListName));
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (;;) {
        const auto end = line.find(';', start);
        out.push_back(trim(line.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) {
            return out;
        }
        start = end + 1;
    }
}

std::string_view field(const std::vector<std::string_view>& f, std::size_t i) {
    return i < f.size() ? f[i] : std::string_view{};
}

// Removes the selection prefix of `name` and gives the default selection.
bool takePrefix(std::string& name, unsigned language) {
    if (!name.empty() && name.front() == '-') {
        name.erase(0, 1);
        return false;
    }
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') {
        ++digits;
    }
    if (digits > 0) {
        std::uint64_t id = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            id = std::min<std::uint64_t>(id * 10 + static_cast<unsigned>(name[i] - '0'),
                                         std::uint64_t{1} << 40);
        }
        name.erase(0, digits);
        return id == language;
    }
    return true;
}

void parseSizes(std::string_view text, std::int32_t (&clusters)[7]) {
    for (int i = 0; i < 6; ++i) {
        const auto colon = text.find(':');
        if (colon == std::string_view::npos) {
            bad();
        }
        const std::string_view number = trim(text.substr(0, colon));
        if (number.empty()) {
            bad();
        }
        clusters[i] = parseDecimal(number);
        text.remove_prefix(colon + 1);
    }
    const std::string_view rest = trim(text);
    if (rest.empty()) {
        bad();
    }
    clusters[6] = parseDecimal(rest);
}

class Reader {
public:
    Reader(std::string_view text, unsigned language) : text_(text), language_(language) {}

    // Reads entries until POPDOWN (closes this level) or the end of the file.
    // Returns true when a top-level POPDOWN ended the whole list.
    bool readLevel(ComponentList& into, int depth) {
        std::string_view line;
        while (nextLine(line)) {
            if (trim(line).empty()) {
                continue;
            }
            const auto f = fields(line);
            if (field(f, 0).empty() || field(f, 1).empty()) {
                bad();
            }
            if (field(f, 1) == "POPDOWN") {
                return depth == 0;
            }
            std::string name(field(f, 0));
            const bool selected = takePrefix(name, language_);
            if (name.empty()) {
                bad();
            }
            if (field(f, 1) == "POPUP") {
                if (depth >= kMaxDepth) {
                    bad();
                }
                auto group = std::make_unique<ComponentGroup>();
                group->name = std::move(name);
                group->defaultSelected = selected;
                group->description = std::string(field(f, 2));
                const bool ended = readLevel(group->members, depth + 1);
                group->reset();
                into.push_back(std::move(group));
                if (ended) {
                    return true;
                }
                continue;
            }
            auto component = std::make_unique<Component>();
            component->name = std::move(name);
            component->defaultSelected = selected;
            component->selected = selected;
            component->label = std::string(field(f, 1));
            component->programFile = std::string(field(f, 2));
            if (component->programFile.empty() || field(f, 3).empty()) {
                bad();
            }
            parseSizes(field(f, 3), component->clusters);
            component->description = std::string(field(f, 4));
            into.push_back(std::move(component));
        }
        return false;
    }

private:
    bool nextLine(std::string_view& line) {
        if (at_ >= text_.size()) {
            return false;
        }
        auto end = text_.find('\n', at_);
        if (end == std::string_view::npos) {
            end = text_.size();
        }
        line = text_.substr(at_, end - at_);
        at_ = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        // A longer line would have been cut into pieces that are not lines of the list.
        if (line.size() > kMaxLine) {
            bad();
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    unsigned language_;
};

}  // namespace

std::int64_t Component::sizeKb(std::uint32_t clusterSize) const {
    if (!selected) {
        return 0;
    }
    const std::int64_t count = clusters[clusterColumn(clusterSize)];
    return (static_cast<std::int64_t>(clusterSize) * count) >> 10;
}

bool Component::available(system::System& sys, std::string_view folder) const {
    return sys.fileExists(std::string(folder) + programFile);
}

void Component::setState(int state) {
    if (state == 0 || state == 1) {
        selected = state == 1;
    }
}

std::unique_ptr<ComponentItem> Component::clone() const {
    return std::make_unique<Component>(*this);
}

std::int64_t ComponentGroup::sizeKb(std::uint32_t clusterSize) const {
    return totalSizeKb(members, clusterSize);
}

int ComponentGroup::state() const {
    int common = -1;
    for (const auto& member : members) {
        const int s = member->state();
        if (s == -1) {
            continue;  // an empty subgroup has nothing to select
        }
        if (common == -1) {
            common = s;
        } else if (common != s) {
            return 2;
        }
    }
    return common;
}

bool ComponentGroup::available(system::System& sys, std::string_view folder) const {
    bool all = true;
    for (const auto& member : members) {
        all = member->available(sys, folder) && all;
    }
    return all;
}

void ComponentGroup::setState(int state) {
    if (state == 2) {
        return;
    }
    for (auto& member : members) {
        member->setState(state);
    }
}

void ComponentGroup::reset() {
    for (auto& member : members) {
        member->reset();
    }
    // A group that is not selected by default starts with none of its members.
    if (!defaultSelected) {
        setState(0);
    }
}

void ComponentGroup::install(InstallJob& job) {
    for (auto& member : members) {
        member->install(job);
    }
}

std::unique_ptr<ComponentItem> ComponentGroup::clone() const {
    auto copy = std::make_unique<ComponentGroup>();
    copy->name = name;
    copy->description = description;
    copy->defaultSelected = defaultSelected;
    for (const auto& member : members) {
        copy->members.push_back(member->clone());
    }
    return copy;
}

ComponentList parseComponentList(std::string_view text, unsigned language) {
    ComponentList list;
    Reader(text, language).readLevel(list, 0);
    return list;
}

ComponentList readComponentList(system::System& sys, std::string_view sourceFolder,
                                unsigned language) {
    const std::string path = std::string(sourceFolder) + std::string(msg::kComponentListName);
    const std::string name(msg::kComponentListName);
    if (!sys.fileExists(path)) {
        throw CError(CError::kNotFound, name);
    }
    const auto text = system::readWholeFile(sys, path);
    if (!text) {
        throw CError(CError::kCannotOpen, name);
    }
    return parseComponentList(*text, language);
}

std::int64_t totalSizeKb(const ComponentList& list, std::uint32_t clusterSize) {
    std::int64_t total = 0;
    for (const auto& item : list) {
        total += item->sizeKb(clusterSize);
    }
    return total;
}

static void collect(const ComponentList& list, std::vector<Component*>& out) {
    for (const auto& item : list) {
        if (item->isGroup()) {
            collect(static_cast<ComponentGroup&>(*item).members, out);
        } else {
            out.push_back(static_cast<Component*>(item.get()));
        }
    }
}

std::vector<Component*> allComponents(const ComponentList& list) {
    std::vector<Component*> out;
    collect(list, out);
    return out;
}

}  // namespace installer
