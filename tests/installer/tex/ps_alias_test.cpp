// ALIASING.PST and t1fntnf.bck: a round trip over two installations, the second placing the
// lines the first had to keep for later, and damaged pending files refused.

#include "installer/tex/ps_alias.h"

#include <gtest/gtest.h>

#include "installer/package.h"
// after the package module, which its helpers use
#include "../job_fixture.h"

namespace installer::tex {
namespace {

std::string le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

std::string record(std::uint32_t code, std::vector<std::pair<std::string, bool>> lines) {
    std::string out = le32(code) + le32(static_cast<std::uint32_t>(lines.size()));
    for (const auto& [text, replace] : lines) {
        out += le32(static_cast<std::uint32_t>(text.size())) + text + (replace ? '\1' : '\0');
    }
    return out;
}

struct AliasFixture : test::JobFixture {
    void file(const std::string& relative, const std::string& bytes = "font") {
        test::writeHost(box.host("machine/C/" + relative), bytes);
    }
    std::string read(const std::string& relative) {
        return test::readHost(box.host("machine/C/" + relative));
    }
};

TEST(PsAlias, RoundTripKeepsPendingLinesForTheNextRun) {
    AliasFixture f;
    f.file("INST/SRC/ALIASING.PST",
           "% fonts of the TeX system\r\n"
           "%1 = C:\\INST\\PFB\\\r\n"
           "  @Times-Roman = ptmr %1,1,\r\n"
           "a line that is not kept\r\n"
           "@Long = " +
               std::string(300, 'x') + "\r\n");
    f.file("INST/PFB/phvr.pfb");
    f.file("INST/PFM/phvr.pfm");
    f.file("INST/PFB/ptmrx.pfb");
    f.file("ACRO4/Resource/Font/pzdr.pfb");  // reader 4's fonts, without a .pfm

    InstallJob& j = f.makeJob();
    j.prepare();
    auto& d = j.deferred();
    d.queueAlias("@Helvetica=phvr %KORVO,", true);
    d.queueAlias("@Times-Roman=ptmrx %KORVO,", false);   // present: left as it is
    d.queueAlias("@Courier=pcrr %KORVO,", true);         // no pcrr.pfb yet
    d.queueAlias("@Symbol=b=\"psyr\" x=1 %AR3,", true);  // reader 3 not found
    d.queueAlias("@ZapfDingbats=pzdr %AR,", true);
    updatePsAliasFile(j, {"", "C:\\ACRO4\\Resource\\Font\\"});
    j.undo().commit();

    EXPECT_EQ(f.read("INST/SRC/ALIASING.PST"),
              "%1 = C:\\INST\\PFB\\\r\n"
              "%2 = C:\\ACRO4\\Resource\\Font\\\r\n"
              "%3 = C:\\ACRO4\\Resource\\Font\\PFM\\\r\n"
              "%4 = C:\\INST\\PFM\\\r\n"
              "\r\n\r\n"
              "@Times-Roman = ptmr %1,1,\r\n"
              "@Long = " +
                  std::string(300, 'x') +
                  "\r\n"
                  "@ZapfDingbats = pzdr %2,2,\r\n"
                  "@Helvetica = phvr %1,4,\r\n");
    EXPECT_TRUE(f.sink.has("status:Updating ALIASING.PST..."));
    EXPECT_EQ(f.read("INST/BIN/t1fntnf.bck"), record(1, {{"@Courier=pcrr %,", true}}) +
                                                  record(4, {{"@Symbol=b=\"psyr\" x=1 %,", true}}));

    // The second run: the fonts are there now, and reader 3 was found.
    f.file("INST/PFB/pcrr.pfb");
    f.file("ACRO3/Fonts/psyr.pfb");
    f.file("ACRO3/Fonts/PFM/psyr.pfm");
    const auto before = test::snapshot(f.box.host("machine"));
    InstallJob& second = f.makeJob();
    second.prepare();
    updatePsAliasFile(second, {"C:\\ACRO3\\Fonts\\", ""});
    EXPECT_EQ(f.read("INST/SRC/ALIASING.PST"),
              "%1 = C:\\INST\\PFB\\\r\n"
              "%2 = C:\\ACRO4\\Resource\\Font\\\r\n"
              "%3 = C:\\ACRO4\\Resource\\Font\\PFM\\\r\n"
              "%4 = C:\\INST\\PFM\\\r\n"
              "%5 = C:\\ACRO3\\Fonts\\\r\n"
              "%6 = C:\\ACRO3\\Fonts\\PFM\\\r\n"
              "\r\n\r\n"
              "@Times-Roman = ptmr %1,1,\r\n"
              "@Long = " +
                  std::string(300, 'x') +
                  "\r\n"
                  "@ZapfDingbats = pzdr %2,2,\r\n"
                  "@Helvetica = phvr %1,4,\r\n"
                  "@Symbol = b=\"psyr\" x=1 %5,6,\r\n"
                  "@Courier = pcrr %1,1,\r\n");
    EXPECT_FALSE(f.exists("BIN/t1fntnf.bck"));

    // Rolling the second run back brings both files back.
    second.rollBack();
    EXPECT_TRUE(test::snapshot(f.box.host("machine")) == before);
}

TEST(PsAlias, FontFileNamesAndPendingFileRecords) {
    EXPECT_EQ(aliasFontFile("@A=  ptmr  %KORVO,"), "ptmr");
    EXPECT_EQ(aliasFontFile("@A=x b=\"Font Name\" %AR,"), "Font Name");
    EXPECT_EQ(aliasFontFile("@A=ptmr"), "ptmr");

    AliasLists lists;
    const std::string bytes = record(5, {{"@a=b %,", false}, {"", true}}) + record(1, {});
    readPendingLines(bytes, "P", lists);
    ASSERT_EQ(lists.reader4.size(), 2u);
    EXPECT_FALSE(lists.reader4[0].replace);
    EXPECT_EQ(pendingLinesFile(lists), record(5, {{"@a=b %,", false}, {"", true}}));

    const std::string good = record(1, {{"@a=b %,", true}});
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"half a header", good.substr(0, 6)},
        {"a line longer than the file", good.substr(0, good.size() - 1)},
        {"more lines than the file holds", record(1, {{"@a", true}}).replace(4, 4, le32(2))},
        {"a count near 2^32", record(1, {}).replace(4, 4, le32(0xFFFFFFFFu))},
        {"a length near 2^32", record(1, {{"@a", true}}).replace(8, 4, le32(0xFFFFFFFFu))},
        {"an unknown list", record(2, {{"@a", true}})},
        {"a flag that is neither", good.substr(0, good.size() - 1) + '\2'},
    };
    for (const auto& [what, b] : damaged) {
        AliasLists l;
        std::string file;
        EXPECT_EQ(
            test::JobFixture::codeOf([&] { readPendingLines(b, "C:\\K\\t1fntnf.bck", l); }, &file),
            CError::kCorrupted)
            << what;
        EXPECT_EQ(file, "C:\\K\\t1fntnf.bck") << what;
    }

    // A damaged pending file fails the step by name and changes nothing.
    AliasFixture f;
    f.file("INST/BIN/t1fntnf.bck", good.substr(0, 5));
    InstallJob& j = f.makeJob();
    j.prepare();
    const auto before = test::snapshot(f.box.host("machine"));
    std::string failing;
    EXPECT_EQ(test::JobFixture::codeOf([&] { updatePsAliasFile(j, {}); }, &failing),
              CError::kCorrupted);
    EXPECT_EQ(failing, "C:\\INST\\BIN\\t1fntnf.bck");
    j.rollBack();
    EXPECT_TRUE(test::snapshot(f.box.host("machine")) == before);
}

}  // namespace
}  // namespace installer::tex
