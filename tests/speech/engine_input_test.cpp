// What espeak-ng makes of the text the engine forms from the rendering's tokens: every token
// is said as that token is said on its own, on every line of the fixtures and of a generated
// corpus. The phonemes come from the library itself (espeak_TextToPhonemes, Italian voice).

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "../notation/fixture_file.h"
#include "fixture.h"
#include "notation/braille_cells.h"
#include "speech/engine.h"
#include "speech/speech_reader.h"

#if defined(TATTILO_HAVE_ESPEAK)
#include <espeak-ng/speak_lib.h>

#include "speech/backends/espeak/text_utf8.h"
#endif

namespace {

#if defined(TATTILO_HAVE_ESPEAK)

class EngineInput : public testing::Test {
protected:
    // Starts the library with the Italian voice. It reads phoneme codes ("[[...]]") in text as
    // its last synthesis was asked to, and the engine always asks: one synthesis through the
    // engine sets that up for the phonemes read here.
    static void SetUpTestSuite() {
        auto engine =
            speech::createEngine({.programDirectory = {}, .output = speech::AudioOutput::Memory});
        ASSERT_NE(engine, nullptr);
        speech::prepareEngine(engine.get());
        engine->addText("a");
        engine->synthesize();
        ASSERT_TRUE(engine->synchronize());
    }

    // The phonemes of UTF-8 text, clause after clause.
    static std::string phonemes(const std::string& utf8) {
        std::string out;
        const void* rest = utf8.c_str();
        while (rest != nullptr) {
            if (const char* clause = espeak_TextToPhonemes(&rest, espeakCHARS_UTF8, 0)) {
                out += clause;
                out += ' ';
            }
        }
        return out;
    }

    // Phonemes compared pauses aside: without pauses ("_", "_:", "_!", "_|"), word breaks,
    // stress marks and vowel length, and with the unstressed forms of i and u read as i and
    // u. A word said alone is stressed; the same word between others may not be ("di" is
    // "d'i" alone, "dI" before a letter).
    static std::string comparable(const std::string& phonemes) {
        std::string out;
        for (std::size_t i = 0; i < phonemes.size(); ++i) {
            const char c = phonemes[i];
            if (c == '_') {
                while (i + 1 < phonemes.size() &&
                       std::string_view(":!|_").find(phonemes[i + 1]) != std::string_view::npos) {
                    ++i;
                }
            } else if (c == 'I' || c == 'U') {
                out += static_cast<char>(c == 'I' ? 'i' : 'u');
            } else if (c != ' ' && c != '\'' && c != ',' && c != ':') {
                out += c;
            }
        }
        return out;
    }

    // What the engine says for the words, piece after piece, as it synthesises them.
    static std::string engineSays(const speech::SpokenText& words) {
        std::string said;
        const std::vector<std::string> pieces = speech::engineInput(words).value();
        for (const std::string& piece : pieces) {
            said += phonemes(piece);
        }
        return comparable(said);
    }

    // The tokens said one by one (each said once, then remembered).
    std::string tokensSay(const speech::SpokenText& words) {
        std::string said;
        for (const speech::SpokenToken& t : words.tokens) {
            const std::string token(words.token(t));
            auto known = tokenPhonemes_.find(token);
            if (known == tokenPhonemes_.end()) {
                known = tokenPhonemes_.emplace(token, phonemes(speech::cp1252ToUtf8(token))).first;
            }
            said += known->second;
        }
        return comparable(said);
    }

