// The TrueType alias file: DejaVu fonts (fonts-dejavu-core) read for their style word and QLNS
// table, added through the KORVOTTF.DLL stand-in, and the step's warnings.

#include "installer/tex/ttf_alias.h"

#include <gtest/gtest.h>

#include "installer/package.h"
// after the package module, which its helpers use
#include "../job_fixture.h"
#include "installer/tex/binary_file.h"
#include "installer/tex/stand_ins.h"
#include "installer/tex/truetype.h"

namespace installer::tex {
namespace {

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";

std::string dejavu(const std::string& name) {
    return test::readHost(kDejaVu + name);
}

// A copy of a real font whose "name" table is tagged "QLNS" instead.
std::string withQlns(std::string font) {
    const std::size_t tables = be16(font, 4);
    for (std::size_t i = 0; i < tables; ++i) {
        if (font.compare(12 + i * 16, 4, "name") == 0) {
            font.replace(12 + i * 16, 4, "QLNS");
        }
    }
    return font;
}

std::string be(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

TEST(TrueType, RealFontsGiveTheirStyleAndDamagedOnesNothing) {
    const std::string regular = dejavu("DejaVuSans.ttf");
    ASSERT_GT(regular.size(), 1000u) << "fonts-dejavu-core is needed (scripts/setup.sh)";
    EXPECT_EQ(readTrueType(regular)->macStyle, 0);
    EXPECT_FALSE(readTrueType(regular)->hasQlns);
    EXPECT_EQ(readTrueType(dejavu("DejaVuSans-Bold.ttf"))->macStyle, 1);
    EXPECT_EQ(readTrueType(dejavu("DejaVuSans-Oblique.ttf"))->macStyle, 2);
    EXPECT_EQ(readTrueType(dejavu("DejaVuSans-BoldOblique.ttf"))->macStyle, 3);
    EXPECT_TRUE(readTrueType(withQlns(regular))->hasQlns);

    // Damage: the directory cut short, a table outside the file, a head too short, no head.
    const std::size_t tables = be16(regular, 4);
    std::size_t head = 0;
    for (std::size_t i = 0; i < tables; ++i) {
        if (regular.compare(12 + i * 16, 4, "head") == 0) {
            head = 12 + i * 16;
        }
    }
    ASSERT_NE(head, 0u);
    auto patched = [&](std::size_t at, std::uint32_t v) {
        std::string b = regular;
        b.replace(at, 4, be(v));
        return b;
    };
    EXPECT_FALSE(readTrueType(regular.substr(0, 12 + tables * 16 - 1)));
    EXPECT_FALSE(readTrueType(patched(head + 8, static_cast<std::uint32_t>(regular.size()))));
    EXPECT_FALSE(readTrueType(patched(head + 12, 0xFFFFFFF0u)));
    EXPECT_FALSE(readTrueType(patched(head + 12, 40)));
    EXPECT_FALSE(readTrueType(patched(head, 0x68656164 + 1)));  // "heae"
    EXPECT_FALSE(readTrueType("ttcf" + regular.substr(4)));
    EXPECT_FALSE(readTrueType(""));
}

struct TtfFixture : test::JobFixture {
    TrueTypeAliasStandIn library{*box.sys};
    TrueTypeAliasCalls calls = library.calls();
    InstallJob& j;
    TtfFixture() : j(makeJob()) {
        j.prepare();
        std::filesystem::create_directories(box.host("machine/C/INST/SRC"));
    }
    void font(const std::string& name, const std::string& bytes) {
        test::writeHost(box.host("machine/C/INST/TTF/" + name), bytes);
    }
    void run(const TrueTypeAliasCalls* c) {
        updateTrueTypeAliasFile(j, "C:\\INST\\BIN\\KORVOTTF.DLL", c);
    }
};

TEST(TrueTypeAlias, AddsTheFontsTheFileDoesNotKnow) {
    TtfFixture f;
    test::writeHost(f.box.host("machine/C/INST/SRC/ALIASING.WIN"),
                    "[TrueType]\r\nDEJAVUSANS=kept.ttf,0,0\r\n");
    f.font("DejaVuSans.ttf", dejavu("DejaVuSans.ttf"));
    f.font("dejavusans-bold.TTF", dejavu("DejaVuSans-Bold.ttf"));
    f.font("Braille.ttf", withQlns(dejavu("DejaVuSans-Oblique.ttf")));
    f.font("notes.txt", "not a font");
    f.run(&f.calls);
    EXPECT_EQ(f.installed("SRC/ALIASING.WIN"),
              "[TrueType]\r\n"
              "DEJAVUSANS=kept.ttf,0,0\r\n"
              "BRAILLE=Braille.ttf,2,1\r\n"
              "DEJAVUSANS-BOLD=dejavusans-bold.TTF,1,0\r\n");
    EXPECT_TRUE(f.sink.has("status:Updating ALIASING.WIN..."));
    EXPECT_EQ(std::count_if(f.sink.lines.begin(), f.sink.lines.end(),
                            [](const auto& l) { return l.rfind("warning:", 0) == 0; }),
              0);
    // The file was journalled: a rollback brings the old one back.
    f.j.rollBack();
    EXPECT_EQ(f.installed("SRC/ALIASING.WIN"), "[TrueType]\r\nDEJAVUSANS=kept.ttf,0,0\r\n");
}

TEST(TrueTypeAlias, WarnsAndGoesOn) {
    {
        TtfFixture f;
        f.font("A.ttf", dejavu("DejaVuSans.ttf"));
        f.font("B.ttf", dejavu("DejaVuSans.ttf").substr(0, 100));  // tables cut off
        f.font("C.ttf", dejavu("DejaVuSans.ttf"));
        f.run(&f.calls);
        EXPECT_TRUE(f.sink.has("warning:Can not add fonts to ALIASING.WIN"));
        // The loop stopped at B; what was added before it is written.
        EXPECT_EQ(f.installed("SRC/ALIASING.WIN"), "[TrueType]\r\nA=A.ttf,0,0\r\n");
    }
    {
        TtfFixture f;
        f.run(nullptr);
        EXPECT_TRUE(f.sink.has("warning:Can not find C:\\INST\\BIN\\KORVOTTF.DLL"));
        TrueTypeAliasCalls partial = f.calls;
        partial.addFont = nullptr;
        f.run(&partial);
        EXPECT_TRUE(f.sink.has("warning:Can not open ALIASING.WIN\n"));
        EXPECT_FALSE(f.exists("SRC/ALIASING.WIN"));
    }
    {
        TtfFixture f;
        std::filesystem::create_directories(f.box.host("machine/C/INST/SRC/ALIASING.WIN"));
        f.font("A.ttf", dejavu("DejaVuSans.ttf"));
        f.run(&f.calls);  // a folder in the way of the file
        EXPECT_TRUE(f.sink.has("warning:Can not write ALIASING.WIN\n"));
    }
}

}  // namespace
}  // namespace installer::tex
