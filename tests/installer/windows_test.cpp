// The window logic of the installer's windows on in-memory widgets: the main window with its
// Details window, the progress window's arithmetic, the disk prompt, the licence and the
// background.

#include <gtest/gtest.h>

#include "installer/messages.h"
#include "installer/windows/main_dialog.h"
#include "installer/windows/progress_dialog.h"
#include "installer/windows/small_windows.h"
#include "installer/windows/window_front.h"
#include "support.h"
#include "ui/memory/memory_check_list.h"
#include "ui/memory/scripted_dialogs.h"

namespace installer {
namespace {

namespace fs = std::filesystem;
using ui::memory::MemoryCheckList;
using ui::memory::MemoryComboBox;
using ui::memory::MemoryControl;
using ui::memory::MemoryProgressBar;
using ui::memory::MemoryTextBox;
using ui::memory::MemoryWindow;
using ui::memory::ScriptedModal;

struct ChooserSet {
    MemoryCheckList list;
    MemoryControl selectAll, recommended, clear, details, itemInfo, description;
    ChooserWidgets widgets() {
        return {list, selectAll, recommended, clear, details, itemInfo, description};
    }
};

struct DetailsSet {
    MemoryWindow window;
    ScriptedModal modal;
    ChooserSet chooser;
    MemoryControl needed, available, ok, cancel;
    DetailsDialogWidgets widgets() {
        return {window, modal, chooser.widgets(), needed, available, ok, cancel};
    }
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        machine();
        product_ = selectProduct("Tattilo", "1.1");
        product_->settlePaths(*sandbox_.sys, "D:\\");
        product_->components = readComponentList(*sandbox_.sys, "D:\\", 1040);
    }

    // The machine: C with `freeBytes`, the distribution as drive D (a network drive).
    void machine(const std::string& freeBytes = "8589934592") {
        std::string ini = test::readHost(sandbox_.host("machine/sandbox.ini"));
        ini.replace(ini.find("FreeBytes=") + 10, 10, freeBytes);
        test::writeHost(sandbox_.host("machine/sandbox.ini"), ini);
        sandbox_.reload();
        sandbox_.sys->mountFolder('D', fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution",
                                  false);
    }

    void open() {
        MainDialogServices services;
        services.chooseFolder = [this](const std::string& start) {
            folderStarts_.push_back(start);
            return folderAnswer_;
        };
        services.openHelp = [this](const std::string& file) {
            helpFiles_.push_back(file);
            return false;
        };
        services.openDetails = [this](ComponentGroup& group, std::int64_t otherKb,
                                      ChooserContext& context) {
            DetailsSet set;
            CDetailsDlg details(set.widgets(), group, context, otherKb, context.spaceAvailable());
            set.modal.setScript([&] { detailsScript_(set); });
            set.modal.showModal();
            return details.accepted();
        };
        dlg_ = std::make_unique<CMainDlg>(
            MainDialogWidgets{window_, modal_, chooser_.widgets(), prompt_, destination_, browse_,
                              validation_, needed_, available_, install_, quit_, help_, about_,
                              optional_},
            *product_, *sandbox_.sys, prompter_, clusters_, services);
    }

    std::vector<int> marks() const {
        std::vector<int> out;
        for (int i = 0; i < chooser_.list.count(); ++i) {
            out.push_back(chooser_.list.line(i).mark);
        }
        return out;
    }

