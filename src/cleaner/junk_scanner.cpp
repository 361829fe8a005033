// The junk scan: walks folders and lists what it judges to be junk.
#include "cleaner/junk_scanner.h"

#include <algorithm>

#include "common/ascii_text.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "services/folder_sizes.h"
#include "settings/setting.h"

bool NamesSettingsOrWindows(const std::string& upperPath) {
    return Contains(upperPath, "SETTINGS") || Contains(upperPath, "WINDOWS");
}

std::string PatternKey(const std::string& pattern) {
    std::string key;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '?')
            continue;
        if (c == '*') {
            if (i == 0)
                continue;
            break;
        }
        key += c;
    }
    return key;
}

std::string RowSizeText(const TJunkRow& row) { return std::to_string(row.size) + "Byte"; }

std::string RowDateText(platform::FileTime time) { return FormatDateTime("m/d/yyyy", FileTimeToLocalDateTime(time)); }

TJunkScanner::Plan TJunkScanner::MakePlan(const TSetting& settings, const std::vector<std::string>& ignoreList) {
    Plan plan;
    for (const TGarbage& g : settings.Garbages) {
        std::string key = PatternKey(g.GarbageName);
        if (g.Ifclean && !key.empty())
            plan.keys.push_back(std::move(key));
    }
    for (const std::string& line : ignoreList)
        plan.ignored.insert(AsciiUpper(line));
    plan.zeroFiles = settings.IfCleanZeroFile;
    plan.emptyFolders = settings.IfCleanZeroDir;
    return plan;
}

namespace {

// One folder as a worker listed it for the scan: every entry but "." and ".." in listing
// order, with what the scan needs of it, and the verdict of the pattern test on its name.
struct JunkFolder : TreeListing::Folder {
    struct Item {
        std::uint32_t at = 0, length = 0; // its name in `names`
        bool directory = false, link = false, junk = false;
        std::uint64_t size = 0;
        platform::FileTime created = 0, written = 0, accessed = 0;
    };
    std::string names; // the names one after another: no allocation per entry
    std::vector<Item> items;
    std::string_view name(const Item& i) const { return std::string_view(names).substr(i.at, i.length); }
};

// The pattern test on a name: upper-cased into `upper`, it names the area (or the folder
// does), is not on the ignore list, and holds the key of an active pattern.
bool JunkName(const TJunkScanner::Plan& plan, std::string_view name, bool folderInArea, std::string& upper) {
    upper.assign(name);
    for (char& c : upper)
        c = AsciiUpper(c);
    if (!(folderInArea || NamesSettingsOrWindows(upper)) || plan.ignored.count(upper))
        return false;
    for (const std::string& key : plan.keys)
        if (upper.find(key) != std::string::npos)
            return true;
    return false;
}

// Lists a folder for the scan. Runs on the workers: it reads the walk's own plan, never
// the scanner.
TreeListing::Lister JunkLister(const TJunkScanner::Plan& plan, bool descend) {
    return [&plan, descend](const std::string& d, std::vector<std::string>& subfolders) -> std::unique_ptr<TreeListing::Folder> {
        auto folder = std::make_unique<JunkFolder>();
        const bool folderInArea = NamesSettingsOrWindows(AsciiUpper(d));
        const bool patterns = !plan.keys.empty();
        std::string upper;
        // Sizes and dates are needed for every file only when zero-byte files are asked
        // for; otherwise names do, but for the files whose names pass the pattern test.
        platform::ListOptions options;
        bool picked = false;
        if (plan.zeroFiles) {
            options.detail = platform::ListDetail::Full;
        } else {
            options.detail = platform::ListDetail::Names;
            if (patterns)
                options.pick = [&](std::string_view name) { return picked = JunkName(plan, name, folderInArea, upper); };
        }
        bool listed = platform::files().listFolder(d, options, [&](const platform::DirEntry& e) {
            if (e.isDots())
                return true;
            JunkFolder::Item item;
            item.at = std::uint32_t(folder->names.size());
            item.length = std::uint32_t(e.name.size());
            item.directory = e.isDirectory();
            item.link = e.isReparsePoint();
            if (!item.directory && !item.link && patterns)
                item.junk = options.pick ? picked : JunkName(plan, e.name, folderInArea, upper);
            picked = false;
            item.size = e.size;
            item.created = e.creationTime;
            item.written = e.lastWriteTime;
            item.accessed = e.lastAccessTime;
            folder->names += e.name;
            folder->items.push_back(item);
            // A link or a mount point leads out of the tree (or round in a loop).
            if (descend && item.directory && !item.link)
                subfolders.push_back(d + e.name + '\\');
            return true;
        });
        if (!listed)
            return nullptr;
        folder->weight = folder->items.size();
        return folder;
    };
}

} // namespace

