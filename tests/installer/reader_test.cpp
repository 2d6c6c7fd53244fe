// PDF reader detection: the two readers found through their class keys, the status codes and
// their reasons, the check with its reports, its "required" ending and its proceed question,
// and the check at start-up.

#include <gtest/gtest.h>

#include "installer/ckey.h"
#include "installer/reader/pdf_reader.h"
#include "installer/startup.h"
#include "support.h"

namespace installer {
namespace {

using system::RegRoot;

constexpr const char* kClass3 = "CLSID\\{DF9A1DA0-23C0-101B-B02E-FDFDFDFDFDFD}\\LocalServer";
constexpr const char* kClass4 = "CLSID\\{B801CA65-A1FC-11D0-85AD-444553540000}\\LocalServer";
constexpr const char* kFolder3 = "C:\\Programmi\\Adobe\\Acrobat 3.0\\Reader\\";
constexpr const char* kFolder4 = "C:\\Programmi\\Adobe\\Acrobat 4.0\\Reader\\";

struct Readers {
    test::Sandbox box;
    test::ScriptedPrompter prompter;
    PdfReaders readers;

    // Registers a reader whose class key `classKey` names `program`, and makes the files.
    void install(const std::string& classKey, const std::string& folder, bool program = true,
                 bool plugIn = true) {
        CKey key(*box.sys, RegRoot::ClassesRoot, classKey);
        ASSERT_TRUE(key.create());
        key.writeString("", folder + "AcroRd32.exe");
        if (program) {
            put(folder + "AcroRd32.exe");
        }
        if (plugIn) {
            put(folder + "Browser\\Nppdf32.dll");
        }
    }
    void put(std::string windowsPath) {
        for (char& c : windowsPath) {
            c = c == '\\' ? '/' : c;
        }
        test::writeHost(box.host("machine/C" + windowsPath.substr(2)), "x");
    }
    bool check(int r3, int r4) {
        return checkReaders(*box.sys, readers, r3, r4, prompter, "Korvo", "Korvo Install");
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& shown : prompter.shown) {
            out.push_back(shown.text);
        }
        return out;
    }
};

TEST(PdfReader, BothVersionsWithTheirFoldersAndPlugIns) {
    Readers r;
    r.install(kClass3, kFolder3);
    r.install(std::string(kClass4) + "32", kFolder4);  // only under LocalServer32
    const ReaderStatus& three = r.readers.status(*r.box.sys, 3);
    ASSERT_TRUE(three.found()) << three.code;
    EXPECT_EQ(three.info.version, 3);
    EXPECT_EQ(three.info.programPath, std::string(kFolder3) + "AcroRd32.exe");
    EXPECT_EQ(three.info.readerFolder, kFolder3);
    EXPECT_EQ(three.info.plugInPath, std::string(kFolder3) + "Browser\\Nppdf32.dll");
    EXPECT_EQ(three.info.fontFolder, std::string(kFolder3) + "Fonts\\");
    const ReaderStatus& four = r.readers.status(*r.box.sys, 4);
    ASSERT_TRUE(four.found()) << four.code;
    EXPECT_EQ(four.info.version, 4);
    EXPECT_EQ(four.info.fontFolder, "C:\\Programmi\\Adobe\\Acrobat 4.0\\Resource\\Font\\");
    EXPECT_EQ(r.readers.found(4)->programPath, std::string(kFolder4) + "AcroRd32.exe");

    // Searched once: what the registry says later does not change the result of this run.
    r.box.sys->regDeleteValue(RegRoot::ClassesRoot, kClass3, "");
    EXPECT_TRUE(r.readers.status(*r.box.sys, 3).found());
    EXPECT_FALSE(CReaderSearch(*r.box.sys, 5).result());
    EXPECT_EQ(CReaderSearch(*r.box.sys, 3).result()->code, ReaderStatus::kNoClassKey);

    // LocalServer wins over LocalServer32 for version 4.
    Readers both;
    both.install(kClass4, kFolder4);
    both.install(std::string(kClass4) + "32", "C:\\Altrove\\");
    EXPECT_EQ(both.readers.status(*both.box.sys, 4).info.readerFolder, kFolder4);
}

TEST(PdfReader, EveryStatusCodeAndItsReason) {
    Readers r;
    r.install(kClass3, kFolder3, false);
    EXPECT_EQ(r.readers.status(*r.box.sys, 3).code, ReaderStatus::kNoProgram);
    r.install(std::string(kClass4) + "32", kFolder4, true, false);
    EXPECT_EQ(r.readers.status(*r.box.sys, 4).code, ReaderStatus::kNoPlugIn);
    EXPECT_EQ(readerReason(ReaderStatus::kNoClassKey), "Can not find AcroRd32.exe.");
    EXPECT_EQ(readerReason(ReaderStatus::kNoProgramPath), "Can not find nppdf32.dll");
    EXPECT_EQ(readerReason(ReaderStatus::kNoProgram), "Can not find AcroRd32.exe.");
    EXPECT_EQ(readerReason(ReaderStatus::kNoPlugIn), "Can not find nppdf32.dll");
    EXPECT_EQ(readerReason(ReaderStatus::kTooLong), "Memory allocation error.");
    EXPECT_EQ(readerReason(7), "");

    // A reader whose program exists but whose plug-in is missing counts as not found.
    EXPECT_TRUE(r.check(-1, 0));  // optional: the question, answered Yes
    EXPECT_EQ(
        r.texts().at(0),
        "Failed to find Acrobat Reader 4 due to a following error:\nCan not find nppdf32.dll");

    // A path longer than the reader's buffer: the whole message is the memory error.
    Readers tooLong;
    tooLong.install(kClass3, "C:\\" + std::string(250, 'a') + "\\", false, false);
    EXPECT_EQ(tooLong.readers.status(*tooLong.box.sys, 3).code, ReaderStatus::kTooLong);
    tooLong.prompter.answers = {Answer::No};
    EXPECT_FALSE(tooLong.check(0, -1));
    EXPECT_EQ(tooLong.texts().at(0), "Memory allocation error.");
}

TEST(PdfReader, TheCheckReportsEndsOrAsks) {
    // Reader 3 required, only reader 4 installed: reader 3 is reported and the start ends.
    Readers only4;
    only4.install(std::string(kClass4) + "32", kFolder4);
    EXPECT_FALSE(only4.check(1, 0));
    EXPECT_EQ(only4.texts(),
              (std::vector<std::string>{
                  "Failed to find Acrobat Reader 3 due to a following error:\nCan not find "
                  "AcroRd32.exe.",
                  "Can not find Adobe Acrobat Reader.\nKorvo uses Acrobat Reader and its "
                  "fonts.\nPlease install/reinstall the Acrobat Reader and run the Installer "
                  "again."}));
    EXPECT_EQ(only4.prompter.shown[0].icon, Icon::Warning);
    EXPECT_EQ(only4.prompter.shown[0].caption, "Korvo Install");
    EXPECT_EQ(only4.prompter.shown[1].icon, Icon::Error);

    // Nothing installed, reader 4 optional: one report, then the question.
    Readers none;
    none.prompter.answers = {Answer::Yes};
    EXPECT_TRUE(none.check(-1, 0));
    ASSERT_EQ(none.texts().size(), 2u);
    EXPECT_EQ(none.texts()[0],
              "Failed to find Acrobat Reader 4 due to a following error:\nCan not find "
              "AcroRd32.exe.");
    EXPECT_EQ(none.texts()[1],
              "Can not locate Adobe Acrobat Reader!\nIf you are going to use PDF-mode, press "
              "[No] button\ninstall/reinstall the Acrobat Reader and run the Installer "
              "again.\nProceed with installation?");
    EXPECT_EQ(none.prompter.shown[1].buttons, Buttons::YesNo);
    Readers refused;
    refused.prompter.answers = {Answer::No};
    EXPECT_FALSE(refused.check(-1, 0));

    // What was found is enough: no word.
    Readers enough;
    enough.install(std::string(kClass4) + "32", kFolder4);
    EXPECT_TRUE(enough.check(0, 1));
    enough.install(kClass3, kFolder3);
    Readers three;
    three.install(kClass3, kFolder3);
    EXPECT_TRUE(three.check(1, 0));  // reader 4 missing but not required
    EXPECT_TRUE(enough.texts().empty());
    EXPECT_TRUE(three.texts().empty());
    // Reader 4 required and missing, reader 3 found: reported and ended.
    EXPECT_FALSE(three.check(0, 1));
}

TEST(PdfReader, StartUpRunsTheCheckTheScriptAsksFor) {
    test::Sandbox box;
    test::ScriptedPrompter prompter;
    test::writeHost(box.host("machine/C/SETUP/INSTELLO.INI"),
                    "[AppInfo]\r\nAppName=Korvo\r\n[StartUp]\r\nReader3=-1\r\nReader4=1\r\n");
    EXPECT_EQ(startUp(*box.sys, prompter, "C:\\SETUP").outcome, StartupOutcome::Failed);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text.substr(0, 35), "Can not find Adobe Acrobat Reader.\n");

    // With the reader there, the start goes on and keeps what was found.
    CKey key(*box.sys, RegRoot::ClassesRoot, std::string(kClass4) + "32");
    ASSERT_TRUE(key.create());
    key.writeString("", std::string(kFolder4) + "AcroRd32.exe");
    test::writeHost(box.host("machine/C/Programmi/Adobe/Acrobat 4.0/Reader/AcroRd32.exe"), "x");
    test::writeHost(box.host("machine/C/Programmi/Adobe/Acrobat 4.0/Reader/Browser/Nppdf32.dll"),
                    "x");
    prompter.shown.clear();
    Startup started = startUp(*box.sys, prompter, "C:\\SETUP");
    ASSERT_EQ(started.outcome, StartupOutcome::Ready);
    EXPECT_EQ(prompter.shown.size(), 1u);  // only the greeting
    EXPECT_TRUE(started.product->readers.found(4));
    EXPECT_FALSE(started.product->readers.found(3));
}

}  // namespace
}  // namespace installer
