#include "notation/mathml_export.h"

#include "notation/mathml_page.h"
#include "notation/mathml_tables.h"

#include <cstdio>

namespace notation {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool isBlankPage(std::string_view page) {
    return page.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

void addLine(std::string& out, std::string_view line) {
    out += line;
    out += kLineBreak;
}

std::string pageName(int page) {
    return "pagina " + std::to_string(page);
}

// The name without folder and extension; a folder may be written with either slash.
std::string bareName(const std::filesystem::path& file) {
    std::string name = file.string();
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

}  // namespace

std::filesystem::path proposeExportPath(const std::filesystem::path& documentPath,
                                        const std::filesystem::path& exerciseFolder,
                                        std::string_view nextExerciseName) {
    std::filesystem::path proposal =
        documentPath.empty() ? exerciseFolder / std::filesystem::path(std::string(nextExerciseName))
                             : documentPath;
    proposal.replace_extension(".xml");
    return proposal;
}

std::string mathmlPrologue() {
    std::string line =
        "<?xml version='1.0'?><!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1 plus MathML 2.0//EN\" "
        "\"http://www.w3.org/Math/DTD/mathml2/xhtml-math11-f.dtd\" "
        "[<!ENTITY mathml \"http://www.w3.org/1998/Math/MathML\">";
    for (const MathmlEntity& entity : mathmlEntities()) {
        char value[16];
        std::snprintf(value, sizeof value, "&#x%04X;", static_cast<unsigned>(entity.codePoint));
        line += " <!ENTITY ";
        line += entity.name;
        line += " \"";
        line += value;
        line += "\">";
    }
    line += "]><html xmlns=\"http://www.w3.org/1999/xhtml\">";
    return line;
}

std::string exportDocument(const std::array<std::string, 15>& braillePages,
                           const std::filesystem::path& fileName) {
    std::string out;
    addLine(out, mathmlPrologue());
    addLine(out, mathml_text::kNavigationBar);
    addLine(out, std::string(mathml_text::kTitleStart) + xmlText(bareName(fileName)) +
                     std::string(mathml_text::kTitleEnd));
    for (int page = 1; page <= 15; ++page) {
        if (!isBlankPage(braillePages[static_cast<std::size_t>(page - 1)])) {
            const std::string name = pageName(page);
            addLine(out, "<a href=\"#" + name + "\">" + name + "</a> &nbsp;");
        }
    }
    addLine(out, mathml_text::kNavigationBarEnd);
    addLine(out, mathml_text::kRule);
    for (int page = 1; page <= 15; ++page) {
        const std::string& text = braillePages[static_cast<std::size_t>(page - 1)];
        if (isBlankPage(text)) {
            continue;
        }
        const std::string name = pageName(page);
        addLine(out, "<center><h3 id=\"" + name + "\">" + name + "</h3></center>");
        for (const std::string& line : convertPage(text)) {
            addLine(out, line);
        }
    }
    addLine(out, mathml_text::kEnd);
    return out;
}

}  // namespace notation
