#pragma once

#include <cstdint>

#include "generator/COutputManifest.h"
#include "model/CSiteSettings.h"
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
    // Answers the files of the destination the run wrote or found equal.
    COutputManifest OnGenerate(CPagewellDoc& doc) const;
    // The same for the live document (nothing without one).
    void OnGenerate() const;

    // The site settings the spare string holds (the defaults when it holds
    // none).
    CSiteSettings GetSiteSettings() const { return CSiteSettings::FromSpare(m_strSpare); }
    // Stores settings in the spare string. Settings equal to those it holds
    // leave it untouched, so a spare string from elsewhere stays byte for byte.
    void SetSiteSettings(const CSiteSettings& settings);

    CString m_strDestination;
    int32_t m_bLowercase = 1;
    // Remove the files the last run wrote and this one does not; not saved.
    int32_t m_bClean = 0;
    CString m_strSpare;
};
