#pragma once
// The settings object: the options every tool reads and changes, the directories to scan
// and the junk-file patterns.
#include <cstdint>
#include <exception>
#include <set>
#include <string>

#include "settings/directories.h"
#include "settings/garbages.h"
#include "settings/persistent.h"

class TSetting : public TPersistent {
public:
    // Sets the defaults, reads the settings file at SettingsFilePath() and its pattern file,
    // then rebuilds the directory list from the drives. A failed read does not stop the
    // construction: the values read before the bad record stand and LoadError() holds
    // the error for the caller to show.
    TSetting();
    // Reads `path` and its pattern file instead of the program's own settings file.
    explicit TSetting(const std::string& path);
    ~TSetting() override;
    TSetting(const TSetting&) = delete;
    TSetting& operator=(const TSetting&) = delete;

    // Published properties, in declaration order (the order of the settings file).
    bool AutoClean = false;
    bool AutoCleanShutDown = false;
    TDateTime LastCleanDate = 0;
    bool IfShowChart = false;
    bool IfIncludeDir = false;
    bool ShowTips = false;
    bool AutoUpdate = true;
    bool IfCleanZeroDir = false;
    bool IfCleanZeroFile = false;
    bool IfClean_Windows_Recent_Files = false;
    bool IfClean_ZeroFile = true;
    bool IfClean_ZeroDir = true;
    bool IfClean_Internet_Explorer_Temporary_Files = true;
    bool IfClean_Internet_Explorer_History = true;
    bool IfClean_Internet_Explorer_Cookies = true;
    bool IfClean_Windows_Find_History = true;
    bool IfClean_Windows_Run_History = true;
    bool IfClean_Windows_Temporary_Files = true;
    bool IfClean_Recycle_Bin = true;
    bool IfClean_Broken_ShutCuts = true;
    std::int32_t SlicePercent = 10;

    // Not part of the property stream: rebuilt from the drives at every start.
    TDirectorys Directorys;
    // Stored in the pattern file.
    TGarbages Garbages;

    std::string ClassName() const override { return "TSetting"; }
    const PropertyTable& Properties() const override;

    // Reads the settings file at `path` (when it exists) and `path` + ".Garbage" (when it
    // exists). Throws the read error of the settings file after the pattern file is read.
    void LoadFromFile(const std::string& path);
    // Replaces `path` and `path` + ".Garbage", each atomically. A file that could not be
    // read is first kept beside itself with ".bad" appended, so nothing the user had is lost.
    // A settings file that cannot be created throws the create error; a pattern file that
    // cannot be created or written, the system's input/output error alone.
    void SaveToFile(const std::string& path);

    // Directorys := every present drive from C to Z, with subdirectories, to be cleaned.
    void RebuildDirectories();
    // True unless the system reports "no root directory" for `root` ("X:\").
    static bool DriveExists(const std::string& root);

    // The error of the constructor's load, if there was one.
    std::exception_ptr LoadError() const { return loadError_; }

private:
    void Construct(const std::string& path);
    void LoadPatterns(const std::string& path);
    void KeepUnreadable(const std::string& path);

    std::exception_ptr loadError_;
    std::set<std::string> unreadable_; // files whose load failed, not yet kept as ".bad"
};

// The one settings object of the program, owned by the start window: valid from the start
// window's first show until it is destroyed. Every window reaches the settings here.
extern TSetting* Setting;
