#pragma once

#include <string_view>

#include "platform/CString.h"

class CContentsWriter;

// The conversion every body text and title undergoes on its way into a page:
// the URL of a link cut off when asked, CRs dropped, and the table-of-contents
// macro "[$i]" expanded.
class CTextPreparer {
public:
    // pContents writes the table of contents; null leaves the macro out.
    explicit CTextPreparer(const CContentsWriter* pContents)
        : m_pContents(pContents)
    { }

    CString PrepareText(std::string_view text, bool bCutLastWord, bool bExpandContents) const;

    // The first two steps alone: cut back to the last blank, CR or LF (which
    // stays) when asked, then leave out every CR.
    static CString CutAndStrip(std::string_view text, bool bCutLastWord);
    // What modern markup calls a link object by: the first line of the title
    // without the URL, without the line end or blanks around it; the URL
    // when that leaves nothing.
    CString PrepareLinkName(std::string_view title) const;

private:
    // "[$$" gives "[$", "[$i]" or "[$I]" the table of contents, any other
    // "[$" is dropped.
    CString ExpandContents(std::string_view text) const;

    const CContentsWriter* m_pContents;
};
