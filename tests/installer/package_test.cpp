// Package files: volumes, records, members, checksums, dates, names that would leave their
// root, damaged packages, cancel.

#include <gtest/gtest.h>

#include <set>

#include "installer/package.h"
#include "job_fixture.h"

namespace installer {
namespace {

using test::JobFixture;
using test::PackageBuilder;

std::string sample(std::size_t size, unsigned seed) {
    std::string text;
    text.reserve(size);
    unsigned x = seed;
    for (std::size_t i = 0; i < size; ++i) {
        x = x * 1103515245 + 12345;
        // Half text, half noise: both compress differently.
        text += (i / 4096) % 2 ? static_cast<char>(x >> 24) : static_cast<char>('a' + (x >> 27));
    }
    return text;
}

TEST(Package, VolumesAreOneStream) {
    JobFixture f;
    const std::string big = sample(150000, 1);
    const std::string bytes = PackageBuilder()
                                  .skip('M', "comment")
                                  .folder("BIN")
                                  .member("a.txt", "alpha")
                                  .padding()
                                  .member("big.dat", big)
                                  .skip('T', "tail")
                                  .member("stored.txt", "stored bytes", 0)
                                  .member("extra.txt", "after the extra field", 8, 0x5462, 0x4C20,
                                          std::string("UT\x05\x00\x01\x02\x03\x04\x05", 9))
                                  .bytes;
    // Cut inside a header, inside deflated data, and inside a stored member.
    const std::size_t cuts[] = {20, bytes.size() / 2, bytes.size() - 5};
    std::vector<std::string> volumes;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        volumes.push_back(bytes.substr(from, cut - from));
        from = cut;
    }
    volumes.push_back(bytes.substr(from));
    f.unpack(volumes);
    EXPECT_EQ(f.installed("BIN/a.txt"), "alpha");
    EXPECT_EQ(f.installed("BIN/big.dat"), big);
    EXPECT_EQ(f.installed("BIN/stored.txt"), "stored bytes");
    EXPECT_EQ(f.installed("BIN/extra.txt"), "after the extra field");
    EXPECT_EQ(f.sink.advanced, 5 + big.size() + 12 + 21);
    EXPECT_TRUE(f.sink.has("creating:C:\\INST\\BIN\\big.dat"));
    // Every written file is in the register.
    EXPECT_EQ(f.installed("BIN/INST.INI"),
              "[INSTALLED-txt]\r\na=1\r\nstored=1\r\nextra=1\r\n\r\n[INSTALLED-dat]\r\nbig=1\r\n");
}

TEST(Package, MissingVolumesAndEndRecords) {
    JobFixture f;
    // Volume 002 missing after 001 simply ends the stream.
    f.unpack({PackageBuilder().member("one.txt", "1").bytes});
    EXPECT_EQ(f.installed("one.txt"), "1");
    // Only a missing 001 is an error.
    std::string file;
    EXPECT_EQ(JobFixture::codeOf(
                  [&] { unpackPackage(f.makeJob(), "C:\\DIST\\NOTHERE", "C:\\INST\\"); }, &file),
              CError::kCannotOpen);
    EXPECT_EQ(file, "C:\\DIST\\NOTHERE");
    // "Q" ends the package: what follows is not read.
    f.unpack({PackageBuilder().member("q1.txt", "x").quit().bytes + "garbage"});
    EXPECT_TRUE(f.exists("q1.txt"));
    // An unknown record type is damage.
    EXPECT_EQ(JobFixture::codeOf([&] { f.unpack({PackageBuilder().bytes + "Z"}); }, &file),
              CError::kCorrupted);
    EXPECT_EQ(file, "C:\\DIST\\PKG");
}

TEST(Package, MemberNamesDatesAndMethods) {
    JobFixture f;
    // 2 March 2022 09:30:04 and 1 January 1980 00:00:00.
    const std::uint16_t date = static_cast<std::uint16_t>((42 << 9) | (3 << 5) | 2);
    const std::uint16_t time = static_cast<std::uint16_t>((9 << 11) | (30 << 5) | 2);
    f.unpack({PackageBuilder()
                  .member("readme.txt=liesmich.txt", "Hallo", 8, date, time)
                  .member("empty.txt", "", 8, 0x21, 0)
                  .member("empty0.txt", "", 0, date, time)
                  .bytes});
    EXPECT_FALSE(f.exists("readme.txt"));
    EXPECT_EQ(f.installed("liesmich.txt"), "Hallo");
    auto& sys = *f.box.sys;
    EXPECT_EQ(sys.fileTime("C:\\INST\\liesmich.txt"), sys.fromLocalTime({2022, 3, 2, 9, 30, 4}));
    EXPECT_EQ(f.installed("empty.txt"), "");
    EXPECT_EQ(sys.fileTime("C:\\INST\\empty.txt"), sys.fromLocalTime({1980, 1, 1, 0, 0, 0}));
    EXPECT_EQ(sys.fileTime("C:\\INST\\EMPTY0.TXT"), sys.fromLocalTime({2022, 3, 2, 9, 30, 4}));
    EXPECT_EQ(memberOutputName("a=b=c"), "b=c");

    // Method 12 is not one we can read.
    std::string file;
    EXPECT_EQ(
        JobFixture::codeOf(
            [&] { f.unpack({PackageBuilder().rawMember("x.txt", "abc", 12, 0, 3, 3).bytes}); },
            &file),
        CError::kCorrupted);
    EXPECT_EQ(file, "C:\\DIST\\PKG");
    EXPECT_EQ(CError(CError::kCorrupted, file).text(), "File C:\\DIST\\PKG is bad or corrupted.");
}

TEST(Package, FoldersAndNamesStayInsideTheirRoot) {
    JobFixture f;
    f.unpack({PackageBuilder()
                  .folder("A\\B")
                  .member("in.txt", "1")
                  .folder("!")
                  .member("win.ini", "2")
                  .folder("WINDOWS")
                  .member("sys.ini", "3")
                  .folder("BIN")
                  .member("sub/inner.txt=inside.txt", "4")
                  .bytes});
    EXPECT_EQ(f.installed("A/B/in.txt"), "1");
    EXPECT_EQ(test::readHost(f.box.host("machine/C/WINDOWS/win.ini")), "2");
    EXPECT_EQ(test::readHost(f.box.host("machine/C/WINDOWS/sys.ini")), "3");
    EXPECT_EQ(f.installed("BIN/inside.txt"), "4");
    const auto folders = f.job->undo().createdFolders();
    EXPECT_NE(std::find(folders.begin(), folders.end(), "C:\\INST\\A\\B\\"), folders.end());

    const std::vector<std::string> escaping = {"..",    "..\\OUT", "A\\..\\..\\OUT", "C:\\OUT",
                                               "\\OUT", "CON",     "A\\\\B",         "x:y"};
    f.job->undo().commit();
    const auto before = test::snapshot(f.box.host("machine"));
    for (const auto& name : escaping) {
        std::string file;
        EXPECT_EQ(
            JobFixture::codeOf([&] { f.unpack({PackageBuilder().folder(name).bytes}); }, &file),
            CError::kCorrupted)
            << name;
        EXPECT_EQ(file, "C:\\DIST\\PKG");
        f.job->rollBack();
        EXPECT_EQ(
            JobFixture::codeOf([&] {
                f.unpack({PackageBuilder().member("ok.txt=" + name + "\\evil.txt", "x").bytes});
            }),
            CError::kCorrupted)
            << name;
        f.job->rollBack();
    }
    for (const auto& name : {"..\\evil.txt", "C:\\evil.txt", "\\evil.txt", "nul", "dir\\",
                             "PRN.txt", "a\\..\\..\\evil.txt"}) {
        EXPECT_EQ(JobFixture::codeOf([&] { f.unpack({PackageBuilder().member(name, "x").bytes}); }),
                  CError::kCorrupted)
            << name;
        f.job->rollBack();
    }
    // Only the distribution's volumes changed.
    auto after = test::snapshot(f.box.host("machine"));
    after.erase("C/DIST/PKG.001");
    auto expected = before;
    expected.erase("C/DIST/PKG.001");
    EXPECT_EQ(after, expected);
}

TEST(Package, ChecksumAndSizesAreChecked) {
    JobFixture f;
    const std::string data = sample(5000, 7);
    const std::string packed = test::deflateRaw(data);
    const std::uint32_t crc = test::crcOf(data);
    const auto size = static_cast<std::uint32_t>(data.size());
    const auto packedSize = static_cast<std::uint32_t>(packed.size());
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"crc", PackageBuilder().rawMember("c.txt", packed, 8, crc ^ 1, packedSize, size).bytes},
        {"stored crc", PackageBuilder().rawMember("s.txt", data, 0, crc + 1, size, size).bytes},
        {"longer", PackageBuilder().rawMember("l.txt", packed, 8, crc, packedSize, size + 1).bytes},
        {"shorter",
         PackageBuilder().rawMember("h.txt", packed, 8, crc, packedSize, size - 1).bytes},
        {"packed short",
         PackageBuilder().rawMember("p.txt", packed, 8, crc, packedSize - 10, size).bytes},
        {"stored sizes differ",
         PackageBuilder().rawMember("d.txt", data, 0, crc, size, size - 1).bytes},
        {"garbage data",
         PackageBuilder().rawMember("g.txt", std::string(100, '\xFF'), 8, crc, 100, size).bytes},
        {"huge size",
         PackageBuilder().rawMember("u.txt", packed, 8, crc, packedSize, 0xFFFFFFFF).bytes},
        {"bad signature", "V" + std::string("PK\x05\x06", 4) + std::string(40, '\0')},
        {"no name", PackageBuilder().rawMember("", "", 0, 0, 0, 0).bytes},
    };
    std::filesystem::create_directories(f.box.host("machine/C/INST"));
    const auto before = test::snapshot(f.box.host("machine/C/INST"));
    for (const auto& c : cases) {
        EXPECT_EQ(JobFixture::codeOf([&] { f.unpack({c.bytes}); }), CError::kCorrupted) << c.what;
        f.job->rollBack();
        // Written files are gone again (the install folder itself was made by the test).
        EXPECT_EQ(test::snapshot(f.box.host("machine/C/INST")), before) << c.what;
    }
}

