#include "gui/braille_display_factory.h"

namespace gui {
namespace {

// A build without BrlAPI: no display, ever.
class NoBrailleDisplay : public ui::BrailleDisplay {
public:
    int acquire() override { return 0; }
    void show(const std::vector<ui::BrailleDots>&) override {}
    void release() override {}
    void setOnKey(std::function<void(ui::DisplayKey)>) override {}
};

}  // namespace

std::unique_ptr<ui::BrailleDisplay> makeBrailleDisplay() {
    return std::make_unique<NoBrailleDisplay>();
}

}  // namespace gui
