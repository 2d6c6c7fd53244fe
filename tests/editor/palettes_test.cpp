#include "editor/input/palettes.h"

#include <gtest/gtest.h>

namespace editor {
namespace {

std::string_view latexOf(std::string_view palette, std::string_view name) {
    const Palette* p = paletteByCaption(palette);
    if (p == nullptr) {
        return "<no palette>";
    }
    for (const PaletteEntry& e : p->entries) {
        if (e.name == name) {
            return e.latex;
        }
    }
    return "<no entry>";
}

TEST(Palettes, TablesInButtonOrderWithTheirSizes) {
    const auto all = palettes();
    ASSERT_EQ(all.size(), 6u);
    const std::pair<std::string_view, std::size_t> expected[] = {
        {"Funzioni", 31},    {"Operatori", 18},   {"Insiemistica", 19},
        {"Logica mat.", 15}, {"Lett.greche", 48}, {"Simboli", 12}};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].caption, expected[i].first);
        EXPECT_EQ(all[i].entries.size(), expected[i].second) << all[i].caption;
    }
    EXPECT_EQ(all[0].capacity, 25u);
    EXPECT_EQ(all[1].capacity, 20u);
    EXPECT_EQ(paletteByCaption("Simboli "), nullptr);
}

TEST(Palettes, TextsKeepTheirExactBytes) {
    EXPECT_EQ(latexOf("Funzioni", "Proporzione"), "  \\:  =   \\:");
    EXPECT_EQ(latexOf("Funzioni", "Limite"), "\\lim_{ \\to }()");
    EXPECT_EQ(latexOf("Funzioni", "Tende a"), "\\to ");
    EXPECT_EQ(latexOf("Operatori", "Pi\xF9 o meno"), "+-");
    EXPECT_EQ(latexOf("Insiemistica", "Tale che"), "\\mid");
    EXPECT_EQ(latexOf("Insiemistica", "Appartiene"), "\\in");
    EXPECT_EQ(latexOf("Insiemistica", "Cardinale"), "| | ");
    EXPECT_EQ(latexOf("Logica mat.", "E'implicato"), "\\isimpl ");
    EXPECT_EQ(latexOf("Simboli", "Indice esponente"), "\xA7");
    EXPECT_EQ(latexOf("Simboli", "Permille"), "\\%%");

    // Every text of "Insiemistica" but two ends with a space.
    for (const PaletteEntry& e : paletteByCaption("Insiemistica")->entries) {
        const bool bare = e.name == "Tale che" || e.name == "Appartiene";
        EXPECT_EQ(e.latex.ends_with(' '), !bare) << e.name;
    }
    // Greek: capitals Alpha..Omega, then the small letters, each a backslash and the name.
    const auto greek = paletteByCaption("Lett.greche")->entries;
    EXPECT_EQ(greek[0].name, "Alpha");
    EXPECT_EQ(greek[23].name, "Omega");
    EXPECT_EQ(greek[24].name, "alpha");
    EXPECT_EQ(greek[47].name, "omega");
    for (std::size_t i = 0; i < 24; ++i) {
        EXPECT_EQ(greek[i].latex, "\\" + std::string(greek[i].name));
        std::string small(greek[i].name);
        small[0] = static_cast<char>(small[0] - 'A' + 'a');
        EXPECT_EQ(greek[i + 24].name, small);
    }
}

TEST(Palettes, CaretGoesWhereTheStudentTypesOn) {
    auto caretAfter = [](std::string_view name, std::string_view palette = "Funzioni") {
        const PaletteInsertion r = insertPaletteText("", 0, latexOf(palette, name));
        return r.caret;
    };
    EXPECT_EQ(caretAfter("Radice quadrata"), 6u);  // \sqrt{|}
    EXPECT_EQ(caretAfter("Frazione"), 6u);         // \frac{|}{}
    EXPECT_EQ(caretAfter("Radice ennesima"), 6u);  // \sqrt[|]{}
    EXPECT_EQ(caretAfter("Tende a"), 4u);          // after the trailing space
    EXPECT_EQ(caretAfter("Valore assoluto"), 1u);  // |\| |
    EXPECT_EQ(caretAfter("Matrice"), 2u);          // %%|  %%
    EXPECT_EQ(caretAfter("Logaritmo in base"), 6u);
    EXPECT_EQ(caretAfter("Derivata"), 1u);
    EXPECT_EQ(caretAfter("Parentesi graffe", "Simboli"), 2u);  // \{|\}

    const PaletteInsertion sqrt = insertPaletteText("", 0, "\\sqrt{}");
    EXPECT_EQ(sqrt.text, "\\sqrt{}");
}

TEST(Palettes, InsertsAtTheCaretOfExistingText) {
    PaletteInsertion r = insertPaletteText("a+b", 1, "\\frac{}{}");
    EXPECT_EQ(r.text, "a\\frac{}{}+b");
    EXPECT_EQ(r.caret, 7u);
    // "Percento": the caret goes one past the inserted text when text follows it...
    r = insertPaletteText("50x", 2, "\\%");
    EXPECT_EQ(r.text, "50\\%x");
    EXPECT_EQ(r.caret, 5u);
    // ...and no further than the end, nor into a line break.
    r = insertPaletteText("50", 2, "\\%");
    EXPECT_EQ(r.caret, 4u);
    r = insertPaletteText("50\r\nx", 2, "\\%");
    EXPECT_EQ(r.text, "50\\%\r\nx");
    EXPECT_EQ(r.caret, 4u);
    // A caret past the end inserts at the end.
    r = insertPaletteText("ab", 9, "\\ln");
    EXPECT_EQ(r.text, "ab\\ln");
    EXPECT_EQ(r.caret, 5u);
}

}  // namespace
}  // namespace editor
