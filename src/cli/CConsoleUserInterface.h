#pragma once

#include <ostream>

#include "platform/CSilentUserInterface.h"

// The command-line tool's answers: it never waits for a person. A message box
// becomes one line "pagewell-cli: text" on the error stream (while a run goes,
// "caption: text", the form its messages have always had) and takes its
// default button; a dialog keeps the record's values as if confirmed.
class CConsoleUserInterface : public CSilentUserInterface {
public:
    explicit CConsoleUserInterface(std::ostream& err)
        : m_err(err)
    { }

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override;

    int GetMessageCount() const { return m_nMessages; }
    // Whether messages name their caption (a run's) or the tool (the tool's own).
    void SetRunMessages(bool bRun) { m_bRunMessages = bRun; }

private:
    std::ostream& m_err;
    int m_nMessages = 0;
    bool m_bRunMessages = false;
};
