#include "model/CLanguageTag.h"

#include <algorithm>
#include <vector>

namespace {

bool IsAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllOf(std::string_view text, bool (*test)(char))
{
    return std::all_of(text.begin(), text.end(), test);
}

bool IsAlnum(char c)
{
    return IsAlpha(c) || IsDigit(c);
}

std::vector<std::string_view> Split(std::string_view tag)
{
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t dash = tag.find('-', start);
        parts.push_back(tag.substr(start, dash - start));
        if (dash == std::string_view::npos)
            return parts;
        start = dash + 1;
    }
}

bool IsLength(std::string_view part, size_t lowest, size_t highest)
{
    return part.size() >= lowest && part.size() <= highest;
}

// Private use: "x" and one or more subtags of 1 to 8 letters or digits.
bool IsPrivateUse(const std::vector<std::string_view>& parts, size_t i)
{
    if (i + 1 >= parts.size())
        return false;
    for (++i; i < parts.size(); ++i) {
        if (!IsLength(parts[i], 1, 8) || !AllOf(parts[i], IsAlnum))
            return false;
    }
    return true;
}

// Variants, extensions and private use after the region, from part i on.
bool IsTail(const std::vector<std::string_view>& parts, size_t i)
{
    while (i < parts.size()) {
        const std::string_view part = parts[i];
        if (!AllOf(part, IsAlnum))
            return false;
        if (part.size() == 1) {
            if (part == "x" || part == "X")
                return IsPrivateUse(parts, i);
            // An extension: a singleton and at least one subtag of 2 to 8.
            size_t n = 0;
            for (++i; i < parts.size() && IsLength(parts[i], 2, 8) && AllOf(parts[i], IsAlnum); ++i)
                ++n;
            if (n == 0)
                return false;
            continue;
        }
        // A variant: 5 to 8 characters, or 4 starting with a digit.
        if (!IsLength(part, 5, 8) && !(part.size() == 4 && IsDigit(part[0])))
            return false;
        ++i;
    }
    return true;
}

} // namespace

bool CLanguageTag::IsValid(std::string_view tag)
{
    const std::vector<std::string_view> parts = Split(tag);
    if (parts[0] == "x" || parts[0] == "X")
        return IsPrivateUse(parts, 0);
    // The language: 2 or 3 letters (maybe with extended subtags of 3), or 4
    // to 8 letters for a registered one.
    if (!IsLength(parts[0], 2, 8) || !AllOf(parts[0], IsAlpha))
        return false;
    size_t i = 1;
    for (int extended = 0; parts[0].size() <= 3 && extended < 3 && i < parts.size() && parts[i].size() == 3
         && AllOf(parts[i], IsAlpha);
         ++extended)
        ++i;
    if (i < parts.size() && parts[i].size() == 4 && AllOf(parts[i], IsAlpha))
        ++i; // script
    if (i < parts.size()
        && ((parts[i].size() == 2 && AllOf(parts[i], IsAlpha))
            || (parts[i].size() == 3 && AllOf(parts[i], IsDigit))))
        ++i; // region
    return IsTail(parts, i);
}

std::string CLanguageTag::Explain(std::string_view tag, std::string_view label)
{
    if (IsValid(tag))
        return {};
    std::string message = std::string(label) + ": '" + std::string(tag) + "' is not a language tag";
    const bool bWords = tag.find(' ') != std::string_view::npos || tag.find('(') != std::string_view::npos;
    if (bWords)
        message += "; write the language as a code, not in words";
    else if (tag.find('_') != std::string_view::npos)
        message += "; subtags are joined by '-', not '_'";
    return message + ". Examples: en, en-GB, de-CH, zh-Hant-TW.";
}

std::string CLanguageTag::DictionaryName(std::string_view tag)
{
    const std::vector<std::string_view> parts = Split(tag);
    std::string name;
    for (const char c : parts[0])
        name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].size() == 2 && AllOf(parts[i], IsAlpha)) {
            name += '_';
            for (const char c : parts[i])
                name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            break;
        }
    }
    return name;
}
