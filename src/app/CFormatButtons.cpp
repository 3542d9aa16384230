#include "app/CFormatButtons.h"

#include "app/CommandIds.h"
#include "model/NodeTypes.h"

bool CFormatButtons::IsPressed(int nCommandId, uint32_t nFormat)
{
    const uint32_t nStyle = GetStyle(nFormat);
    const uint32_t nAlign = GetAlignment(nFormat);
    switch (nCommandId) {
    case ID_STYLE_H1:
        return nStyle == STYLE_H1;
    case ID_STYLE_H2:
        return nStyle == STYLE_H2;
    case ID_STYLE_H3:
        return nStyle == STYLE_H3;
    case ID_STYLE_H4:
        return nStyle == STYLE_H4;
    case ID_STYLE_NORMAL:
        return nStyle == STYLE_NORMAL;
    case ID_STYLE_HIDE:
        return nStyle == STYLE_HIDDEN;
    case ID_ALIGN_LEFT:
        return nAlign == ALIGN_LEFT;
    case ID_ALIGN_RIGHT:
        return nAlign == ALIGN_RIGHT;
    case ID_ALIGN_CENTER:
        return nAlign == ALIGN_CENTER;
    default:
        return false;
    }
}

bool CFormatButtons::IsFormatButton(int nCommandId)
{
    for (int nId : kButtons) {
        if (nId == nCommandId)
            return true;
    }
    return false;
}
