#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/hive_registry.h"
#include "platform/platform.h"
#include "support/temp_machine.h"

using namespace platform;

namespace {

// UTF-8 text (BMP only) as UTF-16LE with a byte-order mark, as the Windows exporter writes.
std::string utf16le(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp;
        if (c < 0x80) {
            cp = c;
            i += 1;
        } else if (c < 0xE0) {
            cp = (c & 0x1F) << 6 | (utf8[i + 1] & 0x3F);
            i += 2;
        } else {
            cp = (c & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F);
            i += 3;
        }
        out += char(cp & 0xFF);
        out += char(cp >> 8);
    }
    return out;
}

const char* const kExport =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
    "\"Local Settings\"=\"C:\\\\Documents and Settings\\\\王\\\\Local Settings\"\r\n"
    "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
    "@=\"default\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\zeta]\r\n"
    "\"DisplayName\"=\"Zeta\"\r\n"
    "\"EstimatedSize\"=dword:0000a0f1\r\n"
    "\"Blob\"=hex:01,02,ff\r\n"
    "\"UninstallString\"=hex(2):25,00,50,00,72,00,6f,00,67,00,25,00,5c,00,\\\r\n"
    "  75,00,2e,00,65,00,78,00,65,00,00,00\r\n"
    "\"Many\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Alpha]\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\beta]\r\n"
    "; a comment\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\_under]\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Gone]\r\n"
    "\"x\"=\"y\"\r\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\gone]\r\n";

const char* const kShell = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void expectExportRead(HiveRegistry& r) {
    auto v = r.readValue(RegistryRoot::CurrentUser, kShell, "local settings");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, REG_SZ);
    EXPECT_EQ(v->data, "C:\\Documents and Settings\\王\\Local Settings");
    EXPECT_EQ(r.readValue(RegistryRoot::CurrentUser, kShell, "Quote")->data, "say \"hi\"");
    EXPECT_EQ(r.readValue(RegistryRoot::CurrentUser, kShell, "")->data, "default");

    std::string zeta = std::string(kUninstall) + "\\ZETA";
    EXPECT_EQ(r.readValue(RegistryRoot::LocalMachine, zeta, "EstimatedSize")->dword(), 0xa0f1u);
    auto blob = r.readValue(RegistryRoot::LocalMachine, zeta, "Blob");
    EXPECT_EQ(blob->type, REG_BINARY);
    EXPECT_EQ(blob->data, std::string("\x01\x02\xff", 3));
    auto expand = r.readValue(RegistryRoot::LocalMachine, zeta, "UninstallString");
    EXPECT_EQ(expand->type, REG_EXPAND_SZ);
    EXPECT_EQ(expand->data, "%Prog%\\u.exe");
    EXPECT_EQ(r.readValue(RegistryRoot::LocalMachine, zeta, "Many")->data, std::string("a\0b\0", 4));
    // Subkeys in name order with letters folded; deleted keys are gone.
    EXPECT_EQ(r.subkeys(RegistryRoot::LocalMachine, kUninstall),
              (std::vector<std::string>{"Alpha", "beta", "zeta", "_under"}));
    EXPECT_FALSE(r.readValue(RegistryRoot::CurrentUser, kShell, "missing"));
    EXPECT_FALSE(r.openKey(RegistryRoot::CurrentUser, std::string(kUninstall)));
}

} // namespace

TEST(Registry, ReadsTheWindowsExportInUtf16) {
    HiveRegistry r;
    ASSERT_TRUE(r.load(utf16le(kExport)));
    expectExportRead(r);
}

TEST(Registry, ReadsTheSameExportIn8BitAndWithLfLines) {
    std::string text = kExport;
    std::string lf;
    for (char c : text)
        if (c != '\r')
            lf += c;
    HiveRegistry a, b;
    ASSERT_TRUE(a.load(text));
    expectExportRead(a);
    ASSERT_TRUE(b.load(lf));
    expectExportRead(b);
}