    test::Sandbox sandbox_;
    std::unique_ptr<Product> product_;
    test::ScriptedPrompter prompter_;
    ClusterCache clusters_;
    MemoryWindow window_;
    ScriptedModal modal_;
    ChooserSet chooser_;
    MemoryControl prompt_, browse_, validation_, needed_, available_, install_, quit_, help_,
        about_, optional_;
    MemoryTextBox destination_{false};
    std::unique_ptr<CMainDlg> dlg_;
    std::vector<std::string> folderStarts_;
    std::optional<std::string> folderAnswer_;
    std::vector<std::string> helpFiles_;
    std::function<void(DetailsSet&)> detailsScript_ = [](DetailsSet&) {};
};

TEST_F(MainWindow, OpensWithTheRecommendedSelectionAndItsSpace) {
    open();
    EXPECT_EQ(window_.caption(), "Tattilo Install");
    EXPECT_EQ(destination_.text(), "C:\\Tattilo\\");
    EXPECT_EQ(validation_.caption(), "");
    EXPECT_TRUE(install_.enabled());
    EXPECT_FALSE(chooser_.details.enabled());
    EXPECT_FALSE(chooser_.itemInfo.enabled());
    EXPECT_FALSE(help_.enabled());  // no INSTELLO.HLP in the distribution
    EXPECT_FALSE(optional_.checked());
    ASSERT_EQ(chooser_.list.count(), 4);
    EXPECT_EQ(chooser_.list.line(1).caption, "Documentazione");
    EXPECT_EQ(marks(), (std::vector<int>{1, 2, 0, 0}));  // Esempi and Deutsch not by default
    // The second disk is not in the distribution folder: dark blue.
    EXPECT_EQ(chooser_.list.line(3).color, std::optional<ui::Color>(kMissingPackageColor));
    EXPECT_EQ(chooser_.list.line(0).color, std::nullopt);
    const std::uint32_t cluster = clusters_.get(*sandbox_.sys);
    EXPECT_EQ(needed_.caption(), kilobytesText(totalSizeKb(product_->components, cluster)));
    EXPECT_EQ(available_.caption(), kilobytesText(freeKilobytes(*sandbox_.sys, 'C')));
    EXPECT_EQ(kilobytesText(585), "585 kB");
}

TEST_F(MainWindow, DestinationIsCheckedOnEveryEdit) {
    open();
    destination_.setSelection(0, destination_.text().size());
    destination_.setSelText("D:\\Tattilo\\");  // the distribution's network drive
    EXPECT_EQ(validation_.caption(), msg::kRemovableDrive);
    EXPECT_FALSE(install_.enabled());
    EXPECT_EQ(needed_.caption(), "");
    EXPECT_EQ(available_.caption(), "");
    destination_.setSelection(0, destination_.text().size());
    destination_.setSelText("");
    EXPECT_EQ(validation_.caption(), msg::kSetDestination);
    destination_.setSelText("C:\\Scuola");
    EXPECT_EQ(validation_.caption(), "");
    EXPECT_TRUE(install_.enabled());
    EXPECT_NE(needed_.caption(), "");
}

TEST_F(MainWindow, ListLinesButtonsAndItemInfo) {
    open();
    chooser_.list.select(1);
    EXPECT_TRUE(chooser_.details.enabled());
    EXPECT_TRUE(chooser_.itemInfo.enabled());
    EXPECT_EQ(chooser_.description.caption(),
              "La guida e i documenti di esempio.\nPress Details button to view details.");
    chooser_.list.toggle(1);  // partly checked: cleared
    EXPECT_EQ(marks(), (std::vector<int>{1, 0, 0, 0}));
    chooser_.list.toggle(1);  // the group sets all its members
    EXPECT_EQ(marks(), (std::vector<int>{1, 1, 0, 0}));
    chooser_.list.select(3);
    EXPECT_FALSE(chooser_.details.enabled());
    EXPECT_EQ(chooser_.description.caption(), "Materiali aggiuntivi sul secondo disco.");
    chooser_.itemInfo.click();
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].caption, "Extra");
    EXPECT_EQ(prompter_.shown[0].text,
              "Materiali aggiuntivi sul secondo disco.\nCan not find package");
    EXPECT_EQ(prompter_.shown[0].icon, Icon::None);
    chooser_.selectAll.click();
    EXPECT_EQ(marks(), (std::vector<int>{1, 1, 1, 1}));
    chooser_.clear.click();
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(needed_.caption(), "0 kB");
    chooser_.recommended.click();
    EXPECT_EQ(marks(), (std::vector<int>{1, 2, 0, 0}));
}

TEST_F(MainWindow, DetailsKeepsItsChangesOnOkAndPutsTheCopyBackOnCancel) {
    open();
    detailsScript_ = [](DetailsSet& set) {
        EXPECT_EQ(set.window.caption(), "Details");
        EXPECT_EQ(set.chooser.list.count(), 2);
        set.chooser.list.toggle(1);  // Esempi
        set.ok.click();
    };
    chooser_.list.doubleClick(1);
    EXPECT_EQ(marks(), (std::vector<int>{1, 1, 0, 0}));
    detailsScript_ = [](DetailsSet& set) {
        set.chooser.clear.click();
        EXPECT_EQ(set.chooser.list.line(0).mark, 0);
        set.cancel.click();
    };
    chooser_.details.click();
    EXPECT_EQ(marks(), (std::vector<int>{1, 1, 0, 0}));
    // "Space needed" in Details: everything outside the group plus the group as edited.
    std::string shown;
    detailsScript_ = [&](DetailsSet& set) {
        set.chooser.clear.click();
        shown = set.needed.caption();
        set.ok.click();
    };
    chooser_.details.click();
    EXPECT_EQ(shown, needed_.caption());
    EXPECT_EQ(marks(), (std::vector<int>{1, 0, 0, 0}));
}

