#pragma once
// The text rules every layer shares. Names, paths and patterns are byte strings; the
// case-insensitive rules fold the ASCII letters A-Z alone, so every other byte (the
// UTF-8 of a Chinese name included) compares as it is.
//
// Places that knowingly do otherwise (they still use these rules, with a twist):
// - the POSIX folder listing orders names by CompareText and breaks a tie by plain byte
//   order, so "a" and "A" keep one stable order (platform::posix::PosixFileSystem);
// - the registry and the version information split their paths at "\" alone, since a key
//   or block name may hold "/" (platform::HiveRegistry, platform::queryVersionValue: SplitPath
//   with "\\" as the one separator);
// - the registry reads its file's lines at LF alone, dropping the CR before it, so a lone
//   CR inside a value stays in the value (HiveRegistry::load).
#include <string>
#include <string_view>
#include <vector>

inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
std::string AsciiUpper(std::string s);

// Equal without regard to ASCII letter case.
bool SameText(const std::string& a, const std::string& b);
// < 0, 0 or > 0: byte by byte (unsigned) after folding ASCII letters to upper case; a
// text that is the beginning of the other goes first.
int CompareText(std::string_view a, std::string_view b);
// `text` holds `word` (the caller folds both when case must not count).
inline bool Contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// Blanks and control characters off both ends, as the classic Trim does.
std::string Trim(const std::string& s);

// The parts of a path between its separators, without empty ones ("\a\\b\" gives a, b).
std::vector<std::string> SplitPath(const std::string& path, const char* separators = "\\/");

// Splits text at CR LF, LF or CR; a last line without its end still counts, and an empty
// text has no lines.
std::vector<std::string> SplitLines(const std::string& text);
// Each line followed by CR LF, the last one too.
std::string JoinLines(const std::vector<std::string>& lines);