TEST(Registry, Regedit4KeepsStringBytesAsText) {
    HiveRegistry r;
    ASSERT_TRUE(r.load("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\\B]\n\"E\"=hex(2):25,54,4d,50,25,00\n\"S\"=\"x\"\n"
                       "\"D\"=dword:FFFFFFFF\n\"S\"=-\n"));
    EXPECT_EQ(r.readValue(RegistryRoot::CurrentUser, "A\\B", "E")->data, "%TMP%");
    EXPECT_EQ(r.readValue(RegistryRoot::CurrentUser, "A\\B", "D")->dword(), 0xFFFFFFFFu);
    EXPECT_FALSE(r.readValue(RegistryRoot::CurrentUser, "A\\B", "S")); // "name"=- deletes
    EXPECT_EQ(r.subkeys(RegistryRoot::CurrentUser, ""), std::vector<std::string>{"A"});
}

TEST(Registry, RejectsTextsThatAreNoExport) {
    HiveRegistry r;
    EXPECT_FALSE(r.load(""));
    EXPECT_FALSE(r.load("[HKEY_CURRENT_USER\\A]\n\"x\"=\"y\"\n"));
    EXPECT_FALSE(r.load("WINE REGISTRY Version 2\n[Software\\\\A] 1\n"));
    EXPECT_FALSE(r.openKey(RegistryRoot::CurrentUser, "A"));
    // Malformed lines are skipped, the rest is read.
    ASSERT_TRUE(r.load("REGEDIT4\n[HKEY_NOWHERE\\X]\n\"a\"=\"1\"\n[HKCU\\K]\n\"b\"=dword:xyz\n\"c\"=hex:zz\n\"d\"=\"ok\"\n"));
    EXPECT_EQ(r.valueNames(RegistryRoot::CurrentUser, "K"), std::vector<std::string>{"d"});
}

TEST(Registry, MachineRootHivesAndKeysCreatedInMemory) {
    testsupport::TempMachine m;
    {
        std::ofstream(m.root() / "user.reg", std::ios::binary) << utf16le(kExport);
        std::ofstream(m.root() / "system.reg", std::ios::binary)
            << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\zeta]\r\n"
               "\"DisplayName\"=\"from system.reg\"\r\n\"Only\"=\"system\"\r\n";
    }
    m.reload();
    auto& r = registry();
    // user.reg is read after system.reg: its values win, the others stay.
    std::string zeta = std::string(kUninstall) + "\\zeta";
    EXPECT_EQ(r.readValue(RegistryRoot::LocalMachine, zeta, "DisplayName")->data, "Zeta");
    EXPECT_EQ(r.readValue(RegistryRoot::LocalMachine, zeta, "Only")->data, "system");
    // A key the program creates lives in memory only.
    EXPECT_TRUE(r.createKey(RegistryRoot::CurrentUser, "\\Software\\QuorTest\\Deep"));
    EXPECT_TRUE(r.writeValue(RegistryRoot::CurrentUser, "Software\\quortest\\deep", "v", {REG_SZ, "1"}));
    EXPECT_TRUE(r.openKey(RegistryRoot::CurrentUser, "SOFTWARE\\QUORTEST"));
    EXPECT_FALSE(r.writeValue(RegistryRoot::CurrentUser, "Software\\Nothing", "v", {REG_SZ, "1"}));
    std::ifstream f(m.root() / "user.reg", std::ios::binary);
    std::string after((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, utf16le(kExport));
}

