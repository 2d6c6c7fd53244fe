// Both conversions give today's outputs, byte for byte, refusals and their messages included:
// over every text of the fixture files and over a seeded corpus of generated formulas, whole
// pages of them and damaged copies of both notations (see golden_corpus.h).

#include <gtest/gtest.h>

#include <array>

#include "fixture_file.h"
#include "golden_corpus.h"
#include "notation/conversion.h"

namespace {

const std::string kGoldenFile = std::string(TATTILO_TEST_DATA) + "/notation/conversion_golden.txt";

class Recorder {
public:
    explicit Recorder(golden::Dump& dump) : dump_(dump) {}

    // Converts and records; returns the conversion.
    notation::Conversion latexToBraille(golden::Block& block, const std::string& stream,
                                        const std::string& text) {
        return record(block, stream, text, notation::convertLatexToBraille(text, 1));
    }
    notation::Conversion brailleToLatex(golden::Block& block, const std::string& stream,
                                        const std::string& text) {
        return record(block, stream, text, notation::convertBrailleToLatex(text, 1));
    }

private:
    notation::Conversion record(golden::Block& block, const std::string& stream,
                                const std::string& text, notation::Conversion c) {
        golden::Stream& s = block[stream];
        s.hash.add(text);
        s.hash.add(c.text);
        s.hash.add(c.error);
        s.refused += c.ok() ? 0 : 1;
        dump_.write(stream, text, c.ok() ? c.text : "refused: " + c.error);
        return c;
    }

    golden::Dump& dump_;
};

// Every text of the notation fixtures, either column, read both ways.
golden::Block fixtureBlock(Recorder& recorder) {
    golden::Block block;
    static constexpr std::array kFiles = {"round_trip.txt", "latex_to_braille.txt",
                                          "braille_to_latex.txt", "return_translation.txt",
                                          "editor_tex.txt"};
    for (const char* file : kFiles) {
        for (const notation_test::FixtureCase& c : notation_test::readFixture(file)) {
            for (const std::string& text : {c.input, c.expected}) {
                recorder.latexToBraille(block, "l2b", text);
                recorder.brailleToLatex(block, "b2l", text);
            }
        }
    }
    return block;
}

// One block of generated formulas: each formula, the cells it gives read back, a page of five
// formulas both ways, and damaged copies of the formula and of its cells.
golden::Block generatedBlock(Recorder& recorder, notation_test::FormulaGenerator& generator,
                             std::mt19937& damage) {
    golden::Block block;
    std::string page;
    for (int i = 0; i < golden::kBlockSize; ++i) {
        const std::string latex = generator.formula();
        const notation::Conversion braille = recorder.latexToBraille(block, "l2b", latex);
        if (braille.ok()) {
            recorder.brailleToLatex(block, "b2l", braille.text);
        }
        recorder.latexToBraille(block, "l2b-damaged",
                                golden::damaged(latex, damage, golden::kLatexAlphabet));
        recorder.brailleToLatex(
            block, "b2l-damaged",
            golden::damaged(braille.ok() ? braille.text : latex, damage, golden::kBrailleAlphabet));
        page += (page.empty() ? "" : "\r\n") + latex;
        if (i % 5 == 4) {
            const notation::Conversion cells = recorder.latexToBraille(block, "page-l2b", page);
            if (cells.ok()) {
                recorder.brailleToLatex(block, "page-b2l", cells.text);
            }
            page.clear();
        }
    }
    return block;
}

TEST(ConversionGolden, EveryOutputAsRecorded) {
    golden::Dump dump;
    Recorder recorder(dump);
    std::vector<std::string> lines{golden::line("fixtures", fixtureBlock(recorder))};
    notation_test::FormulaGenerator generator(golden::kSeed);
    std::mt19937 damage(golden::kSeed + 1);
    int refused = 0;
    for (int b = 0; b < golden::kBlocks; ++b) {
        const golden::Block block = generatedBlock(recorder, generator, damage);
        refused += block.at("l2b-damaged").refused + block.at("b2l-damaged").refused;
        lines.push_back(golden::line("generated" + std::to_string(b), block));
    }
    // The corpus must hold refusals of both conversions for their messages to be checked.
    EXPECT_GT(refused, golden::kBlocks * golden::kBlockSize / 10);
    golden::compareWithFile(kGoldenFile, lines);
}

}  // namespace
