// The recovery folder: one place per running program, the copies that stopped programs left,
// whether each is worth offering, and setting copies aside.

#include "editor/recovery/recovery_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "editor/document_file.h"
#include "editor/file_io.h"
#include "temp_folder.h"

namespace editor {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

std::unique_ptr<RecoverySlot> takeSlot(const fs::path& folder) {
    int error = -1;
    auto slot = RecoverySlot::take(folder, error);
    EXPECT_NE(slot, nullptr) << "error " << error;
    return slot;
}

std::string copyOf(const std::string& document, std::int64_t taken,
                   std::optional<std::int64_t> documentTime = std::nullopt) {
    RecoveryCopy copy;
    copy.state.document = document;
    copy.state.exerciseName = document.empty() ? "esercizio004.mtf" : "";
    copy.state.pages.brailleOf(1) = "#a " + document;
    copy.taken = taken;
    copy.documentTime = documentTime;
    return formatRecoveryCopy(copy);
}

// Sets the file's time of change `seconds` after `from`.
void touch(const fs::path& file, fs::file_time_type from, int seconds) {
    fs::last_write_time(file, from + std::chrono::seconds(seconds));
}

std::int64_t secondsOf(fs::file_time_type time) {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(time).time_since_epoch())
        .count();
}

TEST(RecoveryFolder, EachProgramAndEachDocumentHasACopyOfItsOwn) {
    TempFolder base;
    const fs::path folder = base / "stato" / "tattilo" / "recupero";
    auto first = takeSlot(folder);
    auto second = takeSlot(folder);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_NE(first->id(), second->id());
    EXPECT_NE(first->copyFile(), second->copyFile());
    const fs::path before = first->copyFile();
    first->nextDocument();
    EXPECT_NE(first->copyFile(), before);
    EXPECT_EQ(first->copyFile().parent_path(), folder);

    // A running program's copies are never anyone else's to find.
    ASSERT_EQ(writeFileSafely(first->copyFile(), copyOf("/a.mtf", 1)), 0);
    EXPECT_TRUE(findLeftCopies(folder, second->id()).copies.empty());
    EXPECT_TRUE(findLeftCopies(folder, "").copies.empty());

    // Gone without removing its copy, as a killed program is: the copy is left for the next.
    const fs::path left = first->copyFile();
    first.reset();
    const LeftCopies found = findLeftCopies(folder, second->id());
    ASSERT_EQ(found.copies.size(), 1u);
    EXPECT_EQ(found.copies[0].file, left);
    ASSERT_TRUE(found.copies[0].copy.has_value());
    EXPECT_EQ(found.copies[0].copy->state.document, "/a.mtf");
    EXPECT_EQ(second->removeCopy(), 0) << "removing a copy that is not there is no error";
}

TEST(RecoveryFolder, AProgramKilledLeavesItsLockWhichTheNextStartTakesOver) {
    TempFolder folder;
    const std::string id = "0123456789ab";
    const fs::path lock = folder / (".tattilo-" + id + ".lock");
    const fs::path copy = folder / (".tattilo-" + id + "-2.mtf");
    const fs::path temporary = folder / (".tattilo-" + id + "-2.mtf.~0.tmp");
    writeBytes(lock, "");
    writeBytes(copy, copyOf("", 5));
    writeBytes(temporary, "half a co");
    writeBytes(folder / ".tattilo-notanid00000-1.mtf", "not ours");
    writeBytes(folder / "esercizio001.mtf", "a document");

    {
        // While something holds the lock, its program runs.
        int error = 0;
        auto held = InstanceLock::takeOver(lock);
        ASSERT_TRUE(held.has_value());
        EXPECT_FALSE(InstanceLock::create(lock, error).has_value());
        EXPECT_EQ(error, EEXIST);
        EXPECT_TRUE(findLeftCopies(folder.path(), "").copies.empty());
        EXPECT_TRUE(fs::exists(temporary)) << "a running program's temporary file stays";
    }
    {
        const LeftCopies found = findLeftCopies(folder.path(), "");
        ASSERT_EQ(found.copies.size(), 1u);
        EXPECT_FALSE(fs::exists(temporary)) << "a stopped program's temporary file goes";
        // Looked at: nobody else may take them meanwhile.
        EXPECT_FALSE(InstanceLock::takeOver(lock).has_value());
        EXPECT_TRUE(findLeftCopies(folder.path(), "").copies.empty());
    }
    EXPECT_TRUE(fs::exists(lock)) << "it still guards its copy";
    fs::remove(copy);
    { const LeftCopies again = findLeftCopies(folder.path(), ""); }
    EXPECT_FALSE(fs::exists(lock)) << "a lock guarding no copy is removed";
    EXPECT_EQ(folder.listing(), ".tattilo-notanid00000-1.mtf\nesercizio001.mtf\n");
}

