#include "programs/file_kind.h"

#include <exception>

#include "common/ascii_text.h"
#include "platform/platform.h"
#include "programs/uninstall.h"
#include "settings/settings_files.h"

namespace {

bool isBlank(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

} // namespace

std::vector<std::string> CommaTextKeywords(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0, n = line.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(line[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string word;
        if (line[i] == '"') {
            for (++i; i < n; ++i) {
                if (line[i] != '"') {
                    word += line[i];
                } else if (i + 1 < n && line[i + 1] == '"') {
                    word += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            while (i < n && line[i] != ',' && !isBlank(line[i]))
                word += line[i++];
        }
        out.push_back(std::move(word));
        skipBlanks();
        if (i < n && line[i] == ',') {
            if (i == n - 1)
                out.emplace_back();
            ++i;
            skipBlanks();
        }
    }
    return out;
}

bool TFileKind::Matches(const std::string& name) const {
    std::string upper = AsciiUpper(name);
    for (const std::string& keyword : Keywords)
        if (!keyword.empty() && upper.find(AsciiUpper(keyword)) != std::string::npos)
            return true;
    return false;
}

void TFileKind::AddProgram(TUninstall* program) {
    if (program)
        programs_.emplace_back(program->Name, program);
}

TUninstall* TFileKind::ProgramAt(int i) const {
    return i >= 0 && i < ProgramCount() ? programs_[size_t(i)].second : nullptr;
}

std::string TFileKindList::KindFilePath() { return ProgramFilePath("kind.ini"); }

bool TFileKindList::LoadKindFile(const std::string& path) {
    kinds_.clear();
    for (int i = 1; i <= kKindCount; ++i)
        kinds_.emplace_back(std::to_string(i), std::make_unique<TFileKind>(i));
    std::string text;
    try {
        text = platform::files().readFile(path);
    } catch (const std::exception&) {
        return false;
    }
    // A file saved by an editor that marks UTF-8; one written on a Chinese system is GBK.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    else
        text = platform::text().ansiToUtf8(text);
    std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < kinds_.size() && i < lines.size(); ++i)
        kinds_[i].second->Keywords = CommaTextKeywords(lines[i]);
    return true;
}

TFileKind* TFileKindList::KindAt(int i) const {
    return i >= 0 && i < Count() ? kinds_[size_t(i)].second.get() : nullptr;
}

TFileKind* TFileKindList::FindKind(const std::string& name) const {
    for (const auto& [no, kind] : kinds_)
        if (kind->Matches(name))
            return kind.get();
    return kinds_.empty() ? nullptr : kinds_.back().second.get();
}
