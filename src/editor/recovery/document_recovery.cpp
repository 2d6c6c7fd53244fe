#include "editor/recovery/document_recovery.h"

#include <algorithm>
#include <system_error>

#include "editor/document_file.h"
#include "editor/exercise_name.h"
#include "editor/messages.h"
#include "editor/recovery/recovery_texts.h"
#include "speech/request_sources.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

// After the n-th failure in a row, the next try waits 2, 4, 8, ... seconds, at most a minute.
std::chrono::milliseconds retryDelay(int failures) {
    const int shift = std::min(failures - 1, 5);
    return std::min(std::chrono::milliseconds(2000 << shift), std::chrono::milliseconds(60000));
}

bool sameDocument(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(systemPath(a), systemPath(b), ec);
}

// A box's text said on one line.
std::string spoken(std::string_view text) {
    std::string words(text);
    std::replace(words.begin(), words.end(), '\r', ' ');
    std::replace(words.begin(), words.end(), '\n', ' ');
    return words;
}

}  // namespace

DocumentRecovery::DocumentRecovery(TForm1& form, DocumentCommands& documents, ui::Timer& timer,
                                   RecoveryOptions options)
    : form_(form), documents_(documents), timer_(timer), options_(std::move(options)), clock_([] {
          return std::chrono::steady_clock::now();
      }) {
    documents_.setListener(this);
    form_.addEditorListener([this](Editor, EditorEvent event) {
        if (event == EditorEvent::Changed) {
            changed(clock_());
        }
    });
    // A page change or a mode switch changes what the copy holds only while there is unsaved
    // work.
    form_.addPageListener([this] {
        if (form_.modified()) {
            changed(clock_());
        }
    });
    form_.addStartupStep([this] { lookAtStart(); });
    form_.addCloseListener([this] {
        removeCopy();
        closed_ = true;
        timer_.setEnabled(false);
    });
    timer_.setInterval(kTick);
    timer_.setOnTimer([this] { tick(); });
    timer_.setEnabled(!options_.folder.empty());
}

DocumentRecovery::~DocumentRecovery() {
    // The timer is not touched: the window that owns it may have let it go already.
    documents_.setListener(nullptr);
    writer_.wait();
}

fs::path DocumentRecovery::copyFile() const {
    return slot_ ? slot_->copyFile() : fs::path();
}

// ---- when to write

void DocumentRecovery::changed(Time now) {
    // The keystroke path: the time is noted, nothing else.
    pending_ = true;
    lastChange_ = now;
    if (!firstChange_) {
        firstChange_ = now;
    }
}

void DocumentRecovery::tick() {
    if (closed_ || asking_) {
        return;
    }
    const Time now = clock_();
    takeOutcome(now);
    if (!form_.modified()) {
        return;
    }
    // A change that no editor reported (a command that set a text and the modified flag) is
    // found by comparing, now and then, while nothing else is pending.
    if (!pending_ && !writer_.busy() && now - lastLook_ >= kQuiet) {
        lastLook_ = now;
        if (!written_ || *written_ != snapshot()) {
            changed(now);
        }
    }
    if (pending_ && !writer_.busy() && now >= retryAt_ &&
        (now - lastChange_ >= kQuiet || now - *firstChange_ >= kLongest)) {
        startWrite(now);
    }
    reportIfFailing(now);
}

RecoveryState DocumentRecovery::snapshot() {
    RecoveryState s;
    s.pages = form_.pages();
    s.page = form_.currentPage();
    s.braille = form_.brailleMode();
    // The editor holds the page being typed; the store gets it only on a page change.
    (s.braille ? s.pages.brailleOf(s.page) : s.pages.latexOf(s.page)) = form_.activeEditor().text();
    s.document = form_.currentFileName();
    if (s.document.empty()) {
        if (exerciseName_.empty()) {
            exerciseName_ = nextExerciseName(fs::path(form_.settings().workDir));
        }
        s.exerciseName = exerciseName_;
    }
    return s;
}

bool DocumentRecovery::ensureSlot() {
    if (!slot_ && !options_.folder.empty()) {
        int error = 0;
        slot_ = RecoverySlot::take(options_.folder, error);
        if (!slot_) {
            lastError_ = error;
        }
    }
    return slot_ != nullptr;
}

void DocumentRecovery::startWrite(Time now) {
    if (!ensureSlot()) {
        failed(now, lastError_);
        return;
    }
    RecoveryState state = snapshot();
    RecoveryCopy copy{state, secondsNow(), documentTime_};
    if (writer_.start(slot_->copyFile(), formatRecoveryCopy(copy), fault_)) {
        writing_ = std::move(state);
        pending_ = false;
        firstChange_.reset();
    }
}

void DocumentRecovery::takeOutcome(Time now) {
    const std::optional<int> outcome = writer_.takeOutcome();
    if (!outcome) {
        return;
    }
    if (*outcome != 0) {
        writing_.reset();
        failed(now, *outcome);
        return;
    }
    written_ = std::move(writing_);
    writing_.reset();
    failures_ = 0;
    reported_ = false;
    // The copy of this window holds what the copies taken at start held.
    for (const fs::path& file : taken_) {
        std::error_code ec;
        fs::remove(file, ec);
    }
    taken_.clear();
}

void DocumentRecovery::failed(Time now, int code) {
    lastError_ = code;
    if (failures_++ == 0) {
        firstFailure_ = now;
    }
    pending_ = true;
    if (!firstChange_) {
        firstChange_ = now;
    }
    retryAt_ = now + retryDelay(failures_);
}

