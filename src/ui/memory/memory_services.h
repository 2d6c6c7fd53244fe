#pragma once

// In-memory clipboard, shell, printer and keyboard state, for tests.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/services.h"

namespace ui::memory {

class MemoryClipboard : public Clipboard {
public:
    std::string text() const override { return text_; }
    void setText(std::string_view text) override {
        text_ = text;
        bitmap_ = {};
    }
    void setBitmap(const Bitmap& bitmap) override {
        bitmap_ = bitmap;
        text_.clear();
    }
    bool hasBitmap() const override { return !bitmap_.empty(); }
    void clear() override {
        text_.clear();
        bitmap_ = {};
        ++clears_;
    }

    Bitmap bitmap() const override { return bitmap_; }
    int clears() const { return clears_; }

private:
    std::string text_;
    Bitmap bitmap_;
    int clears_ = 0;
};

class RecordingShell : public Shell {
public:
    struct Run {
        std::string program;
        std::vector<std::string> arguments;
        std::string directory;
    };

    bool open(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }
    std::optional<int> runAndWait(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::string& directory) override {
        runs.push_back({program, arguments, directory});
        if (onRun) {
            onRun(runs.back());
        }
        return exitStatus;
    }

    bool openSucceeds = true;
    std::optional<int> exitStatus = 0;      // nullopt: the program cannot be started
    std::function<void(const Run&)> onRun;  // what the program does (writes its files...)
    std::vector<std::string> opened;
    std::vector<Run> runs;
};

class RecordingPrinter : public Printer {
public:
    struct Job {
        std::vector<std::string> lines;
        Font font;
        Bitmap bitmap;
    };

    bool printLines(const std::vector<std::string>& lines, const Font& font) override {
        jobs.push_back({lines, font, {}});
        return succeeds;
    }
    bool printBitmap(const Bitmap& bitmap) override {
        jobs.push_back({{}, {}, bitmap});
        return succeeds;
    }
    int pageWidth() const override {
        return orientation_ == Orientation::Portrait ? width : height;
    }
    int pageHeight() const override {
        return orientation_ == Orientation::Portrait ? height : width;
    }
    Orientation orientation() const override { return orientation_; }
    void setOrientation(Orientation orientation) override { orientation_ = orientation; }
    bool printPages(const std::vector<PrintPage>& pages, const std::string& imageFile) override {
        pageJobs.push_back({pages, imageFile});
        return succeeds;
    }

    struct PageJob {
        std::vector<PrintPage> pages;
        std::string imageFile;
    };
    bool succeeds = true;
    std::vector<Job> jobs;
    std::vector<PageJob> pageJobs;
    // An A4 page at 600 dots per inch, portrait.
    int width = 4960;
    int height = 7016;

private:
    Orientation orientation_ = Orientation::Portrait;
};

class MemoryKeyboard : public Keyboard {
public:
    bool numLockOn() const override { return numLock; }
    bool numLock = false;
};

}  // namespace ui::memory