// One scan's walk: the plan it keeps to and the folders listed ahead of it. The listing
// goes (its workers done with the plan) before the plan does.
struct TJunkScanner::Walk {
    Walk(const Plan& p, const std::string& root, bool descend, std::size_t ahead, std::function<void()> pumpNow)
        : plan(p), listing(root, JunkLister(plan, descend), ahead), pump(std::move(pumpNow)) {}
    const Plan plan;
    TreeListing listing;
    std::function<void()> pump;
};

void TJunkScanner::Scan(const std::string& folder, const Plan& plan, bool descend) {
    std::string d = folder;
    if (d.empty() || d.back() != '\\')
        d += '\\';
    Walk walk(plan, d, descend, ListedAhead, [this] { sink_.Pump(); });
    ScanIn(walk, walk.listing.root(walk.pump), descend);
}

TJunkScanner::Content TJunkScanner::ScanIn(Walk& walk, TreeListing::Node& node, bool descend) {
    auto* listed = static_cast<JunkFolder*>(TreeListing::folder(node));
    if (!listed)
        return Content::Files; // what it holds is not known: never an empty folder
    const Plan& plan = walk.plan;
    const std::string& d = TreeListing::path(node);
    sink_.EnteredFolder(d);

    bool noFile = true;
    std::size_t subfolder = 0;
    for (const JunkFolder::Item& e : listed->items) {
        sink_.Pump();
        if (!Running)
            return Content::Unknown;
        const std::string_view name = listed->name(e);
        auto path = [&] { return d + std::string(name); };
        if (e.directory) {
            ++ScanCount;
            // A link or a mount point leads out of the tree (or round in a loop): counted,
            // never entered and never listed, and content of the folder it lies in.
            if (e.link) {
                noFile = false;
                continue;
            }
            if (!descend) {
                if (plan.emptyFolders && FolderHoldsNoFile(path()))
                    AddEmptyFolderRow(path(), e.created, e.written, e.accessed, sink_.NextPlace());
                continue;
            }
            // The walk below tells whether the folder holds a file, so it is not walked
            // twice; its row goes before the rows found inside it.
            JunkScanSink::Place place = sink_.NextPlace();
            Content below = ScanIn(walk, walk.listing.child(node, subfolder, walk.pump), true);
            // A stopped walk below may still be listed ahead: the walk's end frees it.
            if (below != Content::Unknown)
                walk.listing.leave(node, subfolder);
            ++subfolder;
            if (below == Content::Unknown && plan.emptyFolders)
                below = FolderHoldsNoFile(path()) ? Content::NoFile : Content::Files;
            if (below == Content::NoFile && plan.emptyFolders)
                AddEmptyFolderRow(path(), e.created, e.written, e.accessed, place);
            noFile = noFile && below == Content::NoFile;
            continue;
        }
        noFile = false;
        if (!e.link) {
            if (plan.zeroFiles && e.size == 0) {
                sink_.AddFound({path(), 0, e.created, e.written, e.accessed, TJunkKind::ZeroFile, true});
                sink_.Pump();
            }
            // The entry came with all its fields when its name passed the pattern test; one
            // that vanished meanwhile was not listed.
            if (e.junk) {
                auto size = static_cast<std::int64_t>(e.size);
                sink_.AddFound({path(), size, e.created, e.written, e.accessed, TJunkKind::JunkFile, true});
                ++JunkCount;
                JunkSize += size;
                sink_.CountsChanged();
                sink_.Pump();
            }
        }
        ++ScanCount;
        sink_.ScannedFile(name);
    }
    return noFile ? Content::NoFile : Content::Files;
}

void TJunkScanner::AddEmptyFolderRow(const std::string& path, platform::FileTime created, platform::FileTime written,
                                     platform::FileTime accessed, JunkScanSink::Place place) {
    platform::DirEntry found;
    if (created == 0 && platform::files().findEntry(path, found)) {
        // A names-only listing has no dates.
        created = found.creationTime;
        written = found.lastWriteTime;
        accessed = found.lastAccessTime;
    }
    sink_.AddEmptyFolder({path + kDirMark, 0, created, written, accessed, TJunkKind::EmptyFolder, true}, place);
    ++JunkCount;
    sink_.Pump();
}