void DocumentRecovery::reportIfFailing(Time now) {
    if (reported_ || failures_ < kReportAfterFailures || now - firstFailure_ < kReportAfter ||
        now - lastChange_ < kQuiet) {
        return;
    }
    reported_ = true;
    const fs::path file = slot_ ? slot_->copyFile() : options_.folder;
    tell(std::string(text::kRecoveryWriteFailing) +
             writeErrorMessage(lastError_, programName(file.string())),
         true);
}

void DocumentRecovery::finishWriting() {
    writer_.wait();
    takeOutcome(clock_());
}

// ---- when the copy goes

void DocumentRecovery::removeCopy() {
    // A copy being written must not land after its removal.
    writer_.wait();
    writer_.takeOutcome();
    writing_.reset();
    if (slot_) {
        slot_->removeCopy();
    }
    for (const fs::path& file : taken_) {
        std::error_code ec;
        fs::remove(file, ec);
    }
    taken_.clear();
    written_.reset();
    pending_ = false;
    firstChange_.reset();
}

void DocumentRecovery::beforeWrite() {
    // A copy of the pages before this save must not be taken for newer than the saved file.
    writer_.wait();
    takeOutcome(clock_());
}

void DocumentRecovery::documentSettled(const std::string& path) {
    removeCopy();
    if (slot_) {
        slot_->nextDocument();
    }
    document_ = path;
    documentTime_ = documentFileTime(path);
    exerciseName_.clear();
}

// ---- at start

void DocumentRecovery::lookAtStart() {
    if (!options_.lookAtStart || options_.folder.empty()) {
        return;
    }
    const LeftCopies left = findLeftCopies(options_.folder, slot_ ? slot_->id() : std::string());
    std::vector<const LeftCopy*> offers;
    for (const LeftCopy& copy : left.copies) {
        switch (judge(copy)) {
            case LeftCopyUse::Offer:
                offers.push_back(&copy);
                break;
            case LeftCopyUse::Superseded: {
                int error = 0;
                setAside(copy, error);  // the saved file is newer: kept without a word
                break;
            }
            case LeftCopyUse::Damaged:
                setAsideAndTell(copy, text::kRecoveryDamaged);
                break;
        }
    }
    // The document asked for on the command line is the one the student wants back.
    const std::vector<std::string>& arguments = form_.environment().arguments;
    if (!arguments.empty()) {
        std::erase_if(offers, [&](const LeftCopy* copy) {
            return !sameDocument(copy->copy->state.document, arguments.front());
        });
    }
    for (const LeftCopy* copy : offers) {
        if (offer(*copy)) {
            break;
        }
    }
}

bool DocumentRecovery::offer(const LeftCopy& left) {
    const RecoveryCopy& copy = *left.copy;
    const bool neverSaved = copy.state.document.empty();
    const std::string name(
        fileNamePart(neverSaved ? copy.state.exerciseName : copy.state.document));
    const auto [date, time] = localDateAndTime(copy.taken);
    const std::string question =
        std::string(neverSaved ? text::kRecoveryNewDocument : text::kRecoveryDocument) + name +
        std::string(text::kRecoveryNotSaved) + "\r\n" + std::string(text::kRecoveryCopyOf) + date +
        std::string(text::kRecoveryAt) + time + ".\r\n" + std::string(text::kRecoveryQuestion);
    form_.speak(speech::announcementRequest(form_.environment().programDirectory.string(),
                                            spoken(question)));
    asking_ = true;
    const ui::Answer answer =
        form_.services().dialogs.question(question, ui::Buttons::YesNo, text::kRecoveryCaption);
    asking_ = false;
    if (answer == ui::Answer::Yes) {
        take(left);
        return true;
    }
    setAsideAndTell(left, text::kRecoveryKeptAside);
    return false;
}

void DocumentRecovery::take(const LeftCopy& left) {
    const RecoveryState& state = left.copy->state;
    form_.putDocument(state.pages, state.page, state.braille);
    form_.setCurrentFileName(state.document);
    form_.setTitlePrefix(std::string(text::kTitle) + std::string(fileNamePart(state.document)));
    form_.updateTitle();
    form_.menuItem(Command::Salva1).setEnabled(true);
    form_.menuItem(Command::Salvacolnome1).setEnabled(true);
    form_.setModified(true);
    form_.activeEditor().setFocus();

    document_ = state.document;
    // The file on disk as it is now is what a later start compares this window's copies with.
    documentTime_ = documentFileTime(state.document);
    exerciseName_ = state.exerciseName;
    // The left copy becomes this window's copy; one that cannot be moved is removed once this
    // window has written its own.
    if (!ensureSlot() || slot_->adopt(left.file) != 0) {
        taken_.push_back(left.file);
    }
    written_ = state;
    // Written again soon, with the document file's time as it is now.
    const Time now = clock_();
    changed(now - kQuiet);
}

void DocumentRecovery::setAsideAndTell(const LeftCopy& left, std::string_view why) {
    int error = 0;
    if (const auto kept = setAside(left, error)) {
        tell(std::string(why) + "\r\n" + programName(kept->string()), false);
    } else {
        tell(std::string(text::kRecoveryNotKeptAside) +
                 writeErrorMessage(error, programName(left.file.string())),
             true);
    }
}

void DocumentRecovery::tell(std::string_view message, bool warning) {
    form_.speak(speech::announcementRequest(form_.environment().programDirectory.string(),
                                            spoken(message)));
    asking_ = true;
    if (warning) {
        form_.services().dialogs.warning(message);
    } else {
        form_.services().dialogs.information(message);
    }
    asking_ = false;
}

}  // namespace editor
