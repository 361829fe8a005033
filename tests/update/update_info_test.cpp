// The information file's entries, the file list, the version rules, the message table and
// the signature the file carries.
#include <gtest/gtest.h>

#include <regex>

#include "platform/signing.h"
#include "common/date_time.h"
#include "support/update_test_key.h"
#include "update/info_signature.h"
#include "update/update_info.h"
#include "update/updater_messages.h"

namespace {

TEST(UpdateInfo, FileListFollowsTheKeysInOrder) {
    struct Case {
        const char* label;
        const char* text;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"url in upper case reads like url", "#URL=http://h/a.exe\r\n", {"http://h/a.exe"}},
        {"url, url1 and url2: the count goes on after url, so url1 is never read",
         "#url=http://h/a\n#url1=http://h/b\n#url2=http://h/c\n", {"http://h/a", "http://h/c"}},
        {"url1 and url2 alone give both", "#url1=http://h/b\n#url2=http://h/c\n", {"http://h/b", "http://h/c"}},
        {"url0 and url2 give both", "#url0=http://h/z\n#url2=http://h/c\n", {"http://h/z", "http://h/c"}},
        {"url and url0 then url3", "#url0=x0\n#url=x\n#url3=x3\n#url4=x4\n", {"x", "x0", "x3", "x4"}},
        {"the first empty numbered key ends the list", "#url1=a\n#url3=c\n", {"a"}},
        {"only the first occurrence counts", "#url=first\n#url=second\n", {"first"}},
        {"a value ends at a tab; spaces belong to it", "#url=a b\tc\n", {"a b"}},
        {"a value runs to the end of the file", "#url=end", {"end"}},
        {"no entries, no files", "version=8.1\nurl=x\n", {}},
        {"a blank between key and = is no entry", "#url =x\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(InfoFileList(c.text), c.files);
    }
}

TEST(UpdateInfo, ValuesKeepTheirCaseAndBlocksSpanLines) {
    const std::string text = "comment\r\n#Version=8.1Beta\r\n#message={Line one\r\nLine two\r\nLine three}\r\n"
                             "#method=2nd\r\n";
    EXPECT_EQ(InfoValue(text, "version"), "8.1Beta");
    EXPECT_EQ(InfoBlock(text, "message"), "Line one\r\nLine two\r\nLine three");
    EXPECT_EQ(InfoUpgradeMethod(text), umRedirectToURL);
    EXPECT_EQ(InfoBlock("#message={open to the end", "message"), "open to the end");
    EXPECT_EQ(InfoBlock("#message= {x}", "message"), "");
    EXPECT_EQ(InfoUpgradeMethod("#method=1"), umUseExternalSetup);
    EXPECT_EQ(InfoUpgradeMethod("#method=3"), umSelfUpgrade);
    EXPECT_EQ(InfoUpgradeMethod(""), umSelfUpgrade);
}

TEST(UpdateInfo, DottedVersions) {
    struct Case {
        const char* published;
        const char* own;
        int sign;
    };
    const Case cases[] = {
        {"8.0.0.0", "8.0", 0},   {"8.0.0.1", "8.0", 1},  {"8.1", "8.0", 1},     {"7.9.9", "8.0", -1},
        {"8.1beta", "8.0", 1},   {"8.0beta", "8.1", -1}, {"8.0.1.2.5", "8.0.1.2", 0},
        {"10.0", "9.9", 1},      {"", "8.0", -1},        {"8", "8.0.0.0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.published) + " against " + c.own);
        const int got = CompareVersionNumbers(c.published, c.own);
        EXPECT_EQ((got > 0) - (got < 0), c.sign);
    }
}

TEST(UpdateInfo, MonthDayYearDates) {
    double today, d;
    ASSERT_TRUE(TryEncodeDate(2026, 12, 11, today));
    ASSERT_TRUE(TryEncodeDate(2008, 9, 1, d));
    EXPECT_EQ(ParseMonthDayYear("09/01/2008", today), d);
    for (const char* bad : {"", "09-01-2008", "09/01", "13/01/2008", "02/30/2008", "x/01/2008", "09/01/20o8"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ParseMonthDayYear(bad, today), today);
    }
    EXPECT_TRUE(IsNewerVersion("#date=10/15/2008", byDate, "", "09/01/2008", today));
    EXPECT_FALSE(IsNewerVersion("#date=09/01/2008", byDate, "", "09/01/2008", today));
    EXPECT_TRUE(IsNewerVersion("no date at all", byDate, "", "09/01/2008", today));
    EXPECT_TRUE(IsNewerVersion("#version=8.1\n#date=01/01/2000", byNumber, "8.0", "09/01/2008", today));
}

TEST(UpdateInfo, AddressFileNames) {
    EXPECT_EQ(AddressFileName("http://h/update/quorcleaner"), "quorcleaner");
    EXPECT_EQ(AddressFileName("http://h/a\\b.dll"), "b.dll");
    EXPECT_EQ(AddressFileName("http://h/dir/"), "");
    EXPECT_EQ(AddressFileName("C:x.exe"), "x.exe");
}

TEST(UpdaterMessages, EveryLanguageHasEveryMessageWithTheEnglishPlaceholders) {
    const std::regex placeholder("%(\\.[0-9])?[sdf]");
    auto placeholders = [&](const std::string& s) {
        std::string out;
        for (std::sregex_iterator i(s.begin(), s.end(), placeholder), e; i != e; ++i)
            out += i->str();
        return out;
    };
    for (int n = 0; n < kUpdaterMessages; ++n) {
        const std::string english = UpdaterString(41000 + n);
        for (int l = 1; l <= kUpdaterLanguages; ++l) {
            SCOPED_TRACE("language " + std::to_string(l) + ", message " + std::to_string(n));
            const std::string text = UpdaterString(41000 + 50 * (l - 1) + n);
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(placeholders(text), placeholders(english));
            // Every other "%" would be read as a placeholder.
            EXPECT_EQ(std::count(text.begin(), text.end(), '%'), std::count(english.begin(), english.end(), '%'));
        }
    }
    EXPECT_EQ(UpdaterString(40999), "SelfUpdater");
    EXPECT_EQ(UpdaterString(41031), "");
    EXPECT_EQ(UpdaterString(41000 + 50 * 25), "");
    EXPECT_EQ(UpdaterString(41024), "Newer version not found. You actually are\rusing most recent version of this "
                                    "program.");
}

TEST(UpdaterMessages, LanguageChoice) {
    struct Case {
        const char* label;
        int value;
        std::uint16_t languageId;
        TupSelfUpdaterLanguage want;
    };
    const Case cases[] = {
        {"a set language stands", wlGerman, 0x0419, wlGerman},
        {"auto: Russian", wlAuto, 0x0419, wlRussian},
        {"auto: Brazilian Portuguese", wlAuto, 0x0416, wlPortugueseBrazilian},
        {"auto: Portuguese of Portugal", wlAuto, 0x0816, wlPortuguese},
        {"auto: Simplified Chinese", wlAuto, 0x0804, wlChineseSimplified},
        {"auto: Chinese of Taiwan", wlAuto, 0x0404, wlChineseTraditional},
        {"auto: Icelandic", wlAuto, 0x040F, wlIcelandic},
        {"auto: unknown language is English", wlAuto, 0x0411, wlEnglish},
        {"out of range is auto", 99, 0x0407, wlGerman},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ResolveUpdaterLanguage(c.value, c.languageId), c.want);
    }
    EXPECT_EQ(LanguageIdOfLocale("pt_BR.UTF-8"), 0x0416);
    EXPECT_EQ(LanguageIdOfLocale("pt_PT.UTF-8"), 0x0816);
    EXPECT_EQ(LanguageIdOfLocale("zh_CN.UTF-8"), 0x0804);
    EXPECT_EQ(LanguageIdOfLocale("zh_TW.UTF-8"), 0x0404);
    EXPECT_EQ(LanguageIdOfLocale("de_DE@euro"), 0x0407);
    EXPECT_EQ(LanguageIdOfLocale("C"), 0);

    const auto before = UpdaterLanguage();
    SetUpdaterLanguage(wlGerman);
    EXPECT_EQ(UpdaterMessage(14), "&Ja");
    SetUpdaterLanguage(before);
}

class SignedInfo : public ::testing::Test {
protected:
    std::string secret = FromHex(testsupport::kUpdateTestSecretKey);
    std::string text = "; QuorCleaner update\r\n#version=8.1\r\n#url=http://h/quorcleaner\r\n";
    std::map<std::string, std::string> contents{{"http://h/quorcleaner", "program bytes"}};
};

TEST_F(SignedInfo, TheBuildCarriesTheTestKey) { EXPECT_EQ(UpdatePublicKey(), testsupport::kUpdateTestPublicKey); }

TEST_F(SignedInfo, SignedFileIsAcceptedAndEveryChangeRefused) {
    const std::string good = SignInfoFile(text, contents, secret);
    ASSERT_FALSE(good.empty());
    EXPECT_TRUE(InfoFileIsSigned(good, UpdatePublicKey()));
    EXPECT_TRUE(MatchesInfoDigest(good, "http://h/quorcleaner", "program bytes"));
    EXPECT_FALSE(MatchesInfoDigest(good, "http://h/quorcleaner", "program bytez"));
    EXPECT_FALSE(MatchesInfoDigest(good, "http://h/other", "program bytes"));
    // Older readers see the same entries.
    EXPECT_EQ(InfoFileList(good), std::vector<std::string>{"http://h/quorcleaner"});

    std::string otherPub, otherSec;
    ASSERT_TRUE(platform::makeKeyPair(otherPub, otherSec));
    struct Case {
        const char* label;
        std::string text;
    };
    std::string changed = good;
    changed[good.find("8.1") + 2] = '2';
    const Case refused[] = {
        {"no signature", text},
        {"a changed byte", changed},
        {"an entry after the signature", good + "#url1=http://evil/x\r\n"},
        {"signed with another key", SignInfoFile(text, contents, otherSec)},
        {"a signature that is no hex", text + "#signature=zz\r\n"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(InfoFileIsSigned(c.text, UpdatePublicKey()));
    }
}

TEST_F(SignedInfo, SigningAgainReplacesTheOldEntries) {
    const std::string once = SignInfoFile(text, contents, secret);
    contents["http://h/quorcleaner"] = "new bytes";
    const std::string twice = SignInfoFile(once, contents, secret);
    EXPECT_TRUE(InfoFileIsSigned(twice, UpdatePublicKey()));
    EXPECT_TRUE(MatchesInfoDigest(twice, "http://h/quorcleaner", "new bytes"));
    EXPECT_EQ(std::count(twice.begin(), twice.end(), '#'), 4); // version, url, one digest, one signature
}

} // namespace
