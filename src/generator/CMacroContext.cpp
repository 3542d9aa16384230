#include "generator/CMacroContext.h"

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
    CString name;
    size_t pos = 0;
    for (; pos < text.size() && text[pos] != '='; ++pos) {
        const char c = text[pos];
        name += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (name.size() >= kNameBuffer)
            return SyntaxError(text);
    }
    if (pos == text.size() && bRequireEquals)
        return SyntaxError(text);
    for (int i = 0; i < MACRO_COUNT; ++i) {
        if (kMacroNames[static_cast<size_t>(i)] == name)
            return i;
    }
    m_log.Add("Unknown macro name (in template file) : " + name);
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
