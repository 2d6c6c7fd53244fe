#pragma once

// Nothing the student typed is lost to a crash or a power cut: while the document has unsaved
// changes, a recovery copy of it (recovery_copy.h) is kept in the recovery folder
// (recovery_folder.h), and the next start offers what a stopped program left there.
//
// When a copy is written:
//   - about two seconds after the last change (kQuiet), and at least every thirty seconds while
//     changes go on (kLongest); the window's timer looks every kTick milliseconds;
//   - never on the keystroke path: a change only notes the time, and the bytes are written and
//     made durable on the writer's thread (recovery_writer.h);
//   - a write that fails is tried again later, after a longer wait each time; the student is told
//     only when it keeps failing (kReportAfterFailures failures over kReportAfter), once, at a
//     pause in the typing, and again only after a write has worked in between.
// When the copy goes: after Save (the file is current), after "Nuovo" or "Apri" replaced the
// document, and when the window closes normally (saved, or "No" to saving). A program that
// stops in any other way leaves its copy behind.
//
// At the first activation, unless `lookAtStart` is off, the copies left by programs that no
// longer run are looked at:
//   - a copy newer than its document is offered in a question box ("Sì" by default), which speech
//     reads too: "Sì" puts its pages, page and mode in the window, marked modified, with the file
//     on disk untouched until the student saves; "No" sets the copy aside under a name of its
//     own, where "Apri" finds it and no later start offers it. With a document named on the
//     command line only that document's copies are offered; otherwise every left copy in turn,
//     newest first, until one is taken;
//   - a copy older than its document (the document was saved after it) is set aside quietly;
//   - a copy that is not whole is never offered: it is set aside and the student is told where.
//
// Ownership: keeps references to the window and its document commands, which must outlive it,
// and to the timer, which its owner stops or destroys before this goes (this never touches
// the timer once it is destroyed).

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/files/document_commands.h"
#include "editor/recovery/recovery_folder.h"
#include "editor/recovery/recovery_writer.h"
#include "editor/window/main_window.h"

namespace editor {

struct RecoveryOptions {
    // The folder of recovery copies; empty: no copies are written and none is looked for.
    std::filesystem::path folder;
    // Whether the start offers the copies left behind (false for "tattilo --no-recovery").
    bool lookAtStart = true;
};

class DocumentRecovery : public DocumentListener {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kQuiet{2000};
    static constexpr std::chrono::milliseconds kLongest{30000};
    static constexpr int kTick = 500;  // milliseconds
    static constexpr int kReportAfterFailures = 3;
    static constexpr std::chrono::milliseconds kReportAfter{10000};

    // Attaches itself to the window: its editors' changes, its pages, its first activation and
    // its closing, the document commands, and `timer`, which it runs from now on.
    DocumentRecovery(TForm1& form, DocumentCommands& documents, ui::Timer& timer,
                     RecoveryOptions options);
    // Waits for a write under way; the copy stays unless the window closed normally.
    ~DocumentRecovery() override;
    DocumentRecovery(const DocumentRecovery&) = delete;
    DocumentRecovery& operator=(const DocumentRecovery&) = delete;

    // Where this window's copy is written; empty before the first write.
    std::filesystem::path copyFile() const;

    // Test hooks: the time the timing goes by, and writes that fail at the steps `fault` chooses
    // (it runs on the writer's thread).
    void setClock(Clock clock) { clock_ = std::move(clock); }
    void setWriteFault(WriteFault fault) { fault_ = std::move(fault); }
    // Waits for a write under way and takes its outcome, as the next look of the timer would.
    void finishWriting();

    // DocumentListener
    void beforeWrite() override;
    void documentSettled(const std::string& path) override;

private:
    using Time = std::chrono::steady_clock::time_point;

    void changed(Time now);
    void tick();
    void takeOutcome(Time now);
    void failed(Time now, int code);
    void startWrite(Time now);
    void reportIfFailing(Time now);
    RecoveryState snapshot();
    bool ensureSlot();
    void removeCopy();

    void lookAtStart();
    bool offer(const LeftCopy& left);
    void take(const LeftCopy& left);
    void setAsideAndTell(const LeftCopy& left, std::string_view why);
    void tell(std::string_view text, bool warning);

    TForm1& form_;
    DocumentCommands& documents_;
    ui::Timer& timer_;
    RecoveryOptions options_;
    Clock clock_;
    WriteFault fault_;
    std::unique_ptr<RecoverySlot> slot_;
    RecoveryWriter writer_;  // after the slot: it stops before the slot goes

    // The document the copies are of.
    std::string document_;
    std::optional<std::int64_t> documentTime_;
    std::string exerciseName_;

    // What the copy on disk holds, and what is being written.
    std::optional<RecoveryState> written_;
    std::optional<RecoveryState> writing_;
    std::vector<std::filesystem::path> taken_;  // left copies taken that are still to be removed

    bool pending_ = false;  // a change that no copy holds yet
    Time lastChange_{};     // of the pending changes
    std::optional<Time> firstChange_;
    Time lastLook_{};  // when the copy was last compared with the window
    Time retryAt_{};   // no write before then, after a failure

    int failures_ = 0;  // in a row
    Time firstFailure_{};
    int lastError_ = 0;
    bool reported_ = false;
    bool asking_ = false;  // a question of ours is open
    bool closed_ = false;
};

}  // namespace editor
