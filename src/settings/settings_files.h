#pragma once
// Where the settings files live, and the text files of lines that several windows share
// (split and joined by the line rules of common/ascii_text.h).
#include <string>
#include <vector>

// `name` in the folder of the running executable.
std::string ProgramFilePath(const std::string& name);
// "quorCleaner.cfg" in the program's folder; its pattern file is this path + ".Garbage".
std::string SettingsFilePath();
// "Option2.CFG" in the program's folder: the file names the junk scan never lists.
std::string IgnoreListPath();

inline const char* const kGarbageSuffix = ".Garbage";

enum class MissingFile { Fail, Empty };
// All lines of a text file. A missing file throws FileOpenError ("Cannot open file ...")
// unless `missing` is Empty.
std::vector<std::string> LoadLinesFromFile(const std::string& path, MissingFile missing = MissingFile::Fail);
// Replaces the file with the lines, each ended by CR LF; never leaves it half written.
// Throws FileCreateError or InOutError.
void SaveLinesToFile(const std::string& path, const std::vector<std::string>& lines);
