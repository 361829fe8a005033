#include "platform/posix/posix_shell_namespace.h"

#include <cstring>
#include <vector>

#include "common/ascii_text.h"
#include "platform/shell.h"

namespace platform::posix {

namespace {

// The first byte of an item's data says what it names.
enum ItemKind : std::uint8_t {
    kVirtual = 0x1F, // a virtual folder: a sort byte and a 16-byte class identifier
    kDrive = 0x2F,   // "C:\" and zeros, as the shell's drive items are laid out
    kFolder = 0x31,  // attribute word (4 bytes, little-endian), name, NUL
    kFile = 0x32,    // as kFolder; links and mount points are files here
};

const std::uint8_t kMyComputerId[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                        0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
constexpr std::size_t kDriveItem = 25;

std::size_t countAt(ConstItemIdList p) { return std::size_t(p[0]) | (std::size_t(p[1]) << 8); }

// A list of one item with `data`.
IdList oneItem(const std::vector<std::uint8_t>& data) {
    std::size_t cb = data.size() + 2;
    ItemIdList p = IdListAlloc(cb + 2);
    if (!p)
        throw ShellError("内存不足，无法完成此操作。");
    p[0] = std::uint8_t(cb & 0xFF);
    p[1] = std::uint8_t(cb >> 8);
    std::memcpy(p + 2, data.data(), data.size());
    return IdList(p);
}

IdList myComputerItem() {
    std::vector<std::uint8_t> d = {kVirtual, 0x50};
    d.insert(d.end(), kMyComputerId, kMyComputerId + 16);
    return oneItem(d);
}

IdList driveItem(char letter) {
    std::vector<std::uint8_t> d(kDriveItem - 2, 0);
    d[0] = kDrive;
    d[1] = std::uint8_t(letter);
    d[2] = ':';
    d[3] = '\\';
    return oneItem(d);
}

IdList entryItem(const std::string& name, std::uint32_t attributes) {
    bool folder = (attributes & FA_DIRECTORY) && !(attributes & FA_REPARSE_POINT);
    std::vector<std::uint8_t> d = {folder ? kFolder : kFile, std::uint8_t(attributes), std::uint8_t(attributes >> 8),
                                   std::uint8_t(attributes >> 16), std::uint8_t(attributes >> 24)};
    d.insert(d.end(), name.begin(), name.end());
    d.push_back(0);
    return oneItem(d);
}

// One item read back.
struct Item {
    std::uint8_t kind = 0;
    char letter = 0;             // kDrive
    std::uint32_t attributes = 0; // kFolder, kFile
    std::string_view name;       // kFolder, kFile
    bool myComputer = false;     // kVirtual
};

bool readItem(ConstItemIdList p, Item& item) {
    std::size_t cb = countAt(p);
    if (cb < 3)
        return false;
    item = Item{};
    item.kind = p[2];
    const std::uint8_t* d = p + 2;
    std::size_t n = cb - 2;
    switch (item.kind) {
    case kVirtual:
        item.myComputer = n == 18 && std::memcmp(d + 2, kMyComputerId, 16) == 0;
        return true;
    case kDrive:
        if (n < 4 || d[1] < 'A' || d[1] > 'Z')
            return false;
        item.letter = char(d[1]);
        return true;
    case kFolder:
    case kFile: {
        if (n < 6 || d[n - 1] != 0)
            return false;
        item.attributes = std::uint32_t(d[1]) | std::uint32_t(d[2]) << 8 | std::uint32_t(d[3]) << 16 |
                          std::uint32_t(d[4]) << 24;
        item.name = std::string_view(reinterpret_cast<const char*>(d + 5), n - 6);
        return true;
    }
    default: return false;
    }
}

// What an absolute list names.
struct Node {
    enum Kind { Desktop, MyComputer, Drive, Entry, Invalid } kind = Invalid;
    std::string path;   // drive path of a drive or an entry
    char letter = 0;
    std::uint32_t attributes = 0;
    bool folder = false;
    std::string name;   // normal display name
};

Node resolve(const DriveMap& map, ConstItemIdList list) {
    Node node;
    if (!list)
        return node;
    node.kind = Node::Desktop;
    node.folder = true;
    node.name = "桌面";
    for (std::size_t at = 0, cb; (cb = countAt(list + at)) >= 2; at += cb) {
        Item item;
        if (!readItem(list + at, item))
            return Node{};
        switch (node.kind) {
        case Node::Desktop:
            if (item.kind != kVirtual || !item.myComputer)
                return Node{};
            node.kind = Node::MyComputer;
            node.name = "我的电脑";
            break;
        case Node::MyComputer: {
            const Drive* d = item.kind == kDrive ? map.find(item.letter) : nullptr;
            if (!d)
                return Node{};
            node.kind = Node::Drive;
            node.letter = d->letter;
            node.path = std::string(1, d->letter) + ":\\";
            node.name = driveDisplayName(d->letter, d->type);
            break;
        }
        case Node::Drive:
        case Node::Entry:
            if ((item.kind != kFolder && item.kind != kFile) || !node.folder)
                return Node{};
            if (node.kind == Node::Entry)
                node.path += '\\';
            node.kind = Node::Entry;
            node.path += item.name;
            node.name = std::string(item.name);
            node.attributes = item.attributes;
            node.folder = item.kind == kFolder;
            break;
        default: return Node{};
        }
    }
    return node;
}

std::string parsingName(const Node& n) {
    switch (n.kind) {
    case Node::Desktop: return kDesktopParsingName;
    case Node::MyComputer: return kMyComputerParsingName;
    case Node::Drive:
    case Node::Entry: return n.path;
    default: return {};
    }
}

// Letters folded, then byte by byte, so names that differ only in case keep one order.
int compareNames(std::string_view a, std::string_view b) {
    int c = CompareText(std::string(a), std::string(b));
    if (c == 0)
        c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

class Folder : public ShellFolder {
public:
    Folder(const DriveMap& map, FileSystem& files, IdList self, Node node)
        : map_(map), files_(files), self_(std::move(self)), node_(std::move(node)) {}

    void enumObjects(const std::function<bool(IdList child)>& onChild) override {
        switch (node_.kind) {
        case Node::Desktop: onChild(myComputerItem()); return;
        case Node::MyComputer:
            for (const Drive& d : map_.drives())
                if (!onChild(driveItem(d.letter)))
                    return;
            return;
        default: break;
        }
        bool stopped = false;
        bool opened = files_.listFolder(node_.path, ListDetail::Names, [&](const DirEntry& e) {
            if (e.isDots())
                return true;
            stopped = !onChild(entryItem(e.name, e.attributes));
            return !stopped;
        });
        if (!opened)
            throw ShellError("无法访问 " + node_.path + "。\r\n\r\n" + files_.lastErrorText());
    }

    std::string displayNameOf(ConstItemIdList child, bool forParsing) override {
        // An entry's own name needs no walk from the desktop (a listing asks for every one).
        Item item;
        if (!forParsing && readItem(child, item) && (item.kind == kFolder || item.kind == kFile) &&
            countAt(child + countAt(child)) < 2 && (node_.kind == Node::Drive || node_.kind == Node::Entry))
            return std::string(item.name);
        IdList full(IdListConcat(self_.get(), child));
        Node n = resolve(map_, full.get());
        return forParsing ? parsingName(n) : n.name;
    }

    int compareIDs(ConstItemIdList a, ConstItemIdList b) override {
        for (;;) {
            std::size_t ca = countAt(a), cb = countAt(b);
            if (ca < 2 || cb < 2)
                return ca < 2 && cb < 2 ? 0 : ca < 2 ? -1 : 1;
            Item x, y;
            bool okx = readItem(a, x), oky = readItem(b, y);
            if (!okx || !oky)
                return okx == oky ? 0 : okx ? -1 : 1;
            int c = 0;
            if (x.kind != y.kind)
                c = x.kind < y.kind ? -1 : 1;
            else if (x.kind == kDrive)
                c = x.letter == y.letter ? 0 : x.letter < y.letter ? -1 : 1;
            else if (x.kind != kVirtual)
                c = compareNames(x.name, y.name);
            if (c)
                return c;
            a += ca;
            b += cb;
        }
    }

    bool isFolder(ConstItemIdList child) override {
        Item item;
        return readItem(child, item) && (item.kind == kVirtual || item.kind == kDrive || item.kind == kFolder);
    }

    ShellFindData findData(ConstItemIdList child) override {
        ShellFindData data;
        IdList full(IdListConcat(self_.get(), child));
        Node n = resolve(map_, full.get());
        DirEntry e;
        if (n.kind == Node::Entry && files_.findEntry(n.path, e)) {
            data.attributes = e.attributes;
            data.size = e.size;
            data.lastWriteTime = e.lastWriteTime;
        }
        return data;
    }

private:
    const DriveMap& map_;
    FileSystem& files_;
    IdList self_;
    Node node_;
};

std::string typeText(const Node& n, const DriveMap& map) {
    switch (n.kind) {
    case Node::Desktop:
    case Node::MyComputer: return "系统文件夹";
    case Node::Drive: {
        const Drive* d = map.find(n.letter);
        return driveKindName(d ? d->type : std::uint8_t(DRIVE_FIXED));
    }
    case Node::Entry: break;
    default: return {};
    }
    if (n.attributes & FA_REPARSE_POINT)
        return "快捷方式";
    if (n.folder)
        return "文件夹";
    std::size_t dot = n.name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == n.name.size())
        return "文件";
    std::string ext = AsciiUpper(n.name.substr(dot + 1));
    if (ext == "EXE" || ext == "COM")
        return "应用程序";
    std::string text = ext + " 文件";
    if (text.size() > 80) {
        // Cut on a character boundary of the UTF-8 text.
        std::size_t cut = 80;
        while (cut > 0 && (std::uint8_t(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return text;
}

} // namespace

std::unique_ptr<ShellFolder> PosixShellNamespace::desktopFolder() {
    IdList empty(IdListAlloc(2));
    if (!empty)
        throw ShellError("内存不足，无法完成此操作。");
    Node n = resolve(map_, empty.get());
    return std::make_unique<Folder>(map_, files_, std::move(empty), std::move(n));
}

IdList PosixShellNamespace::myComputer() { return myComputerItem(); }

std::unique_ptr<ShellFolder> PosixShellNamespace::bindToFolder(ConstItemIdList absolute) {
    Node n = resolve(map_, absolute);
    if (n.kind == Node::Invalid || !n.folder || (n.kind == Node::Entry && !files_.isDirectory(n.path)))
        throw ShellError("无效的项目标识符列表。");
    return std::make_unique<Folder>(map_, files_, IdList::copyOf(absolute), std::move(n));
}

IdList PosixShellNamespace::parseDisplayName(const std::string& text) {
    auto fail = [&text]() -> IdList {
        throw ShellError("找不到“" + text + "”。请确定文件名是否正确后，再试一次。");
    };
    if (SameText(text, kDesktopParsingName)) {
        IdList empty(IdListAlloc(2));
        return empty ? std::move(empty) : fail();
    }
    if (SameText(text, kMyComputerParsingName))
        return myComputerItem();
    if (text.size() < 2 || text[1] != ':' || text.find_first_of("*?\"<>|") != std::string::npos)
        return fail();
    const Drive* d = map_.find(AsciiUpper(text[0]));
    if (!d)
        return fail();
    IdList list(IdListConcat(myComputerItem().get(), driveItem(d->letter).get()));
    std::string path = std::string(1, d->letter) + ":";
    std::size_t at = 2;
    bool folder = true;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\\/", at);
        if (end == std::string::npos)
            end = text.size();
        std::string name = text.substr(at, end - at);
        at = end + 1;
        if (name.empty())
            continue;
        if (!folder || name == "." || name == "..")
            return fail();
        // The exact name first; else the one entry that differs only in letter case.
        DirEntry e;
        std::string found;
        if (files_.findEntry(path + "\\" + name, e)) {
            found = name;
        } else {
            int matches = 0;
            files_.listFolder(path + "\\", ListDetail::Names, [&](const DirEntry& x) {
                if (!x.isDots() && SameText(x.name, name)) {
                    ++matches;
                    found = x.name;
                    e = x;
                }
                return true;
            });
            if (matches != 1)
                return fail();
        }
        path += "\\" + found;
        folder = e.isDirectory() && !e.isReparsePoint();
        list = IdList(IdListConcat(list.get(), entryItem(found, e.attributes).get()));
    }
    return list;
}

std::string PosixShellNamespace::typeName(ConstItemIdList absolute) { return typeText(resolve(map_, absolute), map_); }

int PosixShellNamespace::iconIndex(ConstItemIdList absolute, bool, bool open) {
    Node n = resolve(map_, absolute);
    switch (n.kind) {
    case Node::Desktop: return SI_DESKTOP;
    case Node::MyComputer: return SI_MY_COMPUTER;
    case Node::Drive: {
        const Drive* d = map_.find(n.letter);
        switch (d ? d->type : std::uint8_t(DRIVE_FIXED)) {
        case DRIVE_REMOVABLE: return SI_DRIVE_REMOVABLE;
        case DRIVE_REMOTE: return SI_DRIVE_REMOTE;
        case DRIVE_CDROM: return SI_DRIVE_CDROM;
        case DRIVE_RAMDISK: return SI_DRIVE_RAM;
        default: return SI_DRIVE_FIXED;
        }
    }
    case Node::Entry:
        if (n.folder)
            return open ? SI_FOLDER_OPEN : SI_FOLDER;
        return typeText(n, map_) == "应用程序" ? SI_EXECUTABLE : SI_FILE;
    default: return SI_FILE;
    }
}

} // namespace platform::posix
