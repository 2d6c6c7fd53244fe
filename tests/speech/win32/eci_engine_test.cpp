// The ECI engine binding on Windows: the library is loaded at run time from the program folder,
// only when its three files are beside it, and every call reaches its entry point with the
// values the workbench sets. A stand-in eci.dll (fake_eci/) records the calls.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "speech/backends/eci/eci_engine.h"
#include "speech/engine.h"

#include "../../scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// A program folder, current while the test runs, with the stand-in library in it.
struct ProgramFolder {
    fs::path path = testing_support::makeScratchFolder(fs::temp_directory_path(), "eci-test-");
    fs::path previous = fs::current_path();
    explicit ProgramFolder(bool withFiles) {
        fs::copy_file(fs::path(FAKE_ECI_DLL), path / "eci.dll");
        if (withFiles) {
            for (const char* name : {"eci.ini", "enu.syn", "ita.syn"}) {
                std::ofstream(path / name) << "x";
            }
        }
        fs::current_path(path);
    }
    ~ProgramFolder() {
        fs::current_path(previous);
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string calls() const {
        std::ifstream in(path / "eci-calls.txt", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST(EciEngine, SpeechNeedsTheLibraryAndItsThreeFiles) {
    {
        ProgramFolder folder(false);
        EXPECT_FALSE(speech::speechAvailable(folder.path));
        EXPECT_FALSE(speech::EciEngine::filesPresent(folder.path));
    }
    ProgramFolder folder(true);
    EXPECT_TRUE(speech::speechAvailable(folder.path));
    fs::remove(folder.path / "ita.syn");
    EXPECT_FALSE(speech::speechAvailable(folder.path));
}

TEST(EciEngine, LoadedAtRunTimeAndCalledWithTheWorkbenchValues) {
    ProgramFolder folder(true);
    {
        speech::EngineOptions options;
        options.programDirectory = folder.path;
        auto engine = speech::createEngine(options);
        ASSERT_TRUE(engine);
        engine->setParam(speech::kParamLanguageDialect, speech::kDialectStandardItalian);
        engine->setVoiceParam(speech::kVoiceActive, speech::kVoiceParamSpeed, 70);
        EXPECT_FALSE(engine->speaking());
        EXPECT_TRUE(engine->addText("Pagina 2"));
        EXPECT_TRUE(engine->synthesize());
        EXPECT_TRUE(engine->speaking());
        EXPECT_TRUE(engine->stop());
        EXPECT_FALSE(engine->speaking());
        EXPECT_TRUE(engine->addText("perch\xE8"));
        EXPECT_TRUE(engine->synthesize());
        EXPECT_TRUE(engine->synchronize());
    }
    EXPECT_EQ(folder.calls(),
              "eciNew\n"
              "eciSetParam 9 327680\n"
              "eciSetVoiceParam 0 6 70\n"
              "eciAddText Pagina 2\n"
              "eciSynthesize\n"
              "eciStop\n"
              "eciAddText perch\xE8\n"
              "eciSynthesize\n"
              "eciSynchronize\n"
              "eciStop\n"
              "eciDelete\n");
}

TEST(EciEngine, AMissingOrBrokenLibraryLeavesNoEngine) {
    ProgramFolder folder(true);
    EXPECT_FALSE(speech::EciEngine::create(folder.path / "elsewhere"));
    fs::create_directory(folder.path / "broken");
    std::ofstream(folder.path / "broken" / "eci.dll") << "not a library";
    EXPECT_FALSE(speech::EciEngine::create(folder.path / "broken"));
}

}  // namespace
