#pragma once

// A job on a sandbox: install path C:\INST\, distribution C:\DIST\ (host folder
// machine/C/DIST), and helpers to put packages and programs there.

#include <memory>
#include <string>
#include <vector>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "installer/install_job.h"
#include "installer/package.h"
#include "support.h"

namespace installer::test {

struct JobFixture {
    Sandbox box;
    RecordingSink sink;
    ComponentList components;
    std::unique_ptr<FaultySystem> faulty;
    std::unique_ptr<InstallJob> job;

    JobFixture() { faulty = std::make_unique<FaultySystem>(*box.sys); }

    // A fresh job (the previous one dropped); `settings` may name a settings file; `journal`
    // keeps the journal on disk in C:\WINDOWS.
    InstallJob& makeJob(bool withSettings = false, bool skipMissing = true, bool journal = false) {
        JobSettings s;
        if (journal) {
            s.productName = "Prova";
            s.journalPath = "C:\\WINDOWS\\INSTELLO.JNL";
        }
        s.installPath = "C:\\INST\\";
        s.distributionPath = "C:\\DIST\\";
        s.clusterSize = 4096;
        s.skipMissing = skipMissing;
        job.reset();
        job = std::make_unique<InstallJob>(
            *faulty, sink, components, s,
            withSettings
                ? std::make_unique<SettingsFile>(*faulty, "C:\\INST\\Prodotto", "C:\\INST\\")
                : nullptr);
        return *job;
    }

    // Writes a distribution file (host path under machine/C/DIST).
    void put(const std::string& name, const std::string& bytes) {
        writeHost(box.host("machine/C/DIST/" + name), bytes);
    }
    std::string installed(const std::string& relative) const {
        return readHost(box.host("machine/C/INST/" + relative));
    }
    bool exists(const std::string& relative) const {
        return std::filesystem::exists(box.host("machine/C/INST/" + relative));
    }

    // Adds a component whose program is `program` (written as NAME.QKP).
    Component& addComponent(const std::string& name, const std::string& program,
                            bool writeProgram = true) {
        auto c = std::make_unique<Component>();
        c->name = name;
        c->label = "Disk " + name;
        c->programFile = name + ".QKP";
        for (auto& count : c->clusters) {
            count = 1;
        }
        if (writeProgram) {
            put(c->programFile, program);
        }
        components.push_back(std::move(c));
        return static_cast<Component&>(*components.back());
    }

    // Unpacks `package` (volume bytes, 001 first) into C:\INST\ with a fresh job.
    void unpack(const std::vector<std::string>& volumes) {
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".%03zu", i + 1);
            put(std::string("PKG") + suffix, volumes[i]);
        }
        InstallJob& j = makeJob();
        j.prepare();
        unpackPackage(j, "C:\\DIST\\PKG", "C:\\INST\\");
        j.installed().save();
    }

    // The code of the CError that `f` raises, or -1 when it returns.
    template <typename F>
    static int codeOf(F&& f, std::string* file = nullptr) {
        try {
            f();
        } catch (const CError& e) {
            if (file) {
                *file = e.file();
            }
            return e.code();
        }
        return -1;
    }
};

}  // namespace installer::test
