#pragma once

#include "platform/IUserInterface.h"

// A user interface that shows nothing and takes every default: message boxes
// answer with their first button, dialogs confirm, a save path is refused.
// For programs that run the core without a person (fuzzers, benchmarks).
class CSilentUserInterface : public IUserInterface {
public:
    int MessageBox(const CString& /*text*/, const CString& /*caption*/, EMessageIcon /*icon*/,
        EMessageButtons buttons) override
    {
        return buttons == EMessageButtons::YesNo || buttons == EMessageButtons::YesNoCancel ? IDYES : IDOK;
    }
    void Beep(EBeep /*kind*/) override { }
    int DoModal(CDialogRecord& /*record*/) override { return IDOK; }
    bool PromptSavePath(std::string& /*path*/) override { return false; }
    void SetProgressRange(int /*lower*/, int /*upper*/) override { }
    void SetProgressPos(int /*pos*/) override { }
    void StepProgress() override { }
    void SetStatusText(EStatusLine /*line*/, const CString& /*text*/) override { }
};
