#include "settings/system_helpers.h"

#include <algorithm>

#include "platform/platform.h"
#include "settings/date_time.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace {

const char* const kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters off both ends, as the classic Trim does.
std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

[[noreturn]] void notADate(const std::string& text) { throw ConvertError("'" + text + "' is not a valid date"); }

// A decimal number at text[i], at most `maxDigits` long; advances i.
bool number(const std::string& text, size_t& i, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (++digits > maxDigits)
            return false;
        value = value * 10 + (text[i++] - '0');
    }
    return digits > 0;
}

bool separatorAt(const std::string& text, size_t& i, const std::string& sep) {
    if (i < text.size() && text[i] == '/') {
        ++i;
        return true;
    }
    if (!sep.empty() && text.compare(i, sep.size(), sep) == 0) {
        i += sep.size();
        return true;
    }
    return false;
}

} // namespace

std::string LocalSettingsFolder() {
    auto& reg = platform::registry();
    if (!reg.createKey(platform::RegistryRoot::CurrentUser, kShellFolders))
        return {};
    auto v = reg.readValue(platform::RegistryRoot::CurrentUser, kShellFolders, "Local Settings");
    if (!v || !v->isString())
        return {};
    return v->data;
}

std::string WindowsFolder() { return platform::machine().windowsFolder(); }

std::string PathDisplayName(const std::string& path) {
    auto name = platform::shell().displayName(path);
    return name ? *name : path;
}

std::string DriveRootOf(const std::string& path) {
    size_t colon = path.find(':');
    if (colon == std::string::npos)
        return "My Computer";
    size_t start = colon == 0 ? 0 : colon - 1;
    return path.substr(start, colon + 1 - start) + "\\";
}

double FileTimeToLocalDateTime(platform::FileTime fileTime) {
    platform::SystemTime t;
    if (!platform::clock().toLocal(fileTime, t))
        return 0;
    return EncodeDateTime(t);
}

FileTimeTexts FileTimesText(const std::string& path) {
    const char* format = "yyyy/mm/dd,hh:mm:ss";
    FileTimeTexts texts;
    platform::DirEntry e;
    if (platform::files().findEntry(path, e)) {
        texts.creation = FormatDateTime(format, FileTimeToLocalDateTime(e.creationTime));
        texts.lastWrite = FormatDateTime(format, FileTimeToLocalDateTime(e.lastWriteTime));
    }
    texts.now = FormatDateTime(format, Now());
    return texts;
}

std::string ShortPathOf(const std::string& text) {
    platform::ShortPath r = platform::machine().shortPathName(trim(text), 66);
    if (r.status == platform::ShortPath::Ok)
        return r.path;
    if (r.status == platform::ShortPath::Failed) {
        auto& tk = toolkit::Toolkit::current();
        tk.messageBox(r.errorText, tk.applicationTitle(), toolkit::MB_OK);
    }
    if (!text.empty() && text.back() == '"')
        return text.substr(0, text.size() - 1);
    return text;
}

int SignOf(double x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }

std::string LeadingDigits(const std::string& text) {
    size_t n = 0;
    while (n < text.size() && isDigit(text[n]))
        ++n;
    return n == 0 ? "0" : text.substr(0, n);
}

double ParseListDate(const std::string& text) {
    if (text.size() > 10)
        return 0;
    std::string sep = platform::clock().dateSeparator();
    std::string t = trim(text);
    size_t i = 0;
    int month, day, year, digits;
    if (!number(t, i, 2, month, digits) || !separatorAt(t, i, sep) || !number(t, i, 2, day, digits) ||
        !separatorAt(t, i, sep) || !number(t, i, 4, year, digits) || i != t.size())
        notADate(text);
    if (digits <= 2) {
        // A two-digit year falls in the 100 years around now, as the classic conversion has it.
        int current = DecodeDateTime(Now()).year;
        int century = current - 50;
        year += century / 100 * 100;
        if (year < century)
            year += 100;
    }
    double d;
    if (!TryEncodeDate(year, month, day, d))
        notADate(text);
    return d;
}

void HideApplicationWindows() {
    if (toolkit::Form* analyzer = toolkit::Form::findByCaption(kAnalyzerWindowTitle))
        analyzer->hide();
    auto& tk = toolkit::Toolkit::current();
    toolkit::Form* main = tk.mainForm();
    const auto& live = toolkit::Form::all();
    if (main && std::find(live.begin(), live.end(), main) != live.end())
        main->setVisible(false);
    tk.setApplicationHidden(true);
}

void ShowApplicationWindows(toolkit::Form* window) {
    auto& tk = toolkit::Toolkit::current();
    tk.setApplicationHidden(false);
    if (toolkit::Form* analyzer = toolkit::Form::findByCaption(kAnalyzerWindowTitle)) {
        analyzer->maximized = true;
        analyzer->show();
    }
    if (window) {
        window->maximized = true;
        window->show();
    }
    tk.restoreTopmost();
}

std::string OsVersionText() {
    platform::OsVersion v;
    if (!platform::machine().osVersion(v))
        return {};
    const char* name = v.platformId == platform::VER_PLATFORM_WIN32s         ? "Win32s"
                       : v.platformId == platform::VER_PLATFORM_WIN32_WINDOWS ? "Windows 95"
                       : v.platformId == platform::VER_PLATFORM_WIN32_NT      ? "Windows NT"
                                                                              : "";
    return std::string(name) + " Version " + std::to_string(v.major) + "." + std::to_string(v.minor) +
           "\r\n (Build " + std::to_string(v.build) + ": " + v.servicePack + ")";
}

void ShutdownComputer() {
    auto& m = platform::machine();
    if (OsVersionText().rfind("Windows NT", 0) != 0) {
        m.exitWindows(platform::EWX_SHUTDOWN | platform::EWX_FORCE);
        return;
    }
    auto fail = [](const char* step) {
        toolkit::Toolkit::current().messageBox("Exit Error", step, toolkit::MB_OK);
    };
    if (!m.openProcessToken())
        return fail("OpenProcessToken() Failed");
    if (!m.lookupPrivilegeValue("SeShutdownPrivilege"))
        return fail("LookupPrivilegeValue() Failed");
    if ((m.adjustTokenPrivileges() & 0xFF) != 0)
        return fail("AdjustTokenPrivileges() Failed");
    m.exitWindows(platform::EWX_POWEROFF | platform::EWX_FORCE);
}
