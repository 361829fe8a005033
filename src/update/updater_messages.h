#pragma once
// The update component's texts: a string table of 25 languages with 31 messages each.
// Message n (0 to 30) of language L (1 to 25) is string number 41000 + 50 * (L - 1) + n;
// string 40999 is the product label of the download window.
#include <cstdint>
#include <string>

enum TupSelfUpdaterLanguage {
    wlAuto = 0,
    wlEnglish,
    wlRussian,
    wlGerman,
    wlFrench,
    wlSpanish,
    wlPortuguese,
    wlPortugueseBrazilian,
    wlItalian,
    wlDutch,
    wlDanish,
    wlSwedish,
    wlFinnish,
    wlEstonian,
    wlUkrainian,
    wlCzech,
    wlHungarian,
    wlRomanian,
    wlCatalan,
    wlBasque,
    wlAfrikaans,
    wlChineseTraditional,
    wlChineseSimplified,
    wlIndonesian,
    wlMalay,
    wlIcelandic,
};

inline constexpr int kUpdaterLanguages = 25;
inline constexpr int kUpdaterMessages = 31;
inline constexpr int kUpdaterProductLabel = 40999;

// A string of the table by its number; empty for a number the table does not hold.
std::string UpdaterString(int number);

// The language a Language value stands for: 1 to 25 as they are; wlAuto by the system's
// language identifier (primary language in the low 10 bits, sub-language above them).
TupSelfUpdaterLanguage ResolveUpdaterLanguage(int value, std::uint16_t systemLanguageId);

// The system's language identifier as the locale names it ("pt_BR.UTF-8" gives 0x0416);
// 0 for a name that says nothing.
std::uint16_t LanguageIdOfLocale(const std::string& localeName);

// The language of the process (English until one is chosen) and its messages.
void SetUpdaterLanguage(TupSelfUpdaterLanguage language);
TupSelfUpdaterLanguage UpdaterLanguage();
std::string UpdaterMessage(int n);