// Every prefix of a small package either installs the records it holds completely (it ends
// at a record boundary) or fails with code 5; a failure rolls back to exactly what was there.
TEST(Package, TruncationAtEveryOffsetFailsCleanly) {
    JobFixture f;
    test::writeHost(f.box.host("machine/C/INST/keep.txt"), "old content");
    test::writeHost(f.box.host("machine/C/INST/BIN/INST.INI"), "[INSTALLED-txt]\r\nkeep=1\r\n");
    PackageBuilder builder;
    std::set<std::size_t> boundaries = {0};
    builder.skip('M', "hi");
    boundaries.insert(builder.bytes.size());
    builder.folder("SUB");
    boundaries.insert(builder.bytes.size());
    builder.member("keep.txt", "new content, deflated");
    boundaries.insert(builder.bytes.size());
    builder.member("b.txt", sample(300, 3), 0);
    boundaries.insert(builder.bytes.size());
    builder.member("c.txt", "");
    boundaries.insert(builder.bytes.size());
    const std::string full = builder.bytes;
    f.put("PKG.001", "");
    const auto before = test::snapshot(f.box.host("machine"));
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        const int code = JobFixture::codeOf([&] {
            f.job.reset();
            f.put("PKG.001", full.substr(0, cut));
            InstallJob& j = f.makeJob();
            j.prepare();
            unpackPackage(j, "C:\\DIST\\PKG", "C:\\INST\\");
        });
        if (boundaries.count(cut)) {
            EXPECT_EQ(code, -1) << "cut at " << cut;
        } else {
            EXPECT_EQ(code, CError::kCorrupted) << "cut at " << cut;
        }
        f.job->rollBack();
        auto now = test::snapshot(f.box.host("machine"));
        now["C/DIST/PKG.001"] = "";
        ASSERT_EQ(now, before) << "cut at " << cut;
    }
}

