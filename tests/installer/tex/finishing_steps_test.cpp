// The TeX system's finishing steps: format command lines and their skip rules, the installer
// copy, and a whole TeX installation running every step in order.

#include "installer/tex/finishing_steps.h"

#include <gtest/gtest.h>

#include "installer/package.h"
// after the package module, which its helpers use
#include "../job_fixture.h"
#include "installer/tex/korvo_ini.h"

namespace installer::tex {
namespace {

namespace fs = std::filesystem;

struct TexJob : test::JobFixture {
    void file(const std::string& relative, const std::string& bytes = "x") {
        test::writeHost(box.host("machine/C/" + relative), bytes);
    }
    InstallJob& texJob(bool formats, bool copy) {
        JobSettings s;
        s.installPath = "C:\\INST\\";
        s.distributionPath = "C:\\DIST\\";
        s.clusterSize = 4096;
        s.createFormats = formats;
        s.copyInstaller = copy;
        job.reset();
        job = std::make_unique<InstallJob>(*faulty, sink, components, s,
                                           std::make_unique<KorvoIni>(*faulty, "C:\\INST\\"));
        return *job;
    }
};

TEST(TexFormats, QueuesTheMarkedVariantsThatCanBeBuilt) {
    TexJob f;
    InstallJob& j = f.texJob(true, false);
    f.file("INST/SRC/korvo.tex");
    f.file("INST/L2E/latex.tex");
    f.file("INST/SRC/plain.tex");  // not marked for building
    EXPECT_TRUE(formatCommands(j).empty()) << "no korvowh.exe";

    f.file("INST/BIN/korvowh.exe");
    queueFormats(j);
    const auto& run = j.deferred().firstRun;
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[0].commandLine,
              "C:\\INST\\BIN\\korvowh.exe -i -m -l  -a\"Creating Korvo Quillon Vector format\" "
              "<C:/INST/SRC/korvo>");
    EXPECT_EQ(run[0].folder, "C:\\INST\\BIN");
    EXPECT_EQ(run[1].commandLine,
              "C:\\INST\\BIN\\korvowh.exe -i -m -l  -a\"Creating LaTeX 2E Quillon Vector format\" "
              "<C:/INST/L2E/latex>");
    EXPECT_TRUE(f.sink.has("status:Creating formats..."));

    // A format already built, or one without its source, is left out.
    f.file("INST/FMT/latex.fmt");
    fs::remove(f.box.host("machine/C/INST/SRC/korvo.tex"));
    EXPECT_TRUE(formatCommands(j).empty());
}

TEST(TexInstallerCopy, CopiesIntoBinOnceAndJournalsIt) {
    TexJob f;
    for (const char* name : {"INSTELLO.EXE", "INSTALL.CFG", "INSTELLO.INI", "HYPSET.DLL"}) {
        f.put(name, std::string("contents of ") + name);
    }
    InstallJob& j = f.texJob(false, true);
    j.prepare();
    f.file("INST/BIN/HYPSET.DLL", "newer");  // an installed library stays
    copyInstaller(j);
    EXPECT_EQ(f.installed("BIN/INSTELLO.EXE"), "contents of INSTELLO.EXE");
    EXPECT_EQ(f.installed("BIN/INSTELLO.INI"), "contents of INSTELLO.INI");
    EXPECT_EQ(f.installed("BIN/INSTALL.CFG"), "contents of INSTALL.CFG");
    EXPECT_EQ(f.installed("BIN/HYPSET.DLL"), "newer");
    EXPECT_TRUE(f.sink.has("status:Coping installer..."));
    j.rollBack();
    EXPECT_FALSE(f.exists("BIN/INSTELLO.EXE"));

    // Already there: nothing is copied, nothing is said.
    InstallJob& again = f.texJob(false, true);
    f.file("INST/BIN/INSTELLO.EXE", "mine");
    f.sink.lines.clear();
    copyInstaller(again);
    EXPECT_EQ(f.installed("BIN/INSTELLO.EXE"), "mine");
    EXPECT_FALSE(f.exists("BIN/INSTELLO.INI"));
    EXPECT_TRUE(f.sink.lines.empty());

    // A missing installer in the distribution fails the step by name.
    fs::remove(f.box.host("machine/C/INST/BIN/INSTELLO.EXE"));
    fs::remove(f.box.host("machine/C/DIST/INSTELLO.EXE"));
    std::string file;
    EXPECT_EQ(test::JobFixture::codeOf([&] { copyInstaller(again); }, &file), CError::kCannotCopy);
    EXPECT_EQ(file, "C:\\DIST\\INSTELLO.EXE");
}

TEST(TexFinishingSteps, RunInOrderAtTheEndOfAnInstallation) {
    TexJob f;
    const std::string tfm =
        test::readHost(fs::path(TATTILO_TEST_DATA) / "installer/tex/tfm/cmr10.tfm");
    f.put("TEX.001", test::PackageBuilder()
                         .folder("BIN")
                         .member("cmr10.tfm", tfm)
                         .member("korvowh.exe", "builder")
                         .folder("SRC")
                         .member("korvo.tex", "\\input plain")
                         .folder("PFB")
                         .member("phvr.pfb", "font")
                         .bytes);
    f.addComponent("TEX", test::ProgramBuilder()
                              .op(73, {"TEX"})
                              .op(206)
                              .op(84)
                              .op(232)
                              .op(207)
                              .op(231, {"@Helvetica=phvr %KORVO,"})
                              .op(233, {"FINCLUDE", "KORVO", "!MACRO\\"})
                              .end());
    for (const char* name : {"INSTELLO.EXE", "INSTALL.CFG", "INSTELLO.INI"}) {
        f.put(name, name);
    }
    InstallJob& j = f.texJob(true, true);
    j.run();

    std::vector<std::string> statuses;
    for (const auto& line : f.sink.lines) {
        if (line.rfind("status:", 0) == 0) {
            statuses.push_back(line.substr(7));
        }
    }
    EXPECT_EQ(statuses,
              (std::vector<std::string>{
                  "Creating KORVO.INI...", "Updating KORVO.INI...", "Updating TFM.LIB...",
                  "Configuring hyphenation patterns...", "Creating formats...",
                  "Updating ALIASING.PST...", "Updating ALIASING.WIN...", "Coping installer..."}));
    EXPECT_TRUE(f.sink.has("hyphenation"));
    EXPECT_TRUE(f.sink.has("warning:Can not find C:\\INST\\BIN\\KORVOTTF.DLL"));
    EXPECT_EQ(f.installed("BIN/TFM.LIB").substr(16, 5), "cmr10");
    EXPECT_FALSE(f.exists("BIN/cmr10.tfm"));
    EXPECT_EQ(f.installed("SRC/ALIASING.PST"),
              "%1 = C:\\INST\\PFB\\\r\n%2 = C:\\INST\\PFM\\\r\n\r\n\r\n"
              "@Helvetica = phvr %1,1,\r\n");
    EXPECT_EQ(j.deferred().firstRun.size(), 1u);
    EXPECT_TRUE(f.exists("BIN/INSTELLO.EXE"));
    const Profile ini(f.installed("BIN/KORVO.INI"));
    EXPECT_EQ(ini.getString("FINCLUDE", "KORVO", ""), "C:/INST/SRC/;C:/INST/MACRO/;*");
}

}  // namespace
}  // namespace installer::tex
