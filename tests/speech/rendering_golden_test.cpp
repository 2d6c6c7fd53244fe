// The spoken rendering gives today's words, tokens and counts, byte for byte, in every mode:
// over every text of the speech and notation fixtures and over the cells of a seeded corpus of
// generated formulas, typed lines up to the caret and damaged lines among them (see
// golden_corpus.h).

#include <gtest/gtest.h>

#include <array>

#include "../notation/fixture_file.h"
#include "../notation/golden_corpus.h"
#include "fixture.h"
#include "notation/conversion.h"
#include "speech/rendering.h"
#include "speech/speech_reader.h"

namespace {

const std::string kGoldenFile = std::string(TATTILO_TEST_DATA) + "/speech/rendering_golden.txt";

constexpr std::array<std::string_view, 6> kModes = {"all", "key", "last", "canc", "", "other"};

class Recorder {
public:
    explicit Recorder(golden::Dump& dump) : dump_(dump) {}

    void render(golden::Block& block, const std::string& stream, std::string_view mode,
                std::string_view text) {
        const speech::Rendering r = speech::render(mode, text);
        golden::Hash& h = block[stream].hash;
        h.add(mode);
        h.add(text);
        h.add(r.whole);
        h.add(r.lastToken);
        h.add(r.spoken);
        for (const int count : {r.balance.fractions, r.balance.numerators, r.balance.denominators,
                                r.balance.roots, r.balance.braces, r.balance.squares,
                                r.balance.rounds, r.balance.exponents, r.balance.indices}) {
            h.add(count);
        }
        h.add(r.inTextRegion ? 1 : 0);
        for (const speech::SpokenToken& t : r.spokenTokens) {
            h.add(static_cast<long>(t.begin));
            h.add(static_cast<long>(t.size));
            h.add(static_cast<long>(t.kind));
        }
        // What the speech reader hands on, the deletion's word included.
        const std::string words = speech::wordsFor(mode, text);
        h.add(words);
        dump_.write(stream + ":" + std::string(mode), text, words);
    }

private:
    golden::Dump& dump_;
};

golden::Block fixtureBlock(Recorder& recorder) {
    std::vector<std::string> texts;
    for (const char* file : {"round_trip.txt", "latex_to_braille.txt", "braille_to_latex.txt"}) {
        for (const notation_test::FixtureCase& c : notation_test::readFixture(file)) {
            texts.push_back(c.input);
            texts.push_back(c.expected);
        }
    }
    for (const auto& [file, fields] : {std::pair{"rendering.txt", 3}, std::pair{"tokens.txt", 3},
                                       std::pair{"spelling.txt", 4}}) {
        for (const auto& c : speech::test::readFixture(file, static_cast<std::size_t>(fields))) {
            texts.push_back(c.fields[1]);
        }
    }
    golden::Block block;
    for (const std::string& text : texts) {
        for (const std::string_view mode : kModes) {
            recorder.render(block, "fixtures", mode, text);
        }
    }
    return block;
}

// One block: the cells of each generated formula read whole, every mode on a line typed up
// to a point in it, and a damaged line.
golden::Block generatedBlock(Recorder& recorder, notation_test::FormulaGenerator& generator,
                             std::mt19937& random) {
    golden::Block block;
    for (int i = 0; i < golden::kBlockSize; ++i) {
        const std::string latex = generator.formula();
        const notation::Conversion c = notation::convertLatexToBraille(latex, 1);
        const std::string cells = c.ok() ? c.text : latex;
        recorder.render(block, "all", "all", cells);
        const std::string typed = cells.substr(0, random() % (cells.size() + 1));
        recorder.render(block, "typed", kModes[random() % kModes.size()], typed);
        recorder.render(block, "damaged", "all",
                        golden::damaged(cells, random, golden::kBrailleAlphabet));
    }
    return block;
}

TEST(RenderingGolden, EveryRenderingAsRecorded) {
    golden::Dump dump;
    Recorder recorder(dump);
    std::vector<std::string> lines{golden::line("fixtures", fixtureBlock(recorder))};
    notation_test::FormulaGenerator generator(golden::kSeed);
    std::mt19937 random(golden::kSeed + 2);
    for (int b = 0; b < golden::kBlocks; ++b) {
        lines.push_back(golden::line("generated" + std::to_string(b),
                                     generatedBlock(recorder, generator, random)));
    }
    golden::compareWithFile(kGoldenFile, lines);
}

}  // namespace
