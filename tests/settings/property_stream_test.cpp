#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/date_time.h"
#include "settings/extended.h"
#include "settings/property_stream.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"

namespace {

std::string rec(const std::string& name, std::string value) {
    return std::string(1, char(name.size())) + name + value;
}
std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int x : b)
        s += char(x);
    return s;
}

// The published names of the settings object with their defaults, in file order.
struct Named {
    const char* name;
    int tag;
};
const Named kDefaults[] = {
    {"AutoClean", 8}, {"AutoCleanShutDown", 8}, {"IfShowChart", 8}, {"IfIncludeDir", 8},
    {"ShowTips", 8}, {"AutoUpdate", 9}, {"IfCleanZeroDir", 8}, {"IfCleanZeroFile", 8},
    {"IfClean_Windows_Recent_Files", 8}, {"IfClean_ZeroFile", 9}, {"IfClean_ZeroDir", 9},
    {"IfClean_Internet_Explorer_Temporary_Files", 9}, {"IfClean_Internet_Explorer_History", 9},
    {"IfClean_Internet_Explorer_Cookies", 9}, {"IfClean_Windows_Find_History", 9},
    {"IfClean_Windows_Run_History", 9}, {"IfClean_Windows_Temporary_Files", 9},
    {"IfClean_Recycle_Bin", 9}, {"IfClean_Broken_ShutCuts", 9},
};

std::string defaultStream() {
    std::string s;
    for (const Named& n : kDefaults)
        s += rec(n.name, bytes({n.tag}));
    return s + rec("SlicePercent", bytes({2, 10}));
}

std::string streamOf(const TSetting& s) {
    TMemoryStream m;
    WriteObjectProperties(s, m);
    EXPECT_EQ(m.Position(), 0u);
    return m.Bytes();
}

// A settings object read from `data` (no file involved).
void readInto(TSetting& s, const std::string& data) {
    TMemoryStream m(data);
    ReadObjectProperties(m, s);
}

struct Settings : ::testing::Test {
    testsupport::TempMachine machine{"C"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
};

} // namespace

TEST_F(Settings, DefaultsMakeThe443ByteStream) {
    TSetting s;
    std::string out = streamOf(s);
    EXPECT_EQ(out.size(), 443u);
    EXPECT_EQ(out, defaultStream());
    EXPECT_EQ(out.substr(0, 11), bytes({0x09, 'A', 'u', 't', 'o', 'C', 'l', 'e', 'a', 'n', 0x08}));
    EXPECT_EQ(out.substr(out.size() - 15), bytes({0x0C}) + "SlicePercent" + bytes({0x02, 0x0A}));
}

TEST_F(Settings, LastCleanDateIsWrittenOnlyWhenNotZero) {
    TSetting s;
    s.LastCleanDate = 39661.0; // 1 August 2008
    std::string out = streamOf(s);
    std::string record = bytes({0x0D}) + "LastCleanDate" + bytes({0x05, 0, 0, 0, 0, 0, 0, 0xED, 0x9A, 0x0E, 0x40});
    // It sits after AutoCleanShutDown, in declaration order.
    std::string head = rec("AutoClean", bytes({8})) + rec("AutoCleanShutDown", bytes({8}));
    EXPECT_EQ(out.substr(0, head.size() + record.size()), head + record);
    EXPECT_EQ(out.size(), 443u + record.size());
}

TEST_F(Settings, IntegersTakeTheSmallestTag) {
    struct Case {
        std::int32_t value;
        std::string encoded;
    } cases[] = {
        {10, bytes({2, 0x0A})},
        {-1, bytes({2, 0xFF})},
        {127, bytes({2, 0x7F})},
        {-128, bytes({2, 0x80})},
        {128, bytes({3, 0x80, 0x00})},
        {200, bytes({3, 0xC8, 0x00})},
        {-129, bytes({3, 0x7F, 0xFF})},
        {32767, bytes({3, 0xFF, 0x7F})},
        {-32768, bytes({3, 0x00, 0x80})},
        {32768, bytes({4, 0x00, 0x80, 0x00, 0x00})},
        {70000, bytes({4, 0x70, 0x11, 0x01, 0x00})},
        {std::numeric_limits<std::int32_t>::min(), bytes({4, 0, 0, 0, 0x80})},
    };
    for (const Case& c : cases) {
        TSetting s;
        s.SlicePercent = c.value;
        std::string out = streamOf(s);
        EXPECT_EQ(out, defaultStream().substr(0, 428) + rec("SlicePercent", c.encoded)) << c.value;
        TSetting back;
        readInto(back, out);
        EXPECT_EQ(back.SlicePercent, c.value);
    }
}

