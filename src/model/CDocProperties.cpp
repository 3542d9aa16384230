#include "model/CDocProperties.h"

#include "platform/CArchive.h"

void CDocProperties::Serialize(CArchive& ar)
{
    // The file's order, which is not the order of declaration.
    ar.Exchange(m_strAuthor);
    ar.Exchange(m_strBgBitmap);
    ar.Exchange(m_strEmail);
    ar.Exchange(m_nExpireDays);
    ar.Exchange(m_strImage);
    ar.Exchange(m_strLineImage);
    ar.Exchange(m_bNew);
    ar.Exchange(m_bUpdated);
    ar.Exchange(m_clrText);
    ar.Exchange(m_clrBg);
    ar.Exchange(m_clrLink);
    ar.Exchange(m_clrVLink);
    ar.Exchange(m_strBullet);
    ar.Exchange(m_bConstruction);
    ar.Exchange(m_strHomeButton);
    ar.Exchange(m_strTemplate);
    ar.Exchange(m_strBackButton);
    ar.Exchange(m_strUpButton);
    ar.Exchange(m_strConstructionImage);
    ar.Exchange(m_strNewImage);
    ar.Exchange(m_strUpdatedImage);
    for (COLORREF& color : m_clrCustom)
        ar.Exchange(color);
}
