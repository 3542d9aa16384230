#pragma once

#include "platform/CString.h"

class CSiteNames;

// The table of contents of the whole site: nested lists of every object in
// tree order, each entry a reference to the object with its title.
class CContentsWriter {
public:
    explicit CContentsWriter(const CSiteNames& names)
        : m_names(names)
    { }

    // Appends the table to out; always succeeds.
    bool WriteContents(CString& out) const;

private:
    const CSiteNames& m_names;
};