TEST(Package, FlippedBitsNeverCrashAndFailuresRollBack) {
    JobFixture f;
    test::writeHost(f.box.host("machine/C/INST/a.txt"), "previous");
    const std::string full = PackageBuilder()
                                 .folder("D")
                                 .member("a.txt", "alpha alpha alpha alpha")
                                 .member("b.bin", sample(200, 9), 0)
                                 .bytes;
    f.put("PKG.001", "");
    const auto before = test::snapshot(f.box.host("machine"));
    int failures = 0;
    for (std::size_t at = 0; at < full.size(); ++at) {
        for (int bit = 0; bit < 8; bit += 3) {
            std::string damaged = full;
            damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
            const int code = JobFixture::codeOf([&] {
                f.job.reset();
                f.put("PKG.001", damaged);
                InstallJob& j = f.makeJob();
                j.prepare();
                unpackPackage(j, "C:\\DIST\\PKG", "C:\\INST\\");
            });
            EXPECT_TRUE(code == -1 || code == CError::kCorrupted || code == CError::kCannotOpen)
                << "byte " << at << " bit " << bit << " code " << code;
            f.job->rollBack();
            if (code != -1) {
                ++failures;
                auto now = test::snapshot(f.box.host("machine"));
                now["C/DIST/PKG.001"] = "";
                ASSERT_EQ(now, before) << "byte " << at << " bit " << bit;
            }
        }
    }
    EXPECT_GT(failures, 0);
}

TEST(Package, CancelStopsWithinOneChunk) {
    JobFixture f;
    const std::string big = sample(10 * 65536 + 100, 5);
    f.put("PKG.001", PackageBuilder().member("big.dat", big).bytes);
    InstallJob& j = f.makeJob();
    j.prepare();
    f.sink.cancelAtCall = 3;  // "Creating:" is call 1, the first chunk's advance is call 2
    EXPECT_EQ(JobFixture::codeOf([&] { unpackPackage(j, "C:\\DIST\\PKG", "C:\\INST\\"); }),
              CError::kCancelled);
    // Cancel came with the second chunk's advance; the third chunk was the last written.
    EXPECT_EQ(f.sink.advanced, 2u * 65536);
    EXPECT_EQ(f.installed("big.dat").size(), 3u * 65536);
    j.rollBack();
    EXPECT_FALSE(f.exists("big.dat"));
}

}  // namespace
}  // namespace installer
