#pragma once
// Files and folders, addressed by drive paths ("C:\dir\x"); native paths pass through.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Attribute bits as the system reports them for folder entries.
enum FileAttribute : std::uint32_t {
    FA_READONLY = 0x1,
    FA_HIDDEN = 0x2,
    FA_SYSTEM = 0x4,
    FA_VOLUME = 0x8,
    FA_DIRECTORY = 0x10,
    FA_ARCHIVE = 0x20,
    FA_TEMPORARY = 0x100,
    FA_REPARSE_POINT = 0x400, // symbolic link or mount point: never entered by a walk
};

// 100-nanosecond intervals since 1 January 1601, UTC (the system's file time).
using FileTime = std::int64_t;

struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0; // full size; 0 for folders and links
    FileTime creationTime = 0;
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;

    bool isDirectory() const { return attributes & FA_DIRECTORY; }
    bool isReparsePoint() const { return attributes & FA_REPARSE_POINT; }
    bool isDots() const { return name == "." || name == ".."; }
    // The low 32 bits of the size read as a signed number: the size the classic listing shows.
    std::int32_t size32() const { return static_cast<std::int32_t>(static_cast<std::uint32_t>(size)); }
};

// How much a listing needs to know about each entry.
enum class ListDetail {
    Names, // name and the directory / reparse-point bits only: no stat per file (folders
           // and links get one each, to tell mounts and link targets apart)
    Sizes, // as Names, plus the size of files: one stat per file, none for "." and ".."
    Full,  // every field
};

// While one lives, deletions in a row may share what the system knows of the files that
// running programs hold open, looked up at most a fraction of a second before.
class DeletionBatch {
public:
    virtual ~DeletionBatch() = default;
};

// A file open for reading or writing in pieces; closed when destroyed.
class OpenFile {
public:
    virtual ~OpenFile() = default;
    // Reads up to n bytes at the position: the count, 0 at the end, -1 on failure.
    virtual std::int64_t read(void* into, std::size_t n) = 0;
    // Writes all n bytes at the position; false on failure.
    virtual bool write(const void* bytes, std::size_t n) = 0;
    virtual bool seek(std::int64_t position) = 0;
    virtual std::int64_t size() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Lists every entry of a folder ("." and ".." first, then by name with ASCII letters
    // folded). The callback returns false to stop early. Returns false when the folder
    // cannot be opened. Safe to call from several threads at once.
    virtual bool listFolder(const std::string& folder, ListDetail detail,
                            const std::function<bool(const DirEntry&)>& onEntry) = 0;
    // One entry looked up by its path (name is the last component).
    virtual bool findEntry(const std::string& path, DirEntry& entry) = 0;

    virtual bool exists(const std::string& path) = 0; // without following a final link
    virtual bool isDirectory(const std::string& path) = 0; // a real folder, not a link to one

    // Whole-file read; throws FileOpenError ("Cannot open file ...") or InOutError.
    virtual std::string readFile(const std::string& path) = 0;
    // Creates or truncates and writes; throws FileCreateError or InOutError.
    virtual void writeFile(const std::string& path, const std::string& data) = 0;
    // Writes a temporary file beside `path` and renames it over `path`, so a crash or a
    // full disk never leaves a half-written file. Throws as writeFile; on failure the old
    // file is left untouched. Temporary copies of `path` that an earlier save left behind
    // (the program killed while it wrote) are removed.
    virtual void writeFileAtomic(const std::string& path, const std::string& data) = 0;

    // A file or a link. As the system does, it refuses (false) a file that a running
    // process holds open, and sockets, named pipes and device files.
    virtual bool deleteFile(const std::string& path) = 0;
    // For a loop of deletions (on this thread): keep the result alive while it runs.
    virtual std::unique_ptr<DeletionBatch> beginDeletions() { return nullptr; }
    virtual bool removeDirectory(const std::string& path) = 0;  // an empty folder
    virtual bool renameFile(const std::string& from, const std::string& to) = 0;
    virtual bool createDirectory(const std::string& path) = 0;

    // True when the entry itself (a link is not followed) belongs to the user running the
    // program; false when it is missing. Where every user has folders of their own, what
    // the user can reach is theirs.
    virtual bool ownedByUser(const std::string& path) { return exists(path); }
    // An existing file opened for reading; nullptr when it cannot be opened (lastErrorText).
    virtual std::unique_ptr<OpenFile> openFile(const std::string& path) = 0;
    // A new file opened for reading and writing, with these attributes where the system keeps
    // them (FA_READONLY, FA_HIDDEN, FA_TEMPORARY); nullptr when the name is taken or the file
    // cannot be created.
    virtual std::unique_ptr<OpenFile> createFile(const std::string& path, std::uint32_t attributes) = 0;

    // Marks a file as a program that may be started (by its owner); false when it cannot.
    virtual bool setRunnable(const std::string&) { return false; }
    // Sets a file's creation and last-write times where the system keeps them (the
    // last-access time stays); false when it cannot.
    virtual bool setFileTimes(const std::string&, FileTime /*creation*/, FileTime /*lastWrite*/) { return false; }

    // Drive type of a root "X:\" (DriveType), DRIVE_NO_ROOT_DIR for unmapped letters.
    virtual std::uint8_t driveType(const std::string& root) = 0;
    // Capacity and free space available to the user; false when the system cannot say.
    virtual bool diskFreeSpace(const std::string& root, std::int64_t& total, std::int64_t& freeBytes) = 0;

    // The system's reason text for the last failure of this thread.
    virtual std::string lastErrorText() = 0;
};

} // namespace platform
