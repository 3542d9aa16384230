#pragma once

#include <cstdint>

#include "model/CDocInfo.h"
#include "platform/CString.h"

class CArchive;
class CPagewellDoc;

// One site object: a page, a paragraph or a link. Its place in the site and
// its tag are held by the site tree item that owns it.
class CNode {
public:
    // pDefaults given (an inserted object): the object takes every default of
    // the project. Null (the root page, a loaded object): background, expire
    // days, icon, line image and New are cleared.
    explicit CNode(CPagewellDoc* pDefaults);

    // Writes or reads the object's fields, then its properties. Loading applies
    // the banner auto-expire rule.
    void Serialize(CArchive& ar);

    // Clears the three banner flags when the expiry time has passed.
    void ApplyAutoExpire(int64_t now);
    // Whether the banners' expiry time has passed at now (never without
    // expire days).
    bool HasExpired(int64_t now) const;

    CString m_strText;
    CString m_strTitle = "Untitled";
    CDocInfo m_info;
    uint32_t m_nTextFormat = 0;
    uint32_t m_nTitleFormat = 0;
    uint32_t m_nType = NODE_PAGE;
    int32_t m_tStamp = 0;
};

// The title of a new link: its second line starts the URL.
inline constexpr const char* kNewLinkTitle = "Untitled\r\nhttp://";
