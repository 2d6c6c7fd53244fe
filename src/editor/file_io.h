#pragma once

// Whole-file reading and writing for the documents and print files of the editor.
//
// A write never destroys the file it replaces: the new bytes go to a temporary file in the same
// folder, which takes the old file's place only once it is complete and on disk. A failure at any
// step leaves the old file exactly as it was and removes the temporary file.
//
// Error codes are errno values (EIO when the system gave none); the messages shown to the user
// carry them as "Errore n. <code> in scrittura file <name>".

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace editor {

inline constexpr std::string_view kMsgErrorNumber = "Errore n. ";
inline constexpr std::string_view kMsgInWriting = " in scrittura file ";
inline constexpr std::string_view kMsgInReading = " in lettura file ";
inline constexpr std::string_view kMsgFileExists = "Il file esiste gi\xE0. Sostituirlo ? ";

// "Errore n. " + code + " in scrittura file " + name.
std::string writeErrorMessage(int code, std::string_view fileName);
// "Errore n. " + code + " in lettura file " + name.
std::string readErrorMessage(int code, std::string_view fileName);

// The steps of a safe write at which the system can fail.
enum class WriteStep { Create, Write, Close, Replace };

// Test hook: returns an errno value to make that step fail, 0 to let it run as usual.
using WriteFault = std::function<int(WriteStep)>;

// Replaces the content of `path` with `bytes` (creating the file when it does not exist).
// A symbolic link is followed, so the link stays and its target gets the new content; an
// existing file keeps its permissions. Returns 0 on success, else the errno value of the step
// that failed. Never throws for I/O failures.
int writeFileSafely(const std::filesystem::path& path, std::string_view bytes,
                    const WriteFault& fault = {});

// The file system's name for a file the program names. The program's texts, and so the names
// coming from its file dialogs, are code page 1252, while names on disk are UTF-8: a name that
// is not valid UTF-8 and names nothing as it stands has each of its parts that is not valid
// UTF-8 taken as code page 1252 and converted.
// ASCII names, UTF-8 names (such as those given on the command line) and names of files that
// exist as they are come back unchanged. The file I/O below applies it itself.
// On Windows the path holds the name in UTF-16 already, and it is the name on disk.
std::filesystem::path systemPath(const std::filesystem::path& name);

// The other way: a name as the file system gives it (UTF-8) in the program's code page 1252,
// for the texts that show or print it. A name that is not valid UTF-8, or that holds a character
// code page 1252 lacks, comes back unchanged. On Windows the name is already in the ANSI
// code page (1252) and comes back unchanged.
std::string programName(std::string_view systemName);

struct ReadResult {
    int error = 0;  // 0 on success, else the errno value
    std::string bytes;
};

// The whole content of `path`, in one attempt.
ReadResult readWholeFile(const std::filesystem::path& path);

// What a file command hands back to the window: `ok`, and the message to show (an error when
// not ok; an information text or nothing when ok).
struct FileOutcome {
    bool ok = false;
    std::string message;
};

}  // namespace editor
