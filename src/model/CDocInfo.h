#pragma once

#include <cstdint>

#include "model/NodeTypes.h"
#include "platform/CDialogRecord.h"
#include "platform/CString.h"

class CArchive;

// The per-object properties of a site object, embedded in every CNode; also
// the record of the "Object properties" dialog.
class CDocInfo : public CDialogRecord {
public:
    enum { IDD = 130 };

    // Takes the twelve object defaults from the live document's project
    // properties when there is one.
    CDocInfo();

    int GetDialogId() const override { return IDD; }
    void Serialize(CArchive& ar);

    int32_t m_bBannersTouched = 0; // set by a banner box click; never saved
    CString m_strBgBitmap;
    int32_t m_nExpireDays = 0;
    CString m_strIcon;
    CString m_strLineImage;
    int32_t m_bConstruction = 0;
    CString m_strTemplate; // saved, but every object renders with the project's set
    int32_t m_bUpdated = 0;
    int32_t m_bNew = 0;
    COLORREF m_clrText = 0x000000;
    COLORREF m_clrBg = 0xFFFFFF;
    COLORREF m_clrLink = 0xFF0000;
    COLORREF m_clrVLink = 0x00FF00;
};
