#pragma once

#include <cstdint>

#include "platform/CDialogRecord.h"
#include "platform/CString.h"

class CArchive;

// The generation settings of a project; also the record of the "Generate HTML
// pages" dialog.
class CGenerateDlg : public CDialogRecord {
public:
    enum { IDD = 147 };

    CGenerateDlg();

    int GetDialogId() const override { return IDD; }
    // The destination and the spare string; the lowercase option is not saved.
    void Serialize(CArchive& ar);

    CString m_strDestination;
    int32_t m_bLowercase = 1;
    CString m_strSpare;
};
