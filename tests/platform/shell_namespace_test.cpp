#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/platform.h"
#include "support/temp_machine.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// A list from the item data given, each item prefixed with its count.
IdList listOf(const std::vector<std::vector<std::uint8_t>>& items) {
    std::vector<std::uint8_t> bytes;
    for (const auto& d : items) {
        std::size_t cb = d.size() + 2;
        bytes.push_back(std::uint8_t(cb));
        bytes.push_back(std::uint8_t(cb >> 8));
        bytes.insert(bytes.end(), d.begin(), d.end());
    }
    bytes.push_back(0);
    bytes.push_back(0);
    IdList l(IdListAlloc(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), l.get());
    return l;
}

std::vector<std::string> childNames(ShellFolder& f) {
    std::vector<std::string> names;
    f.enumObjects([&](IdList child) {
        names.push_back(f.displayNameOf(child.get(), false));
        return true;
    });
    return names;
}

} // namespace

TEST(IdListArithmetic, SizesCopiesConcatenationsAndParents) {
    IdList empty = listOf({});
    IdList one = listOf({{1, 2, 3}});            // cb 5
    IdList two = listOf({{1, 2, 3}, {9}});       // cb 5 + 3
    IdList big = listOf({std::vector<std::uint8_t>(300, 7)}); // cb 302: the count's high byte

    struct Case {
        const char* label;
        ConstItemIdList list;
        std::size_t size;
    } sizes[] = {
        {"no list", nullptr, 0}, {"desktop", empty.get(), 2}, {"one item", one.get(), 7},
        {"two items", two.get(), 10}, {"count above 255", big.get(), 304},
    };
    for (const Case& c : sizes)
        EXPECT_EQ(IdListSize(c.list), c.size) << c.label;

    IdList copy = IdList::copyOf(two.get());
    EXPECT_NE(copy.get(), two.get());
    EXPECT_EQ(copy, two);
    EXPECT_FALSE(IdList::copyOf(nullptr));

    IdList joined(IdListConcat(one.get(), listOf({{9}}).get()));
    EXPECT_EQ(joined, two);
    EXPECT_EQ(IdList(IdListConcat(nullptr, two.get())), two) << "no parent gives a copy of the child";
    EXPECT_EQ(IdList(IdListConcat(empty.get(), one.get())), one) << "the desktop adds nothing";
    EXPECT_EQ(IdList(IdListConcat(one.get(), empty.get())), one);

    IdList p = IdList::copyOf(two.get());
    ItemIdList same = IdListParent(p.get());
    EXPECT_EQ(same, p.get()) << "in place";
    EXPECT_EQ(p.size(), 7u);
    EXPECT_EQ(p, one);
    IdListParent(p.get());
    EXPECT_TRUE(IdListIsEmpty(p.get())) << "one item leaves the desktop";
    IdListParent(p.get());
    EXPECT_TRUE(IdListIsEmpty(p.get())) << "the desktop has no parent";
    EXPECT_EQ(IdListParent(nullptr), nullptr);

    IdList a(IdListAlloc(5));
    EXPECT_TRUE(std::all_of(a.get(), a.get() + 5, [](std::uint8_t b) { return b == 0; })) << "zero-filled";
    IdListFree(nullptr);
}

TEST(ShellNamespace, MyComputerHoldsTheDrivesInLetterOrder) {
    testsupport::TempMachine m("DCE");
    ShellNamespace& ns = shellNamespace();
    auto desktop = ns.desktopFolder();
    IdList mc = ns.myComputer();
    EXPECT_EQ(desktop->displayNameOf(mc.get(), true), kMyComputerParsingName);
    EXPECT_EQ(childNames(*desktop), std::vector<std::string>{desktop->displayNameOf(mc.get(), false)});

    auto computer = ns.bindToFolder(mc.get());
    std::vector<IdList> drives;
    computer->enumObjects([&](IdList c) {
        drives.push_back(std::move(c));
        return true;
    });
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(computer->displayNameOf(drives[0].get(), false), "本地磁盘 (C:)");
    EXPECT_EQ(computer->displayNameOf(drives[2].get(), true), "E:\\");
    EXPECT_LT(computer->compareIDs(drives[0].get(), drives[1].get()), 0);
    EXPECT_GT(computer->compareIDs(drives[2].get(), drives[1].get()), 0);
    EXPECT_TRUE(computer->isFolder(drives[0].get()));
    ShellFindData none = computer->findData(drives[0].get());
    EXPECT_EQ(none.attributes, 0u) << "a drive has no file data";
    EXPECT_EQ(none.size, 0u);
    EXPECT_EQ(none.lastWriteTime, 0);
    IdList c(IdListConcat(mc.get(), drives[0].get()));
    EXPECT_EQ(ns.typeName(c.get()), "本地磁盘");
    EXPECT_EQ(ns.iconIndex(c.get(), false, false), SI_DRIVE_FIXED);
    EXPECT_EQ(ns.typeName(mc.get()), "系统文件夹");
}

