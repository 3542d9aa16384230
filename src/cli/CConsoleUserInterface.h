#pragma once

#include <ostream>

#include "platform/IUserInterface.h"

// The command-line tool's answers: it never waits for a person. A message box
// becomes one line "caption: text" on the error stream and takes its default
// button; a dialog keeps the record's values as if confirmed.
class CConsoleUserInterface : public IUserInterface {
public:
    explicit CConsoleUserInterface(std::ostream& err)
        : m_err(err)
    { }

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override;
    void Beep(EBeep /*kind*/) override { }
    int DoModal(CDialogRecord& /*record*/) override { return IDOK; }
    bool PromptSavePath(std::string& /*path*/) override { return false; }
    void SetProgressRange(int /*lower*/, int /*upper*/) override { }
    void SetProgressPos(int /*pos*/) override { }
    void StepProgress() override { }
    void SetStatusText(EStatusLine /*line*/, const CString& /*text*/) override { }

    int GetMessageCount() const { return m_nMessages; }

private:
    std::ostream& m_err;
    int m_nMessages = 0;
};
