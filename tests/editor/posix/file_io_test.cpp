#include "editor/file_io.h"

#include "../temp_folder.h"
#include "read_only_mount.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace editor {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

TEST(FileIo, WritesNewFilesAndReplacesOldOnes) {
    TempFolder folder;
    const auto path = folder / "a.prn";
    ASSERT_EQ(writeFileSafely(path, "uno\r\n"), 0);
    EXPECT_EQ(readBytes(path), "uno\r\n");
    ASSERT_EQ(writeFileSafely(path, std::string("d\0e", 3)), 0);
    EXPECT_EQ(readBytes(path), std::string("d\0e", 3));
    ASSERT_EQ(writeFileSafely(path, ""), 0);
    EXPECT_EQ(readBytes(path), "");
    EXPECT_EQ(folder.listing(), "a.prn\n");
}

TEST(FileIo, ATemporaryNameInUseIsNeverOverwritten) {
    TempFolder folder;
    writeBytes(folder / "a.mtf.~0.tmp", "someone else's");
    ASSERT_EQ(writeFileSafely(folder / "a.mtf", "new"), 0);
    EXPECT_EQ(readBytes(folder / "a.mtf.~0.tmp"), "someone else's");
    EXPECT_EQ(readBytes(folder / "a.mtf"), "new");

    // A name as long as the system allows still leaves room for its temporary.
    const std::string longest = std::string(251, 'e') + ".mtf";
    ASSERT_EQ(writeFileSafely(folder / longest, "lungo"), 0);
    EXPECT_EQ(readBytes(folder / longest), "lungo");
}

TEST(FileIo, ReplacingKeepsPermissionsAndLinks) {
    TempFolder folder;
    const auto real = folder / "vero.mtf";
    writeBytes(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, folder / "link.mtf");

    ASSERT_EQ(writeFileSafely(folder / "link.mtf", "new"), 0);
    EXPECT_TRUE(fs::is_symlink(folder / "link.mtf"));
    EXPECT_EQ(readBytes(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileIo, DevicesAndPipesAreWrittenToNotReplaced) {
    TempFolder folder;
    const auto pipe = folder / "tubo";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(writeFileSafely(pipe, "stampa\r\n"), 0);
    EXPECT_TRUE(fs::is_fifo(pipe));
    char got[32] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 8);
    ::close(reader);
    EXPECT_EQ(std::string(got), "stampa\r\n");
    EXPECT_EQ(folder.listing(), "tubo\n");

    EXPECT_EQ(writeFileSafely(folder.path(), "x"), EISDIR);
}

TEST(FileIo, ReadOnlyFilesAndFoldersAreLeftAlone) {
    TempFolder folder;
    const auto path = folder / "protetto.mtf";
    writeBytes(path, "old");
    if (geteuid() != 0) {
        fs::permissions(path, fs::perms::owner_read);
        EXPECT_EQ(writeFileSafely(path, "new"), EACCES);
        EXPECT_EQ(readBytes(path), "old");
        EXPECT_EQ(folder.listing(), "protetto.mtf\n");

        // A folder without write permission: the file in it stays as it was.
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(writeFileSafely(path, "new"), EACCES);
        EXPECT_EQ(readBytes(path), "old");
        fs::permissions(folder.path(), fs::perms::owner_all);
        EXPECT_EQ(folder.listing(), "protetto.mtf\n");
    }

    // A folder on a read-only file system stops the superuser too.
    const int failed = testing::inReadOnlyFolder(folder.path(), [&] {
        if (writeFileSafely(path, "new") != EROFS) {
            return 1;
        }
        if (readBytes(path) != "old" || folder.listing() != "protetto.mtf\n") {
            return 2;
        }
        return writeFileSafely(folder / "nuovo.mtf", "x") == EROFS ? 0 : 3;
    });
    if (failed == testing::kNoMountNamespace && geteuid() != 0) {
        return;  // the permission checks above have run
    }
    ASSERT_NE(failed, testing::kNoMountNamespace) << "no private mount namespace for the superuser";
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(folder.listing(), "protetto.mtf\n");
}

TEST(FileIo, ReadsWholeFilesAndReportsErrno) {
    TempFolder folder;
    std::string big(200000, 'x');
    big[123456] = '\0';
    writeBytes(folder / "big", big);
    const ReadResult r = readWholeFile(folder / "big");
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.bytes, big);
    EXPECT_EQ(readWholeFile(folder / "missing").error, ENOENT);
    EXPECT_EQ(readWholeFile(folder.path()).error, EISDIR);
}

TEST(FileIo, NamesFromTheProgramReachTheFilesOnDisk) {
    TempFolder folder;
    // "caffè €.mtf" as the file dialog hands it over (code page 1252) names the UTF-8 file.
    const std::string cp1252 = (folder / "caff\xE8 \x80.mtf").string();
    const auto utf8 = folder / "caff\xC3\xA8 \xE2\x82\xAC.mtf";
    ASSERT_EQ(writeFileSafely(cp1252, "uno"), 0);
    EXPECT_EQ(readBytes(utf8), "uno");
    EXPECT_EQ(readWholeFile(cp1252).bytes, "uno");
    EXPECT_EQ(readWholeFile(utf8).bytes, "uno") << "a UTF-8 name is used as it is";
    EXPECT_EQ(systemPath(utf8), utf8);
    EXPECT_EQ(systemPath(folder / "prova.mtf"), folder / "prova.mtf");
    // A folder named in UTF-8 with a file name in code page 1252: only the file name converts.
    EXPECT_EQ(systemPath(folder / "cos\xC3\xAC" / "s\xEC.mtf"),
              folder / "cos\xC3\xAC" / "s\xC3\xAC.mtf");

    // Back to the program's code page for what is shown; names it cannot hold stay as they are.
    EXPECT_EQ(programName(utf8.filename().native()), "caff\xE8 \x80.mtf");
    EXPECT_EQ(programName("\xF0\x9F\x98\x80.mtf"), "\xF0\x9F\x98\x80.mtf");
    EXPECT_EQ(programName("caff\xE8.mtf"), "caff\xE8.mtf");

    // A file whose name on disk is itself in code page 1252 is still the one read and written.
    const auto legacy = folder / "vecchio\xE0.mtf";
    writeBytes(legacy, "vecchio");
    EXPECT_EQ(systemPath(legacy), legacy);
    ASSERT_EQ(writeFileSafely(legacy, "nuovo"), 0);
    EXPECT_EQ(readBytes(legacy), "nuovo");
    EXPECT_EQ(folder.listing(), "caff\xC3\xA8 \xE2\x82\xAC.mtf\nvecchio\xE0.mtf\n");
}

TEST(FileIo, MessagesCarryCodeAndName) {
    EXPECT_EQ(writeErrorMessage(28, "C:\\es\\a.mtf"),
              "Errore n. 28 in scrittura file C:\\es\\a.mtf");
    EXPECT_EQ(readErrorMessage(2, "a.mtf"), "Errore n. 2 in lettura file a.mtf");
}

}  // namespace
}  // namespace editor
