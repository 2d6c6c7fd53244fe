#include "support.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "../scratch_folder.h"
#include "installer/journal/journal.h"
#include "installer/win_path.h"

namespace installer::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    // Memory-backed when the machine has it: the sweeps make many small files.
    std::error_code ec;
    const fs::path shm = "/dev/shm";
    const bool memory = fs::is_directory(shm, ec) && (fs::status(shm, ec).permissions() &
                                                      fs::perms::others_write) != fs::perms::none;
    path_ = testing_support::makeScratchFolder(
        fs::absolute(memory ? shm : fs::temp_directory_path()), "instello-test-");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

Sandbox::Sandbox() {
    sys = std::make_unique<system::SandboxSystem>(dir.path() / "machine");
}

void Sandbox::reload() {
    sys = std::make_unique<system::SandboxSystem>(dir.path() / "machine");
}

void Sandbox::configure(const std::string& iniText) {
    const fs::path ini = dir.path() / "machine" / "sandbox.ini";
    writeHost(ini, readHost(ini) + iniText);
    reload();
}

std::string readHost(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeHost(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string relative = fs::relative(it->path(), root).generic_string();
        if (it->is_directory()) {
            files[relative + "/"] = "";
        } else {
            files[relative] = readHost(it->path());
        }
    }
    return files;
}

std::optional<std::string> lnkinfo(const fs::path& link) {
    if (std::system("lnkinfo -V > /dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    const std::string command = "lnkinfo \"" + link.string() + "\" 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) {
            output.append(buffer, got);
        }
        pclose(pipe);
    }
    return output;
}

