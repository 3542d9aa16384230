#pragma once

#include "model/CSiteSettings.h"
#include "platform/CString.h"

class CSiteNames;

// The table of contents of the whole site: nested lists of every object in
// tree order, each entry a reference to the object with its title.
class CContentsWriter {
public:
    // Modern markup writes the lists in lower case.
    explicit CContentsWriter(const CSiteNames& names, EMarkup markup = EMarkup::Classic)
        : m_names(names)
        , m_markup(markup)
    { }

    // Appends the table to out; always succeeds.
    bool WriteContents(CString& out) const;

private:
    const CSiteNames& m_names;
    EMarkup m_markup;
};
