#include "settings/setting.h"

#include "platform/errors.h"
#include "platform/platform.h"
#include "settings/property_stream.h"
#include "settings/settings_files.h"

TSetting* Setting = nullptr;

TSetting::TSetting() { Construct(SettingsFilePath()); }

TSetting::TSetting(const std::string& path) { Construct(path); }

TSetting::~TSetting() = default;

void TSetting::Construct(const std::string& path) {
    try {
        LoadFromFile(path);
    } catch (const std::exception&) {
        loadError_ = std::current_exception();
    }
    // After the files, so nothing read from them can change the list.
    RebuildDirectories();
}

const PropertyTable& TSetting::Properties() const {
    static const PropertyTable table = {
        Published("AutoClean", &TSetting::AutoClean),
        Published("AutoCleanShutDown", &TSetting::AutoCleanShutDown),
        Published("LastCleanDate", &TSetting::LastCleanDate),
        Published("IfShowChart", &TSetting::IfShowChart),
        Published("IfIncludeDir", &TSetting::IfIncludeDir),
        Published("ShowTips", &TSetting::ShowTips),
        Published("AutoUpdate", &TSetting::AutoUpdate),
        Published("IfCleanZeroDir", &TSetting::IfCleanZeroDir),
        Published("IfCleanZeroFile", &TSetting::IfCleanZeroFile),
        Published("IfClean_Windows_Recent_Files", &TSetting::IfClean_Windows_Recent_Files),
        Published("IfClean_ZeroFile", &TSetting::IfClean_ZeroFile),
        Published("IfClean_ZeroDir", &TSetting::IfClean_ZeroDir),
        Published("IfClean_Internet_Explorer_Temporary_Files", &TSetting::IfClean_Internet_Explorer_Temporary_Files),
        Published("IfClean_Internet_Explorer_History", &TSetting::IfClean_Internet_Explorer_History),
        Published("IfClean_Internet_Explorer_Cookies", &TSetting::IfClean_Internet_Explorer_Cookies),
        Published("IfClean_Windows_Find_History", &TSetting::IfClean_Windows_Find_History),
        Published("IfClean_Windows_Run_History", &TSetting::IfClean_Windows_Run_History),
        Published("IfClean_Windows_Temporary_Files", &TSetting::IfClean_Windows_Temporary_Files),
        Published("IfClean_Recycle_Bin", &TSetting::IfClean_Recycle_Bin),
        Published("IfClean_Broken_ShutCuts", &TSetting::IfClean_Broken_ShutCuts),
        Published("SlicePercent", &TSetting::SlicePercent),
    };
    return table;
}

void TSetting::LoadFromFile(const std::string& path) {
    std::exception_ptr settingsError;
    if (platform::files().exists(path)) {
        try {
            TMemoryStream stream(platform::files().readFile(path));
            ReadObjectProperties(stream, *this);
        } catch (const std::exception&) {
            unreadable_.insert(path);
            settingsError = std::current_exception();
        }
    }
    // A bad settings file must not cost the user the patterns: they are read all the same.
    try {
        LoadPatterns(path + kGarbageSuffix);
    } catch (const std::exception&) {
        unreadable_.insert(path + kGarbageSuffix);
        if (!settingsError)
            settingsError = std::current_exception();
    }
    if (settingsError)
        std::rethrow_exception(settingsError);
}

void TSetting::LoadPatterns(const std::string& path) {
    if (!platform::files().exists(path))
        return; // nothing to read: Garbages stays as it is
    std::vector<std::string> lines = SplitLines(platform::files().readFile(path));
    Garbages.Clear();
    // Three lines per pattern; a line missing at the end reads as empty.
    for (std::size_t i = 0; i < lines.size(); i += 3) {
        TGarbage& g = Garbages.Add();
        g.GarbageName = lines[i];
        g.Memo = i + 1 < lines.size() ? lines[i + 1] : std::string();
        g.Ifclean = i + 2 < lines.size() && SameText(lines[i + 2], "Y");
    }
}

void TSetting::KeepUnreadable(const std::string& path) {
    if (!unreadable_.count(path))
        return;
    if (platform::files().exists(path)) {
        std::string bad = path + ".bad";
        try {
            platform::files().writeFileAtomic(bad, platform::files().readFile(path));
        } catch (const std::exception&) {
            // Cannot read it at all: move it aside instead; if that fails too, the save
            // stops here and the old file stays where it is.
            if (!platform::files().renameFile(path, bad))
                throw;
        }
    }
    unreadable_.erase(path);
}

void TSetting::SaveToFile(const std::string& path) {
    TMemoryStream stream;
    WriteObjectProperties(*this, stream);
    KeepUnreadable(path);
    platform::files().writeFileAtomic(path, stream.Bytes());

    std::vector<std::string> lines;
    lines.reserve(std::size_t(Garbages.Count()) * 3);
    for (const TGarbage& g : Garbages) {
        lines.push_back(g.GarbageName);
        lines.push_back(g.Memo);
        lines.push_back(g.Ifclean ? "Y" : "N");
    }
    std::string companion = path + kGarbageSuffix;
    KeepUnreadable(companion);
    try {
        SaveLinesToFile(companion, lines);
    } catch (const platform::FileCreateError& e) {
        // The pattern file reports the system's input/output error alone, not the create error.
        throw platform::InOutError(e.reason());
    }
}

void TSetting::RebuildDirectories() {
    Directorys.Clear();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (!DriveExists(root))
            continue;
        TDirectory& d = Directorys.Add();
        d.Path = root;
        d.IncludeSubDir = true;
        d.IfClean = true;
    }
}

bool TSetting::DriveExists(const std::string& root) {
    return platform::files().driveType(root) != platform::DRIVE_NO_ROOT_DIR;
}
