#include "installer/tex/stand_ins.h"

#include <algorithm>

#include "installer/system/sandbox/sandbox_system.h"
#include "installer/system/sandbox/stand_in_library.h"
#include "installer/win_path.h"

namespace installer::tex {

namespace {

constexpr std::string_view kFonts = "TrueType";

class HyphenationLibrary : public system::StandInLibrary {
public:
    explicit HyphenationLibrary(system::System& sys) : code_(sys) {
        add<ConfigureHyphenOnInstallFn>(
            kConfigureHyphenOnInstall,
            [this](void* window, const char* root) { return code_.configure(window, root); });
    }

private:
    HyphenationStandIn code_;
};

class TrueTypeAliasLibrary : public system::StandInLibrary {
public:
    explicit TrueTypeAliasLibrary(system::System& sys) : code_(sys) {
        TrueTypeAliasCalls calls = code_.calls();
        add<AWOpenFn>("AWOpen", std::move(calls.open));
        add<AWGetFontInfoFn>("AWGetFontInfo", std::move(calls.getFontInfo));
        add<AWAddFontFn>("AWAddFont", std::move(calls.addFont));
        add<AWWriteFn>("AWWrite", std::move(calls.write));
        add<AWCloseFn>("AWClose", std::move(calls.close));
    }

private:
    TrueTypeAliasStandIn code_;
};

}  // namespace

void registerTexStandIns(system::SandboxSystem& sandbox) {
    sandbox.registerLibrary("HYPSET.DLL", [](system::System& sys, const std::string&) {
        return std::make_unique<HyphenationLibrary>(sys);
    });
    sandbox.registerLibrary("KORVOTTF.DLL", [](system::System& sys, const std::string&) {
        return std::make_unique<TrueTypeAliasLibrary>(sys);
    });
}

int HyphenationStandIn::configure(void*, const char* root) {
    if (!root) {
        return 0;
    }
    const std::string folder = withBackslash(root);
    Profile config;
    config.set("Hyphenation", "Root", folder);
    auto names = sys_.listFolder(folder + "SRC\\").value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    int count = 0;
    for (const auto& name : names) {
        if (iendsWith(name, ".pat")) {
            config.set("Hyphenation", "Pattern" + std::to_string(++count), name);
        }
    }
    return config.save(sys_, folder + std::string(kHyphenationFile)) ? 1 : 0;
}

TrueTypeAliasCalls TrueTypeAliasStandIn::calls() {
    TrueTypeAliasCalls c;
    c.open = [this](const char* path) { return open(path); };
    c.getFontInfo = [this](void* f, const char* name) { return getFontInfo(f, name); };
    c.addFont = [this](void* f, const char* name, const char* title, unsigned short style,
                       int qlns) { return addFont(f, name, title, style, qlns); };
    c.write = [this](void* f) { return write(f); };
    c.close = [this](void* f) { close(f); };
    return c;
}

TrueTypeAliasStandIn::OpenFile* TrueTypeAliasStandIn::find(void* file) {
    for (const auto& open : files_) {
        if (open.get() == file) {
            return open.get();
        }
    }
    return nullptr;
}

void* TrueTypeAliasStandIn::open(const char* aliasFile) {
    if (!aliasFile) {
        return nullptr;
    }
    auto profile = Profile::load(sys_, aliasFile, true);
    if (!profile) {
        return nullptr;
    }
    files_.push_back(std::make_unique<OpenFile>(OpenFile{aliasFile, std::move(*profile)}));
    return files_.back().get();
}

int TrueTypeAliasStandIn::getFontInfo(void* file, const char* name) {
    OpenFile* open = find(file);
    return open && name && open->profile.find(kFonts, name) ? 1 : 0;
}

int TrueTypeAliasStandIn::addFont(void* file, const char* name, const char* title,
                                  unsigned short macStyle, int hasQlns) {
    OpenFile* open = find(file);
    if (!open || !name || !title || !*name) {
        return 0;
    }
    open->profile.set(
        kFonts, name,
        std::string(title) + "," + std::to_string(macStyle) + "," + (hasQlns ? "1" : "0"));
    return 1;
}

int TrueTypeAliasStandIn::write(void* file) {
    OpenFile* open = find(file);
    return open && open->profile.save(sys_, open->path) ? 1 : 0;
}

void TrueTypeAliasStandIn::close(void* file) {
    files_.erase(std::remove_if(files_.begin(), files_.end(),
                                [&](const auto& open) { return open.get() == file; }),
                 files_.end());
}

}  // namespace installer::tex
