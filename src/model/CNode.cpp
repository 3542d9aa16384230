#include "model/CNode.h"

#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"

CNode::CNode(CPagewellDoc* pDefaults)
{
    if (pDefaults != nullptr) {
        const CDocProperties& props = pDefaults->m_props;
        m_info.m_strBgBitmap = props.m_strBgBitmap;
        m_info.m_nExpireDays = props.m_nExpireDays;
        m_info.m_strIcon = props.m_strImage;
        m_info.m_strLineImage = props.m_strLineImage;
        m_info.m_bNew = props.m_bNew;
    } else {
        m_info.m_strBgBitmap.clear();
        m_info.m_nExpireDays = 0;
        m_info.m_strIcon.clear();
        m_info.m_strLineImage.clear();
        m_info.m_bNew = 0;
    }
}

void CNode::Serialize(CArchive& ar)
{
    ar.Exchange(m_strText);
    ar.Exchange(m_nType);
    ar.Exchange(m_strTitle);
    ar.Exchange(m_nTextFormat);
    ar.Exchange(m_nTitleFormat);
    ar.Exchange(m_tStamp);
    m_info.Serialize(ar);
    if (ar.IsLoading())
        ApplyAutoExpire(CClock::Now64());
}

std::optional<int64_t> CNode::GetBannerExpiry() const
{
    const int64_t days = m_info.m_nExpireDays;
    if (days == 0)
        return std::nullopt;
    // In 64 bits, so that a large number of days never wraps round into the
    // past and the rule keeps working after 2038.
    return days * 86400 + static_cast<int64_t>(m_tStamp);
}

void CNode::ApplyAutoExpire(int64_t now)
{
    if (HasExpired(now)) {
        m_info.m_bNew = 0;
        m_info.m_bConstruction = 0;
        m_info.m_bUpdated = 0;
    }
}

bool CNode::HasExpired(int64_t now) const
{
    const std::optional<int64_t> expiry = GetBannerExpiry();
    return expiry && now > *expiry;
}