    std::map<std::string, std::string> tokenPhonemes_;
};

// The table of lines whose joined words are misread: the words stay as rendered, and the
// engine says what the student must hear.
TEST_F(EngineInput, SaysTheMisreadLinesOfTheFixtureAsTheStudentMustHearThem) {
    const auto cases = speech::test::readFixture("spelling.txt", 4);
    ASSERT_GE(cases.size(), 3u);
    for (const auto& c : cases) {
        const std::string where = "spelling.txt line " + std::to_string(c.number);
        const speech::SpokenText words = speech::spokenFor(c.fields[0], c.fields[1]);
        EXPECT_EQ(words.text, c.fields[2]) << where;
        const std::string needed = comparable(phonemes(speech::cp1252ToUtf8(c.fields[3])));
        EXPECT_EQ(engineSays(words), needed) << where;
        EXPECT_NE(comparable(phonemes(speech::cp1252ToUtf8(words.text))), needed)
            << where << ": the joined words are not misread; the row does not belong here";
    }
}

// Pieces of lines as students write them: numbers, letters, signs, fractions, roots,
// brackets, exponents, Greek letters, functions, comments, announcements, level markers.
// clang-format off
const std::vector<std::string> kPieces = {
    "#a", "#ab", "#bcd", "#,;", "#,b", "#a,b", "#e#)j", "#a'b", "_x", "_y", "_n", "_i", "_a",
    "_e", "_o", "$a", "$x", "x", "a", "b", "n", "i", "+", "-", "=", "(", "/", " ", ".", ",", ";",
    ":", "6", "n", "p", "4", "9", "o", "?", "*", "{", "}", "&", "y", "|", "1", "k", ">a", ">p",
    "<S:", "<D:", "<S", "<P", "log.", "ln.", "lim.", "det", "%", "%%", "7", "77", "_.", "!2",
    "<2", "$.", "$?", ":o", "9:o", "_?", "&y", "`", "2", "3", "0", "'", "\\\\nota\\\\",
    "\\\\@Pagina 3\\\\", "\xA0T1\xA0", "\xF2", "6#anp#b4", "9_xo", "9#c:_yo", "?_x+#a*", "_x#b1",
    "|_x+#a1", "log.#b:#h",
};
// clang-format on

std::vector<std::string> corpus() {
    std::vector<std::string> lines;
    for (const char* file : {"braille_to_latex.txt"}) {
        for (const auto& c : notation_test::readFixture(file)) {
            lines.push_back(c.input);
        }
    }
    for (const char* file : {"latex_to_braille.txt", "round_trip.txt"}) {
        for (const auto& c : notation_test::readFixture(file)) {
            if (!c.refused) {
                lines.push_back(c.expected);
            }
        }
    }
    for (const auto& [file, fields] :
         {std::pair{"rendering.txt", 3}, {"tokens.txt", 3}, {"spelling.txt", 4}}) {
        for (const auto& c : speech::test::readFixture(file, static_cast<std::size_t>(fields))) {
            lines.push_back(c.fields[1]);
        }
    }
    std::mt19937 random(22);
    for (int n = 0; n < 5000; ++n) {
        std::string line;
        if (n % 5 == 4) {
            const std::size_t length = 1 + random() % 30;  // any cells at all
            for (std::size_t i = 0; i < length; ++i) {
                line += notation::cellForDots(static_cast<int>(random() % 64));
            }
        } else {
            const std::size_t count = 1 + random() % 10;
            for (std::size_t i = 0; i < count; ++i) {
                line += kPieces[random() % kPieces.size()];
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

TEST_F(EngineInput, SaysEveryTokenOfEveryLineAsTheTokenAloneIsSaid) {
    const std::vector<std::string> lines = corpus();
    ASSERT_GT(lines.size(), 5200u);
    int differ = 0;
    for (const std::string& line : lines) {
        for (const char* mode : {"all", "key"}) {
            const speech::SpokenText words = speech::spokenFor(mode, line);
            const std::string engine = engineSays(words);
            const std::string alone = tokensSay(words);
            if (engine != alone && ++differ <= 10) {
                ADD_FAILURE() << "mode " << mode << ", line [" << line << "], words ["
                              << speech::cp1252ToUtf8(words.text) << "]\n  engine: " << engine
                              << "\n  tokens: " << alone;
            }
        }
    }
    EXPECT_EQ(differ, 0);
}

#endif

}  // namespace
