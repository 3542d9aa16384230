#include "generator/CMacroContext.h"

#include "generator/CPageLimitError.h"

#include <array>

#include "generator/CGenerationLog.h"

namespace {

constexpr size_t kNameBuffer = 32; // a name fills at most 31 of it

// The macros by the first letter of their names, each row ended by -1: a
// lookup compares a handful of names instead of all of them. (A letter with
// too many names fails the build.)
constexpr size_t kRowSize = 7;
constexpr auto kByFirstLetter = [] {
    std::array<std::array<int, kRowSize>, 26> rows {};
    for (auto& row : rows)
        row.fill(-1);
    for (int i = 0; i < MACRO_COUNT; ++i) {
        auto& row = rows[static_cast<size_t>(kMacroNames[static_cast<size_t>(i)].front() - 'A')];
        size_t k = 0;
        while (row[k] >= 0)
            ++k;
        row.at(k) = i;
        row.at(k + 1) = -1; // there must be room for the end mark
    }
    return rows;
}();

// The number of the macro of an upper-case name, or -1.
int FindMacro(std::string_view name)
{
    if (name.empty() || name.front() < 'A' || name.front() > 'Z')
        return -1;
    for (const int nMacro : kByFirstLetter[static_cast<size_t>(name.front() - 'A')]) {
        if (nMacro < 0)
            break;
        if (kMacroNames[static_cast<size_t>(nMacro)] == name)
            return nMacro;
    }
    return -1;
}

} // namespace

int CMacroContext::SyntaxError(std::string_view text)
{
    m_log.Add({ "Syntax error (in template file): ", text });
    return -1;
}

int CMacroContext::LookupMacro(std::string_view text, bool bRequireEquals)
{
    // The name is everything before the first "=" (all of text without one).
    const std::string_view raw = text.substr(0, text.find('='));
    if (raw.size() >= kNameBuffer)
        return SyntaxError(text);
    if (raw.size() == text.size() && bRequireEquals)
        return SyntaxError(text);
    // Upper-cased on the stack: this runs for every directive of every object.
    std::array<char, kNameBuffer> buffer;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        buffer[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const std::string_view name(buffer.data(), raw.size());
    const int nMacro = FindMacro(name);
    if (nMacro >= 0)
        return nMacro;
    m_log.Add({ "Unknown macro name (in template file) : ", name });
    return -1;
}

int CMacroContext::AssignMacro(std::string_view text)
{
    const int nMacro = LookupMacro(text, true);
    if (nMacro < 0)
        return -1;
    m_strDef[static_cast<size_t>(nMacro)].assign(text.substr(text.find('=') + 1));
    return nMacro;
}

void CMacroContext::CheckSize(size_t size) const
{
    if (size > m_nMaxOutput)
        throw CPageLimitError("the page grows too large");
}
