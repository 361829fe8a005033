#include <gtest/gtest.h>

#include "common/ascii_text.h"

TEST(AsciiText, FoldsTheAsciiLettersAlone) {
    EXPECT_EQ(AsciiUpper("abc-XYZ_09"), "ABC-XYZ_09");
    // Bytes of UTF-8 text (and the bytes around the letters) stay as they are.
    EXPECT_EQ(AsciiUpper("清理`{@["), "清理`{@[");
    EXPECT_EQ(AsciiLower('Q'), 'q');
    EXPECT_TRUE(SameText("C:\\Windows", "c:\\WINDOWS"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_FALSE(SameText("\xC3\xA9", "\xC3\x89")); // é and É differ: not ASCII
}

TEST(AsciiText, CompareTextOrdersFoldedBytesUnsigned) {
    struct Case {
        const char *a, *b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0},   {"a", "b", -1},       {"B", "a", 1},
        {"ab", "abc", -1},   {"", "", 0},          {"_", "a", 1}, // folded to upper case, "_" (between Z and a) follows the letters
        {"z", "\xE6\xB8", -1}, // a byte above 127 comes after every ASCII letter
    };
    for (const Case& c : cases) {
        int r = CompareText(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " / " << c.b;
    }
}

TEST(AsciiText, SplitsPathsAndLines) {
    EXPECT_EQ(SplitPath("\\a\\\\b/c\\"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitPath("a/b\\c", "\\"), (std::vector<std::string>{"a/b", "c"}));
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLines({"a", ""}), "a\r\n\r\n");
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
}
