// Where the learning windows' controls stand on Windows, from their tables' cells: what a
// hidden control leaves, who takes the room left, labels lined up, boxes that do not fit.

#include "win32gui/learning/learning_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using learning::ControlKind;
using learning::ControlSpec;
using win32gui::arrangeCells;
using win32gui::CellSize;
using win32gui::kLayoutGap;
using win32gui::kLayoutMargin;

constexpr ControlSpec item(ControlKind kind, std::string_view name, learning::Cell cell,
                           int maximumColumns = 0, std::string_view labelFor = {}) {
    ControlSpec c{.kind = kind, .name = name, .accessibleName = {}, .cell = cell};
    c.maximumColumns = maximumColumns;
    c.labelFor = labelFor;
    return c;
}

learning::WindowLayout layoutOf(std::span<const ControlSpec> controls) {
    return {.name = "T", .width = 600, .height = 400, .controls = controls};
}

int right(const ui::Rect& r) {
    return r.left + r.width;
}
int bottom(const ui::Rect& r) {
    return r.top + r.height;
}

TEST(LearningLayout, HiddenBoxesLeaveNoGapAndCappedMemosKeepTheirWidth) {
    constexpr std::array controls = {
        item(ControlKind::Memo, "A", {0, 0}, 4), item(ControlKind::Memo, "B", {0, 1}, 4),
        item(ControlKind::Memo, "C", {0, 2}, 4), item(ControlKind::Button, "D", {1, 0}),
        item(ControlKind::Button, "E", {1, 1}),
    };
    const auto layout = layoutOf(controls);
    const std::array<CellSize, 5> sizes = {
        {{true, 100, 200}, {false, 100, 200}, {true, 100, 200}, {true, 90, 26}, {true, 90, 26}}};
    const auto b = arrangeCells(layout, sizes, 600, 400);
    EXPECT_EQ(b[0].left, kLayoutMargin);
    EXPECT_EQ(b[0].width, 100) << "a memo with a width limit does not grow";
    EXPECT_EQ(b[1], ui::Rect{}) << "a hidden control has no place";
    EXPECT_EQ(b[2].left, right(b[0]) + kLayoutGap) << "the hidden memo left no gap";
    // The memos grow down to the room left; the buttons share the width of their row.
    EXPECT_EQ(b[0].top, kLayoutMargin);
    EXPECT_EQ(bottom(b[3]), 400 - kLayoutMargin);
    EXPECT_EQ(b[0].height, b[3].top - kLayoutGap - kLayoutMargin);
    EXPECT_EQ(b[3].width + b[4].width, 600 - 2 * kLayoutMargin - kLayoutGap);
    EXPECT_EQ(right(b[4]), 600 - kLayoutMargin);
}

TEST(LearningLayout, LinesTakeTheRoomAndLabelsOfOneColumnLineUp) {
    constexpr std::array controls = {
        item(ControlKind::Label, "L1", {0, 0}, 0, "E1"), item(ControlKind::Line, "E1", {0, 1}),
        item(ControlKind::Label, "L2", {1, 0}, 0, "E2"), item(ControlKind::Line, "E2", {1, 1}),
        item(ControlKind::Button, "B", {1, 2}),
    };
    const auto layout = layoutOf(controls);
    const std::array<CellSize, 5> sizes = {
        {{true, 50, 20}, {true, 60, 30}, {true, 120, 20}, {true, 60, 30}, {true, 90, 26}}};
    const auto b = arrangeCells(layout, sizes, 600, 400);
    EXPECT_EQ(b[0].width, 120) << "as wide as the widest label of its column";
    EXPECT_EQ(b[1].left, b[3].left) << "the boxes line up";
    EXPECT_EQ(right(b[1]), 600 - kLayoutMargin) << "the line takes the room left";
    EXPECT_EQ(b[4].width, 90) << "a button beside a line keeps its width";
    EXPECT_EQ(right(b[4]), 600 - kLayoutMargin);
    // Nothing grows down: each row keeps its height, the label centred on its line.
    EXPECT_EQ(b[1].height, 30);
    EXPECT_EQ(b[0].top, b[1].top + 5);
    EXPECT_EQ(b[3].top, bottom(b[1]) + kLayoutGap);
}

TEST(LearningLayout, StackedLinesLieOneUnderTheOtherAndTooWideRowsShrink) {
    constexpr std::array controls = {
        item(ControlKind::Memo, "M", {0, 0}, 9),  item(ControlKind::Line, "S2", {0, 1, 1}),
        item(ControlKind::Line, "S1", {0, 1, 0}), item(ControlKind::Memo, "W", {1, 0}, 9),
        item(ControlKind::Memo, "X", {1, 1}, 9),
    };
    const auto layout = layoutOf(controls);
    const std::array<CellSize, 5> sizes = {
        {{true, 100, 50}, {true, 40, 30}, {true, 40, 30}, {true, 400, 50}, {true, 400, 50}}};
    const auto b = arrangeCells(layout, sizes, 600, 400);
    EXPECT_EQ(b[2].top, kLayoutMargin) << "stack position 0 first";
    EXPECT_EQ(b[1].top, bottom(b[2]) + kLayoutGap);
    EXPECT_EQ(b[1].left, b[2].left);
    EXPECT_EQ(right(b[1]), 600 - kLayoutMargin);
    // Two memos of 400 in 600: each gives up the same share, and both still show.
    EXPECT_EQ(b[3].width, b[4].width);
    EXPECT_LE(right(b[4]), 600 - kLayoutMargin);
    EXPECT_GT(b[3].width, 250);
}

TEST(LearningLayout, EveryLearningWindowFitsItsFirstSize) {
    for (const learning::WindowLayout* layout :
         {&learning::calcSheetLayout(), &learning::structureViewLayout(),
          &learning::decompositionLayout(),
          &learning::tutorLayout(learning::TutorKind::Brackets)}) {
        std::vector<CellSize> sizes;
        for (const ControlSpec& item : layout->controls) {
            sizes.push_back({true, item.kind == ControlKind::Button ? 90 : 60, 30});
        }
        const auto b = arrangeCells(*layout, sizes, layout->width, layout->height);
        for (std::size_t i = 0; i < b.size(); ++i) {
            const ui::Rect& r = b[i];
            EXPECT_GE(r.left, kLayoutMargin) << layout->name << " " << i;
            EXPECT_LE(right(r), layout->width - kLayoutMargin) << layout->name << " " << i;
            EXPECT_GE(r.top, kLayoutMargin) << layout->name << " " << i;
            EXPECT_LE(bottom(r), layout->height - kLayoutMargin) << layout->name << " " << i;
            EXPECT_GT(r.width, 0) << layout->name << " " << i;
            // No two controls overlap.
            for (std::size_t j = i + 1; j < b.size(); ++j) {
                const ui::Rect& o = b[j];
                const bool apart = right(r) <= o.left || right(o) <= r.left || bottom(r) <= o.top ||
                                   bottom(o) <= r.top;
                EXPECT_TRUE(apart) << layout->name << " " << i << " and " << j;
            }
        }
    }
}

}  // namespace
