#pragma once
// The update information file: entries "#key=value" anywhere in the text (everything else
// is comment), the file list, the upgrade method, and the rules that decide whether the
// published version is newer than the running one.
#include <string>
#include <vector>

enum TupUpgradeMethod { umSelfUpgrade = 0, umUseExternalSetup = 1, umRedirectToURL = 2 };
enum TupSelfUpdaterVersionControl { byDate, byNumber };

// The value of the first entry "#key=" (keys without regard to ASCII case), up to the
// first character below 32 or the end; empty when there is none.
std::string InfoValue(const std::string& text, const std::string& key);
// The value of the first block entry "#key={", up to the first "}" or the end.
std::string InfoBlock(const std::string& text, const std::string& key);
// "url", then "url0", then url<k+1>, url<k+2>, ... (k: addresses found so far) until the
// first empty one.
std::vector<std::string> InfoFileList(const std::string& text);
TupUpgradeMethod InfoUpgradeMethod(const std::string& text);

// Dotted version numbers of four parts; > 0 when `published` is the greater.
int CompareVersionNumbers(const std::string& published, const std::string& own);
// A month/day/year text as a date; `today` for anything that is no such date.
double ParseMonthDayYear(const std::string& text, double today);
// Whether the information file publishes a newer version than the running one.
bool IsNewerVersion(const std::string& text, TupSelfUpdaterVersionControl control,
                    const std::string& versionNumber, const std::string& versionDate, double today);

// The file name of an address: every "/" read as "\", the text after the last "\" or a
// drive colon.
std::string AddressFileName(const std::string& address);
