#include "win32gui/learning/learning_layout.h"

#include <algorithm>
#include <map>

namespace win32gui {
namespace {

using learning::ControlKind;

struct Cell {
    std::vector<std::size_t> members;  // top to bottom
    int width = 0;
    int height = 0;
    bool grows = false;   // takes the width the row has left
    bool capped = false;  // holds a memo with a width limit
};

struct Row {
    std::map<int, Cell> cells;  // by column
    int height = 0;
    bool grows = false;
};

bool namesABox(const learning::ControlSpec& item) {
    return (item.kind == ControlKind::Caption || item.kind == ControlKind::Label) &&
           !item.labelFor.empty();
}

// `total` shared out as `parts` nearly equal shares, the remainder to the last.
int share(int total, int parts, int index) {
    const int each = total / parts;
    return index == parts - 1 ? total - each * (parts - 1) : each;
}

}  // namespace

bool growsAcross(const learning::ControlSpec& item) {
    switch (item.kind) {
        case ControlKind::Line:
        case ControlKind::Picture:
            return true;
        case ControlKind::Memo:
            return item.maximumColumns == 0;
        default:
            return false;
    }
}

bool growsDown(const learning::ControlSpec& item) {
    switch (item.kind) {
        case ControlKind::Picture:
            return true;
        case ControlKind::Memo:
            return item.maximumLines == 0;
        default:
            return false;
    }
}

namespace {

// The shown controls of `layout` in their rows and cells, each cell as wide and high as its
// controls ask for, each row as high as its highest cell.
std::map<int, Row> naturalRows(const learning::WindowLayout& layout,
                               std::span<const CellSize> sizes) {
    const std::span<const learning::ControlSpec> controls = layout.controls;
    auto shown = [&](std::size_t i) { return i < sizes.size() && sizes[i].visible; };

    // Labels that name a box: as wide as the widest of their column.
    std::map<int, int> labelWidth;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (shown(i) && namesABox(controls[i])) {
            int& w = labelWidth[controls[i].cell.column];
            w = std::max(w, sizes[i].width);
        }
    }

    std::map<int, Row> rows;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (shown(i)) {
            rows[controls[i].cell.row].cells[controls[i].cell.column].members.push_back(i);
        }
    }
    for (auto& [index, row] : rows) {
        for (auto& [column, cell] : row.cells) {
            std::stable_sort(cell.members.begin(), cell.members.end(),
                             [&](std::size_t a, std::size_t b) {
                                 return controls[a].cell.stack < controls[b].cell.stack;
                             });
            for (std::size_t m : cell.members) {
                const learning::ControlSpec& item = controls[m];
                const int width = namesABox(item) ? labelWidth[column] : sizes[m].width;
                cell.width = std::max(cell.width, width);
                cell.height += sizes[m].height;
                cell.grows = cell.grows || growsAcross(item);
                cell.capped = cell.capped || (item.kind == ControlKind::Memo && !growsAcross(item));
                row.grows = row.grows || growsDown(item);
            }
            cell.height += kLayoutGap * static_cast<int>(cell.members.size() - 1);
            row.height = std::max(row.height, cell.height);
        }
    }
    return rows;
}

}  // namespace

CellSize naturalExtent(const learning::WindowLayout& layout, std::span<const CellSize> sizes) {
    const std::map<int, Row> rows = naturalRows(layout, sizes);
    CellSize extent{true, 0, 0};
    if (rows.empty()) {
        return extent;
    }
    for (const auto& [index, row] : rows) {
        int width = kLayoutGap * static_cast<int>(row.cells.size() - 1);
        for (const auto& [column, cell] : row.cells) {
            width += cell.width;
        }
        extent.width = std::max(extent.width, width);
        extent.height += row.height;
    }
    extent.width += 2 * kLayoutMargin;
    extent.height += 2 * kLayoutMargin + kLayoutGap * static_cast<int>(rows.size() - 1);
    return extent;
}

std::vector<ui::Rect> arrangeCells(const learning::WindowLayout& layout,
                                   std::span<const CellSize> sizes, int clientWidth,
                                   int clientHeight) {
    const std::span<const learning::ControlSpec> controls = layout.controls;
    std::vector<ui::Rect> bounds(controls.size());
    std::map<int, Row> rows = naturalRows(layout, sizes);
    int naturalHeight = 0;
    int growingRows = 0;
    for (const auto& [index, row] : rows) {
        naturalHeight += row.height;
        growingRows += row.grows ? 1 : 0;
    }
    if (rows.empty()) {
        return bounds;
    }

    // The height left over goes to the rows that grow.
    const int spareHeight = clientHeight - 2 * kLayoutMargin -
                            kLayoutGap * static_cast<int>(rows.size() - 1) - naturalHeight;
    if (spareHeight > 0 && growingRows > 0) {
        int n = 0;
        for (auto& [index, row] : rows) {
            if (row.grows) {
                row.height += share(spareHeight, growingRows, n++);
            }
        }
    }

    int top = kLayoutMargin;
    for (auto& [index, row] : rows) {
        const int cells = static_cast<int>(row.cells.size());
        const int room = clientWidth - 2 * kLayoutMargin - kLayoutGap * (cells - 1);
        int natural = 0;
        int growing = 0;
        for (const auto& [column, cell] : row.cells) {
            natural += cell.width;
            growing += cell.grows ? 1 : 0;
        }
        // Without a box that takes the room, the buttons and labels share it.
        const bool othersGrow = growing == 0;
        if (othersGrow) {
            for (const auto& [column, cell] : row.cells) {
                growing += cell.capped ? 0 : 1;
            }
        }
        const int spare = room - natural;
        int n = 0;
        for (auto& [column, cell] : row.cells) {
            const bool takesRoom = othersGrow ? !cell.capped : cell.grows;
            if (spare >= 0 && takesRoom && growing > 0) {
                cell.width += share(spare, growing, n++);
            } else if (spare < 0 && natural > 0) {
                cell.width = std::max(1, static_cast<int>(static_cast<long long>(cell.width) *
                                                          std::max(room, 0) / natural));
            }
        }

        int left = kLayoutMargin;
        for (const auto& [column, cell] : row.cells) {
            if (cell.members.size() == 1) {
                const std::size_t m = cell.members.front();
                const bool fills = row.grows && growsDown(controls[m]);
                const int height = fills ? row.height : sizes[m].height;
                const int y = row.grows ? top : top + (row.height - height) / 2;
                bounds[m] = {left, y, cell.width, height};
            } else {
                int y = top;
                for (std::size_t m : cell.members) {
                    bounds[m] = {left, y, cell.width, sizes[m].height};
                    y += sizes[m].height + kLayoutGap;
                }
            }
            left += cell.width + kLayoutGap;
        }
        top += row.height + kLayoutGap;
    }
    return bounds;
}

}  // namespace win32gui
