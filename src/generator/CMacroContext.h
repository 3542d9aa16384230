#pragma once

#include <array>
#include <string_view>

#include "generator/MacroTable.h"
#include "platform/CString.h"

class CGenerationLog;

// The record of one object's expansion through its template: the definition
// and value of every macro and the output built so far. All strings start
// empty.
class CMacroContext {
public:
    explicit CMacroContext(CGenerationLog& log)
        : m_log(log)
    { }

    // The number of the macro named at the start of text (up to an "=" or the
    // end), or -1 after a log message. Names are matched in upper case and
    // have at most 31 characters; bRequireEquals demands the "=".
    int LookupMacro(std::string_view text, bool bRequireEquals);
    // Looks text up with the "=" required and stores the text after the first
    // "=" as that macro's definition; the number, or -1.
    int AssignMacro(std::string_view text);

    std::array<CString, MACRO_COUNT> m_strDef;
    std::array<CString, MACRO_COUNT> m_strValue;
    CString m_strOutput;
    // Set when the object's template could not be opened (the output is empty).
    bool m_bTemplateMissing = false;
    // The most a text of this expansion may hold (the page's limit).
    size_t m_nMaxOutput = static_cast<size_t>(-1);
    // Throws CPageLimitError when a text of size bytes passes m_nMaxOutput.
    void CheckSize(size_t size) const;

private:
    int SyntaxError(std::string_view text);

    CGenerationLog& m_log;
};
