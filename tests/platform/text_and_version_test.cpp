#include <gtest/gtest.h>

#include <fstream>

#include "platform/platform.h"
#include "platform/posix/posix_text_codec.h"
#include "platform/posix/posix_version_info.h"
#include "support/temp_machine.h"

using namespace platform;

TEST(Utf8, StrictForms) {
    struct Case {
        const char* label;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"ASCII", "Tips.CFG", true},
        {"Chinese", "每日技巧", true},
        {"four bytes", "\xF0\x9F\x98\x80", true},
        {"GBK", "\xC4\xE3\xBA\xC3", false},
        {"overlong two bytes", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cut off", "\xE6\xAF", false},
        {"stray continuation", "a\x80", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.label;
}

TEST(PosixTextCodec, TextThatIsNotUtf8IsReadAsGbk) {
    struct Case {
        const char* label;
        std::string bytes, text;
    } cases[] = {
        {"UTF-8 stays", "每日技巧 <b>x</b>", "每日技巧 <b>x</b>"},
        {"GBK", "\xC3\xBF\xC8\xD5\xBC\xBC\xC7\xC9", "每日技巧"},
        {"GBK with markup", "<b>\xC4\xE3\xBA\xC3</b>", "<b>你好</b>"},
        {"a byte no GBK character starts", "a\xFF" "b", "a\xEF\xBF\xBD" "b"},
        {"a character cut off at the end", "\xC4\xE3\xBA", "你\xEF\xBF\xBD"},
    };
    posix::PosixTextCodec codec;
    for (const Case& c : cases)
        EXPECT_EQ(codec.ansiToUtf8(c.bytes), c.text) << c.label;
    // Long text goes through in pieces.
    std::string gbk, utf8;
    for (int i = 0; i < 3000; ++i) {
        gbk += "\xC4\xE3";
        utf8 += "你";
    }
    EXPECT_EQ(codec.ansiToUtf8(gbk + "\xFF"), utf8 + "\xEF\xBF\xBD");
}

TEST(PosixVersionInfo, OnlyTheRunningProgramCarriesItsVersionInformation) {
    testsupport::TempMachine machine{"C"};
    VersionInfo& info = versionInfo();
    const std::string self = sys().executablePath();
    ASSERT_FALSE(self.empty());
    std::uint32_t size = info.infoSize(self);
    ASSERT_GT(size, 0u);
    VersionResource r;
    EXPECT_FALSE(info.loadInfo(self, size - 1, r)); // too little room
    ASSERT_TRUE(info.loadInfo(self, size, r));
    EXPECT_EQ(queryVersionValue(r, "\\VarFileInfo\\Translation"), std::string("\x09\x08\xE4\x04", 4));
    EXPECT_EQ(queryVersionValue(r, "\\StringFileInfo\\080904E4\\FileVersion"), "2008.0.0.3");
    EXPECT_EQ(queryVersionValue(r, "\\StringFileInfo\\\\FileVersion"), std::nullopt);

    machine.writeFile("C:\\other.exe", "MZ");
    EXPECT_EQ(info.infoSize("C:\\other.exe"), 0u);
    EXPECT_FALSE(info.loadInfo("C:\\other.exe", size, r));
    EXPECT_EQ(info.infoSize("C:\\missing.exe"), 0u);
}
