// tattilo-cli emboss: the embosser file of one page's Braille text, exactly as "Stampa su file"
// writes it.

#include "app/cli/cli.h"
#include "editor/braille_print.h"
#include "editor/document_file.h"
#include "editor/file_io.h"

#include <cstring>
#include <filesystem>
#include <ostream>

namespace cli {
namespace {

constexpr std::string_view kEmbossUsage =
    "Usage: tattilo-cli emboss [--page N] [--width W] [--height H] [-o OUT] DOC.mtf\n"
    "\n"
    "Writes the embosser file of one page's Braille text, as \"Stampa su file\" does:\n"
    "the document's file name, a line holding one space, then the Braille lines\n"
    "broken at W cells, with a form feed line whenever H lines have been counted.\n"
    "\n"
    "  --page N     the page, 1 to 15 (default 1)\n"
    "  --width W    Braille cells per line, at least 4 (default 50)\n"
    "  --height H   lines per page, at least 1 (default 30)\n"
    "  -o OUT       write OUT instead of standard output; an existing OUT is\n"
    "               replaced only once the new file is complete, and never\n"
    "               when it is the document itself\n";

int emboss(std::span<const std::string> args, Io& io) {
    Arguments a(args, {"--page", "--width", "--height", "-o"}, {});
    const std::optional<int> page = a.integer("--page", 1, 1, editor::kPageCount);
    const std::optional<int> width = a.integer("--width", 50, 0, 100000);
    const std::optional<int> height = a.integer("--height", 30, 0, 1000000);
    if (a.ok() && a.positional().size() != 1) {
        io.err << "tattilo-cli emboss: give one document file\n" << kEmbossUsage;
        return kUsage;
    }
    if (!a.ok() || !page || !width || !height) {
        io.err << "tattilo-cli emboss: " << a.error() << '\n' << kEmbossUsage;
        return kUsage;
    }
    if (!editor::printerSettingsUsable(*width, *height)) {
        io.err << editor::kMsgPrinterSettings << '\n';
        return kFailed;
    }

    const std::string& path = a.positional().front();
    // Read here rather than with readInput, which takes a folder for an empty file.
    const editor::ReadResult read = editor::readWholeFile(path);
    if (read.error != 0) {
        io.err << path << ": " << std::strerror(read.error) << '\n';
        return kFailed;
    }
    editor::PageStore pages;
    if (!editor::parseDocument(read.bytes, pages)) {
        io.err << editor::kMsgWrongFormat << '\n';
        return kFailed;
    }
    const std::optional<std::string> file = editor::embosserFile(
        editor::programName(editor::fileNamePart(path)), pages.brailleOf(*page), *width, *height);

    if (const std::optional<std::string> out = a.value("-o")) {
        // Writing the print over the document would destroy the document.
        std::error_code ec;
        if (std::filesystem::equivalent(path, *out, ec)) {
            io.err << "tattilo-cli emboss: " << *out << " is the document itself\n";
            return kFailed;
        }
        if (const int code = editor::writeFileSafely(*out, *file)) {
            io.err << editor::writeErrorMessage(code, *out) << '\n';
            return kFailed;
        }
        return kOk;
    }
    io.out.write(file->data(), static_cast<std::streamsize>(file->size()));
    io.out.flush();
    return io.out ? kOk : kFailed;
}

}  // namespace

extern const Command kEmbossCommand{"emboss", "the embosser file (.prn) of one page's Braille text",
                                    kEmbossUsage, emboss};

}  // namespace cli