TEST_F(Settings, WrittenValuesReadBack) {
    TSetting s;
    s.AutoClean = true;
    s.AutoUpdate = false;
    s.IfClean_Broken_ShutCuts = false;
    s.LastCleanDate = 39661.39604166667; // with a time of day
    s.SlicePercent = 35;
    TSetting back;
    readInto(back, streamOf(s));
    EXPECT_EQ(streamOf(back), streamOf(s));
    EXPECT_EQ(back.LastCleanDate, s.LastCleanDate);
}

TEST_F(Settings, RecordsInAnyOrderAndLetterCaseSetTheSameValues) {
    TSetting s;
    readInto(s, rec("slicepercent", bytes({3, 0xC8, 0})) + rec("AUTOUPDATE", bytes({8})) +
                    rec("autoclean", bytes({9})) + rec("ShowTips", bytes({9})) + rec("showtips", bytes({8})));
    EXPECT_EQ(s.SlicePercent, 200);
    EXPECT_FALSE(s.AutoUpdate);
    EXPECT_TRUE(s.AutoClean);
    EXPECT_FALSE(s.ShowTips); // the last record wins
    EXPECT_TRUE(s.IfClean_Recycle_Bin); // missing: the default stands
}

TEST_F(Settings, ReaderAcceptsTheOtherTagsOfEachType) {
    TSetting s;
    readInto(s, rec("AutoClean", bytes({7, 4}) + "TRUE") + rec("AutoUpdate", bytes({7, 5}) + "false") +
                    rec("SlicePercent", bytes({4, 0x70, 0x11, 0x01, 0x00})));
    EXPECT_TRUE(s.AutoClean);
    EXPECT_FALSE(s.AutoUpdate);
    EXPECT_EQ(s.SlicePercent, 70000);
    struct Case {
        std::string value;
        double days;
    } dates[] = {
        {bytes({2, 0xFF}), -1},
        {bytes({3, 0xED, 0x9A}), -25875}, // 0x9AED as a signed 16-bit number
        {bytes({4, 0xED, 0x9A, 0, 0}), 39661},
        {bytes({19, 0xED, 0x9A, 0, 0, 0, 0, 0, 0}), 39661},
        {bytes({5, 0, 0, 0, 0, 0, 0, 0xED, 0x9A, 0x0E, 0x40}), 39661},
    };
    for (const auto& d : dates) {
        TSetting t;
        readInto(t, rec("LastCleanDate", d.value));
        EXPECT_EQ(t.LastCleanDate, d.days);
    }
    // A date that is not a number is read as it stands and shows as day 0.
    TSetting t;
    readInto(t, rec("LastCleanDate", bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F})));
    EXPECT_TRUE(std::isnan(t.LastCleanDate));
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", t.LastCleanDate, "/", ":"), "1899/12/30");
}

TEST_F(Settings, ReadErrorsNameTheRecordAndKeepWhatWasReadBefore) {
    const std::string good = rec("AutoClean", bytes({9})) + rec("SlicePercent", bytes({2, 50}));
    struct Case {
        const char* what;
        std::string tail;
        std::string message;
    } cases[] = {
        {"unknown name", rec("Foo", bytes({9})), "Error reading TSetting.Foo: Property Foo does not exist"},
        {"integer tag for a Boolean", rec("AutoUpdate", bytes({2, 1})), "Error reading TSetting.AutoUpdate: Invalid property value"},
        {"other identifier", rec("AutoUpdate", bytes({7, 5}) + "Maybe"), "Error reading TSetting.AutoUpdate: Invalid property value"},
        {"Boolean tag for an integer", rec("SlicePercent", bytes({9})), "Error reading TSetting.SlicePercent: Invalid property value"},
        {"extended for an integer", rec("SlicePercent", bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})),
         "Error reading TSetting.SlicePercent: Invalid property value"},
        {"64-bit integer for an integer", rec("SlicePercent", bytes({19, 1, 0, 0, 0, 0, 0, 0, 0})),
         "Error reading TSetting.SlicePercent: Invalid property value"},
        {"Boolean for the date", rec("LastCleanDate", bytes({8})), "Error reading TSetting.LastCleanDate: Invalid property value"},
        {"ends inside the name", bytes({9}) + "Auto", "Stream read error"},
        {"ends before the tag", rec("AutoUpdate", ""), "Error reading TSetting.AutoUpdate: Stream read error"},
        {"ends inside the value", rec("SlicePercent", bytes({3, 0xC8})), "Error reading TSetting.SlicePercent: Stream read error"},
        {"ends inside the date", rec("LastCleanDate", bytes({5, 0, 0, 0})), "Error reading TSetting.LastCleanDate: Stream read error"},
        {"ends inside an identifier", rec("AutoUpdate", bytes({7, 4}) + "Tr"), "Error reading TSetting.AutoUpdate: Stream read error"},
    };
    for (const Case& c : cases) {
        TSetting s;
        try {
            // A stream that ends early ends with the bad record; others go on after it.
            bool endsEarly = c.message.find("Stream read error") != std::string::npos;
            readInto(s, good + c.tail + (endsEarly ? "" : rec("ShowTips", bytes({9}))));
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EReadError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.what;
        }
        EXPECT_TRUE(s.AutoClean) << c.what;
        EXPECT_EQ(s.SlicePercent, 50) << c.what;
        EXPECT_FALSE(s.ShowTips) << c.what; // after the bad record: never read
    }
}

