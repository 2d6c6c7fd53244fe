// TFM.LIB: real metric files from the TeX Live fonts merged into the library, its directory
// checked byte by byte, and damaged libraries and metric files refused without harm.

#include "installer/tex/font_library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "installer/package.h"
// after the package module, which its helpers use
#include "../job_fixture.h"

namespace installer::tex {
namespace {

namespace fs = std::filesystem;

const fs::path kTfm = fs::path(TATTILO_TEST_DATA) / "installer/tex/tfm";

struct Entry {
    std::string name;
    std::string bytes;
};

std::uint32_t little(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<std::uint8_t>(b.at(at + static_cast<std::size_t>(i)));
    }
    return v;
}

// The library's entries as its layout says, read independently of the code under test.
std::vector<Entry> entriesOf(const std::string& lib) {
    EXPECT_EQ(lib.substr(0, 14), std::string("TFM\x04LIB\x1A@@@@@\0", 14));
    const std::size_t count = little(lib, 14, 2);
    std::vector<Entry> out;
    std::size_t expectedOffset = (count + 1) * 16;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = (i + 1) * 16;
        const std::string raw = lib.substr(at, 8);
        const std::uint32_t offset = little(lib, at + 8, 4);
        const std::uint32_t length = little(lib, at + 12, 4);
        EXPECT_EQ(offset, expectedOffset) << "data in directory order, right after it";
        expectedOffset += length;
        out.push_back({raw.substr(0, raw.find('\0')), lib.substr(offset, length)});
    }
    EXPECT_EQ(expectedOffset, lib.size());
    return out;
}

struct LibraryFixture : test::JobFixture {
    InstallJob& j;
    LibraryFixture() : j(makeJob()) {
        j.prepare();
        fs::create_directories(box.host("machine/C/INST/BIN"));
    }
    void putMetric(const std::string& source, const std::string& as) {
        test::writeHost(box.host("machine/C/INST/BIN/" + as), test::readHost(kTfm / source));
    }
    std::string library() const { return installed("BIN/TFM.LIB"); }
};

TEST(FontLibrary, MergedLibraryListsTheFontsInNameOrderWithTheirBytes) {
    LibraryFixture f;
    for (const char* name : {"cmtt10.tfm", "cmr12.tfm", "cmbx10.tfm", "cmr10.tfm"}) {
        f.putMetric(name, name);
    }
    f.putMetric("cmex10.tfm", "CMEX10.TFM");
    f.putMetric("dummy-space.tfm", "dummy-space.tfm");  // a long name keeps eight characters
    f.j.updateFontLibrary = true;
    updateFontLibrary(f.j);

    auto entries = entriesOf(f.library());
    std::vector<std::string> names;
    for (const auto& e : entries) {
        names.push_back(e.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"cmbx10", "cmex10", "cmr10", "cmr12", "cmtt10",
                                               "dummy-sp"}));
    EXPECT_EQ(entries[1].bytes, test::readHost(kTfm / "cmex10.tfm"));
    EXPECT_EQ(entries[2].bytes, test::readHost(kTfm / "cmr10.tfm"));
    EXPECT_EQ(entries[5].bytes, test::readHost(kTfm / "dummy-space.tfm"));
    EXPECT_TRUE(f.sink.has("status:Updating TFM.LIB..."));
    // The metric files are gone from BIN; the library is the only file left there.
    EXPECT_FALSE(f.exists("BIN/cmr10.tfm"));
    EXPECT_FALSE(f.exists("BIN/CMEX10.TFM"));

    // A second merge replaces one font and adds another; the rest keep their bytes.
    const std::string first = f.library();
    f.putMetric("cmmi10.tfm", "cmr12.tfm");
    f.putMetric("cmsy10.tfm", "cmsy10.tfm");
    updateFontLibrary(f.j);
    entries = entriesOf(f.library());
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[3].name, "cmr12");
    EXPECT_EQ(entries[3].bytes, test::readHost(kTfm / "cmmi10.tfm"));
    EXPECT_EQ(entries[4].name, "cmsy10");
    EXPECT_EQ(entries[2].bytes, test::readHost(kTfm / "cmr10.tfm"));

    // Without metric files the step leaves the library as it was.
    const std::string second = f.library();
    updateFontLibrary(f.j);
    EXPECT_EQ(f.library(), second);
    EXPECT_NE(first, second);
}