TEST_F(MainWindow, InstallAsksAboutTheEmptySelectionThenAboutSpace) {
    machine("unknown");  // a drive that cannot tell its free space counts as full
    open();
    chooser_.clear.click();
    prompter_.answers = {Answer::Yes, Answer::No};
    install_.click();
    ASSERT_EQ(prompter_.shown.size(), 2u);
    EXPECT_EQ(prompter_.shown[0].text, msg::kNothingSelected);
    EXPECT_EQ(prompter_.shown[1].text, msg::kNoSpace);
    EXPECT_FALSE(dlg_->installChosen());
    prompter_.answers = {Answer::Yes, Answer::Yes};
    optional_.setChecked(true);
    destination_.setSelStart(destination_.text().size());
    destination_.setSelText("Scuola\\");
    modal_.setScript([&] { install_.click(); });
    modal_.showModal();
    EXPECT_TRUE(dlg_->installChosen());
    EXPECT_EQ(product_->installPath, "C:\\Tattilo\\Scuola\\");
    EXPECT_TRUE(product_->checkOptional);
}

TEST_F(MainWindow, QuitHelpAboutAndBrowse) {
    open();
    prompter_.answers = {Answer::No, Answer::Yes};
    modal_.setScript([&] {
        quit_.click();
        EXPECT_EQ(prompter_.shown.back().text, msg::kReallyQuit);
        EXPECT_TRUE(modal_.open());  // No stays
        quit_.click();
        EXPECT_FALSE(modal_.open());
    });
    modal_.showModal();
    EXPECT_EQ(prompter_.shown.size(), 2u);
    EXPECT_FALSE(dlg_->installChosen());

    dlg_->help();
    EXPECT_EQ(helpFiles_, (std::vector<std::string>{"D:\\INSTELLO.HLP"}));
    EXPECT_EQ(prompter_.shown.back().text, msg::kNoHelp);
    EXPECT_EQ(prompter_.shown.back().caption, msg::kHelpCaption);
    EXPECT_EQ(prompter_.shown.back().icon, Icon::Warning);

    // Browse starts from the deepest folder that exists.
    sandbox_.sys->createFolder("C:\\Scuola");
    destination_.setSelection(0, destination_.text().size());
    destination_.setSelText("C:\\Scuola\\Classe\\Tattilo");
    folderAnswer_ = "C:\\Scuola";
    browse_.click();
    EXPECT_EQ(folderStarts_, (std::vector<std::string>{"C:\\Scuola\\"}));
    EXPECT_EQ(destination_.text(), "C:\\Scuola\\");
    EXPECT_TRUE(install_.enabled());
    EXPECT_EQ(browseStart(*sandbox_.sys, "Q:\\nowhere"), "");
}

TEST(ProgressBarsTest, ArithmeticIncludingEmptyComponents) {
    ProgressBars bars;
    bars.setTotal(4);  // 4096 bytes
    bars.beginComponent(2);
    bars.advance(1024);
    EXPECT_EQ(bars.component(), kBarMaximum / 2);
    EXPECT_EQ(bars.total(), kBarMaximum / 4);
    bars.endComponent();  // the unreported half counts now
    EXPECT_EQ(bars.component(), kBarMaximum);
    EXPECT_EQ(bars.total(), kBarMaximum / 2);
    bars.beginComponent(0);  // nothing to measure: no failure, the bar waits for the end
    bars.advance(5000);
    EXPECT_EQ(bars.component(), 0);
    bars.endComponent();
    EXPECT_EQ(bars.component(), kBarMaximum);
    bars.beginComponent(2);
    bars.advance(1 << 20);  // more than announced: the bars stop at their end
    EXPECT_EQ(bars.component(), kBarMaximum);
    EXPECT_EQ(bars.total(), kBarMaximum);
    ProgressBars empty;
    empty.setTotal(0);
    empty.beginComponent(0);
    empty.advance(10);
    empty.endComponent();
    EXPECT_EQ(empty.total(), kBarMaximum);
}

