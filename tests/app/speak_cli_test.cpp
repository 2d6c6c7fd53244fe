#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli/cli.h"
#include "cli_run.h"

namespace {

using SpeakRun = cli::testing::CliRun;

SpeakRun speak(std::vector<std::string> args, const std::string& input) {
    args.insert(args.begin(), "speak");
    return cli::testing::runCli(args, input);
}

TEST(SpeakCommand, PrintsExactlyTheWordsForTheMode) {
    SpeakRun r = speak({"--mode", "all"}, "9#bo\r\n");
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out,
              "aperta rad\xEC"
              "ce  quadrata di2 chiusa rad\xEC"
              "ce");
    EXPECT_EQ(speak({"--mode", "key"}, "#").out, " segnanumero ");
    EXPECT_EQ(speak({"--mode", "canc"}, "#ab\n").out, " cancellato 2");
    EXPECT_EQ(speak({"--mode", "error"}, "#ab").out, "#ab");
    EXPECT_EQ(speak({"--mode", "none"}, "\\\\@Pagina 4\\\\").out, "Pagina 4");
    EXPECT_EQ(speak({}, "#abc").out, "123");  // mode all by default
}

TEST(SpeakCommand, PrintsNothingAtAllWhenNothingIsSaid) {
    for (const char* mode : {"all", "key", "last", "canc", "none"}) {
        const SpeakRun r = speak({"--mode", mode}, "\x1B\n");
        EXPECT_EQ(r.status, cli::kOk);
        EXPECT_EQ(r.out, "") << mode;
    }
    EXPECT_EQ(speak({"--mode", "all"}, "").out, "");
}

TEST(SpeakCommand, RefusesBadUse) {
    SpeakRun r = speak({"--mode", "shout"}, "a");
    EXPECT_EQ(r.status, cli::kUsage);
    EXPECT_NE(r.err.find("unknown mode"), std::string::npos);
    EXPECT_EQ(speak({"--rate", "300"}, "a").status, cli::kUsage);
    EXPECT_EQ(speak({"a.txt", "b.txt"}, "").status, cli::kUsage);

    r = speak({}, "#a\r\n#b\r\n");
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_NE(r.err.find("more than one line"), std::string::npos);
    EXPECT_EQ(r.out, "");

    r = speak({"/nonexistent/line.txt"}, "");
    EXPECT_EQ(r.status, cli::kFailed);
}

TEST(SpeakCommand, ReadsAFile) {
    const auto path = std::filesystem::temp_directory_path() / "tattilo_speak_test_line.txt";
    std::ofstream(path, std::ios::binary) << "6#anp#b4\r\n";
    const SpeakRun r = speak({"--mode", "last", path.string()}, "");
    std::filesystem::remove(path);
    EXPECT_EQ(r.status, cli::kOk);
    EXPECT_EQ(r.out, " chiusodenominatore chiusafrazione  ");
}

#if defined(TATTILO_HAVE_ESPEAK)
TEST(SpeakCommand, WritesTheWordsAsAWaveFile) {
    const auto path = std::filesystem::temp_directory_path() / "tattilo_speak_test.wav";
    std::filesystem::remove(path);
    const SpeakRun r = speak({"--mode", "all", "--wav", path.string()}, "6#anp#b4");
    ASSERT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out.substr(0, 9), "frazione ");
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    std::filesystem::remove(path);
    ASSERT_GT(bytes.size(), 44u + 20000u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 4), "WAVE");

    const SpeakRun bad = speak({"--wav", "/nonexistent/dir/out.wav"}, "#abc");
    EXPECT_EQ(bad.status, cli::kFailed);
    EXPECT_NE(bad.err.find("cannot write"), std::string::npos);
}

TEST(SpeakCommand, PrintsTheEngineTextPieceByPiece) {
    // The letter apart from the word before it, in the phoneme codes of its name.
    SpeakRun r = speak({"--engine-text"}, "9_xo");
    ASSERT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out.rfind("aperta rad\xC3\xAC"
                          "ce  quadrata di [[",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("]] chiusa rad\xC3\xAC"
                         "ce\n"),
              std::string::npos)
        << r.out;

    // A long line: the first piece is one short phrase, cut where a token ends.
    std::string line;
    for (int i = 0; i < 20; ++i) {
        line += "6#anp#b4";
    }
    r = speak({"--engine-text"}, line);
    ASSERT_EQ(r.status, cli::kOk) << r.err;
    const std::string first = r.out.substr(0, r.out.find('\n'));
    EXPECT_EQ(first, "frazione apertonumeratore 1 chiusonumeratore");
    EXPECT_GT(std::count(r.out.begin(), r.out.end(), '\n'), 2);

    EXPECT_EQ(speak({"--engine-text"}, "\x1B").out, "");  // nothing said, no piece
}

std::vector<std::int16_t> samplesOfWave(const std::string& bytes) {
    std::vector<std::int16_t> samples((bytes.size() - 44) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[44 + 2 * i]) |
                                               static_cast<unsigned char>(bytes[45 + 2 * i]) << 8);
    }
    return samples;
}

// How many samples from the start two recordings share.
std::size_t samePrefix(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    const auto common = static_cast<std::ptrdiff_t>(std::min(a.size(), b.size()));
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.begin() + common, b.begin()).first -
                                    a.begin());
}

// The samples of the WAVE file that the program tattilo-cli itself writes for `input`.
std::vector<std::int16_t> programWave(const std::string& options, const std::string& input) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto in = folder / "tattilo_speak_program_in.txt";
    const auto out = folder / "tattilo_speak_program_out.wav";
    std::ofstream(in, std::ios::binary) << input;
    std::filesystem::remove(out);
    const std::string command = "'" + std::string(TATTILO_BIN_DIR) + "/tattilo-cli' speak " +
                                options + " --wav '" + out.string() + "' < '" + in.string() +
                                "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream file(out, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    file.close();
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    return bytes.size() > 44 ? samplesOfWave(bytes) : std::vector<std::int16_t>{};
}

// The WAVE file of the square root of x spells the x: it is the audio of "di ics", not of the
// word "dix" that the rendered words make when they are read joined. Each file is the first
// synthesis of its own process, where the voice gives the same samples for the same sounds
// (later ones vary a little).
TEST(SpeakCommand, TheWaveFileSpellsALetterAfterAWord) {
    const std::vector<std::int16_t> wave = programWave("", "9_xo");
    const std::vector<std::int16_t> spelt = programWave("--mode error",
                                                        "aperta rad\xEC"
                                                        "ce  quadrata di ics chiusa rad\xEC"
                                                        "ce");
    const std::vector<std::int16_t> glued = programWave("--mode error",
                                                        "aperta rad\xEC"
                                                        "ce  quadrata dix chiusa rad\xEC"
                                                        "ce");
    ASSERT_GT(wave.size(), 22050u);
    // The same from start to end, but for the last 20 ms, where the last word fades out.
    EXPECT_GT(samePrefix(wave, spelt), wave.size() - 441) << wave.size() << " samples";
    // Apart where the x begins, past the middle.
    const std::size_t withGlued = samePrefix(wave, glued);
    EXPECT_GT(withGlued, wave.size() / 3);
    EXPECT_LT(withGlued, wave.size() * 3 / 5);
}
#endif

}  // namespace
