// Raster fonts: GF and PK files made by METAFONT and gftopk (tools/tex_fonts) read for their
// resolutions, damaged copies of them refused with their messages, and RFONTS.SET written for
// a font folder tree and read back by its documented layout.

#include "installer/tex/raster_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../support.h"
#include "installer/tex/font_library.h"

namespace installer::tex {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(TATTILO_TEST_DATA) / "installer/tex";

std::string raster(const std::string& name) {
    return test::readHost(kData / "raster" / name);
}

std::string word(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

// A PXL file: 1001, glyph bytes, the directory, then checksum, magnification, design size,
// directory pointer and 1001.
std::string pxl(std::uint32_t magnification, std::uint32_t id = 1001) {
    std::string b = word(id) + std::string(512 * 4 + 40, '\0');
    return b + word(0x12345678) + word(magnification) + word(10 << 20) + word(4) + word(id);
}

TEST(RasterReaders, RealFontsGiveTheirResolutions) {
    EXPECT_EQ(readGf(raster("tbraille.300gf"), "a").resolution, 300);
    EXPECT_EQ(readPk(raster("tbraille.329pk"), "a").resolution, 329);
    const RasterRead pk = readPk(raster("tbraille.600pk"), "a");
    EXPECT_EQ(pk.resolution, 600);
    EXPECT_TRUE(pk.messages.empty());
    EXPECT_EQ(readPxl(pxl(1500), "a").resolution, 300);
    EXPECT_EQ(readPxl(pxl(1644, 7), "a", false).resolution, 329);  // "!F!": no id check

    EXPECT_EQ(rasterFormatOf("300gf"), RasterFormat::Gf);
    EXPECT_EQ(rasterFormatOf("600PK"), RasterFormat::Pk);
    EXPECT_EQ(rasterFormatOf("1500pxl"), RasterFormat::Pxl);
    EXPECT_EQ(rasterFormatOf("300!F!"), RasterFormat::Fpf);
    EXPECT_EQ(rasterFormatOf("tfm"), std::nullopt);
    EXPECT_EQ(rasterFormatOf("pkg"), std::nullopt);
}

TEST(RasterReaders, DamagedFontsGiveTheirMessages) {
    const std::string gf = raster("tbraille.300gf");
    const std::size_t n = gf.size();
    // Where the GF postamble's pieces are: trailing 223's, the id byte, the pointer, post_post.
    std::size_t fill = 0;
    while (static_cast<std::uint8_t>(gf[n - 1 - fill]) == 223) {
        ++fill;
    }
    const std::size_t id = n - 1 - fill;
    const std::uint32_t post = (std::uint32_t{static_cast<std::uint8_t>(gf[id - 4])} << 24) |
                               (static_cast<std::uint8_t>(gf[id - 3]) << 16) |
                               (static_cast<std::uint8_t>(gf[id - 2]) << 8) |
                               static_cast<std::uint8_t>(gf[id - 1]);
    auto changed = [&](std::size_t at, char c) {
        std::string b = gf;
        b[at] = c;
        return b;
    };
    auto pointer = [&](std::uint32_t p) { return gf.substr(0, id - 4) + word(p) + gf.substr(id); };
    struct Case {
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> gfCases = {
        {gf.substr(0, 63), "GF file F is too short."},
        {changed(0, 1), "Bad ID in a GF file F."},
        {changed(1, 1), "Bad GF Version in F."},
        {gf.substr(0, n - fill + 3), "Bad GF file F: missing 223's."},
        {changed(id, 1), "Bad GF file F: missing postamble ID."},
        {changed(id - 5, 1), "Bad GF file F: post_post missing."},
        {changed(post, 1), "Bad GF file F: Post command missing."},
        // A pointer outside the file, or at the pointer itself, finds no postamble.
        {pointer(0xFFFFFFF0u), "Bad GF file F: Post command missing."},
        {pointer(static_cast<std::uint32_t>(id - 4)), "Bad GF file F: Post command missing."},
    };
    for (const auto& c : gfCases) {
        const RasterRead r = readGf(c.bytes, "F");
        EXPECT_FALSE(r.resolution) << c.message;
        EXPECT_EQ(r.messages, std::vector<std::string>{c.message});
    }
    // A postamble more than 4096 bytes from the end.
    {
        std::string padded = gf.substr(0, 2) + std::string(5000, '\0') + gf.substr(2);
        padded.replace(id + 5000 - 4, 4, word(2));
        EXPECT_EQ(readGf(padded, "F").messages,
                  std::vector<std::string>{"Input buffer too small for F."});
    }
    // A postamble too short for its resolution fields is a read error.
    {
        std::string b(100, '\0');
        b[0] = static_cast<char>(247);
        b[1] = static_cast<char>(131);
        b[80] = static_cast<char>(248);
        const std::string tail = std::string(1, '\xF9') + word(80) + "\x83" + "\xDF\xDF\xDF\xDF";
        b.replace(b.size() - tail.size(), tail.size(), tail);
        EXPECT_EQ(readGf(b, "F").messages, std::vector<std::string>{"Error reading GF file F."});
    }

    const std::string pk = raster("tbraille.600pk");
    std::string skewed = pk;
    const std::size_t vppp = 3 + static_cast<std::uint8_t>(pk[2]) + 12;
    skewed[vppp + 3] = static_cast<char>(skewed[vppp + 3] + 1);
    const RasterRead aspect = readPk(skewed, "F");
    EXPECT_EQ(aspect.resolution, 600) << "still used";
    EXPECT_EQ(aspect.messages, std::vector<std::string>{"Bad PK file F: aspect ratio not 1:1!"});
    std::string noPre = pk;
    noPre[0] = 0;
    EXPECT_EQ(readPk(noPre, "F").messages,
              std::vector<std::string>{"Bad PK file F: pre command missing."});
    std::string version = pk;
    version[1] = 88;
    EXPECT_EQ(readPk(version, "F").messages,
              std::vector<std::string>{"Wrong version of PK file F."});
    // A comment that runs past the end of the file.
    EXPECT_EQ(readPk(pk.substr(0, vppp), "F").messages,
              std::vector<std::string>{"Can not read file F."});
    EXPECT_FALSE(readPk("", "F").resolution);

    EXPECT_EQ(readPxl(pxl(1500, 1002), "F").messages, std::vector<std::string>{"Bad PXL file F"});
    EXPECT_EQ(readPxl(pxl(1500).substr(0, 63), "F").messages,
              std::vector<std::string>{"PXL file is too short in F"});
    EXPECT_EQ(readPxl(pxl(0), "F").messages,
              std::vector<std::string>{"File F is bad or corrupted."});
}

// The RFONTS.SET layout, read independently of the writer.
struct Table {
    std::vector<std::string> folders;
    std::vector<std::string> names;
    struct Record {
        std::string folder, name, extension;
        int format, metric, resolution, metricFolder;
    };
    std::vector<Record> fonts;
};

std::uint32_t le(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<std::uint8_t>(b.at(at + static_cast<std::size_t>(i)));
    }
    return v;
}

std::vector<std::string> strings(const std::string& b, std::size_t at, std::size_t count) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < count; ++i) {
        const auto end = b.find('\0', at);
        out.push_back(b.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

Table parse(const std::string& b) {
    Table t;
    EXPECT_EQ(b.substr(0, 8), "RFONTSET");
    EXPECT_EQ(le(b, 8, 2), 1u);
    EXPECT_EQ(le(b, 10, 2), 44u);
    EXPECT_EQ(le(b, 36, 4), b.size());
    t.folders = strings(b, le(b, 16, 4), le(b, 12, 4));
    t.names = strings(b, le(b, 24, 4), le(b, 20, 4));
    const std::size_t records = le(b, 32, 4);
    for (std::size_t i = 0; i < le(b, 28, 4); ++i) {
        const std::size_t at = records + i * 16;
        const int metricFolder = static_cast<int>(le(b, at + 10, 2));
        t.fonts.push_back({t.folders.at(le(b, at, 2)), t.names.at(le(b, at + 2, 2)),
                           t.names.at(le(b, at + 4, 2)), static_cast<int>(le(b, at + 6, 1)),
                           static_cast<int>(le(b, at + 7, 1)), static_cast<int>(le(b, at + 8, 2)),
                           metricFolder});
    }
    return t;
}

struct RasterFixture {
    test::Sandbox box;
    test::RecordingSink sink;
    void put(const std::string& relative, const std::string& bytes) {
        test::writeHost(box.host("machine/C/KORVO/" + relative), bytes);
    }
    RasterFixture() {
        fs::create_directories(box.host("machine/C/KORVO/BIN"));
        test::writeHost(box.host("machine/C/KORVO/BIN/cmr10.tfm"),
                        test::readHost(kData / "tfm/cmr10.tfm"));
        mergeFontLibrary(*box.sys, "C:\\KORVO\\BIN\\TFM.LIB", {"C:\\KORVO\\BIN\\cmr10.tfm"});
        put("FONTS/tbraille.300gf", raster("tbraille.300gf"));
        put("FONTS/tbraille.tfm", raster("tbraille.tfm"));
        put("FONTS/DPI329/TBRAILLE.329PK", raster("tbraille.329pk"));
        put("FONTS/DPI600/tbraille.600pk", raster("tbraille.600pk"));
        put("FONTS/DPI600/cmr10.600pk", raster("tbraille.600pk"));  // metric in the library
        put("FONTS/DPI600/nometric.600pk", raster("tbraille.600pk"));
        put("FONTS/DPI600/broken.300gf", raster("tbraille.300gf").substr(0, 40));
        put("FONTS/DPI600/readme.txt", "not a font");
        put("FONTS/PXL/cmr10.1500pxl", pxl(1500));
        put("FONTS/PXL/orphan.tfm", raster("tbraille.tfm"));
    }
    RasterConfiguration run(RasterLimits limits = {}) {
        return configureRasterFonts(*box.sys, sink, "C:\\KORVO\\BIN\\", "C:\\KORVO\\BIN\\TFM.LIB",
                                    limits);
    }
};

TEST(RasterFonts, TableListsTheFontsAtTheirRealResolutions) {
    RasterFixture f;
    const RasterConfiguration c = f.run();
    ASSERT_TRUE(c.written);
    const Table t = parse(test::readHost(f.box.host("machine/C/KORVO/BIN/RFONTS.SET")));
    EXPECT_EQ(t.folders,
              (std::vector<std::string>{"C:\\KORVO\\FONTS\\", "C:\\KORVO\\FONTS\\DPI329\\",
                                        "C:\\KORVO\\FONTS\\DPI600\\", "C:\\KORVO\\FONTS\\PXL\\"}));
    ASSERT_EQ(t.fonts.size(), 5u);
    const auto& gf = t.fonts[0];
    EXPECT_EQ(gf.folder + gf.name + "." + gf.extension, "C:\\KORVO\\FONTS\\tbraille.300gf");
    EXPECT_EQ(std::tie(gf.format, gf.metric, gf.resolution, gf.metricFolder),
              std::make_tuple(1, 2, 300, 0));
    const auto& pk329 = t.fonts[1];
    EXPECT_EQ(pk329.name + "." + pk329.extension, "TBRAILLE.329PK");
    EXPECT_EQ(std::tie(pk329.format, pk329.resolution), std::make_tuple(2, 329));
    const auto& library = t.fonts[2];
    EXPECT_EQ(library.name + "." + library.extension, "cmr10.600pk");
    EXPECT_EQ(std::tie(library.metric, library.resolution, library.metricFolder),
              std::make_tuple(1, 600, 0xFFFF));
    EXPECT_EQ(t.fonts[3].name + "/" + std::to_string(t.fonts[3].resolution), "tbraille/600");
    EXPECT_EQ(std::tie(t.fonts[4].format, t.fonts[4].resolution), std::make_tuple(3, 300));
    // Names and extensions are stored once.
    EXPECT_EQ(std::count(t.names.begin(), t.names.end(), "tbraille"), 1);

    EXPECT_EQ(c.log,
              "Scanning C:\\KORVO\\FONTS\\\r"
              "Scanning C:\\KORVO\\FONTS\\DPI329\\\r"
              "Scanning C:\\KORVO\\FONTS\\DPI600\\\r"
              "GF file C:\\KORVO\\FONTS\\DPI600\\broken.300gf is too short.\n"
              "Scanning C:\\KORVO\\FONTS\\PXL\\\r"
              "Font #1: C:\\KORVO\\FONTS\\tbraille.300gf; mag=300\n"
              "TFM: C:\\KORVO\\FONTS\\tbraille.tfm\n"
              "Font #2: C:\\KORVO\\FONTS\\DPI329\\TBRAILLE.329PK; mag=329\n"
              "TFM: C:\\KORVO\\FONTS\\tbraille.tfm\n"
              "Font #3: C:\\KORVO\\FONTS\\DPI600\\cmr10.600pk; mag=600\n"
              "Font #4: C:\\KORVO\\FONTS\\DPI600\\tbraille.600pk; mag=600\n"
              "TFM: C:\\KORVO\\FONTS\\tbraille.tfm\n"
              "Font #5: C:\\KORVO\\FONTS\\PXL\\cmr10.1500pxl; mag=300\n"
              "\nThe following font(s) were not registered (no .TFM file):\n"
              "  C:\\KORVO\\FONTS\\DPI600\\nometric.600pk;\n"
              "\nThe following .TFM(s) were not registered (no font files):\n"
              "  C:\\KORVO\\FONTS\\PXL\\orphan.tfm;\n");
    EXPECT_TRUE(f.sink.has("status:Font #5: C:\\KORVO\\FONTS\\PXL\\cmr10.1500pxl; mag=300"));
}

TEST(RasterFonts, StopsWithItsMessagesAtLimitsAndMissingFiles) {
    {
        RasterFixture f;
        const RasterConfiguration c = f.run({3, 2});
        EXPECT_EQ(c.folders.size(), 3u);
        EXPECT_EQ(c.fonts.size(), 2u);
        EXPECT_TRUE(f.sink.has("warning:Too many font directories---\ncould not process all..."));
        EXPECT_TRUE(f.sink.has("warning:Too many fonts---\ncould not process all..."));
        EXPECT_EQ(parse(test::readHost(f.box.host("machine/C/KORVO/BIN/RFONTS.SET"))).fonts.size(),
                  2u);
    }
    {
        RasterFixture f;
        test::writeHost(f.box.host("machine/C/KORVO/BIN/TFM.LIB"), "TFM\x04LIB");
        const RasterConfiguration c = f.run();
        EXPECT_FALSE(c.written);
        EXPECT_TRUE(f.sink.has("warning:Cannot open the C:\\KORVO\\BIN\\TFM.LIB library."));
        EXPECT_FALSE(fs::exists(f.box.host("machine/C/KORVO/BIN/RFONTS.SET")));
    }
    {
        RasterFixture f;
        fs::create_directories(f.box.host("machine/C/KORVO/BIN/RFONTS.SET"));  // in the way
        EXPECT_FALSE(f.run().written);
        EXPECT_TRUE(f.sink.has("warning:Cannot create file C:\\KORVO\\BIN\\RFONTS.SET."));
    }
}

}  // namespace
}  // namespace installer::tex
