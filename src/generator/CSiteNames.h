#pragma once

#include <string_view>

#include "model/CTreeItem.h"
#include "platform/CString.h"

// The names a generated site gives its objects: tags (file name bases and
// anchors), image base names and the references between pages.
class CSiteNames {
public:
    // hRoot: the home page's item; bLowercase: the run's lowercase option;
    // pageExtension: what page file names end with (the extension setting).
    CSiteNames(HTREEITEM hRoot, bool bLowercase, std::string_view pageExtension = ".htm")
        : m_hRoot(hRoot)
        , m_bLowercase(bLowercase)
        , m_strExtension(pageExtension)
    { }

    // A reference and the raw title of the object it leads to.
    struct CRef {
        CString strRef;
        CString strName;
    };

    HTREEITEM GetRootItem() const { return m_hRoot; }
    bool IsLowercase() const { return m_bLowercase; }

    const CString& GetPageExtension() const { return m_strExtension; }

    // The item's label, lowered with the code page's letters when lowercase is set.
    CString GetTag(HTREEITEM hItem) const;
    // The file a page with this tag is written to: the tag and the extension.
    CString GetPageFile(std::string_view tag) const { return CString(tag) + m_strExtension; }
    // The part of path after its last separator, lowered (ASCII letters only)
    // when lowercase is set.
    CString GetBaseName(std::string_view path) const;
    // The nearest item at or above hItem whose object is a page, or null.
    static HTREEITEM GetPageItem(HTREEITEM hItem);
    // The page file of the item's page + "#" + the item's tag.
    CString GetReference(HTREEITEM hItem) const;

    CRef GetHomeRef() const;
    CRef GetParentRef(HTREEITEM hItem) const;
    CRef GetUpRef(HTREEITEM hItem) const;

private:
    // GetTag of an item that may be null (an odd tree without a page above).
    CString GetTagOrEmpty(HTREEITEM hItem) const;
    static CString GetTitle(HTREEITEM hItem);

    HTREEITEM m_hRoot;
    bool m_bLowercase;
    CString m_strExtension;
};
