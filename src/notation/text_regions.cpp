#include "notation/text_regions.h"

namespace notation {

TakenRegions takeOutRegions(std::string_view text) {
    TakenRegions taken;
    taken.text.reserve(text.size());
    std::size_t pos = 0;
    std::size_t counted = 0;
    while (true) {
        const std::size_t open = text.find("\\\\", pos);
        if (open == std::string_view::npos) {
            break;
        }
        const std::size_t close = text.find("\\\\", open + 2);
        if (close == std::string_view::npos) {
            taken.unclosed = true;
            break;
        }
        taken.text.append(text.substr(pos, open - pos));
        taken.text.append(kRegionPlaceholder);
        const std::string_view region = text.substr(open, close + 2 - open);
        taken.regions.emplace_back(region);
        if (taken.regions.size() > kMaxKeptRegions) {
            counted += region.size() - kRegionPlaceholder.size();
        }
        pos = close + 2;
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
