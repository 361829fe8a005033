#pragma once
// The shell's namespace: the desktop, "My Computer", the drives, their folders and files,
// each named by an item identifier list. The analyzer browses it; what an identifier holds
// is the namespace's own business, the lists themselves are plain bytes:
// items of a 16-bit little-endian byte count (its own two bytes included) and data,
// ended by an item whose count is 0.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace platform {

using ItemIdList = std::uint8_t*;
using ConstItemIdList = const std::uint8_t*;

// The list arithmetic. Lists come from the shell's allocator (IdListAlloc) and go back to
// it (IdListFree); nullptr stands for no list.
std::size_t IdListSize(ConstItemIdList list); // 0 for no list; else every count + 2
ItemIdList IdListAlloc(std::size_t n);        // zero-filled; nullptr when out of memory
ItemIdList IdListCopy(ConstItemIdList list);
// `parent` without its terminator, then `child` with its own; no parent: a copy of child.
ItemIdList IdListConcat(ConstItemIdList parent, ConstItemIdList child);
// In place: the last item becomes the terminator; one item leaves the empty list.
ItemIdList IdListParent(ItemIdList list);
void IdListFree(ItemIdList list);
// True for the terminator alone (the desktop).
inline bool IdListIsEmpty(ConstItemIdList list) { return list && list[0] == 0 && list[1] == 0; }

// An identifier list owned by its holder: freed with it, also when a call in between throws.
class IdList {
public:
    IdList() = default;
    explicit IdList(ItemIdList adopt) : p_(adopt) {}
    static IdList copyOf(ConstItemIdList list) { return IdList(IdListCopy(list)); }
    IdList(IdList&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    IdList& operator=(IdList&& o) noexcept {
        if (this != &o) {
            IdListFree(p_);
            p_ = o.p_;
            o.p_ = nullptr;
        }
        return *this;
    }
    IdList(const IdList& o) : p_(IdListCopy(o.p_)) {}
    IdList& operator=(const IdList& o) {
        if (this != &o)
            *this = copyOf(o.p_);
        return *this;
    }
    ~IdList() { IdListFree(p_); }

    ItemIdList get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    std::size_t size() const { return IdListSize(p_); }
    ItemIdList release() {
        ItemIdList p = p_;
        p_ = nullptr;
        return p;
    }
    bool operator==(const IdList& o) const;

private:
    ItemIdList p_ = nullptr;
};

// A failure of a namespace call: its message is the system's text, shown in an error box.
class ShellError : public Error {
public:
    explicit ShellError(const std::string& message) : Error(message) {}
};

// What the shell keeps about an entry (zero for an entry without file data: a drive, a
// virtual folder).
struct ShellFindData {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    FileTime lastWriteTime = 0;
};

// Icons of the system image list, by index; the front end draws each from the desktop's
// icon theme.
enum ShellIcon : int {
    SI_FILE = 0,
    SI_FOLDER = 3,
    SI_FOLDER_OPEN = 4,
    SI_DRIVE_REMOVABLE = 7,
    SI_DRIVE_FIXED = 8,
    SI_DRIVE_REMOTE = 9,
    SI_DRIVE_CDROM = 11,
    SI_DRIVE_RAM = 12,
    SI_MY_COMPUTER = 15,
    SI_DESKTOP = 34,
    SI_EXECUTABLE = 2,
};

// A folder of the namespace. Child lists are relative to it; the desktop's children are
// absolute lists.
class ShellFolder {
public:
    virtual ~ShellFolder() = default;
    // Calls `onChild` with each child list (hidden ones too) until it returns false or none
    // is left; the callee owns each list it is given. Throws ShellError when the folder
    // cannot be read.
    virtual void enumObjects(const std::function<bool(IdList child)>& onChild) = 0;
    // The normal name, or with forParsing the full parsing name ("C:\Windows", "::{...}").
    // Empty when the child is no object of this folder.
    virtual std::string displayNameOf(ConstItemIdList child, bool forParsing) = 0;
    // The shell's order of two children (folders before files, then by name): < 0, 0, > 0.
    virtual int compareIDs(ConstItemIdList a, ConstItemIdList b) = 0;
    // The folder attribute of a child.
    virtual bool isFolder(ConstItemIdList child) = 0;
    // The find data of a child; all zero when it has none.
    virtual ShellFindData findData(ConstItemIdList child) = 0;
};

class ShellNamespace {
public:
    virtual ~ShellNamespace() = default;
    // The root of the namespace.
    virtual std::unique_ptr<ShellFolder> desktopFolder() = 0;
    // The absolute list of "My Computer".
    virtual IdList myComputer() = 0;
    // The folder object of an absolute list; throws ShellError when it names no folder.
    virtual std::unique_ptr<ShellFolder> bindToFolder(ConstItemIdList absolute) = 0;
    // The absolute list of a parsing name; throws ShellError when nothing bears it.
    virtual IdList parseDisplayName(const std::string& text) = 0;
    // The type text of an object ("文件夹", "TXT 文件", "本地磁盘"), at most 80 characters.
    virtual std::string typeName(ConstItemIdList absolute) = 0;
    // The index of the object's icon in the system image list.
    virtual int iconIndex(ConstItemIdList absolute, bool large, bool open) = 0;
};

// The parsing names of the virtual folders.
inline constexpr const char* kDesktopParsingName = "::{00021400-0000-0000-C000-000000000046}";
inline constexpr const char* kMyComputerParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

} // namespace platform
