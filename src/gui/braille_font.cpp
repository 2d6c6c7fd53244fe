#include "gui/braille_font.h"

#include <QFontDatabase>
#include <algorithm>
#include <vector>

namespace gui {

QStringList loadProgramFonts(const std::filesystem::path& programDirectory) {
    QStringList families;
    std::error_code ec;
    const std::filesystem::path dir = programDirectory / "fonts";
    if (!std::filesystem::is_directory(dir, ec)) {
        return families;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().extension() == ".ttf") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const int id =
            QFontDatabase::addApplicationFont(QString::fromLocal8Bit(file.string().c_str()));
        if (id >= 0) {
            families << QFontDatabase::applicationFontFamilies(id);
        }
    }
    return families;
}

}  // namespace gui
