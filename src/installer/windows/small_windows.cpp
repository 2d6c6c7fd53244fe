#include "installer/windows/small_windows.h"

#include <algorithm>

#include "installer/messages.h"

namespace installer {

CLicenseDlg::CLicenseDlg(const LicenseWidgets& widgets, std::string_view text) : w_(widgets) {
    w_.window.setCaption(msg::kLicenseTitle);
    w_.text.setText(text);
    w_.text.setReadOnly(true);
    w_.agree.setOnClick([this] {
        agreed_ = true;
        w_.modal.closeModal();
    });
    w_.disagree.setOnClick([this] {
        agreed_ = false;
        w_.modal.closeModal();
    });
}

CAboutDlg::CAboutDlg(const AboutWidgets& widgets, const std::string& appName,
                     const std::string& version)
    : w_(widgets) {
    w_.window.setCaption(msg::kAboutTitle);
    w_.name.setCaption(appName + std::string(msg::kInstallerSuffix));
    w_.version.setCaption(std::string(msg::kVersionHead) + version);
    w_.text.setCaption(msg::kAboutText);
    w_.ok.setOnClick([this] { w_.modal.closeModal(); });
}

std::vector<Band> backgroundBands(int width) {
    std::vector<Band> bands;
    const int step = std::max(1, width / 100);
    int red = 28;
    int green = 11;
    int blue = 90;
    for (int left = 0; left < width; left += step) {
        bands.push_back({left, std::min(step, width - left),
                         static_cast<ui::Color>((red << 16) | (green << 8) | blue)});
        red = std::max(0, red - 1);
        green = std::max(0, green - 1);
        blue = std::min(255, blue + 1);
    }
    return bands;
}

std::string backgroundTitle(const std::string& appName, const std::string& version) {
    return appName + " " + version;
}

}  // namespace installer
