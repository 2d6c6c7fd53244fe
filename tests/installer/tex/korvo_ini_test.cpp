// KORVO.INI: the first content, the [FontSet] and [FINCLUDE] rules, and the include list's
// bookkeeping keys, checked against a fixture written out by hand.

#include "installer/tex/korvo_ini.h"

#include <gtest/gtest.h>

#include "../support.h"
#include "installer/cerror.h"

namespace installer::tex {
namespace {

struct IniFixture {
    test::Sandbox box;
    KorvoIni ini{*box.sys, "C:\\KORVO\\"};
    std::string text() const { return test::readHost(box.host("machine/C/KORVO/BIN/KORVO.INI")); }
    IniFixture() { std::filesystem::create_directories(box.host("machine/C/KORVO/BIN")); }
};

TEST(KorvoIni, CreateSetAndAppendGiveTheFixture) {
    IniFixture f;
    f.ini.create();
    // A new font set raises Count and moves it last; a known one changes nothing.
    f.ini.set("FontSet", "Lucida Bright", "LB,lb");
    f.ini.set("FontSet", "Concrete", "Other,xx");
    // A new format folder, and a replaced one (keys ignore case, as in any INI file).
    f.ini.set("FINCLUDE", "MYFMT", "!MY\\");
    f.ini.set("FINCLUDE", "korvo", "!SRC\\KORVO\\;*");
    // Appends land before the last "*", or at the end when there is none; twice is once.
    f.ini.append("FINCLUDE", "LATEX", "!EXTRA\\");
    f.ini.append("FINCLUDE", "latex", "!EXTRA\\");
    f.ini.append("FINCLUDE", "LATEX", "!L2E");
    f.ini.append("FINCLUDE", "MYFMT", "!MORE\\");
    f.ini.append("FINCLUDE", "NEWFMT", "D:\\NEW\\");
    // Other sections: plain set and ";"-joined append, and the include-folder append.
    f.ini.set("Directories", "LOGDIR", "!LOG\\");
    f.ini.append("Directories", "INCDIR", "!STY\\");
    f.ini.append("Directories", "OUTDIR", "!OUT\\");
    f.ini.appendFolder("MACRO");
    f.ini.set("fontset", "Plain Section", "case matters");
    EXPECT_EQ(f.text(), test::readHost(std::string(TATTILO_TEST_DATA) +
                                       "/installer/tex/korvo_ini_expected.ini"));
}

// Operation 233 outside [FINCLUDE]: a value the ";" list holds already, in any case and with
// or without its trailing backslash, is not added again (a repair install runs it again).
TEST(KorvoIni, AppendDoesNotRepeatAValueTheListHolds) {
    IniFixture f;
    SettingsFile plain(*f.box.sys, "C:\\KORVO\\Prodotto", "C:\\KORVO\\");
    plain.append("Percorsi", "Documenti", "!ESEMPI\\");
    plain.append("Percorsi", "Documenti", "!ESEMPI\\");
    plain.append("Percorsi", "Documenti", "c:\\korvo\\esempi");
    plain.append("Percorsi", "Documenti", "D:\\ALTRI\\");
    plain.append("Percorsi", "Documenti", "d:\\altri\\");
    plain.append("Percorsi", "Documenti", "!ESEMPI\\VECCHI\\");
    EXPECT_EQ(
        test::readHost(f.box.host("machine/C/KORVO/Prodotto")),
        "[Percorsi]\r\nDocumenti=C:\\KORVO\\ESEMPI\\;D:\\ALTRI\\;C:\\KORVO\\ESEMPI\\VECCHI\\\r\n");
    // The TeX system's own file follows the same rule.
    f.ini.create();
    f.ini.append("Directories", "INCDIR", "!src\\+");
    EXPECT_EQ(Profile(f.text()).getString("Directories", "INCDIR", ""),
              "C:\\KORVO\\SRC\\+;C:\\KORVO\\PST\\");
}

TEST(KorvoIni, CreateLeavesAnExistingFileAsItIs) {
    IniFixture f;
    const std::string mine = "[Directories]\r\nPGMDIR=D:\\ALTRO\\\r\n";
    test::writeHost(f.box.host("machine/C/KORVO/BIN/KORVO.INI"), mine);
    f.ini.create();
    EXPECT_EQ(f.text(), mine);

    KorvoIni nameless(*f.box.sys, "", "C:\\KORVO\\");
    try {
        nameless.create();
        ADD_FAILURE() << "an empty path was accepted";
    } catch (const CError& e) {
        EXPECT_EQ(e.code(), CError::kBadIniName);
        EXPECT_EQ(e.text(), "Bad ini-file name.");
    }
}

TEST(KorvoIni, IncludeListReadsPastASmallSizeAndStopsAtItsEnd) {
    // "Size" too small: the buffer grows until the whole section fits.
    Profile small("[FINCLUDE]\r\nA=1;*\r\nBB=2;*\r\nCCC=333;*\r\nCount=3\r\nSize=3\r\n");
    IncludeList list = loadIncludeList(small);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2], (std::pair<std::string, std::string>{"CCC", "333;*"}));

    // Without "Size" the list counts as empty; a line without "=" ends it; so does "Count".
    EXPECT_TRUE(loadIncludeList(Profile("[FINCLUDE]\r\nA=1\r\nCount=1\r\n")).empty());
    Profile broken("[FINCLUDE]\r\nA=1\r\nnot a pair\r\nB=2\r\nSize=0\r\n");
    ASSERT_EQ(loadIncludeList(broken).size(), 1u);
    Profile counted("[FINCLUDE]\r\nA=1\r\ncount=1\r\nB=2\r\nSize=40\r\n");
    ASSERT_EQ(loadIncludeList(counted).size(), 1u);

    // Writing puts the bookkeeping last, with the size by the rule.
    writeIncludeList(counted, {{"A", "1"}, {"LONGER", "C:/X/;*"}});
    EXPECT_EQ(counted.getString("FINCLUDE", "Count", ""), "2");
    EXPECT_EQ(counted.getInt("FINCLUDE", "Size", 0), (1 + 1 + 2) + (6 + 7 + 2) + 5 + 1 + 22);
    EXPECT_EQ(counted.sectionLines("FINCLUDE").back(), "Size=47");
}

}  // namespace
}  // namespace installer::tex
