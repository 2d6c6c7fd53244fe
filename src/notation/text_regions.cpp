#include "notation/text_regions.h"

#include <algorithm>

namespace notation {

std::size_t levelLabelAt(std::string_view text, std::size_t pos) {
    if (text.size() < 4 || pos > text.size() - 4 || text[pos] != '\xA0' ||
        text[pos + 3] != '\xA0') {
        return 0;
    }
    const char kind = text[pos + 1];
    const char number = text[pos + 2];
    return (kind == 'T' || kind == 'Q' || kind == 'G') && number >= '1' && number <= 'E' ? 4 : 0;
}

TakenRegions takeOutRegions(std::string_view text) {
    TakenRegions taken;
    taken.text.reserve(text.size());
    std::size_t pos = 0;
    std::size_t counted = 0;
    std::size_t keptRegions = 0;
    std::size_t scan = 0;
    std::size_t nextLabel = text.find('\xA0');  // most texts have none
    while (true) {
        if (nextLabel != std::string_view::npos && nextLabel < scan) {
            nextLabel = text.find('\xA0', scan);
        }
        const std::size_t open = std::min(text.find('\\', scan), nextLabel);
        if (open == std::string_view::npos) {
            break;
        }
        std::string_view region;
        if (text[open] == '\xA0') {
            region = text.substr(open, levelLabelAt(text, open));
            if (region.empty()) {
                scan = open + 1;
                continue;
            }
        } else {
            if (open + 1 >= text.size() || text[open + 1] != '\\') {
                scan = open + 1;
                continue;
            }
            const std::size_t close = text.find("\\\\", open + 2);
            if (close == std::string_view::npos) {
                taken.unclosed = true;
                break;
            }
            region = text.substr(open, close + 2 - open);
            if (++keptRegions > kMaxKeptRegions) {
                counted += region.size() - kRegionPlaceholder.size();
            }
        }
        taken.text.append(text.substr(pos, open - pos));
        taken.text.append(kRegionPlaceholder);
        taken.regions.emplace_back(region);
        pos = open + region.size();
        scan = pos;
    }
    taken.text.append(text.substr(pos));
    taken.countedLength = taken.text.size() + counted;
    return taken;
}

std::string putBackRegions(std::string_view text, const std::vector<std::string>& regions) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    std::size_t next = 0;
    while (next < regions.size()) {
        const std::size_t hit = text.find(kRegionPlaceholder, pos);
        if (hit == std::string_view::npos) {
            break;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(regions[next++]);
        pos = hit + kRegionPlaceholder.size();
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace notation