std::string deflateRaw(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::uint32_t crcOf(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

static void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

static void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

PackageBuilder& PackageBuilder::folder(const std::string& name) {
    bytes += '>';
    bytes += static_cast<char>(name.size());
    bytes += name;
    return *this;
}

PackageBuilder& PackageBuilder::skip(char kind, const std::string& text) {
    bytes += kind;
    bytes += static_cast<char>(text.size());
    bytes += text;
    return *this;
}

PackageBuilder& PackageBuilder::padding() {
    bytes += '\x1A';
    return *this;
}

PackageBuilder& PackageBuilder::quit() {
    bytes += 'Q';
    return *this;
}

PackageBuilder& PackageBuilder::member(const std::string& name, const std::string& data, int method,
                                       std::uint16_t date, std::uint16_t time,
                                       const std::string& extra) {
    const std::string packed = method == 8 ? deflateRaw(data) : data;
    bytes += 'V';
    put32(bytes, 0x04034B50);
    put16(bytes, 20);
    put16(bytes, 0);
    put16(bytes, static_cast<std::uint32_t>(method));
    put16(bytes, time);
    put16(bytes, date);
    put32(bytes, crcOf(data));
    put32(bytes, static_cast<std::uint32_t>(packed.size()));
    put32(bytes, static_cast<std::uint32_t>(data.size()));
    put16(bytes, static_cast<std::uint32_t>(name.size()));
    put16(bytes, static_cast<std::uint32_t>(extra.size()));
    bytes += name;
    bytes += extra;
    bytes += packed;
    return *this;
}

PackageBuilder& PackageBuilder::rawMember(const std::string& name, const std::string& packed,
                                          std::uint16_t method, std::uint32_t crc,
                                          std::uint32_t compressed, std::uint32_t uncompressed) {
    bytes += 'V';
    put32(bytes, 0x04034B50);
    put16(bytes, 20);
    put16(bytes, 0);
    put16(bytes, method);
    put16(bytes, 0x4C20);
    put16(bytes, 0x5462);
    put32(bytes, crc);
    put32(bytes, compressed);
    put32(bytes, uncompressed);
    put16(bytes, static_cast<std::uint32_t>(name.size()));
    put16(bytes, 0);
    bytes += name;
    bytes += packed;
    return *this;
}

ProgramBuilder& ProgramBuilder::op(int code, std::vector<std::string> operands) {
    bytes += static_cast<char>(code);
    for (const auto& operand : operands) {
        bytes += static_cast<char>(operand.size());
        bytes += operand;
    }
    return *this;
}

void FaultySystem::failAt(std::size_t n, std::vector<Fault> kinds) {
    target_ = n;
    kinds_ = std::move(kinds);
    count_ = 0;
    fired_ = false;
}

bool FaultySystem::hit(Fault kind) {
    if (target_ == 0 || std::find(kinds_.begin(), kinds_.end(), kind) == kinds_.end()) {
        return false;
    }
    if (++count_ == target_) {
        fired_ = true;
        firedKind_ = kind;
        return true;
    }
    return false;
}

namespace {

class FaultyRead : public system::ReadFile {
public:
    FaultyRead(FaultySystem& owner, std::unique_ptr<system::ReadFile> inner)
        : owner_(owner), inner_(std::move(inner)) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        if (owner_.hit(Fault::Read)) {
            return std::nullopt;
        }
        return inner_->read(buffer, size);
    }

private:
    FaultySystem& owner_;
    std::unique_ptr<system::ReadFile> inner_;
};

class FaultyWrite : public system::WriteFile {
public:
    // `journal`: the file is the watched journal, and what reaches it is told to the owner.
    FaultyWrite(FaultySystem& owner, std::unique_ptr<system::WriteFile> inner, bool journal)
        : owner_(owner), inner_(std::move(inner)), journal_(journal) {}
    bool write(const char* data, std::size_t size) override {
        if (owner_.hit(Fault::Write)) {
            // A disk that fills up: part of the data reaches it.
            if (inner_->write(data, size / 2) && journal_) {
                owner_.journalWritten(data, size / 2);
            }
            return false;
        }
        const bool written = inner_->write(data, size);
        if (written && journal_) {
            owner_.journalWritten(data, size);
        }
        return written;
    }
    bool flush() override { return !owner_.hit(Fault::Flush) && inner_->flush(); }
    bool close() override {
        const bool closed = inner_->close();
        return !owner_.hit(Fault::Close) && closed;
    }

private:
    FaultySystem& owner_;
    std::unique_ptr<system::WriteFile> inner_;
    bool journal_;
};

std::string windowsKey(std::string_view path) {
    std::string key = upper(path);
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

std::string registryKey(system::RegRoot root, std::string_view key) {
    return upper(std::string(system::regRootName(root)) + "\\" + std::string(key));
}

}  // namespace

void FaultySystem::watchJournal(std::string journalPath) {
    journalPath_ = std::move(journalPath);
    journalText_.clear();
    journalRead_ = 0;
    journalHeader_.clear();
    knownFiles_.clear();
    knownKeys_.clear();
    knownValues_.clear();
    unjournalled_.clear();
}

void FaultySystem::journalWritten(const char* data, std::size_t size) {
    journalText_.append(data, size);
}

// Takes the journal's complete new lines into the known sets (the header goes in front of
// them, as parseJournal wants it).
void FaultySystem::readJournal() {
    const auto end = journalText_.rfind('\n');
    if (end == std::string::npos || end + 1 <= journalRead_) {
        return;
    }
    std::string lines = journalText_.substr(journalRead_, end + 1 - journalRead_);
    journalRead_ = end + 1;
    if (journalHeader_.empty()) {
        const auto first = lines.find('\n');
        journalHeader_ = lines.substr(0, first + 1);
        lines.erase(0, first + 1);
    }
    const auto contents = parseJournal(journalHeader_ + lines);
    if (!contents) {
        return;
    }
    using Kind = JournalRecord::Kind;
    for (const auto& r : contents->records) {
        switch (r.kind) {
            case Kind::Folder:
            case Kind::FolderRemoved:
                knownFiles_.insert(windowsKey(withBackslash(r.path)));
                break;
            case Kind::NewFile:
            case Kind::MovedAside:
            case Kind::CopyBegun:
            case Kind::CopyDone:
                knownFiles_.insert(windowsKey(r.path));
                if (!r.backup.empty()) {
                    knownFiles_.insert(windowsKey(r.backup));
                }
                break;
            case Kind::RegistryKey:
            case Kind::RegistryKeyRemoved:
                knownKeys_.insert(registryKey(r.root, r.path));
                break;
            case Kind::RegistryValue:
                knownValues_.insert(registryKey(r.root, r.path) + "\t" + upper(r.valueName));
                break;
            case Kind::Commit:
            case Kind::Removal:
                break;
        }
    }
}

void FaultySystem::expectFile(std::string_view what, std::string_view path) {
    if (journalPath_.empty() || iequals(path, journalPath_)) {
        return;
    }
    readJournal();
    if (!knownFiles_.count(windowsKey(path)) &&
        !knownFiles_.count(windowsKey(withBackslash(path)))) {
        unjournalled_.push_back(std::string(what) + " " + std::string(path));
    }
}

void FaultySystem::expectKey(std::string_view what, system::RegRoot root, std::string_view key) {
    // Asking for a key that is there already changes nothing.
    if (journalPath_.empty() || (what == "regCreateKey" && inner_.regKeyExists(root, key)) ||
        (what == "regDeleteKey" && !inner_.regKeyExists(root, key))) {
        return;
    }
    readJournal();
    if (!knownKeys_.count(registryKey(root, key))) {
        unjournalled_.push_back(std::string(what) + " " + registryKey(root, key));
    }
}

void FaultySystem::expectValue(std::string_view what, system::RegRoot root, std::string_view key,
                               std::string_view name) {
    if (journalPath_.empty()) {
        return;
    }
    readJournal();
    if (!knownValues_.count(registryKey(root, key) + "\t" + upper(name))) {
        unjournalled_.push_back(std::string(what) + " " + registryKey(root, key) + " " +
                                std::string(name));
    }
}

std::unique_ptr<system::ReadFile> FaultySystem::openRead(std::string_view path) {
    if (hit(Fault::OpenRead)) {
        return nullptr;
    }
    auto inner = inner_.openRead(path);
    return inner ? std::make_unique<FaultyRead>(*this, std::move(inner)) : nullptr;
}

std::unique_ptr<system::WriteFile> FaultySystem::openWrite(std::string_view path) {
    expectFile("openWrite", path);
    if (hit(Fault::OpenWrite)) {
        return nullptr;
    }
    auto inner = inner_.openWrite(path);
    return inner ? std::make_unique<FaultyWrite>(*this, std::move(inner), false) : nullptr;
}

bool FaultySystem::deleteFile(std::string_view path) {
    expectFile("deleteFile", path);
    return !hit(Fault::Delete) && inner_.deleteFile(path);
}

bool FaultySystem::moveFile(std::string_view from, std::string_view to) {
    expectFile("moveFile", from);
    expectFile("moveFile to", to);
    return !hit(Fault::Move) && inner_.moveFile(from, to);
}

bool FaultySystem::replaceFile(std::string_view from, std::string_view to) {
    expectFile("replaceFile", from);
    expectFile("replaceFile to", to);
    return !hit(Fault::Replace) && inner_.replaceFile(from, to);
}

std::unique_ptr<system::WriteFile> FaultySystem::openLocked(std::string_view path, bool& busy) {
    expectFile("openLocked", path);
    if (hit(Fault::OpenWrite)) {
        busy = false;
        return nullptr;
    }
    auto inner = inner_.openLocked(path, busy);
    const bool journal = !journalPath_.empty() && iequals(path, journalPath_);
    return inner ? std::make_unique<FaultyWrite>(*this, std::move(inner), journal) : nullptr;
}

bool FaultySystem::createFolder(std::string_view path) {
    expectFile("createFolder", path);
    return !hit(Fault::CreateFolder) && inner_.createFolder(path);
}

bool FaultySystem::setFileTime(std::string_view path, system::FileTime time) {
    expectFile("setFileTime", path);
    return !hit(Fault::SetTime) && inner_.setFileTime(path, time);
}

void RecordingSink::step() {
    ++calls;
    if (cancelAtCall != 0 && calls == cancelAtCall) {
        cancel = true;
    }
}

int RecordingSink::askLocation(std::string& path, std::string_view label) {
    step();
    lines.push_back("ask:" + std::string(label) + ":" + path);
    if (!typedLocation.empty()) {
        path = typedLocation;
    }
    if (locationAnswers.empty()) {
        return kSkip;
    }
    const int answer = locationAnswers.front();
    locationAnswers.erase(locationAnswers.begin());
    return answer;
}

void RecordingSink::setTotal(std::int64_t kb) {
    step();
    total = kb;
}

void RecordingSink::beginComponent(std::string_view label, std::int64_t kb) {
    step();
    lines.push_back("begin:" + std::string(label) + ":" + std::to_string(kb));
}

void RecordingSink::advance(std::uint64_t bytes) {
    step();
    advanced += bytes;
}

void RecordingSink::endComponent() {
    step();
    lines.push_back("end");
}

void RecordingSink::showCopying(std::string_view path) {
    step();
    lines.push_back("copying:" + std::string(path));
}

void RecordingSink::showCreating(std::string_view path) {
    step();
    lines.push_back("creating:" + std::string(path));
}

void RecordingSink::showStatus(std::string_view text) {
    step();
    lines.push_back("status:" + std::string(text));
}

void RecordingSink::warning(std::string_view text) {
    step();
    lines.push_back("warning:" + std::string(text));
}

bool RecordingSink::has(const std::string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

Answer ScriptedPrompter::message(std::string_view text, std::string_view caption, Icon icon,
                                 Buttons buttons) {
    shown.push_back({std::string(text), std::string(caption), icon, buttons});
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

bool ScriptedPrompter::license(std::string_view) {
    ++licenses;
    return agree;
}

}  // namespace installer::test
