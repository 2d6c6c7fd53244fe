// The TeX-system sample distribution installed by instello --unattended from the folder the
// build ships (build/bin/distribution-tex, with the installer in it), as the README says:
// every finishing step leaves its file; a run that fails leaves nothing, not even the files
// of the TeX system's libraries; and the committed distribution is what its generator makes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "../support.h"
#include "installer/profile.h"
#include "installer/system/sandbox/sandbox_system.h"
#include "installer/unattended/unattended.h"

namespace installer {
namespace {

namespace fs = std::filesystem;

TEST(TexDistribution, UnattendedInstallRunsEveryConfigurationStep) {
    test::TempDir dir;
    const fs::path source = fs::path(TATTILO_BIN_DIR) / "distribution-tex";
    ASSERT_TRUE(fs::exists(source / "INSTELLO.EXE")) << "the build puts the installer there";
    const fs::path machine = dir.path() / "machine";
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> args = {"--unattended", "--root", machine.string(), "--source",
                                           source.string()};
    const int status = runUnattended(args, dir.path(), out, err, {});
    ASSERT_EQ(status, kExitInstalled) << out.str() << err.str();
    const fs::path korvo = machine / "C" / "KORVO";
    auto read = [&](const std::string& relative) { return test::readHost(korvo / relative); };

    // KORVO.INI with the component program's changes.
    const Profile ini(read("BIN/KORVO.INI"));
    EXPECT_EQ(ini.getString("FontSet", "Braille", ""), "BR,br");
    EXPECT_EQ(ini.getString("FontSet", "Count", ""), "19");
    EXPECT_EQ(ini.getString("FINCLUDE", "LATEX", ""), "C:/KORVO/L2E/;C:/KORVO/MACRO/;*");
    EXPECT_EQ(ini.getString("Directories", "INCDIR", ""),
              "C:\\KORVO\\SRC\\+;C:\\KORVO\\PST\\;C:\\KORVO\\MACRO\\");
    // The font library: the shipped three fonts and the two merged ones.
    const std::string library = read("BIN/TFM.LIB");
    EXPECT_EQ(static_cast<unsigned char>(library.at(14)), 5);
    EXPECT_FALSE(fs::exists(korvo / "BIN" / "cmsy10.tfm"));
    // Raster fonts, hyphenation, formats, both alias files, the installer copy.
    EXPECT_EQ(read("BIN/RFONTS.SET").substr(0, 8), "RFONTSET");
    EXPECT_NE(out.str().find("Font #4: C:\\KORVO\\FONTS\\DPI600\\tbraille.600pk; mag=600"),
              std::string::npos);
    EXPECT_EQ(read("BIN/HYPHEN.CFG"),
              "[Hyphenation]\r\nRoot=C:\\KORVO\\\r\nPattern1=ithyph.pat\r\n");
    EXPECT_EQ(test::readHost(machine / "processes.log"),
              "C:\\KORVO\\BIN\\korvowh.exe -i -m -l  -a\"Creating Korvo Quillon Vector format\" "
              "<C:/KORVO/SRC/korvo> | C:\\KORVO\\BIN\r\n"
              "C:\\KORVO\\BIN\\korvowh.exe -i -m -l  -a\"Creating LaTeX 2E Quillon Vector format\" "
              "<C:/KORVO/L2E/latex> | C:\\KORVO\\BIN\r\n");
    EXPECT_EQ(read("SRC/ALIASING.PST"),
              "%1 = C:\\KORVO\\PFB\\\r\n%2 = C:\\KORVO\\PFM\\\r\n\r\n\r\n"
              "@Times-Roman = cmr10 %1,2,\r\n@Times-Bold = cmbx10 %1,1,\r\n");
    EXPECT_NE(read("BIN/t1fntnf.bck").find("@Courier=pcrr %,"), std::string::npos);
    EXPECT_EQ(read("SRC/ALIASING.WIN"), "[TrueType]\r\nBRAILLE=braille.ttf,0,0\r\n");
    EXPECT_TRUE(read("BIN/INSTELLO.EXE") == test::readHost(source / "INSTELLO.EXE"));
    EXPECT_EQ(read("BIN/HYPSET.DLL"), test::readHost(source / "HYPSET.DLL"));
}

// The run the README's command once ended in: everything done, then the installer copy fails.
// The rollback takes back every file and folder, those the hyphenation library wrote too.
TEST(TexDistribution, AFailedRunLeavesNothingBehind) {
    test::TempDir dir;
    const fs::path source = dir.path() / "cd";
    fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution-tex", source);
    const fs::path machine = dir.path() / "machine";
    { system::SandboxSystem make(machine); }
    const auto before = test::snapshot(machine);
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> args = {"--unattended", "--root", machine.string(), "--source",
                                           source.string()};
    EXPECT_EQ(runUnattended(args, dir.path(), out, err, {}), kExitFailed);
    EXPECT_NE(out.str().find("Configuring hyphenation patterns..."), std::string::npos);
    EXPECT_NE(out.str().find("Can not copy file D:\\INSTELLO.EXE."), std::string::npos);
    EXPECT_EQ(test::snapshot(machine), before);
}

TEST(TexDistribution, MatchesItsGenerator) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    test::TempDir out;
    const std::string command = "python3 \"" + std::string(TATTILO_SOURCE_DIR) +
                                "/tools/make_distribution.py\" --tex \"" + out.path().string() +
                                "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::snapshot(out.path()),
              test::snapshot(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution-tex"))
        << "run tools/make_distribution.py --tex and commit data/distribution-tex";
}

}  // namespace
}  // namespace installer