TEST(ShellNamespace, ParentChainEndsAtMyComputerThenTheDesktop) {
    testsupport::TempMachine m;
    m.makeDir("C:\\Windows\\System32");
    ShellNamespace& ns = shellNamespace();
    auto desktop = ns.desktopFolder();
    IdList p = ns.parseDisplayName("C:\\Windows\\System32");
    const char* chain[] = {"C:\\Windows\\System32", "C:\\Windows", "C:\\", kMyComputerParsingName,
                           kDesktopParsingName, kDesktopParsingName};
    for (const char* expected : chain) {
        EXPECT_EQ(desktop->displayNameOf(p.get(), true), expected);
        IdListParent(p.get());
    }
    EXPECT_EQ(ns.parseDisplayName("c:/windows\\SYSTEM32\\"), ns.parseDisplayName("C:\\Windows\\System32"))
        << "the drive letter and names in any case, either separator";
    EXPECT_EQ(ns.parseDisplayName(kMyComputerParsingName), ns.myComputer());
}

TEST(ShellNamespace, TextsThatNameNothingDoNotParse) {
    testsupport::TempMachine m;
    m.writeFile("C:\\a.txt");
    m.makeDir("C:\\d");
    m.makeDir("C:\\D"); // two names that differ only in case: the typed one must be exact
    for (const char* text : {"My Computer", "", "Q:\\", "C:\\missing", "C:\\a.txt\\x", "C:\\d\\..", "C:\\?"}) {
        EXPECT_THROW(shellNamespace().parseDisplayName(text), ShellError) << text;
    }
    EXPECT_NO_THROW(shellNamespace().parseDisplayName("C:\\D"));
    EXPECT_THROW(shellNamespace().bindToFolder(shellNamespace().parseDisplayName("C:\\a.txt").get()), ShellError)
        << "a file is no folder";
}

TEST(ShellNamespace, AFolderListsItsEntriesWithTheirDetails) {
    testsupport::TempMachine m;
    m.writeFile("C:\\t\\b.TXT", std::string(1025, 'x'));
    m.writeFile("C:\\t\\a", "");
    m.writeFile("C:\\t\\setup.exe", "1");
    m.writeFile("C:\\t\\.hidden", "1");
    m.makeDir("C:\\t\\Zeta");
    m.makeDir("C:\\t\\alpha");
    fs::create_directory_symlink("/", m.native("C:\\t\\toroot"));
    ShellNamespace& ns = shellNamespace();
    IdList t = ns.parseDisplayName("C:\\t");
    auto folder = ns.bindToFolder(t.get());
    std::vector<IdList> children;
    folder->enumObjects([&](IdList c) {
        children.push_back(std::move(c));
        return true;
    });
    std::sort(children.begin(), children.end(),
              [&](const IdList& a, const IdList& b) { return folder->compareIDs(a.get(), b.get()) < 0; });
    std::vector<std::string> names;
    for (auto& c : children)
        names.push_back(folder->displayNameOf(c.get(), false));
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Zeta", ".hidden", "a", "b.TXT", "setup.exe", "toroot"}))
        << "folders first, then files, by name in any case; a link is no folder";

    struct Case {
        const char* name;
        bool folder;
        const char* type;
        int icon;
        std::uint64_t size;
    } cases[] = {
        {"alpha", true, "文件夹", SI_FOLDER, 0},     {"b.TXT", false, "TXT 文件", SI_FILE, 1025},
        {"a", false, "文件", SI_FILE, 0},            {"setup.exe", false, "应用程序", SI_EXECUTABLE, 1},
        {"toroot", false, "快捷方式", SI_FILE, 0},
    };
    for (const Case& c : cases) {
        auto it = std::find(names.begin(), names.end(), c.name);
        ASSERT_NE(it, names.end()) << c.name;
        ConstItemIdList child = children[std::size_t(it - names.begin())].get();
        IdList full(IdListConcat(t.get(), child));
        EXPECT_EQ(folder->isFolder(child), c.folder) << c.name;
        EXPECT_EQ(ns.typeName(full.get()), c.type) << c.name;
        EXPECT_EQ(ns.iconIndex(full.get(), true, false), c.icon) << c.name;
        EXPECT_EQ(folder->displayNameOf(child, true), std::string("C:\\t\\") + c.name);
        ShellFindData d = folder->findData(child);
        EXPECT_EQ(d.size, c.size) << c.name;
        EXPECT_EQ(bool(d.attributes & FA_DIRECTORY), c.folder || std::string(c.name) == "toroot") << c.name;
        EXPECT_NE(d.lastWriteTime, 0) << c.name;
    }
    fs::remove_all(m.native("C:\\t\\alpha"));
    EXPECT_EQ(folder->findData(children[0].get()).lastWriteTime, 0) << "a vanished entry reads as zeros";
    EXPECT_THROW(ns.bindToFolder(IdList(IdListConcat(t.get(), children[0].get())).get()), ShellError);
}
