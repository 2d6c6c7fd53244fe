// The embosser header of a document whose name on a POSIX disk is UTF-8.

#include "../cli_run.h"
#include "app/cli/cli.h"
#include "editor/document_file.h"

#include "../../editor/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>

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

TEST(CliEmboss, TheHeaderNamesTheDocumentInCodePage1252) {
    TempFolder folder;
    editor::PageStore pages;
    pages.brailleOf(1) = "#a";
    // "perché €.mtf" as the system names it.
    const auto doc = folder / "perch\xC3\xA9 \xE2\x82\xAC.mtf";
    ASSERT_TRUE(editor::saveDocument(doc, pages).ok);
    EmbossRun r = emboss({doc.string()});
    EXPECT_EQ(r.status, cli::kOk) << r.err;
    EXPECT_EQ(r.out, "perch\xE9 \x80.mtf\r\n \r\n#a\r\n");

    // A name the code page cannot write is printed as the system gives it.
    const auto greek = folder / "\xCF\x80.mtf";
    ASSERT_TRUE(editor::saveDocument(greek, pages).ok);
    r = emboss({greek.string()});
    EXPECT_EQ(r.out, "\xCF\x80.mtf\r\n \r\n#a\r\n");
}

}  // namespace