TEST(FontLibrary, AFailedMergeLeavesTheOldLibraryAndRollbackRestoresAll) {
    LibraryFixture f;
    f.putMetric("cmr10.tfm", "cmr10.tfm");
    updateFontLibrary(f.j);
    f.j.undo().commit();
    const std::string before = f.library();
    const std::string cut = test::readHost(kTfm / "cmbx10.tfm").substr(0, 1000);

    // Each case: the metric files put in BIN, what fails, the code and file of the failure.
    struct Case {
        const char* what;
        std::function<void(LibraryFixture&)> setUp;
        int code;
        std::string failingFile;
    };
    std::vector<Case> cases = {
        {"metric file shorter than it says",
         [&](LibraryFixture& x) {
             test::writeHost(x.box.host("machine/C/INST/BIN/cmbx10.tfm"), cut);
         },
         CError::kCorrupted, "C:\\INST\\BIN\\cmbx10.tfm"},
        {"metric file of one byte",
         [](LibraryFixture& x) {
             test::writeHost(x.box.host("machine/C/INST/BIN/one.tfm"), "\x01");
         },
         CError::kCorrupted, "C:\\INST\\BIN\\one.tfm"},
        {"write fails half-way",
         // The first write is the backup copy of the old library.
         [](LibraryFixture& x) { x.faulty->failAt(2, {test::Fault::Write}); }, CError::kCannotWrite,
         ""},
        {"the new library cannot take the old one's place",
         // It takes it in one step, which fails.
         [](LibraryFixture& x) { x.faulty->failAt(1, {test::Fault::Replace}); },
         CError::kCannotWrite, "C:\\INST\\BIN\\TFM.LIB"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        f.putMetric("cmmi10.tfm", "cmmi10.tfm");
        c.setUp(f);
        const auto machineBefore = test::snapshot(f.box.host("machine"));
        std::string file;
        EXPECT_EQ(test::JobFixture::codeOf([&] { updateFontLibrary(f.j); }, &file), c.code);
        f.faulty->disarm();
        if (!c.failingFile.empty()) {
            EXPECT_EQ(file, c.failingFile);
        }
        EXPECT_EQ(f.library(), before);
        EXPECT_FALSE(f.exists("BIN/cmmi10.tfm")) << "deleted even when the merge fails";
        f.j.rollBack();
        EXPECT_TRUE(test::snapshot(f.box.host("machine")) == machineBefore);
        for (const auto& name : {"BIN/cmmi10.tfm", "BIN/cmbx10.tfm", "BIN/one.tfm"}) {
            std::filesystem::remove(f.box.host("machine/C/INST/") / name);
        }
    }
}

TEST(FontLibrary, DamagedLibrariesAreRefusedByName) {
    const std::string path = "C:\\KORVO\\BIN\\TFM.LIB";
    auto code = [&](const std::string& bytes) {
        return test::JobFixture::codeOf([&] { readLibraryDirectory(bytes, path); });
    };
    std::string good("TFM\x04LIB\x1A@@@@@\0", 14);
    good += std::string("\x01\x00", 2);
    good += std::string("cmr10\0\0\0", 8) + std::string("\x20\0\0\0\x04\0\0\0", 8) + "DATA";
    ASSERT_EQ(readLibraryDirectory(good, path).size(), 1u);
    EXPECT_EQ(readLibraryDirectory(good, path)[0].name, "cmr10");

    std::string badMagic = good;
    badMagic[3] = 0x05;
    EXPECT_EQ(code(badMagic), CError::kCorrupted);
    EXPECT_EQ(code(good.substr(0, 10)), CError::kCorrupted);
    std::string manyEntries = good;
    manyEntries[14] = 0x02;  // a second entry that the file does not hold
    EXPECT_EQ(code(manyEntries), CError::kCorrupted);
    std::string pastTheEnd = good;
    pastTheEnd[28] = 0x05;  // five bytes where four remain
    EXPECT_EQ(code(pastTheEnd), CError::kCorrupted);
    std::string hugeOffset = good;
    hugeOffset[27] = '\xFF';  // offset near 4 GiB: no wrap-around
    EXPECT_EQ(code(hugeOffset), CError::kCorrupted);
    try {
        readLibraryDirectory(badMagic, path);
    } catch (const CError& e) {
        EXPECT_EQ(e.text(), "File C:\\KORVO\\BIN\\TFM.LIB is bad or corrupted.");
    }
}

}  // namespace
}  // namespace installer::tex
