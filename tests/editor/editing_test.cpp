#include "editor/input/editing.h"

#include <gtest/gtest.h>

#include "ui/keys.h"

namespace editor {
namespace {

namespace vk = ui::vk;

// Types `typed` into `text` at `caret` key by key, as the window would: the undo model sees
// each key down before the character goes in.
void typeInto(UndoModel& undo, std::string& text, std::size_t& caret, std::string_view typed) {
    for (char c : typed) {
        undo.keyDown(static_cast<unsigned char>(c) >= 'a' ? 'A' + (c - 'a') : c, Notation::Braille,
                     text, caret);
        text.insert(caret, 1, c);
        ++caret;
    }
}

TEST(UndoModel, ATypingRunUndoesToTheTextBeforeIt) {
    UndoModel undo;
    EXPECT_TRUE(undo.armed());
    EXPECT_EQ(undo.visibleItem(), std::nullopt);
    EXPECT_EQ(undo.undo(), std::nullopt);

    std::string text = "xy";
    std::size_t caret = 1;
    typeInto(undo, text, caret, "abc");
    EXPECT_EQ(text, "xabcy");
    EXPECT_EQ(undo.visibleItem(), UndoKind::Typing);
    const auto s = undo.undo();
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->text, "xy");
    EXPECT_EQ(s->caret, 1u);
    EXPECT_TRUE(undo.armed());
}

TEST(UndoModel, NavigationKeysEndARun) {
    UndoModel undo;
    std::string text;
    std::size_t caret = 0;
    typeInto(undo, text, caret, "ab");
    undo.keyDown(vk::kLeft, Notation::Braille, text, caret);
    EXPECT_EQ(undo.visibleItem(), std::nullopt);  // the arrow itself takes no snapshot
    typeInto(undo, text, caret, "cd");
    EXPECT_EQ(text, "abcd");
    EXPECT_EQ(undo.undo()->text, "ab");

    for (int key : {vk::kReturn, vk::kPrior, vk::kNext, vk::kEnd, vk::kHome, vk::kUp, vk::kRight,
                    vk::kDown}) {
        undo.keyDown('A', Notation::Latex, "t", 0);
        undo.keyDown(key, Notation::Latex, "tt", 0);
        EXPECT_TRUE(undo.armed()) << key;
    }
}

TEST(UndoModel, DeleteAndLatexBackspaceUndoAlone) {
    UndoModel undo;
    undo.keyDown('A', Notation::Braille, "1", 1);
    undo.keyDown(vk::kDelete, Notation::Braille, "12", 1);
    EXPECT_EQ(undo.undo()->text, "12");

    undo.keyDown('A', Notation::Braille, "1", 1);
    undo.keyDown(vk::kBack, Notation::Braille, "12", 2);  // part of the Braille run
    EXPECT_EQ(undo.undo()->text, "1");

    undo.keyDown('A', Notation::Latex, "1", 1);
    undo.keyDown(vk::kBack, Notation::Latex, "12", 2);
    EXPECT_EQ(undo.undo()->text, "12");

    // Modifier keys alone count as typing keys.
    undo.keyDown(vk::kShift, Notation::Latex, "m", 0);
    EXPECT_EQ(undo.visibleItem(), UndoKind::Typing);
}

TEST(UndoModel, CutAndPasteShowTheirOwnItem) {
    UndoModel undo;
    EXPECT_FALSE(undo.beforeCut("abc", 1, 0));
    EXPECT_TRUE(undo.armed());
    EXPECT_TRUE(undo.beforeCut("abc", 1, 2));
    EXPECT_EQ(undo.visibleItem(), UndoKind::Cut);
    undo.beforePaste("a", 1);
    EXPECT_EQ(undo.visibleItem(), UndoKind::Paste);
    // Typing after a paste keeps the paste snapshot: the run began with it.
    undo.keyDown('B', Notation::Braille, "ab", 2);
    EXPECT_EQ(undo.visibleItem(), UndoKind::Paste);
    const auto s = undo.undo();
    EXPECT_EQ(s->text, "a");
    EXPECT_EQ(s->kind, UndoKind::Paste);
    // A text that is exactly the byte 1 is a text like any other.
    undo.beforePaste("\x01", 0);
    EXPECT_EQ(undo.undo()->text, "\x01");
}

TEST(DuplicateLine, InnerLinesGetAnEmptyLineAndTheCopy) {
    auto r = duplicateLine("ab\r\ncd\r\nef", 5);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->text, "ab\r\ncd\r\n\r\ncd\r\nef");
    EXPECT_EQ(r->caret, 10u);  // start of the copy: cumulative length 8 + 2
    r = duplicateLine("ab\r\ncd", 0);
    EXPECT_EQ(r->text, "ab\r\n\r\nab\r\ncd");
    EXPECT_EQ(r->caret, 6u);
    r = duplicateLine("ab\r\ncd", 2);  // at the end of the first line
    EXPECT_EQ(r->text, "ab\r\n\r\nab\r\ncd");
}