TEST(Registry, EightBitTextFromAChineseSystemIsReadAsGbk) {
    testsupport::TempMachine m;
    // "金山词霸" and "播放器" in GBK; the same file's UTF-8 text stays as it is.
    const std::string gbkName = "\xbd\xf0\xc9\xbd\xb4\xca\xb0\xd4";
    std::ofstream(m.root() / "system.reg", std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\" << gbkName << "]\r\n"
        << "\"DisplayName\"=\"" << gbkName << " 2007\"\r\n"
        << "\"Path\"=hex(2):b2,a5,b7,c5,c6,f7,00\r\n";
    std::ofstream(m.root() / "user.reg", std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\金山词霸]\r\n\"v\"=\"播放器\"\r\n";
    m.reload();
    auto& r = registry();
    EXPECT_EQ(r.subkeys(RegistryRoot::LocalMachine, "SOFTWARE"), std::vector<std::string>{"金山词霸"});
    EXPECT_EQ(r.readValue(RegistryRoot::LocalMachine, "SOFTWARE\\金山词霸", "DisplayName")->data, "金山词霸 2007");
    EXPECT_EQ(r.readValue(RegistryRoot::LocalMachine, "SOFTWARE\\金山词霸", "Path")->data, "播放器");
    EXPECT_EQ(r.readValue(RegistryRoot::CurrentUser, "Software\\金山词霸", "v")->data, "播放器");
}

TEST(Registry, EmptyWithoutAMachineRoot) {
    posix::PosixPlatform p(std::nullopt);
    EXPECT_TRUE(p.registry().subkeys(RegistryRoot::CurrentUser, "").empty());
    EXPECT_TRUE(p.registry().subkeys(RegistryRoot::LocalMachine, "").empty());
}

TEST(Registry, AValueContinuedOverThousandsOfLines) {
    // As the exporter writes a large binary value: 25 bytes a line, each line but the
    // last ending in ",\", the next one indented.
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Big]\r\n\"Blob\"=hex:";
    std::string expected;
    const int lines = 20000;
    for (int l = 0; l < lines; ++l) {
        if (l > 0)
            text += "  ";
        for (int b = 0; b < 25; ++b) {
            char byte = char((l * 25 + b) % 251);
            expected += byte;
            static const char* hex = "0123456789abcdef";
            text += hex[(unsigned char)byte >> 4];
            text += hex[byte & 15];
            if (b < 24 || l + 1 < lines)
                text += ",";
        }
        text += l + 1 < lines ? "\\\r\n" : "\r\n";
    }
    text += "\"After\"=\"x\"\r\n";
    HiveRegistry r;
    ASSERT_TRUE(r.load(text));
    auto blob = r.readValue(RegistryRoot::CurrentUser, "Big", "Blob");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->data.size(), expected.size());
    EXPECT_TRUE(blob->data == expected);
    EXPECT_EQ(r.readValue(RegistryRoot::CurrentUser, "Big", "After")->data, "x");
}

TEST(Registry, AHiveThatCannotBeReadIsSkippedAndTheProgramStartsWithTheOther) {
    struct Case {
        const char* label;
        std::string systemReg; // empty with `folder`: a folder stands where the file should
        bool folder;
        const char* says;
    } cases[] = {
        {"no export", "PK\x03\x04 not a registry\r\n[HKCU\\A]\r\n", false, "line 1: Not a registry export"},
        {"header after blank lines", "\r\n\r\nREGEDIT5\r\n", false, "line 3: Not a registry export"},
        {"blank", "\r\n \r\n", false, "line 1: The file is empty."},
        {"a folder", "", true, "Cannot open file"},
    };
    for (const auto& c : cases) {
        testsupport::TempMachine m;
        std::ofstream(m.root() / "user.reg", std::ios::binary) << utf16le(kExport);
        if (c.folder)
            std::filesystem::create_directory(m.root() / "system.reg");
        else
            std::ofstream(m.root() / "system.reg", std::ios::binary) << c.systemReg;
        std::optional<posix::PosixPlatform> p;
        ASSERT_NO_THROW(p.emplace(m.root().string())) << c.label;
        expectExportRead(p->registry());
        ASSERT_EQ(p->hiveProblems().size(), 1u) << c.label;
        const std::string& said = p->hiveProblems()[0];
        EXPECT_NE(said.find((m.root() / "system.reg").string()), std::string::npos) << c.label << ": " << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << c.label << ": " << said;
    }
    // Hives that are there and sound say nothing; missing ones neither.
    testsupport::TempMachine m;
    std::ofstream(m.root() / "user.reg", std::ios::binary) << utf16le(kExport);
    EXPECT_TRUE(posix::PosixPlatform(m.root().string()).hiveProblems().empty());
}
