#include "editor/input/deletions.h"

#include "editor/braille_numbers.h"
#include "ui/crlf_offsets.h"

#include <array>
#include <optional>

namespace editor {
namespace {

constexpr std::string_view kNotInside = "Il cursore non \xE8 posizionato all'interno di ";

struct StructureCells {
    char opening;
    char closing;
    std::string_view stops;  // closing cells met before the opening cell: the caret is not inside
    std::string_view name;   // completes kNotInside
    std::string_view missingClose;
};

constexpr std::array<StructureCells, 5> kStructures = {{
    {'?', '*', "*y}", "parentesi tonde", "Manca parentesi tonda chiusa"},
    {'{', '}', "y}", "parentesi quadre", "Manca parentesi quadra chiusa"},
    {'&', 'y', "y", "parentesi graffe", "Manca parentesi graffa chiusa"},
    {'6', '4', "4", "frazioni complesse", "Manca chiusura frazione"},
    {'9', 'o', "o", "una radice", "Manca chiusura radice"},
}};

struct PartialCells {
    bool back;  // towards an opening cell
    char target;
    std::string_view stops;  // only scanning back
    std::string_view name;   // completes kNotInside
};

constexpr std::array<PartialCells, 10> kPartials = {{
    {true, '?', "*y}", "parentesi tonde"},
    {false, '*', "", "parentesi tonde"},
    {true, '{', "y}", "parentesi quadre"},
    {false, '}', "", "parentesi quadre"},
    {true, '&', "y", "parentesi graffe"},
    {false, 'y', "", "parentesi graffe"},
    {true, '6', "4", "del numeratore di frazione complessa"},
    {false, 'n', "", "del numeratore di frazione comlessa"},
    {true, 'p', "4", "del denominatore di frazione complessa"},
    {false, '4', "", "del denominatore di frazione complessa"},
}};

const StructureCells& cellsOf(Structure s) {
    return kStructures.at(static_cast<std::size_t>(s));
}

const PartialCells& cellsOf(PartialDeletion d) {
    return kPartials.at(static_cast<std::size_t>(d));
}

constexpr char kMasked = '\x01';  // stands for a digit cell: matches no delimiter

// The text with the digit cells of every number replaced, so that they match no delimiter.
std::string maskNumbers(std::string_view text) {
    std::string work(text);
    const std::vector<bool> digits = numberDigits(text);
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (digits[i]) {
            work[i] = kMasked;
        }
    }
    return work;
}

bool endsLine(char c) {
    return c == '\n' || c == '\r';
}

// Scans left from the cell left of `caret` for `wanted`; stops at a line end, a stop cell or
// the start of the text.
std::optional<std::size_t> scanBack(std::string_view work, std::size_t caret, char wanted,
                                    std::string_view stops) {
    for (std::size_t i = caret; i-- > 0;) {
        const char c = work[i];
        if (c == wanted) {
            return i;
        }
        if (endsLine(c) || stops.find(c) != std::string_view::npos) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Scans right from `from` for `wanted`; stops at a line end or the end of the text.
std::optional<std::size_t> scanOn(std::string_view work, std::size_t from, char wanted) {
    for (std::size_t i = from; i < work.size(); ++i) {
        if (work[i] == wanted) {
            return i;
        }
        if (endsLine(work[i])) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

DeletionResult failure(std::string_view a, std::string_view b = {}) {
    DeletionResult r;
    r.message = std::string(a) + std::string(b);
    return r;
}

DeletionResult changedTo(std::string text, std::size_t caret) {
    DeletionResult r;
    r.changed = true;
    r.text = std::move(text);
    r.caret = caret;
    return r;
}

}  // namespace

DeletionResult Deletions::deleteStructure(std::string_view text, std::size_t caret,
                                          Structure structure) {
    if (text.empty()) {
        return {};
    }
    const StructureCells& cells = cellsOf(structure);
    caret = ui::snapOffset(text, caret);
    const std::string work = maskNumbers(text);

    const std::optional<std::size_t> open = scanBack(work, caret, cells.opening, cells.stops);
    if (!open) {
        return failure(kNotInside, cells.name);
    }
    const std::optional<std::size_t> close = scanOn(work, *open + 1, cells.closing);
    if (!close) {
        return failure(cells.missingClose);
    }
    if (*close == *open + 1) {
        return {};  // empty: nothing to delete
    }
    return cut(text, *open, *close + 1, fullCopy_);
}

DeletionResult Deletions::deletePartial(std::string_view text, std::size_t caret,
                                        PartialDeletion what) {
    if (text.empty()) {
        return {};
    }
    const PartialCells& cells = cellsOf(what);
    caret = ui::snapOffset(text, caret);
    const std::string work = maskNumbers(text);

    if (cells.back) {
        const std::optional<std::size_t> target = scanBack(work, caret, cells.target, cells.stops);
        if (!target) {
            return failure(kNotInside, cells.name);
        }
        const std::size_t from = *target + 1;
        if (from == caret) {
            return {};  // the target is next to the caret
        }
        return cut(text, from, caret, partialCopy_);
    }

    // Forwards the scan begins with the cell left of the caret, so a target there counts.
    const std::optional<std::size_t> target = scanOn(work, caret > 0 ? caret - 1 : 0, cells.target);
    if (!target) {
        return failure(kNotInside, cells.name);
    }
    if (*target <= caret) {
        return {};  // the target is next to the caret
    }
    return cut(text, caret, *target, partialCopy_);
}

DeletionResult Deletions::cut(std::string_view text, std::size_t from, std::size_t to, Copy& copy) {
    copy = {std::string(text), from};
    std::string result(text.substr(0, from));
    result += text.substr(to);
    return changedTo(std::move(result), from);
}

DeletionResult Deletions::restore(Copy& copy) {
    if (copy.empty()) {
        return {};
    }
    DeletionResult r = changedTo(std::move(copy.text), copy.caret);
    copy = {};
    return r;
}

DeletionResult Deletions::restoreStructure() {
    return restore(fullCopy_);
}

DeletionResult Deletions::restorePartial() {
    return restore(partialCopy_);
}

}  // namespace editor