TEST(DuplicateLine, TheLastLineGetsAOneSpaceLineAndTheCopy) {
    auto r = duplicateLine("ab\r\ncd", 6);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->text, "ab\r\ncd\r\n \r\ncd");
    EXPECT_EQ(r->caret, 11u);  // cumulative length 8 + 3
    r = duplicateLine("cd\r\n", 1);
    EXPECT_EQ(r->text, "cd\r\n \r\ncd");
    EXPECT_EQ(r->caret, 7u);
}

TEST(DuplicateLine, BlankLinesAreNotDuplicated) {
    EXPECT_EQ(duplicateLine("", 0), std::nullopt);
    EXPECT_EQ(duplicateLine("ab\r\n  \r\ncd", 5), std::nullopt);
    EXPECT_EQ(duplicateLine("ab\r\n", 4), std::nullopt);  // the empty line after the break
}

TEST(BracketSpaces, LatexAddAndRemove) {
    EXPECT_EQ(addBracketSpaces("a(b)", Notation::Latex), "a (b) ");
    EXPECT_EQ(removeBracketSpaces("a (b) ", Notation::Latex), "a(b)");
    EXPECT_EQ(addBracketSpaces("x\\{y\\}z[w]", Notation::Latex), "x \\{y\\} z [w] ");
    EXPECT_EQ(removeBracketSpaces("x \\{y\\} z [w] ", Notation::Latex), "x\\{y\\}z[w]");
    // No space at the start of the text or a line, nor twice.
    EXPECT_EQ(addBracketSpaces("(a)\r\n(b) c", Notation::Latex), "(a) \r\n(b) c");
    EXPECT_EQ(addBracketSpaces(")(", Notation::Latex), ") (");
    // Braces without a backslash are not brackets.
    EXPECT_EQ(addBracketSpaces("\\frac{a}{b}", Notation::Latex), "\\frac{a}{b}");
}

TEST(BracketSpaces, BrailleAddAndRemove) {
    EXPECT_EQ(addBracketSpaces("a?b*c{d}e&fyg", Notation::Braille), "a ?b* c {d} e &fy g");
    EXPECT_EQ(removeBracketSpaces("a ?b* c {d} e &fy g", Notation::Braille), "a?b*c{d}e&fyg");
    EXPECT_EQ(addBracketSpaces("?a*\r\nb", Notation::Braille), "?a* \r\nb");
    EXPECT_EQ(addBracketSpaces("x?a*", Notation::Braille), "x ?a* ");
    // The digit cells ? and * of a number (#?* is 59) are not brackets.
    EXPECT_EQ(addBracketSpaces("x#?*b", Notation::Braille), "x#?*b");
    EXPECT_EQ(removeBracketSpaces("#?* y", Notation::Braille), "#?* y");
}

TEST(BracketSpaces, AddingThenRemovingGivesBackTheText) {
    for (const char* text : {"a?b*c", "?a?b*c*\r\n&x{y}z", "#a+?b*c", "", "ab"}) {
        EXPECT_EQ(removeBracketSpaces(addBracketSpaces(text, Notation::Braille), Notation::Braille),
                  text);
    }
    for (const char* text : {"f(x)=[a+b]", "\\{1,2\\}\r\n(a)", "x^{2}"}) {
        EXPECT_EQ(removeBracketSpaces(addBracketSpaces(text, Notation::Latex), Notation::Latex),
                  text);
    }
}

}  // namespace
}  // namespace editor
