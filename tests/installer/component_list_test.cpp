// The component list: line shapes, selection prefixes, groups and their states, sizes, and
// the lists that are bad.

#include <gtest/gtest.h>

#include "installer/cerror.h"
#include "installer/component_list.h"
#include "support.h"

namespace installer {
namespace {

std::string fixture(const std::string& name) {
    return test::readHost(std::string(TATTILO_TEST_DATA) + "/installer/" + name);
}

Component& component(ComponentItem& item) {
    return dynamic_cast<Component&>(item);
}

ComponentGroup& group(ComponentItem& item) {
    return dynamic_cast<ComponentGroup&>(item);
}

TEST(ComponentList, ReadsComponentsGroupsAndPrefixes) {
    ComponentList list = parseComponentList(fixture("list.cfg"), 1040);
    ASSERT_EQ(list.size(), 6u);  // the top-level POPDOWN ends the list: "Never" is not read

    Component& base = component(*list[0]);
    EXPECT_EQ(base.name, "Base");
    EXPECT_EQ(base.label, "Programma");
    EXPECT_EQ(base.programFile, "BASE.QKP");
    EXPECT_EQ(base.description, "Il programma.");
    EXPECT_TRUE(base.defaultSelected);
    EXPECT_EQ(base.clusters[0], 1);
    EXPECT_EQ(base.clusters[6], 7);

    EXPECT_EQ(list[1]->name, "Extras");
    EXPECT_FALSE(list[1]->defaultSelected);
    EXPECT_EQ(list[1]->state(), 0);
    EXPECT_EQ(list[2]->name, "German");
    EXPECT_FALSE(list[2]->defaultSelected);  // the user's language is Italian
    EXPECT_EQ(component(*list[2]).clusters[0], 8);
    EXPECT_EQ(list[3]->name, "Italiano");
    EXPECT_TRUE(list[3]->defaultSelected);
    EXPECT_EQ(list[3]->description, "");

    ComponentGroup& docs = group(*list[4]);
    EXPECT_EQ(docs.name, "Docs");
    EXPECT_EQ(docs.description, "Documenti");
    ASSERT_EQ(docs.members.size(), 3u);
    EXPECT_EQ(group(*docs.members[2]).members.size(), 1u);
    EXPECT_EQ(list[5]->name, "Last");

    // For a German user the German component is the selected one.
    ComponentList german = parseComponentList(fixture("list.cfg"), 1031);
    EXPECT_TRUE(german[2]->defaultSelected);
    EXPECT_FALSE(german[3]->defaultSelected);

    // End of file closes open groups.
    ComponentList open = parseComponentList(fixture("unclosed.cfg"), 1040);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(group(*open[0]).members.size(), 1u);
}

TEST(ComponentList, GroupStatesAndSelection) {
    ComponentList list = parseComponentList(fixture("list.cfg"), 1040);
    ComponentGroup& docs = group(*list[4]);
    EXPECT_EQ(docs.state(), 2);  // Guide and Deep selected, Samples not
    docs.setState(2);            // changes nothing
    EXPECT_EQ(docs.state(), 2);
    EXPECT_EQ(docs.members[1]->state(), 0);
    docs.setState(1);
    EXPECT_EQ(docs.state(), 1);
    EXPECT_EQ(group(*docs.members[2]).members[0]->state(), 1);
    docs.setState(0);
    EXPECT_EQ(docs.state(), 0);
    docs.reset();
    EXPECT_EQ(docs.state(), 2);

    // A clone is independent (the Details window's Cancel puts it back).
    auto copy = docs.clone();
    docs.setState(1);
    EXPECT_EQ(copy->state(), 2);
    EXPECT_EQ(copy->name, "Docs");

    // A group's own prefix: "-" or another language leaves all its members unselected.
    ComponentList prefixed = parseComponentList(
        "-Off ; POPUP ; x\r\n A;L;A.QKP;1:1:1:1:1:1:1\r\nx;POPDOWN\r\n"
        "1031De ; POPUP ; y\r\n B;L;B.QKP;1:1:1:1:1:1:1\r\n",
        1040);
    EXPECT_EQ(prefixed[0]->name, "Off");
    EXPECT_EQ(prefixed[0]->state(), 0);
    EXPECT_EQ(prefixed[1]->state(), 0);
    prefixed[0]->setState(1);
    prefixed[0]->reset();
    EXPECT_EQ(prefixed[0]->state(), 0);
    EXPECT_EQ(
        parseComponentList("1031De ; POPUP ; y\r\n B;L;B.QKP;1:1:1:1:1:1:1\r\n", 1031)[0]->state(),
        1);

    ComponentGroup empty;
    EXPECT_EQ(empty.state(), -1);
    EXPECT_EQ(empty.sizeKb(4096), 0);

    // An empty subgroup does not make a group look partly selected.
    ComponentGroup outer;
    outer.members.push_back(std::make_unique<ComponentGroup>());
    outer.members.push_back(list[0]->clone());
    EXPECT_EQ(outer.state(), 1);
}

TEST(ComponentList, SizesFollowTheClusterSize) {
    ComponentList list = parseComponentList(fixture("list.cfg"), 1040);
    const Component& base = component(*list[0]);
    EXPECT_EQ(base.sizeKb(512), 0);  // 1 cluster of 512 bytes: 512 >> 10
    EXPECT_EQ(base.sizeKb(1024), 2);
    EXPECT_EQ(base.sizeKb(16384), 6 * 16);
    EXPECT_EQ(base.sizeKb(32768), 7 * 32);  // the seventh count
    EXPECT_EQ(component(*list[5]).sizeKb(32768), 3200);
    EXPECT_EQ(list[1]->sizeKb(4096), 0);  // not selected
    // Base 4 + Italiano 1 + Docs (Guide 2 + Deep 1) + Last 0, in 4096-byte clusters.
    EXPECT_EQ(totalSizeKb(list, 4096), (4 + 1 + 2 + 1) * 4);
    EXPECT_EQ(allComponents(list).size(), 8u);
}

TEST(ComponentList, MalformedListsAreCode5) {
    const std::vector<std::string> bad = {
        "A ; Label ; A.QKP ;  ; no sizes\r\n",
        "A ; Label ; A.QKP ; 1:2:3:4:5:6 ; five colons\r\n",
        "A ; Label ; A.QKP ; 1:2::4:5:6:7 ; an empty count\r\n",
        "A ; Label ; A.QKP ; 1:2:3:4:5:6: ; empty last\r\n",
        "A ; Label ;  ; 1:2:3:4:5:6:7 ; no program\r\n",
        "A ; Label\r\n",
        " ; Label ; A.QKP ; 1:1:1:1:1:1:1\r\n",
        "A ;  ; A.QKP ; 1:1:1:1:1:1:1\r\n",
        "- ; Label ; A.QKP ; 1:1:1:1:1:1:1\r\n",
        "A ; Label ; A.QKP ; 1:1:1:1:1:1:1 ; " + std::string(600, 'x') + "\r\n",
    };
    for (const auto& text : bad) {
        try {
            parseComponentList(text, 1040);
            ADD_FAILURE() << "accepted: " << text.substr(0, 60);
        } catch (const CError& e) {
            EXPECT_EQ(e.code(), CError::kCorrupted);
            EXPECT_EQ(e.text(), "File INSTALL.CFG is bad or corrupted.");
        }
    }
    // Keywords are case-sensitive: "popup" makes a component line without sizes.
    EXPECT_THROW(parseComponentList("G ; popup ; text\r\n", 1040), CError);
    // Blank lines and extra colons are fine.
    EXPECT_EQ(parseComponentList("\r\n  \r\nA;L;A.QKP;1:1:1:1:1:1:7:9\r\n", 1040).size(), 1u);
}

TEST(ComponentList, ReadsFromTheSourceFolder) {
    test::Sandbox box;
    try {
        readComponentList(*box.sys, "C:\\", 1040);
        ADD_FAILURE();
    } catch (const CError& e) {
        EXPECT_EQ(e.code(), CError::kNotFound);
        EXPECT_EQ(e.file(), "INSTALL.CFG");
    }
    test::writeHost(box.host("machine/C/SETUP/install.cfg"), fixture("list.cfg"));
    const ComponentList list = readComponentList(*box.sys, "C:\\setup\\", 1040);
    EXPECT_EQ(list.size(), 6u);
    EXPECT_FALSE(list[0]->available(*box.sys, "C:\\SETUP\\"));
    test::writeHost(box.host("machine/C/SETUP/BASE.QKP"), "QKIP\xFF");
    EXPECT_TRUE(list[0]->available(*box.sys, "C:\\SETUP\\"));
    EXPECT_FALSE(list[4]->available(*box.sys, "C:\\SETUP\\"));
}

}  // namespace
}  // namespace installer
