#pragma once

#include <array>
#include <cstdint>

#include "model/NodeTypes.h"
#include "platform/CDialogRecord.h"
#include "platform/CString.h"

class CArchive;

// The project properties: project-wide values and the defaults of new
// objects; also the record of the project properties dialog.
class CDocProperties : public CDialogRecord {
public:
    enum { IDD = 132 };

    int GetDialogId() const override { return IDD; }
    void Serialize(CArchive& ar);

    CString m_strAuthor = "Your name";
    CString m_strBgBitmap;
    CString m_strEmail = "you@example.com";
    int32_t m_nExpireDays = 14;
    CString m_strImage;
    CString m_strLineImage;
    int32_t m_bNew = 1;
    int32_t m_bUpdated = 0;
    int32_t m_bConstruction = 0;
    CString m_strHomeButton = "home.gif";
    CString m_strTemplate = "Default";
    CString m_strBackButton = "Back.gif";
    CString m_strBullet;
    CString m_strUpButton;
    CString m_strConstructionImage;
    CString m_strNewImage;
    CString m_strUpdatedImage;
    COLORREF m_clrText = 0x000000;
    COLORREF m_clrBg = 0xFFFFFF;
    COLORREF m_clrLink = 0xFF0000;
    COLORREF m_clrVLink = 0x00FF00;
    // The colour dialog's custom colours, kept with the project.
    std::array<COLORREF, 16> m_clrCustom = MakeDefaultCustomColors();

private:
    static constexpr std::array<COLORREF, 16> MakeDefaultCustomColors()
    {
        std::array<COLORREF, 16> colors {};
        colors.fill(0xFFFFFFFF);
        return colors;
    }
};
