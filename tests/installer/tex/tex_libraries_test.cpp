// HYPSET.DLL and KORVOTTF.DLL loaded by name through the sandbox's library service: their
// stand-ins found where the library file is, their work visible in files, and the warnings
// for a missing library or entry point.

#include "installer/tex/tex_libraries.h"

#include <gtest/gtest.h>

#include "installer/package.h"
// after the package module, which its helpers use
#include "../job_fixture.h"
#include "installer/system/sandbox/stand_in_library.h"
#include "installer/tex/stand_ins.h"
#include "installer/tex/ttf_alias.h"

namespace installer::tex {
namespace {

TEST(TexLibraries, HyphenationLoadsHypsetByNameAndWarnsWhenItCannot) {
    test::Sandbox box;
    registerTexStandIns(*box.sys);
    box.sys->setProgramFolder("C:\\DIST\\");
    test::RecordingSink sink;
    test::writeHost(box.host("machine/C/KORVO/SRC/ithyph.pat"), "patterns");
    test::writeHost(box.host("machine/C/KORVO/SRC/enhyph.PAT"), "patterns");
    test::writeHost(box.host("machine/C/KORVO/SRC/plain.tex"), "not patterns");
    std::filesystem::create_directories(box.host("machine/C/KORVO/BIN"));

    configureHyphenation(*box.sys, sink, nullptr, "C:\\KORVO\\");
    EXPECT_EQ(sink.lines,
              std::vector<std::string>{"warning:Failed to configure HYPHEN.CFG.\nCan not load "
                                       "HYPSET.DLL!"});

    // The library beside the installer is found by its bare name, in any case.
    test::writeHost(box.host("machine/C/DIST/HypSet.Dll"), "library");
    sink.lines.clear();
    configureHyphenation(*box.sys, sink, nullptr, "C:\\KORVO\\");
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_EQ(test::readHost(box.host("machine/C/KORVO/BIN/HYPHEN.CFG")),
              "[Hyphenation]\r\nRoot=C:\\KORVO\\\r\nPattern1=enhyph.PAT\r\n"
              "Pattern2=ithyph.pat\r\n");

    // A library without the entry point.
    box.sys->registerLibrary("HYPSET.DLL", [](system::System&, const std::string&) {
        return std::make_unique<system::StandInLibrary>();
    });
    configureHyphenation(*box.sys, sink, nullptr, "C:\\KORVO\\");
    EXPECT_EQ(sink.lines, std::vector<std::string>{
                              "warning:Failed to configure HYPHEN.CFG.\nHYPSET.DLL is bad or "
                              "corrupted!"});
}

TEST(TexLibraries, TrueTypeAliasStepLoadsKorvottfFromBin) {
    test::JobFixture f;
    registerTexStandIns(*f.box.sys);
    InstallJob& j = f.makeJob();
    j.prepare();
    test::writeHost(f.box.host("machine/C/INST/TTF/Sans.ttf"),
                    test::readHost("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
    std::filesystem::create_directories(f.box.host("machine/C/INST/SRC"));

    updateTrueTypeAliasFile(j);
    EXPECT_TRUE(f.sink.has("warning:Can not find C:\\INST\\BIN\\KORVOTTF.DLL"));
    EXPECT_FALSE(f.exists("SRC/ALIASING.WIN"));

    test::writeHost(f.box.host("machine/C/INST/BIN/KORVOTTF.DLL"), "library");
    updateTrueTypeAliasFile(j);
    EXPECT_EQ(f.installed("SRC/ALIASING.WIN"), "[TrueType]\r\nSANS=Sans.ttf,1,0\r\n");
}

}  // namespace
}  // namespace installer::tex