TEST(ProgressWindow, LinesBarsAndCancel) {
    MemoryWindow window;
    MemoryControl upper, lower, cancel;
    MemoryProgressBar component, total;
    bool answer = false;
    int asked = 0;
    CProgressDlg dlg({window, upper, lower, component, total, cancel}, [&] {
        ++asked;
        return answer;
    });
    EXPECT_EQ(window.caption(), "Installing...");
    EXPECT_EQ(upper.caption(), "Installing");
    EXPECT_EQ(lower.caption(), "Creating");
    EXPECT_EQ(total.maximum(), kBarMaximum);
    dlg.setTotal(8);
    dlg.beginComponent("Guida", 8);
    EXPECT_EQ(upper.caption(), "Installing: Guida");
    dlg.showLower("Coping: C:\\X");
    dlg.advance(4096);
    EXPECT_EQ(total.position(), kBarMaximum / 2);
    dlg.endComponent();
    EXPECT_EQ(lower.caption(), "");
    EXPECT_EQ(total.position(), kBarMaximum);
    cancel.click();
    EXPECT_TRUE(window.visible());  // No: the window stays
    answer = true;
    cancel.click();
    EXPECT_FALSE(window.visible());
    EXPECT_EQ(asked, 2);
}

struct PromptSet {
    MemoryWindow window;
    ScriptedModal modal;
    MemoryControl label, hint, browse, validation, ok, all, skip, cancel;
    MemoryComboBox path;
    DiskPromptWidgets widgets() {
        return {window, modal, label, hint, path, browse, validation, ok, all, skip, cancel};
    }
};

TEST(DiskPrompt, ValidatesRemembersAndCancelsOnlyOnYes) {
    test::Sandbox sandbox;
    test::writeHost(sandbox.host("machine/C/DISCO2/EXTRA.QKP"), "x");
    ui::memory::ScriptedDialogs dialogs;
    std::vector<std::string> history;
    std::vector<bool> answers = {false, true};
    PromptSet set;
    DiskPromptServices services;
    services.dialogs = &dialogs;
    services.confirmCancel = [&] {
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    };
    CDiskPrompt prompt(set.widgets(), *sandbox.sys, "EXTRA.QKP", history, services);
    prompt.open("Disco 2", "D:\\DISCO2\\EXTRA.QKP");
    EXPECT_EQ(set.window.caption(), "Select location");
    EXPECT_EQ(set.label.caption(), "Insert disk labeled Disco 2");
    EXPECT_EQ(dialogs.log().front().kind, ui::memory::ScriptedDialogs::Kind::Beep);
    EXPECT_EQ(set.validation.caption(), msg::kCannotFindPackageAt);
    EXPECT_FALSE(set.ok.enabled());
    EXPECT_FALSE(set.all.enabled());
    set.path.type("C:\\DISCO2\\");
    EXPECT_EQ(set.validation.caption(), "");
    EXPECT_TRUE(set.all.enabled());
    // Cancel answered No returns to the prompt; Yes answers 0.
    set.modal.setScript([&] {
        set.cancel.click();
        EXPECT_TRUE(set.modal.open());
        set.cancel.click();
    });
    set.modal.showModal();
    EXPECT_EQ(prompt.answer(), ProgressSink::kCancel);
    EXPECT_TRUE(answers.empty());

    prompt.open("Disco 2", "D:\\DISCO2\\EXTRA.QKP");
    set.path.type("C:\\DISCO2\\EXTRA.QKP");
    set.all.click();
    EXPECT_EQ(prompt.answer(), ProgressSink::kApplyToAll);
    EXPECT_EQ(history, (std::vector<std::string>{"C:\\DISCO2\\EXTRA.QKP"}));
    prompt.open("Disco 2", "D:\\X");
    EXPECT_EQ(set.path.items(), history);  // typed paths are offered again
    set.skip.click();
    EXPECT_EQ(prompt.answer(), ProgressSink::kSkip);
}

TEST(SmallWindows, LicenseAboutAndBackground) {
    MemoryWindow window;
    ScriptedModal modal;
    MemoryTextBox text;
    MemoryControl agree, disagree;
    CLicenseDlg license({window, modal, text, agree, disagree}, "Testo\r\ndella licenza");
    EXPECT_EQ(window.caption(), "License Agreement");
    EXPECT_TRUE(text.readOnly());
    EXPECT_FALSE(license.agreed());
    agree.click();
    EXPECT_TRUE(license.agreed());
    disagree.click();
    EXPECT_FALSE(license.agreed());

    MemoryControl name, version, about, ok;
    CAboutDlg dlg({window, modal, name, version, about, ok}, "Tattilo", "1.1");
    EXPECT_EQ(window.caption(), "About The Installer");
    EXPECT_EQ(name.caption(), "Tattilo Installer");
    EXPECT_EQ(version.caption(), "Version 1.1");

    const auto bands = backgroundBands(1000);
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[0], (Band{0, 10, 0x1C0B5A}));
    EXPECT_EQ(bands[1], (Band{10, 10, 0x1B0A5B}));
    EXPECT_EQ(bands[11].color, 0x110065u);  // green stops at 0
    EXPECT_EQ(bands[99].color, 0x0000BDu);
    const auto narrow = backgroundBands(50);  // at least a pixel each
    EXPECT_EQ(narrow.size(), 50u);
    EXPECT_EQ(narrow[49].width, 1);
    EXPECT_EQ(backgroundBands(1050).back(), (Band{1040, 10, 0x0000C2}));
    EXPECT_EQ(backgroundTitle("Tattilo", "1.1"), "Tattilo 1.1");
}