TEST(Extended, EncodesAndDecodesExactly) {
    struct Case {
        double value;
        std::string bytes;
    } cases[] = {
        {0.0, bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {-0.0, bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {1.0, bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {-2.5, bytes({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
        {39661.0, bytes({0, 0, 0, 0, 0, 0, 0xED, 0x9A, 0x0E, 0x40})},
        {0.5, bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})},
        {std::numeric_limits<double>::infinity(), bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
        // The smallest subnormal double, 2^-1074, is a normal extended number.
        {std::numeric_limits<double>::denorm_min(), bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B})},
    };
    for (const Case& c : cases) {
        Extended80 e = EncodeExtended(c.value);
        EXPECT_EQ(std::string(e.begin(), e.end()), c.bytes) << c.value;
        double back = DecodeExtended(e);
        EXPECT_EQ(back, c.value);
        EXPECT_EQ(std::signbit(back), std::signbit(c.value));
    }
    for (double v : {39661.39604166667, 1e-310, std::numeric_limits<double>::max(),
                     std::numeric_limits<double>::min(), -123456.789, 3.0e-320}) {
        EXPECT_EQ(DecodeExtended(EncodeExtended(v)), v) << v;
    }
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::numeric_limits<double>::quiet_NaN()))));
}

TEST(Extended, DecodesValuesADoubleCannotHold) {
    auto ext = [](std::uint64_t m, int exponentWord) {
        Extended80 e{};
        for (int i = 0; i < 8; ++i)
            e[i] = std::uint8_t(m >> (8 * i));
        e[8] = std::uint8_t(exponentWord);
        e[9] = std::uint8_t(exponentWord >> 8);
        return e;
    };
    const std::uint64_t one = std::uint64_t(1) << 63;
    EXPECT_EQ(DecodeExtended(ext(one, 0x3FFF + 2000)), std::numeric_limits<double>::infinity());
    EXPECT_EQ(DecodeExtended(ext(one, 0x8000 | (0x3FFF + 2000))), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(DecodeExtended(ext(one, 0x3FFF - 2000)), 0.0);
    EXPECT_EQ(DecodeExtended(ext(one, 0)), 0.0); // an extended denormal
    // 1 + 2^-53 lies halfway between two doubles: ties go to the even one, 1.0.
    EXPECT_EQ(DecodeExtended(ext(one | (std::uint64_t(1) << 10), 0x3FFF)), 1.0);
    // 1 + 2^-53 + 2^-63 is above halfway: rounds up.
    EXPECT_EQ(DecodeExtended(ext(one | (std::uint64_t(1) << 10) | 1, 0x3FFF)), 1.0 + std::ldexp(1.0, -52));
    // All 64 bits set rounds up to the next power of two.
    EXPECT_EQ(DecodeExtended(ext(~std::uint64_t(0), 0x3FFF)), 2.0);
    // Half the smallest subnormal rounds to even (zero); a little more rounds up to it.
    EXPECT_EQ(DecodeExtended(ext(one, 0x3FFF - 1075)), 0.0);
    EXPECT_EQ(DecodeExtended(ext(one | 1, 0x3FFF - 1075)), std::numeric_limits<double>::denorm_min());
    // An unnormal (integer bit clear) still means m * 2^(e - 16383 - 63).
    EXPECT_EQ(DecodeExtended(ext(one >> 1, 0x3FFF)), 0.5);
}
