#pragma once
// The rules of the analyzer's commands on the selected entry of its list: the entry's
// path, file rows and folder rows, the folder a chart is built for, the question before a
// deletion, and the emptying of a folder.
#include <functional>
#include <string>

// The path box's text, "\" and the row's caption (one "\" between them).
std::string EntryPath(const std::string& pathBoxText, const std::string& caption);

// A file row's size cell always begins with a digit from 1 to 9; anything else, an empty
// cell included, marks a folder row.
bool IsFileRow(const std::string& sizeCell);

// The folder "Analy&ze Directory" charts, ending in "\": the entry path of the selected
// row, or under "My Computer" the drive its caption names ("本地磁盘 (C:)" gives "C:\";
// "My Computer\" when it names none); with no row selected, the path box's text.
std::string AnalyzeTarget(const std::string& pathBoxText, bool rowSelected, const std::string& caption);

// The question asked before "&Delete" removes a file or a folder's content for good; No
// is the default answer.
std::string DeleteQuestion(const std::string& entryPath, bool fileRow);
inline constexpr const char* kDeleteCaption = "QuorCleaner";

// Deletes everything inside `folder` and keeps `folder`: each subfolder with all of it
// (links are removed, never followed), each other entry as a file, permanently. Goes on
// past what cannot be deleted; `onError` runs for each entry whose deletion failed.
void DeleteFolderContents(const std::string& folder, const std::function<void()>& onError = {});
