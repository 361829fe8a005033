// The categories: the keyword file, the comma-text rule and the matching of names.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "programs/file_kind.h"
#include "programs/uninstall.h"
#include "programs_fixture.h"

using programstest::ProgramsTest;
using Strings = std::vector<std::string>;

TEST(CommaText, SplitsALineIntoKeywords) {
    struct Case {
        const char* label;
        std::string line;
        Strings keywords;
    } cases[] = {
        {"comma and blank both separate", "alpha,beta gamma", {"alpha", "beta", "gamma"}},
        {"leading and trailing blanks go", "  \tlead  ", {"lead"}},
        {"blanks around a comma", "a , b", {"a", "b"}},
        {"two commas give an empty keyword", "a,,b", {"a", "", "b"}},
        {"a comma that ends the line gives one", "a,", {"a", ""}},
        {"a comma before a blank at the end gives none", "a, ", {"a"}},
        {"a leading comma gives one", ",a", {"", "a"}},
        {"quotes keep a blank inside", "\"big fish\",x", {"big fish", "x"}},
        {"two quotes in quotes are one", "\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"an unclosed quote runs to the end", "a,\"open, end", {"a", "open, end"}},
        {"text after a closing quote starts a keyword", "\"a b\"c", {"a b", "c"}},
        {"an empty line has none", "", {}},
        {"bytes above 127 are no blanks", "腾讯QQ,影音", {"腾讯QQ", "影音"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommaTextKeywords(c.line), c.keywords) << c.label;
}

TEST(FileKind, MatchesAKeywordInTheNameFoldingOnlyAToZ) {
    struct Case {
        const char* label;
        Strings keywords;
        std::string name;
        bool matches;
    } cases[] = {
        {"small letters match capitals", {"qq"}, "腾讯QQ2008", true},
        {"capitals match small letters", {"WINRAR"}, "WinRAR 3.80", true},
        {"a later keyword matches", {"none", "rar"}, "WinRAR", true},
        {"letters beyond z are not folded", {"é"}, "CLÉ", false},
        {"the same bytes match", {"é"}, "clé", true},
        {"an empty keyword never matches", {""}, "anything", false},
        {"no keywords match nothing", {}, "anything", false},
        {"a keyword longer than the name", {"winrar archiver"}, "WinRAR", false},
    };
    for (const Case& c : cases) {
        TFileKind kind(1);
        kind.Keywords = c.keywords;
        EXPECT_EQ(kind.Matches(c.name), c.matches) << c.label;
    }
}

TEST(FileKind, KeepsItsProgramsInTheOrderGiven) {
    TUninstall a, b;
    a.Name = "A";
    b.Name = "B";
    TFileKind kind(3);
    kind.AddProgram(&b);
    kind.AddProgram(&a);
    ASSERT_EQ(kind.ProgramCount(), 2);
    EXPECT_EQ(kind.ProgramAt(0), &b);
    EXPECT_EQ(kind.ProgramAt(1), &a);
    EXPECT_EQ(kind.ProgramNameAt(1), "A");
    EXPECT_EQ(kind.ProgramAt(2), nullptr);
    EXPECT_EQ(kind.ProgramAt(-1), nullptr);
}

TEST_F(ProgramsTest, KindFileGivesTheFirstMatchingCategoryAndTheLastForTheRest) {
    // Line 2 and line 5 both name "tool"; line 8 holds a quoted keyword with a blank,
    // line 9 the same words unquoted. The file starts with an editor's UTF-8 mark.
    Strings lines(21);
    lines[1] = "tool";
    lines[4] = "chat,TOOL";
    lines[5] = "影音";
    lines[7] = "\"big fish\"";
    lines[8] = "big fish";
    lines[20] = "beyond"; // a 21st line is not read
    std::string text = "\xEF\xBB\xBF";
    for (const std::string& l : lines)
        text += l + "\r\n";
    kindFile(text);

    TFileKindList kinds;
    ASSERT_TRUE(kinds.LoadKindFile());
    ASSERT_EQ(kinds.Count(), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(kinds.KindAt(i)->KindNo, i + 1);
    EXPECT_EQ(kinds.KindAt(20), nullptr);
    struct Case {
        const char* name;
        int kind;
    } cases[] = {
        {"Alpha Tool", 2},        {"Chat Tool", 2},   {"Chat Client", 5},     {"暴风影音", 6},
        {"Big Fish Games", 8},    {"Big Red Fish", 9}, {"beyond compare", 20}, {"", 20},
    };
    for (const Case& c : cases) {
        TFileKind* kind = kinds.FindKind(c.name);
        ASSERT_NE(kind, nullptr) << c.name;
        EXPECT_EQ(kind->KindNo, c.kind) << c.name;
    }
}

TEST_F(ProgramsTest, KindFileIsReadFromTheProgramsFolderAndAMissingOneLeavesNoKeywords) {
    EXPECT_EQ(TFileKindList::KindFilePath(), "C:\\Quor\\kind.ini");
    TFileKindList kinds;
    EXPECT_FALSE(kinds.LoadKindFile());
    ASSERT_EQ(kinds.Count(), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(kinds.KindAt(i)->Keywords.empty());
    EXPECT_EQ(kinds.FindKind("WinRAR")->KindNo, 20);

    TFileKindList none;
    EXPECT_EQ(none.FindKind("WinRAR"), nullptr);
}

// The keyword file shipped with the program sorts well-known programs where a user looks
// for them, also where a word of one category hides in the name of another's program.
TEST_F(ProgramsTest, ShippedKindFileSortsKnownProgramsIntoTheirCategories) {
    const std::string path = std::string(QUOR_DATA_DIR) + "/kind.ini";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();

    TFileKindList kinds;
    ASSERT_TRUE(kinds.LoadKindFile(path));
    for (int i = 0; i < 19; ++i)
        EXPECT_GE(kinds.KindAt(i)->Keywords.size(), 5u) << "category " << i + 1;
    for (int i = 0; i < 19; ++i)
        for (const std::string& k : kinds.KindAt(i)->Keywords)
            EXPECT_GE(k.size(), 2u) << "category " << i + 1 << ": a keyword this short matches too much";
    EXPECT_TRUE(kinds.KindAt(19)->Keywords.empty());

    struct Case {
        const char* name;
        int kind;
    } cases[] = {
        {"Microsoft Visual Studio 2005", 1},
        {"Java(TM) SE Development Kit 6 Update 7", 1},
        {"Microsoft .NET Framework 2.0", 2},
        {"Microsoft Visual C++ 2005 Redistributable", 2},
        {"Java(TM) 6 Update 7", 2},
        {"Realtek High Definition Audio Driver", 3},
        {"Microsoft Office Professional Edition 2003", 4},
        {"腾讯QQ2008", 5},
        {"Windows Live Messenger", 5},
        {"暴风影音", 6},
        {"FileZilla Client 3.1.5", 7},
        {"Mozilla Firefox (3.0.5)", 8},
        {"Opera 9.64", 8},
        {"瑞星杀毒软件", 9},
        {"Adobe Photoshop CS3", 10},
        {"WinRAR 压缩文件管理器", 11},
        {"大智慧", 12},
        {"搜狗拼音输入法", 13},
        {"PPLive网络电视", 14},
        {"迅雷5", 15},
        {"金山词霸 2007", 16},
        {"中国工商银行网银助手", 17},
        {"魔兽世界", 18},
        {"Foxmail 6.5", 19},
        {"Mozilla Thunderbird (2.0.0.19)", 19},
        {"Digital Photo Professional", 10},
        {"Television Viewer Lite", 14},
        {"A Program Nobody Knows", 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kinds.FindKind(c.name)->KindNo, c.kind) << c.name;
}
