#pragma once

// The component list INSTALL.CFG: the selectable components of the product, in groups that
// may nest, each with its cluster counts and the component program that installs it.
//
//   name ; label ; program file ; c512:c1024:c2048:c4096:c8192:c16384:cother ; description
//   name ; POPUP ; description            (a group starts; its members follow)
//   text ; POPDOWN                        (the innermost group ends; at top level: the list)
//
// A name may start with "-" (not selected by default) or with a Windows language identifier
// in decimal digits (selected by default only for that user language).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "installer/system/system.h"

namespace installer {

class InstallJob;

// What components and groups have in common, in the order of their operations.
class ComponentItem {
public:
    virtual ~ComponentItem() = default;

    // Runs the component program of every selected component (Raises CError).
    virtual void install(InstallJob& job) = 0;
    // Kilobytes the selection takes on a drive with `clusterSize`-byte clusters.
    virtual std::int64_t sizeKb(std::uint32_t clusterSize) const = 0;
    // 0 not selected, 1 selected; groups: 2 partly selected, -1 empty.
    virtual int state() const = 0;
    // Whether the component program (of every member) exists under `folder`.
    virtual bool available(system::System& sys, std::string_view folder) const = 0;
    // 0 or 1; groups pass it to every member, and ignore 2.
    virtual void setState(int state) = 0;
    // Back to the default selection (a group not selected by default: none of its members).
    virtual void reset() = 0;
    virtual int placeholder() const { return 0; }
    virtual std::unique_ptr<ComponentItem> clone() const = 0;

    virtual bool isGroup() const = 0;

    std::string name;
    std::string description;
    bool defaultSelected = true;
};

using ComponentList = std::vector<std::unique_ptr<ComponentItem>>;

class Component : public ComponentItem {
public:
    void install(InstallJob& job) override;
    std::int64_t sizeKb(std::uint32_t clusterSize) const override;
    int state() const override { return selected ? 1 : 0; }
    bool available(system::System& sys, std::string_view folder) const override;
    void setState(int state) override;
    void reset() override { selected = defaultSelected; }
    std::unique_ptr<ComponentItem> clone() const override;
    bool isGroup() const override { return false; }

    std::string label;        // progress window and disk prompt
    std::string programFile;  // relative to the current source folder
    std::int32_t clusters[7] = {};
    bool selected = true;
};

class ComponentGroup : public ComponentItem {
public:
    void install(InstallJob& job) override;
    std::int64_t sizeKb(std::uint32_t clusterSize) const override;
    int state() const override;
    bool available(system::System& sys, std::string_view folder) const override;
    void setState(int state) override;
    void reset() override;
    std::unique_ptr<ComponentItem> clone() const override;
    bool isGroup() const override { return true; }

    ComponentList members;
};

// Reads source folder + "INSTALL.CFG". Raises CError 1 (missing), 2 (cannot be opened) or
// 5 (malformed) with the file name "INSTALL.CFG". `language` is the user's default language
// identifier.
ComponentList readComponentList(system::System& sys, std::string_view sourceFolder,
                                unsigned language);

// The same from the file's bytes (raises CError 5 only).
ComponentList parseComponentList(std::string_view text, unsigned language);

// Sum of the sizes of the entries.
std::int64_t totalSizeKb(const ComponentList& list, std::uint32_t clusterSize);

// Every component of the list, groups opened, in file order.
std::vector<Component*> allComponents(const ComponentList& list);

}  // namespace installer
