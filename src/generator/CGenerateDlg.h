#pragma once

#include <cstdint>

#include "platform/CDialogRecord.h"
#include "platform/CString.h"

class CArchive;
class CPagewellDoc;

// The generation settings of a project; also the record of the "Generate HTML
// pages" dialog.
class CGenerateDlg : public CDialogRecord {
public:
    enum { IDD = 147 };

    CGenerateDlg();

    int GetDialogId() const override { return IDD; }
    // The destination and the spare string; the lowercase option is not saved.
    void Serialize(CArchive& ar);

    // The Generate button: generates the site of doc with these settings,
    // reporting through the document's user interface and file system. The
    // resource folders fall back to the installed default workspace.
    void OnGenerate(CPagewellDoc& doc) const;
    // The same for the live document (nothing without one).
    void OnGenerate() const;

    CString m_strDestination;
    int32_t m_bLowercase = 1;
    CString m_strSpare;
};
