#pragma once
// The language of the windows. The Japanese texts in the code are the source texts and
// what the program shows without a catalogue; a catalogue compiled into the program
// (":/i18n/vorn_<language>.qm") replaces them. The language comes from --language, else
// from the ini key [App] Language, which the program only reads: it is written by hand.
#include <string>

class ProfileStore;

inline constexpr const char* kLanguageSection = "App";
inline constexpr const char* kLanguageKey = "Language";

// --language when given, else [App] Language; "" for the source texts.
std::string chosenLanguage(const std::string& option, const ProfileStore& store);

// Installs the catalogue of `language` into the running application, replacing one
// installed before. "" and "ja" are the source texts: nothing is installed. Returns false,
// with a line on standard error, when no catalogue of that language exists.
bool installLanguage(const std::string& language);
