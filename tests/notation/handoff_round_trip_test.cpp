// Every formula of the notation fixtures through the hand-off and back: the outgoing
// preparation, the exchange file, an editor, the reading back and the return translation with
// the default filter file. What comes back must be the formula the student sent.

#include <gtest/gtest.h>

#include "fixture_file.h"
#include "notation/conversion.h"
#include "notation/handoff_outgoing.h"
#include "notation/handoff_return.h"
#include "notation/return_translation.h"
#include "notation/text_scan.h"

namespace {

using notation_test::readFixture;

notation::FilterTable defaultFilter() {
    notation::FilterTable table;
    EXPECT_EQ(
        notation::loadFilterTable(std::string(TATTILO_SOURCE_DIR) + "/data", "filtro.base", table),
        notation::FilterLoad::Loaded);
    return table;
}

// What a TeX formula editor writes when it saves the formula again: its own spacing around
// "\of", and a one-character root without braces.
std::string texEditorSaves(const std::string& file) {
    std::string s = notation::replaceAll(file, "\\of{", " \\of {");
    for (std::size_t at = s.find("\\sqrt{"); at != std::string::npos;
         at = s.find("\\sqrt{", at + 1)) {
        if (at + 8 < s.size() && s[at + 7] != '}' && s[at + 8] == '}') {
            s.replace(at + 5, 4, std::string(" ") + s[at + 7]);
        }
    }
    return s;
}

// The formula after a hand-off through `editor`, without the line break that ends it.
std::string roundTrip(const std::string& formula, const notation::FilterTable& filter,
                      std::string (*editor)(const std::string&)) {
    const notation::OutgoingFormula out = notation::prepareOutgoing(formula, 1, false, {});
    EXPECT_EQ(out.outcome, notation::OutgoingFormula::Outcome::Send) << formula;
    const std::string saved = editor(notation::exchangeFileContent(out.exchangeLine));
    notation::FormulaErrorReport report;
    std::string back = notation::returnedText(
        notation::readBackExchange(saved).text,
        [&](std::string_view t) { return notation::returnTranslation(t, filter, report); });
    EXPECT_FALSE(report.raised()) << formula;
    if (back.ends_with("\r\n")) {
        back.resize(back.size() - 2);
    }
    return back;
}

// The formula spelled as the return translation always gives it back: "§" as "^", every
// ":" as "\:", "\log " as "\log", an overline of digits as a periodic decimal.
std::string asTheTableSays(const std::string& formula) {
    std::string s;
    for (std::size_t i = 0; i < formula.size(); ++i) {
        if (formula[i] == '\xA7') {
            s += '^';
        } else if (formula[i] == ':' && (i == 0 || formula[i - 1] != '\\')) {
            s += "\\:";
        } else {
            s += formula[i];
        }
    }
    s = notation::replaceAll(s, "\\log ", "\\log");
    for (std::size_t at = s.find("\\overline{"); at != std::string::npos;
         at = s.find("\\overline{", at + 1)) {
        const std::size_t close = s.find('}', at);
        const std::string digits = s.substr(at + 10, close - at - 10);
        if (close != std::string::npos &&
            digits.find_first_not_of("0123456789") == std::string::npos) {
            s.replace(at, close + 1 - at, "'" + digits);
        }
    }
    return s;
}

std::string unchanged(const std::string& file) {
    return file;
}

// The Latex-mode formulas of the fixtures that convert to Braille.
std::vector<std::string> fixtureFormulas() {
    std::vector<std::string> formulas;
    for (const auto& c : readFixture("round_trip.txt")) {
        formulas.push_back(c.input);
    }
    for (const auto& c : readFixture("latex_to_braille.txt")) {
        if (!c.refused) {
            formulas.push_back(c.input);
        }
    }
    for (const auto& c : readFixture("braille_to_latex.txt")) {
        if (!c.refused) {
            formulas.push_back(c.expected);
        }
    }
    return formulas;
}

TEST(HandoffRoundTrip, EveryFixtureFormulaComesBackThroughBothEditors) {
    const notation::FilterTable filter = defaultFilter();
    int checked = 0;
    for (const std::string& formula : fixtureFormulas()) {
        // A bare "\over" (the overline keyword) is a TeX fraction for any editor.
        const std::size_t over = formula.find("\\over");
        if (over != std::string::npos && notation::charAt(formula, over + 5) != 'l') {
            continue;
        }
        const auto braille = notation::convertLatexToBraille(asTheTableSays(formula), 1);
        if (!braille.ok() || braille.text.empty()) {
            continue;
        }
        for (auto editor : {&unchanged, &texEditorSaves}) {
            const std::string back = roundTrip(formula, filter, editor);
            // The same Braille is the same formula for the student, whatever the spelling.
            EXPECT_EQ(notation::convertLatexToBraille(back, 1).text, braille.text)
                << formula << " came back as " << back;
            ++checked;
        }
    }
    EXPECT_GT(checked, 150);
}

// Spelled exactly as it went out: the forms of the notation table.
TEST(HandoffRoundTrip, NotationConventionsComeBackSpelledAsTheyWent) {
    const notation::FilterTable filter = defaultFilter();
    const std::vector<std::string> same = {
        "x+1",
        "\\frac{a}{b}+\\frac{1}{2}",
        "\\frac{1}{\\frac{a}{b}}",
        "x^{\\frac{1}{2}}",
        "\\sqrt{x}+\\sqrt[3]{x}",
        "a=%x%+%%v%%",
        "0,'3",
        "\\\\perch\xE8 citt\xE0\\\\",
        "\\\\dell'esempio\\\\",
        "a\\=b",
        "a\\xor b",
        "\\discr",
        "a\\impl b",
        "a\\isimpl b",
        "\\iint_{a}^{b}(x)",
        "\\iiint_{a}^{b}(x)",
        "a\\:b",
        "riga uno\r\nriga due",
        "x^{2^{3}}",
        "%|x|%\r\ny",
    };
    for (const std::string& formula : same) {
        EXPECT_EQ(roundTrip(formula, filter, &unchanged), formula);
        EXPECT_EQ(roundTrip(formula, filter, &texEditorSaves), formula);
    }
    // Spelled otherwise, with the same meaning.
    EXPECT_EQ(roundTrip("x\xA7"
                        "2",
                        filter, &unchanged),
              "x^2");
    EXPECT_EQ(roundTrip("\\\\\xE9\\\\", filter, &unchanged), "\\\\\xE8\\\\");
}

}  // namespace
