#pragma once
// The program categories: "kind.ini" holds one line of keywords per category, and a
// program belongs to the first category one of whose keywords occurs in its name.
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct TUninstall;

// The categories there are; the last one takes every program no keyword names.
inline constexpr int kKindCount = 20;

// The keywords of one line, by the comma-text rule: blanks (codes 1 to 32) and commas
// separate, a keyword in double quotes may hold both ("" stands for one quote), and a
// comma at the very end, or two in a row, give an empty keyword.
std::vector<std::string> CommaTextKeywords(const std::string& line);

class TFileKind {
public:
    explicit TFileKind(int kindNo) : KindNo(kindNo) {}

    int KindNo;                        // 1 to 20: the category's line in "kind.ini"
    std::vector<std::string> Keywords; // in line order

    // Whether some keyword occurs in `name`, letters a to z without regard to case.
    bool Matches(const std::string& name) const;

    void AddProgram(TUninstall* program);
    int ProgramCount() const { return int(programs_.size()); }
    // The program at `i` (from 0) in the order given; nullptr when out of range.
    TUninstall* ProgramAt(int i) const;
    // The name under which program `i` was given.
    const std::string& ProgramNameAt(int i) const { return programs_.at(size_t(i)).first; }

private:
    std::vector<std::pair<std::string, TUninstall*>> programs_; // (Name, program); not owned
};

class TFileKindList {
public:
    // "kind.ini" in the program's folder: the categories must not depend on the folder the
    // program was started from.
    static std::string KindFilePath();

    // Creates the 20 categories, with the keywords of `path`'s first 20 lines. A file that
    // is missing or cannot be read leaves every category without keywords (false).
    bool LoadKindFile(const std::string& path = KindFilePath());

    int Count() const { return int(kinds_.size()); }
    TFileKind* KindAt(int i) const;
    // The first category that matches `name`, else the last one; nullptr with none at all.
    TFileKind* FindKind(const std::string& name) const;

private:
    std::vector<std::pair<std::string, std::unique_ptr<TFileKind>>> kinds_; // ("1".."20", kind)
};
