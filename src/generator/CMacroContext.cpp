#include "generator/CMacroContext.h"

#include <array>

#include "generator/CGenerationLog.h"

namespace {
constexpr size_t kNameBuffer = 32; // a name fills at most 31 of it
}

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
    for (int i = 0; !name.empty() && i < MACRO_COUNT; ++i) {
        // The first letter rules out most names before a full comparison.
        const std::string_view known = kMacroNames[static_cast<size_t>(i)];
        if (known.front() == name.front() && known == name)
            return i;
    }
    m_log.Add({ "Unknown macro name (in template file) : ", name });
    return -1;
}

int CMacroContext::AssignMacro(std::string_view text)
{
    const int nMacro = LookupMacro(text, true);
    if (nMacro < 0)
        return -1;
    m_strDef[static_cast<size_t>(nMacro)] = CString(text.substr(text.find('=') + 1));
    return nMacro;
}
