#include "editor/printing/formula_preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <functional>

#include "../notation/png_image.h"
#include "ui/memory/memory_services.h"
#include "ui/memory/memory_widgets.h"
#include "ui/memory/scripted_dialogs.h"

namespace {

using editor::PreviewCommand;
using namespace ui::memory;
namespace text = editor::formula_preview_text;

ui::Bitmap picture(const std::string& name) {
    return test_png::readPng(std::string(TATTILO_TEST_DATA) + "/notation/formula_preview/" + name +
                             ".png");
}

struct PreviewWindow {
    MemoryWindow main;  // the main window the preview opens over
    MemoryWindow form;
    ScriptedModal modal;
    MemoryMenuBar menu;
    MemoryCanvas canvas;
    MemoryControl stampa, esci, imposta;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingPrinter printer;
    editor::FormulaPrintPreview logic{{form, modal, menu, canvas, stampa, esci, imposta, &main},
                                      {dialogs, clipboard, printer}};

    PreviewWindow() {
        canvas.setBounds({0, 0, 760, 520});
        stampa.setBounds({0, 0, 80, 24});
        esci.setBounds({0, 0, 80, 24});
        imposta.setBounds({0, 0, 120, 24});
    }
    // Shows the window on the clipboard's picture; `inside` is what the user does meanwhile.
    void show(std::function<void(PreviewWindow&)> inside) {
        modal.setScript([this, inside] {
            form.activate();
            inside(*this);
        });
        logic.show("Tattilo  Stampa formule - prova.mtf", "/tmp/esercizi");
    }
    MemoryControl& item(PreviewCommand id) { return menu.item(static_cast<int>(id)); }
    bool shows(ui::Shape::Kind kind, std::string_view words = {}) const {
        for (const ui::Shape& s : canvas.shapes()) {
            if (s.kind == kind && (words.empty() || s.text == words)) {
                return true;
            }
        }
        return false;
    }
    int inverted() const {
        int n = 0;
        for (const ui::Shape& s : canvas.shapes()) {
            n += s.kind == ui::Shape::Kind::Invert;
        }
        return n;
    }
};

TEST(FormulaPreview, RowsAreChosenByMouseAndByKeyboardAndCopied) {
    PreviewWindow w;
    const ui::Bitmap line = picture("three_formulas");
    w.clipboard.setBitmap(line);
    w.show([&](PreviewWindow& p) {
        EXPECT_EQ(p.form.caption(), "Tattilo  Stampa formule - prova.mtf");
        ASSERT_EQ(p.logic.rowCount(), 3);
        EXPECT_EQ(p.item(PreviewCommand::Dimensionistampa1).caption(), "Dimensioni stampa : 6");
        EXPECT_FALSE(p.item(PreviewCommand::Dimensionistampa1).visible());
        EXPECT_FALSE(p.item(PreviewCommand::MenuDimensioni).visible());
        EXPECT_FALSE(p.stampa.visible());
        EXPECT_TRUE(p.shows(ui::Shape::Kind::Picture));

        // A press on the second row and a drag over the third.
        const int band = line.height + 8;
        p.canvas.mouse(ui::MouseEvent::Kind::Press, 5, 40 + band + 3);
        p.canvas.mouse(ui::MouseEvent::Kind::Move, 5, 40 + 2 * band + 3);
        p.canvas.mouse(ui::MouseEvent::Kind::Move, 5, 40 + 2 * band + 5);
        p.canvas.mouse(ui::MouseEvent::Kind::Release, 5, 40 + 2 * band + 5);
        EXPECT_EQ(p.logic.selection(), (std::vector<int>{1, 2}));
        EXPECT_EQ(p.inverted(), 2);
        p.form.pressKey('C', ui::shift::kCtrl);
        const ui::Bitmap copied = p.clipboard.bitmap();
        EXPECT_EQ(copied.height, 2 * band);
        EXPECT_EQ(copied.pixels, [&] {
            // The band of rows 1 and 2 of the stacked picture.
            std::vector<std::uint32_t> band2;
            for (int y = 0; y < 2 * band; ++y) {
                for (int x = 0; x < copied.width; ++x) {
                    band2.push_back(p.logic.stack().pixels[static_cast<std::size_t>(10 + band + y) *
                                                               p.logic.stack().width +
                                                           x]);
                }
            }
            return band2;
        }());

        // A new press above the rows clears the selection.
        p.canvas.mouse(ui::MouseEvent::Kind::Press, 5, 10);
        EXPECT_TRUE(p.logic.selection().empty());

        // Down selects the first row, Shift+Down extends, Up without Shift starts again.
        p.form.pressKey(ui::vk::kDown);
        EXPECT_EQ(p.logic.selection(), (std::vector<int>{0}));
        p.form.pressKey(ui::vk::kDown, ui::shift::kShift);
        p.form.pressKey(ui::vk::kDown, ui::shift::kShift);
        p.form.pressKey(ui::vk::kDown, ui::shift::kShift);
        EXPECT_EQ(p.logic.selection(), (std::vector<int>{0, 1, 2})) << "stops at the last row";
        p.form.pressKey(ui::vk::kUp);
        EXPECT_EQ(p.logic.selection(), (std::vector<int>{1}));

        // Select all copies the whole stacked picture.
        p.form.pressKey('A', ui::shift::kCtrl);
        EXPECT_TRUE(p.logic.allSelected());
        p.form.pressKey('C', ui::shift::kCtrl);
        EXPECT_EQ(p.clipboard.bitmap().height, p.logic.stack().height);
        p.form.pressKey(ui::vk::kEscape);
    });
    EXPECT_FALSE(w.modal.open());
}

TEST(FormulaPreview, PagePreviewZoomOrientationAndPages) {
    PreviewWindow w;
    w.clipboard.setBitmap(picture("forty_formulas"));
    w.printer.width = 794;  // a page at screen resolution: 35 rows of 29 pixels
    w.printer.height = 1123;
    w.show([](PreviewWindow& p) {
        ASSERT_EQ(p.logic.rowCount(), 40);
        p.form.pressKey('E', ui::shift::kCtrl);
        ASSERT_TRUE(p.logic.previewShown());
        EXPECT_TRUE(p.item(PreviewCommand::MenuDimensioni).visible());
        EXPECT_TRUE(p.item(PreviewCommand::Verticale1).checked());
        EXPECT_TRUE(p.stampa.visible());
        EXPECT_TRUE(p.shows(ui::Shape::Kind::Text, "% orig. 100"));
        EXPECT_TRUE(p.shows(ui::Shape::Kind::Text, "Tot.num.righe 40"));
        EXPECT_TRUE(p.shows(ui::Shape::Kind::Text, "riga 1"));
        const int first = p.logic.rowsShownOnPage();
        ASSERT_EQ(p.logic.printedPages().size(), 2u);
        EXPECT_EQ(first, static_cast<int>(p.logic.printedPages()[0].size()))
            << "the preview page holds the rows of the printed page";
        EXPECT_TRUE(p.item(PreviewCommand::Paginaseg1).visible());
        EXPECT_FALSE(p.item(PreviewCommand::Paginainiz1).visible());

        p.item(PreviewCommand::Paginaseg1).click();
        EXPECT_EQ(p.logic.pageIndex(), 1);
        EXPECT_TRUE(p.shows(ui::Shape::Kind::Text, "riga " + std::to_string(first + 1)));
        EXPECT_FALSE(p.shows(ui::Shape::Kind::Text, "riga 1"));
        EXPECT_TRUE(p.item(PreviewCommand::Paginainiz1).visible());
        p.item(PreviewCommand::Paginainiz1).click();
        EXPECT_EQ(p.logic.pageIndex(), 0);

        // Zoom within 50 to 200; the item that would pass the limit is hidden.
        for (int i = 0; i < 15; ++i) {
            p.item(PreviewCommand::Aumenta1).click();
        }
        EXPECT_EQ(p.logic.zoom(), 200);
        EXPECT_FALSE(p.item(PreviewCommand::Aumenta1).visible());
        EXPECT_LT(p.logic.rowsShownOnPage(), first) << "larger rows, fewer on the page";
        for (int i = 0; i < 20; ++i) {
            p.item(PreviewCommand::Diminuisci1).click();
        }
        EXPECT_EQ(p.logic.zoom(), 50);
        EXPECT_FALSE(p.item(PreviewCommand::Diminuisci1).visible());
        EXPECT_TRUE(p.item(PreviewCommand::Aumenta1).visible());

        p.item(PreviewCommand::Orizzontale1).click();
        EXPECT_EQ(p.printer.orientation(), ui::Orientation::Landscape);
        EXPECT_TRUE(p.item(PreviewCommand::Orizzontale1).checked());
        EXPECT_FALSE(p.item(PreviewCommand::Verticale1).checked());

        // Closing while the preview shows goes back to the rows at zoom 100.
        EXPECT_FALSE(p.logic.FormCloseQuery());
        EXPECT_FALSE(p.logic.previewShown());
        EXPECT_EQ(p.logic.zoom(), 100);
        EXPECT_FALSE(p.stampa.visible());
        EXPECT_TRUE(p.logic.FormCloseQuery());
    });
}

TEST(FormulaPreview, PrintsEveryPageThroughThePrintDialog) {
    PreviewWindow w;
    const ui::Bitmap line = picture("forty_formulas");
    w.clipboard.setBitmap(line);
    w.printer.width = 794;
    w.printer.height = 1123;
    w.dialogs.answerPrint(false);
    w.dialogs.answerPrint(true);
    w.show([](PreviewWindow& p) {
        p.form.pressKey('P', ui::shift::kCtrl);  // the print dialog is cancelled
        EXPECT_TRUE(p.printer.pageJobs.empty());
        EXPECT_TRUE(p.logic.previewShown()) << "the menu's Stampa shows the preview first";
        p.stampa.click();
    });
    ASSERT_EQ(w.printer.pageJobs.size(), 1u);
    const auto& job = w.printer.pageJobs[0];
    EXPECT_EQ(std::filesystem::path(job.imageFile),
              std::filesystem::path("/tmp/esercizi") / "img.bmp");
    const int perPage = (1123 - 100) / (line.height + 8);
    ASSERT_EQ(job.pages.size(), 2u) << perPage << " rows a page";
    EXPECT_EQ(job.pages[0].heading, "Tattilo  Stampa formule - prova.mtf - pag.1");
    EXPECT_EQ(job.pages[1].heading, "Tattilo  Stampa formule - prova.mtf - pag.2");
    EXPECT_EQ(job.pages[0].picture.width, 794);
    // The first row stands under the heading, at y = 40.
    const ui::Bitmap& page = job.pages[0].picture;
    bool inkAt40 = false;
    for (int x = 0; x < page.width; ++x) {
        inkAt40 |=
            !notation::isWhite(page.pixels[static_cast<std::size_t>(40 + 10) * page.width + x]);
    }
    EXPECT_TRUE(inkAt40);
    EXPECT_TRUE(w.dialogs.allAnswersUsed());
}

TEST(FormulaPreview, WithoutFormulasNothingIsSelectedCopiedOrPrinted) {
    PreviewWindow w;
    w.clipboard.setBitmap(picture("no_double_bar"));
    w.show([](PreviewWindow& p) {
        EXPECT_EQ(p.logic.rowCount(), 0);
        EXPECT_TRUE(p.shows(ui::Shape::Kind::Text, text::kNoRows));
        p.canvas.mouse(ui::MouseEvent::Kind::Press, 5, 50);
        p.form.pressKey(ui::vk::kDown, ui::shift::kShift);
        EXPECT_TRUE(p.logic.selection().empty());
        p.stampa.click();
        p.form.pressKey('C', ui::shift::kCtrl);
        p.form.pressKey(ui::vk::kDelete);
    });
    EXPECT_TRUE(w.printer.pageJobs.empty());
    EXPECT_EQ(w.dialogs.messages(),
              (std::vector<std::string>{std::string(text::kNoRows), std::string(text::kNoRows)}));
    EXPECT_FALSE(w.modal.open());

    // No picture at all: a blank canvas.
    PreviewWindow empty;
    empty.show([](PreviewWindow& p) {
        EXPECT_EQ(p.logic.rowCount(), 0);
        EXPECT_EQ(p.canvas.contentWidth(), 1440);
    });
}

TEST(FormulaPreview, OpensInTheMainWindowsPlaceMaximisedWhenItIs) {
    PreviewWindow w;
    w.clipboard.setBitmap(picture("three_formulas"));
    w.main.setBounds({35, 48, 1024, 700});
    w.form.setBounds({0, 0, 800, 600});
    w.form.setMaximized(true);  // left so by an earlier showing
    w.show([](PreviewWindow& p) {
        EXPECT_EQ(p.form.bounds(), (ui::Rect{35, 48, 1024, 700}));
        EXPECT_FALSE(p.form.maximized());
        p.logic.AnteprimaClick();
        EXPECT_FALSE(p.form.maximized()) << "the main window is not maximised";
        p.logic.EsciClick();
    });

    w.main.setMaximized(true);
    w.show([](PreviewWindow& p) {
        EXPECT_TRUE(p.form.maximized());
        EXPECT_EQ(p.form.bounds(), (ui::Rect{35, 48, 1024, 700}));
        p.logic.AnteprimaClick();
        EXPECT_TRUE(p.form.maximized());
        // A new size lays the page out again for the canvas.
        const std::size_t shapes = p.canvas.shapes().size();
        p.canvas.setShapes({}, 0, 0);
        p.form.resize({0, 0, 1280, 1000});
        EXPECT_EQ(p.canvas.shapes().size(), shapes);
        EXPECT_TRUE(p.logic.previewShown());
        p.logic.EsciClick();
    });
}

}  // namespace
