#pragma once

// The installer's small windows: the licence ("License Agreement"), the About window and the
// background window (`CBackgroundWnd`) with its colour bands and its title. Window thread.

#include <functional>
#include <string>
#include <vector>

#include "installer/product.h"
#include "ui/widgets.h"

namespace installer {

struct LicenseWidgets {
    ui::Window& window;
    ui::ModalWindow& modal;
    ui::TextBox& text;  // read-only
    ui::Control& agree;
    ui::Control& disagree;
};

// `CLicenseDlg`: the text of license.txt; "I Agree" or "I Disagree" (the close box too).
class CLicenseDlg {
public:
    CLicenseDlg(const LicenseWidgets& widgets, std::string_view text);
    bool agreed() const { return agreed_; }

private:
    LicenseWidgets w_;
    bool agreed_ = false;
};

struct AboutWidgets {
    ui::Window& window;
    ui::ModalWindow& modal;
    ui::Control& name;     // AppName + " Installer"
    ui::Control& version;  // "Version " + Version
    ui::Control& text;
    ui::Control& ok;
};

// `CAboutDlg`.
class CAboutDlg {
public:
    CAboutDlg(const AboutWidgets& widgets, const std::string& appName, const std::string& version);

private:
    AboutWidgets w_;
};

// One vertical band of the background.
struct Band {
    int left = 0;
    int width = 0;
    ui::Color color = 0;
    friend bool operator==(const Band&, const Band&) = default;
};

// The bands filling a client area `width` pixels wide, left to right: each a hundredth of the
// width (at least one pixel); the first red 28, green 11, blue 90; at each next band red and
// green drop by one down to 0 and blue rises by one (up to 255).
std::vector<Band> backgroundBands(int width);

// The title drawn twice over the bands: AppName + " " + Version, 44 pixels high, bold italic,
// Swiss family, transparent: first the shadow, then the title.
struct TitleDraw {
    int x = 0;
    int y = 0;
    ui::Color color = 0;
};
constexpr int kTitlePixels = 44;
constexpr TitleDraw kTitleShadow{20, 20, 0x808080};
constexpr TitleDraw kTitleFace{18, 18, 0xC0C000};
std::string backgroundTitle(const std::string& appName, const std::string& version);

}  // namespace installer
