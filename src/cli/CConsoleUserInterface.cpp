#include "cli/CConsoleUserInterface.h"

#include "platform/CCodePage.h"

int CConsoleUserInterface::MessageBox(
    const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons)
{
    ++m_nMessages;
    m_err << (m_bRunMessages ? CCodePage::ToUtf8(caption) : std::string("pagewell-cli")) << ": "
          << CCodePage::ToUtf8(text) << '\n';
    m_err.flush();
    return CSilentUserInterface::MessageBox(text, caption, icon, buttons);
}
