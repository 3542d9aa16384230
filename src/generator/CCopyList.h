#pragma once

#include <string_view>
#include <vector>

#include "platform/CString.h"

// The image files a run copies beside its pages: entries "[" + path + "]",
// each path as written in the template or property, each entry once (an exact
// comparison, so the same file named in another letter case is entered again).
class CCopyList {
public:
    // Appends "[" + path + "]" unless that bracketed entry is already there.
    void AddToCopyList(std::string_view path);
    // The texts between the "[" and "]" marks, in order; empty pieces skipped.
    std::vector<CString> GetEntries() const;
    const CString& GetText() const { return m_strText; }
    void Clear() { m_strText.clear(); }

private:
    CString m_strText;
};