TEST(RecoveryFolder, LeftCopiesComeNewestFirstAndDamagedOnesHaveNoContent) {
    TempFolder folder;
    const auto now = fs::file_time_type::clock::now();
    const std::string whole = copyOf("/a.mtf", 1);
    const std::vector<std::pair<std::string, std::string>> files = {
        {".tattilo-aaaaaaaaaaaa-1.mtf", whole},
        {".tattilo-bbbbbbbbbbbb-1.mtf", whole.substr(0, whole.size() / 2)},
        {".tattilo-cccccccccccc-3.mtf", copyOf("/c.mtf", 2)},
        {".tattilo-cccccccccccc-4.mtf", std::string(300, '\0')},
    };
    int age = 0;
    for (const auto& [name, bytes] : files) {
        writeBytes(folder / name, bytes);
        touch(folder / name, now, -100 + 10 * age++);
    }
    const LeftCopies found = findLeftCopies(folder.path(), "");
    ASSERT_EQ(found.copies.size(), 4u);
    std::vector<std::string> order;
    for (const LeftCopy& c : found.copies) {
        order.push_back(c.file.filename().string() + (c.copy ? " whole" : " damaged"));
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{
                  ".tattilo-cccccccccccc-4.mtf damaged", ".tattilo-cccccccccccc-3.mtf whole",
                  ".tattilo-bbbbbbbbbbbb-1.mtf damaged", ".tattilo-aaaaaaaaaaaa-1.mtf whole"}));
}

TEST(RecoveryFolder, ACopyIsOfferedUnlessItsDocumentWasSavedAfterIt) {
    TempFolder folder;
    const fs::path doc = folder / "esercizio001.mtf";
    writeBytes(doc, "\\\\Step 1\r\n");
    const auto now = fs::file_time_type::clock::now();
    touch(doc, now, 0);
    const std::int64_t docTime = *documentFileTime(doc.string());
    const std::int64_t docSeconds = secondsOf(fs::last_write_time(doc));

    struct Case {
        const char* what;
        std::string document;
        std::int64_t taken;
        std::optional<std::int64_t> documentTime;
        LeftCopyUse use;
    };
    const std::vector<Case> cases = {
        {"never saved", "", docSeconds - 50, std::nullopt, LeftCopyUse::Offer},
        {"document gone", (folder / "gone.mtf").string(), 1, 42, LeftCopyUse::Offer},
        {"document as it was loaded", doc.string(), docSeconds - 50, docTime, LeftCopyUse::Offer},
        {"saved after the copy", doc.string(), docSeconds - 50, docTime - 1,
         LeftCopyUse::Superseded},
        {"saved in the second of the copy", doc.string(), docSeconds, docTime - 1,
         LeftCopyUse::Superseded},
        {"changed before the copy", doc.string(), docSeconds + 50, docTime - 1, LeftCopyUse::Offer},
        {"made before any file", doc.string(), docSeconds - 50, std::nullopt,
         LeftCopyUse::Superseded},
    };
    for (const Case& c : cases) {
        LeftCopy left;
        left.copy = parseRecoveryCopy(copyOf(c.document, c.taken, c.documentTime));
        ASSERT_TRUE(left.copy.has_value());
        EXPECT_EQ(judge(left), c.use) << c.what;
    }
    EXPECT_EQ(judge(LeftCopy{}), LeftCopyUse::Damaged);
}

TEST(RecoveryFolder, SetAsideCopiesAreNamedForTheirDocumentAndNeverReplaceAFile) {
    TempFolder folder;
    auto slot = takeSlot(folder.path());
    ASSERT_TRUE(slot);
    const std::string id = slot->id();
    const std::int64_t taken = 1741772525;  // 12/03/2025 09:42:05 UTC
    const auto [date, time] = localDateAndTime(taken);
    ASSERT_EQ(date.size(), 10u);
    ASSERT_EQ(time.size(), 5u);
    const std::string stamp = date.substr(6, 4) + "-" + date.substr(3, 2) + "-" +
                              date.substr(0, 2) + " " + time.substr(0, 2) + "." +
                              time.substr(3, 2) + ".05";

    auto leftIn = [&](const std::string& bytes) {
        const fs::path file = slot->copyFile();
        slot->nextDocument();
        writeBytes(file, bytes);
        LeftCopy left;
        left.file = file;
        left.copy = parseRecoveryCopy(bytes);
        left.fileTime = fs::last_write_time(file);
        return left;
    };
    int error = -1;
    const auto first = setAside(leftIn(copyOf("/scuola/equazioni.mtf", taken)), error);
    const auto second = setAside(leftIn(copyOf("/altrove/equazioni.mtf", taken)), error);
    const auto neverSaved = setAside(leftIn(copyOf("", taken)), error);
    const auto damaged = setAside(leftIn("\\\\Step 1\r\nmezza"), error);
    ASSERT_TRUE(first && second && neverSaved && damaged) << error;
    EXPECT_EQ(first->filename().string(), "equazioni - copia di recupero del " + stamp + ".mtf");
    EXPECT_EQ(second->filename().string(),
              "equazioni - copia di recupero del " + stamp + " (2).mtf");
    EXPECT_EQ(neverSaved->filename().string(),
              "esercizio004 - copia di recupero del " + stamp + ".mtf");
    EXPECT_TRUE(damaged->filename().string().starts_with("copia di recupero danneggiata del "));
    EXPECT_EQ(readBytes(*damaged), "\\\\Step 1\r\nmezza") << "kept as it was";
    // Set aside: opened as documents, never offered again.
    PageStore pages;
    EXPECT_TRUE(parseDocument(readBytes(*first), pages));
    slot.reset();
    EXPECT_TRUE(findLeftCopies(folder.path(), "").copies.empty());
    EXPECT_EQ(folder.listing().find(".tattilo-"), std::string::npos) << folder.listing();
}

}  // namespace
}  // namespace editor
