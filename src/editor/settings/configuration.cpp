#include "editor/settings/configuration.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

#include "editor/text_lines.h"
#include "ui/text_trim.h"

namespace editor {
namespace {

// Small letters of code page 1252 (ASCII and the accented capitals).
char lowered(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 0x20);
    }
    return c;
}

std::string loweredText(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lowered(c);
    }
    return out;
}

bool startsWithKey(std::string_view line, std::string_view key) {
    if (line.size() < key.size()) {
        return false;
    }
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (lowered(line[i]) != key[i]) {
            return false;
        }
    }
    return true;
}

std::string valueOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    const std::string_view rest = eq == std::string_view::npos ? line : line.substr(eq + 1);
    const std::string_view value = ui::trimControls(rest);
    return std::string(ui::trimControls(value.substr(0, kMaxValueLength)));
}

void setNumber(std::string_view value, int& target) {
    if (const auto n = parseInteger(value)) {
        target = *n;
    }
}

// The keys of a number or a text, as each begins its line. No key begins another, so a line
// sets one value at the most.
constexpr std::pair<std::string_view, int Settings::*> kNumberKeys[] = {
    {"wintop", &Settings::winTop},    {"winleft", &Settings::winLeft},
    {"winlarg", &Settings::winWidth}, {"winlung", &Settings::winHeight},
    {"timer", &Settings::timer},      {"velvoce", &Settings::speechRate},
    {"tutor", &Settings::tutor},
};
constexpr std::pair<std::string_view, std::string Settings::*> kTextKeys[] = {
    {"editor", &Settings::graphicEditor}, {"filtro", &Settings::filter},
    {"editmod", &Settings::exchangeMode}, {"font", &Settings::brailleFont},
    {"scambio", &Settings::exchangeFile}, {"workdir", &Settings::workDir},
    {"modalit\xE0", &Settings::modeText},
};

}  // namespace

std::optional<int> parseInteger(std::string_view text) {
    const std::string_view t = ui::trimControls(text);
    std::string_view digits = t;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') {
            return std::nullopt;
        }
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

void readConfiguration(std::string_view content, Settings& s) {
    for (const std::string_view line : editorLines(content)) {
        // Each key that begins the line applies its value.
        for (const auto& [key, field] : kNumberKeys) {
            if (startsWithKey(line, key)) {
                setNumber(valueOf(line), s.*field);
            }
        }
        for (const auto& [key, field] : kTextKeys) {
            if (startsWithKey(line, key)) {
                s.*field = valueOf(line);
            }
        }
        if (startsWithKey(line, "printer")) {
            const std::string lower = loweredText(line);
            if (lower.find("riga") != std::string::npos) {
                setNumber(valueOf(line), s.printerChars);
            }
            if (lower.find("pagina") != std::string::npos) {
                setNumber(valueOf(line), s.printerLines);
            }
        }
        if (startsWithKey(line, "winstate")) {
            s.maximized = valueOf(line) == "maximized";
        }
        if (startsWithKey(line, "mathml")) {
            s.mathml = loweredText(valueOf(line)) == "si";
        }
        if (startsWithKey(line, "display")) {
            s.brailleDisplay = loweredText(valueOf(line)) != "no";
        }
        if (startsWithKey(line, "senza editor")) {
            s.withoutGraphicEditor = loweredText(valueOf(line)) == "si";
        }
    }
}

std::string writeConfiguration(const Settings& s) {
    std::string out;
    auto line = [&out](std::string_view written, std::string_view value) {
        out += written;
        out += value;
        out += "\r\n";
    };
    auto number = [&line](std::string_view written, int value) {
        line(written, std::to_string(value));
    };
    number("wintop = ", s.winTop);
    number("winleft = ", s.winLeft);
    number("winlarg = ", s.winWidth);
    number("winlung = ", s.winHeight);
    line("editor grafico = ", s.graphicEditor);
    line("filtro = ", s.filter);
    line("editmod = ", s.exchangeMode);
    line("font = ", s.brailleFont);
    line("scambio = ", s.exchangeFile);
    line("workdir = ", s.workDir);
    number("timer = ", s.timer);
    number("printer caratteri per riga = ", s.printerChars);
    number("printer righe per pagina = ", s.printerLines);
    number("velvoce = ", s.speechRate == 0 ? 50 : s.speechRate);
    line("modalit\xE0 = ", s.modeText);
    number("tutor = ", s.tutor);
    line("winstate = ", s.maximized ? "maximized" : "normal");
    line("mathml = ", s.mathml ? "si" : "no");
    line("display braille = ", s.brailleDisplay ? "si" : "no");
    line("senza editor grafico = ", s.withoutGraphicEditor ? "si" : "no");
    return out;
}

std::optional<std::string> loadConfigurationFile(const std::filesystem::path& file,
                                                 Settings& settings) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return std::nullopt;
    }
    if (std::filesystem::is_directory(file, ec)) {
        return file.string() + " (" + std::strerror(EISDIR) + ")";
    }
    std::ifstream in(file, std::ios::binary);
    std::string content;
    if (in) {
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!in.is_open() || in.bad()) {
        const int err = errno;
        return file.string() + " (" + std::strerror(err != 0 ? err : EIO) + ")";
    }
    readConfiguration(content, settings);
    return std::nullopt;
}

std::optional<std::string> saveConfigurationFile(const std::filesystem::path& file,
                                                 const Settings& settings) {
    const std::string content = writeConfiguration(settings);
    std::filesystem::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            out.flush();
        }
        if (!out) {
            const int err = errno;
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return file.string() + " (" + std::strerror(err != 0 ? err : EIO) + ")";
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return file.string() + " (" + ec.message() + ")";
    }
    return std::nullopt;
}

std::string withTexExtension(std::string_view name) {
    if (name.empty()) {
        return "formula.tex";
    }
    if (name.size() >= 4 && name.substr(name.size() - 4) == ".tex") {
        return std::string(name);
    }
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t base = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = name.find('.', base);
    if (dot == std::string_view::npos) {
        return std::string(name) + ".tex";
    }
    return std::string(name.substr(0, dot + 1)) + "tex";
}

std::vector<std::filesystem::path> fontDirectories(const std::filesystem::path& programDirectory) {
    std::vector<std::filesystem::path> dirs{programDirectory / "fonts"};
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        dirs.emplace_back(std::filesystem::path(data) / "fonts");
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        dirs.emplace_back(std::filesystem::path(home) / ".local/share/fonts");
        dirs.emplace_back(std::filesystem::path(home) / ".fonts");
    }
    return dirs;
}

bool fontInstalled(std::string_view fontFile,
                   const std::vector<std::filesystem::path>& directories) {
    if (fontFile.empty()) {
        return false;
    }
    for (const auto& dir : directories) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(dir / std::string(fontFile), ec)) {
            return true;
        }
    }
    return false;
}

}  // namespace editor
