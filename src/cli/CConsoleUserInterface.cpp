#include "cli/CConsoleUserInterface.h"

#include "platform/CCodePage.h"

int CConsoleUserInterface::MessageBox(
    const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons)
{
    ++m_nMessages;
    m_err << CCodePage::ToUtf8(caption) << ": " << CCodePage::ToUtf8(text) << '\n';
    m_err.flush();
    return CSilentUserInterface::MessageBox(text, caption, icon, buttons);
}
