#include <gtest/gtest.h>

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
#endif

}  // namespace
