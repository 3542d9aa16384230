#include "model/CDocInfo.h"

#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"

CDocInfo::CDocInfo()
{
    if (g_pDocument == nullptr)
        return;
    const CDocProperties& props = g_pDocument->m_props;
    m_clrText = props.m_clrText;
    m_clrBg = props.m_clrBg;
    m_clrLink = props.m_clrLink;
    m_clrVLink = props.m_clrVLink;
    m_nExpireDays = props.m_nExpireDays;
    m_strBgBitmap = props.m_strBgBitmap;
    m_strIcon = props.m_strImage;
    m_strLineImage = props.m_strLineImage;
    m_bNew = props.m_bNew;
    m_bConstruction = props.m_bConstruction;
    m_strTemplate = props.m_strTemplate;
    m_bUpdated = props.m_bUpdated;
}

void CDocInfo::Serialize(CArchive& ar)
{
    ar.Exchange(m_strBgBitmap);
    ar.Exchange(m_nExpireDays);
    ar.Exchange(m_strIcon);
    ar.Exchange(m_strLineImage);
    ar.Exchange(m_bNew);
    ar.Exchange(m_clrText);
    ar.Exchange(m_clrBg);
    ar.Exchange(m_clrLink);
    ar.Exchange(m_clrVLink);
    ar.Exchange(m_strTemplate);
    ar.Exchange(m_bConstruction);
    ar.Exchange(m_bUpdated);
}
