#pragma once

#include <cstdint>
#include <optional>

#include "model/CDocInfo.h"
#include "platform/CString.h"

class CArchive;
class CPagewellDoc;

// The two texts of an object, each with its formatting word.
enum class ETextField { Text, Title };

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
    // The last moment (seconds since 1970) at which the banner flags survive
    // a load; none when they never expire (expire days 0).
    std::optional<int64_t> GetBannerExpiry() const;
    // Whether the banners' expiry time has passed at now (never without
    // expire days).
    bool HasExpired(int64_t now) const;

    CString& TextOf(ETextField field) { return field == ETextField::Text ? m_strText : m_strTitle; }
    uint32_t& FormatOf(ETextField field)
    {
        return field == ETextField::Text ? m_nTextFormat : m_nTitleFormat;
    }

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
