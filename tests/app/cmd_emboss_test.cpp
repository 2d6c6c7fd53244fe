#include "app/cli/cli.h"
#include "cli_run.h"
#include "editor/document_file.h"

#include "../editor/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

using editor::testing::readBytes;
using editor::testing::TempFolder;
using editor::testing::testData;
using editor::testing::writeBytes;

using EmbossRun = cli::testing::CliRun;

EmbossRun emboss(std::vector<std::string> args) {
    args.insert(args.begin(), "emboss");
    return cli::testing::runCli(args);
}

TEST(CliEmboss, WritesThePageAsPrintToFileDoes) {
    TempFolder folder;
    editor::PageStore pages;
    pages.brailleOf(3) = readBytes(testData("emboss/pagina.txt"));
    pages.brailleOf(1) = "not this page";
    const auto doc = folder / "esempio.mtf";
    ASSERT_TRUE(editor::saveDocument(doc, pages).ok);

    EmbossRun r = emboss({"--page", "3", "--width", "8", "--height", "2", doc.string()});
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out, readBytes(testData("emboss/pagina_w8_h2.prn")));

    // Defaults: page 1, width 50, height 30; -o writes the file instead.
    r = emboss({doc.string(), "-o", (folder / "uno.prn").string()});
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readBytes(folder / "uno.prn"), "esempio.mtf\r\n \r\nnot this page\r\n");
}

TEST(CliEmboss, RefusalsAndFailures) {
    TempFolder folder;
    writeBytes(folder / "lettera.mtf", "Cara Maria,\r\n");
    EmbossRun r = emboss({(folder / "lettera.mtf").string()});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err, "Formato del file errato\n");
    EXPECT_EQ(r.out, "");

    r = emboss({(folder / "manca.mtf").string()});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err, (folder / "manca.mtf").string() + ": " + std::strerror(ENOENT) + "\n");

    r = emboss({folder.path().string()});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err, folder.path().string() + ": " + std::strerror(EISDIR) + "\n");

    const std::string sample = std::string(TATTILO_SOURCE_DIR) + "/data/esempi/esempio.mtf";
    r = emboss({"--width", "3", sample});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_EQ(r.err, "Impostare  parametri stampante Braille\n");

    const auto target = folder / "cartella.prn";
    std::filesystem::create_directory(target);
    r = emboss({"-o", target.string(), sample});
    EXPECT_EQ(r.status, cli::kFailed);
    EXPECT_TRUE(r.err.starts_with("Errore n. ")) << r.err;
    EXPECT_TRUE(r.err.ends_with(" in scrittura file " + target.string() + "\n")) << r.err;

    // The document itself, under its own name or another one, is never written over.
    const auto doc = folder / "compito.mtf";
    editor::PageStore pages;
    pages.brailleOf(1) = "#a+#b";
    ASSERT_TRUE(editor::saveDocument(doc, pages).ok);
    const std::string before = readBytes(doc);
    // A link to the document counts as the document, where the system has links.
    std::vector<std::filesystem::path> outputs = {doc, folder / "." / "compito.mtf"};
    std::error_code noLinks;
    std::filesystem::create_symlink(doc, folder / "collegamento.prn", noLinks);
    if (!noLinks) {
        outputs.push_back(folder / "collegamento.prn");
    }
    for (const auto& out : outputs) {
        r = emboss({doc.string(), "-o", out.string()});
        EXPECT_EQ(r.status, cli::kFailed) << out;
        EXPECT_EQ(r.err, "tattilo-cli emboss: " + out.string() + " is the document itself\n");
        EXPECT_EQ(readBytes(doc), before);
    }

    EXPECT_EQ(emboss({"--page", "0", sample}).status, cli::kUsage);
    EXPECT_EQ(emboss({}).status, cli::kUsage);
    EXPECT_EQ(emboss({sample, sample}).status, cli::kUsage);
    EXPECT_EQ(emboss({"--colour", sample}).status, cli::kUsage);
}

}  // namespace
