#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "platform/CString.h"

// The log of a generation run: one line per message, each ending in CR LF.
class CGenerationLog {
public:
    void Add(std::string_view line);
    // One line made of the parts in order, built in place.
    void Add(std::initializer_list<std::string_view> parts);
    // Makes room for about that many bytes, so that a long run's log is not
    // copied again and again as it grows.
    void Reserve(size_t size) { m_strText.reserve(size); }
    const CString& GetText() const { return m_strText; }
    void Clear() { m_strText.clear(); }
    // The whole log at once (lines ending in CR LF), as a record kept it.
    void SetText(CString text) { m_strText = std::move(text); }
    // Takes the whole log out (to be set back), sparing a copy of it.
    CString TakeText() { return std::move(m_strText); }
    // Whether a line of the log begins with prefix.
    bool HasLineStarting(std::string_view prefix) const { return HasLineStarting(m_strText, prefix); }
    // Whether a line (ended by CR LF) of a log text begins with prefix.
    static bool HasLineStarting(std::string_view text, std::string_view prefix);

private:
    CString m_strText;
};
