#pragma once
// The file dialog: a filter of named pattern groups, a default extension, and the name the
// user chose. Shown through the installed toolkit.
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

struct FileFilter {
    std::string name;
    std::vector<std::string> patterns; // "*.bmp"
    bool operator==(const FileFilter&) const = default;
};

// "Name|*.a;*.b|Other|*.c" as its groups. Patterns are split at ";" and also at ",", which
// users write for the same thing.
std::vector<FileFilter> ParseFileFilter(const std::string& filter);

class OpenDialog : public Control {
public:
    OpenDialog(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::FileDialog) {}
    std::string title;
    std::string filter;
    // Appended, after a ".", to a chosen name without an extension. Written "bmp"; a
    // leading "*." or "." is no part of it.
    std::string defaultExt;
    // The name chosen (a drive path); also the name the dialog starts with.
    std::string fileName;
    // Shows the dialog; true when the user chose a name.
    bool execute();

    // The chosen name with the default extension applied.
    std::string withDefaultExt(const std::string& name) const;
};

} // namespace toolkit
