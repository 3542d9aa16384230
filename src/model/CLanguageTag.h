#pragma once

#include <string>
#include <string_view>

// A language tag as the web knows it (BCP 47): "en", "de-CH", "zh-Hant-TW",
// "sr-Latn-RS", "es-419", "x-klingon". Only the form is checked, not whether
// a registry lists the subtags.
class CLanguageTag {
public:
    static bool IsValid(std::string_view tag);
    // Why text is refused, in the user's words, naming the field as label
    // says it; empty for a valid tag.
    static std::string Explain(std::string_view tag, std::string_view label);
    // The name of a spelling dictionary for the tag: "en-GB" -> "en_GB",
    // "de" -> "de"; the script and later subtags are left out.
    static std::string DictionaryName(std::string_view tag);
};