// A front that draws nothing: the main window's services are kept for the test to call.
class BareFront : public InstallWindowsFront, public ui::Shell {
public:
    BareFront(const fs::path& root, const fs::path& source)
        : InstallWindowsFront({root, source.string(), {}}, {}) {}
    ~BareFront() override { stopFlow(); }

    system::SandboxSystem& sandbox() { return *installMachine().sandbox; }
    ui::memory::ScriptedDialogs scripted;
    MainDialogServices services;
    std::vector<std::string> opened;

    void post(std::function<void()> work) override { thread_.post(std::move(work)); }
    void call(const std::function<void()>& work) override { thread_.call(work); }
    bool open(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    std::optional<int> runAndWait(const std::string&, const std::vector<std::string>&,
                                  const std::string&) override {
        return std::nullopt;
    }

protected:
    ui::Dialogs& dialogs() override { return scripted; }
    ui::Shell& shell() override { return *this; }
    bool showLicense(std::string_view) override { return true; }
    void openBackground(const std::string&, const std::string&) override {}
    void closeBackground() override {}
    bool showMainDialog(Product&, ClusterCache&, MainDialogServices given) override {
        services = std::move(given);
        return false;
    }
    void showAbout(const Product&) override {}
    bool showDetails(ComponentGroup&, std::int64_t, ChooserContext&) override { return false; }
    CProgressDlg& openProgressWindow() override { throw std::logic_error("no progress window"); }
    void closeProgressWindow() override {}
    int showDiskPrompt(const std::string&, std::string_view, std::string&,
                       DiskPromptServices) override {
        return 0;
    }

private:
    QueuedWindowThread thread_;
};

TEST(WindowsFront, FolderPickerAndHelpFileSeeTheMachineThroughItsHostFolders) {
    test::TempDir dir;
    fs::copy(fs::path(TATTILO_SOURCE_DIR) / "data" / "distribution", dir.path() / "cd");
    BareFront front(dir.path() / "machine", dir.path() / "cd");
    ASSERT_TRUE(front.start()) << front.error();
    ClusterCache clusters;
    front.choose(*front.flow()->product(), clusters);
    const fs::path drive = *front.sandbox().hostPath("C:\\");
    fs::create_directories(drive / "Scuola");
    test::writeHost(drive / "Scuola" / "guida.htm", "<p>");
    fs::create_directories(dir.path() / "elsewhere");

    struct Case {
        std::string start;
        std::optional<std::string> picked;  // what the host's picker gives
        std::string shown;                  // where it opens
        std::optional<std::string> chosen;
    };
    std::vector<Case> cases = {
        {"", (drive / "Scuola").string(), drive.string(), "C:\\Scuola\\"},
        {"C:\\Scuola\\", std::nullopt, (drive / "Scuola").string(), std::nullopt},
        {"C:\\", (dir.path() / "elsewhere").string(), drive.string(), std::nullopt},
        {"Q:\\", std::nullopt, "", std::nullopt},  // no such drive
    };
#ifndef _WIN32
    // A Windows path is no folder of this host: one of the machine already.
    cases.push_back({"C:\\", "D:\\Altro\\", drive.string(), "D:\\Altro\\"});
#endif
    for (const Case& c : cases) {
        front.scripted.answerText(c.picked);
        EXPECT_EQ(front.services.chooseFolder(c.start), c.chosen) << c.start;
        EXPECT_EQ(fs::path(front.scripted.log().back().prompt), fs::path(c.shown)) << c.start;
    }

    EXPECT_TRUE(front.services.openHelp("C:\\Scuola\\guida.htm"));
    EXPECT_FALSE(front.services.openHelp("C:\\Scuola\\manca.htm"));
    EXPECT_FALSE(front.services.openHelp("C:\\Scuola\\"));  // a folder
    EXPECT_FALSE(front.services.openHelp("Q:\\guida.htm"));
    EXPECT_EQ(front.opened, std::vector<std::string>{(drive / "Scuola" / "guida.htm").string()});
}

}  // namespace
}  // namespace installer
