#include "cli/CConsoleUserInterface.h"

#include "platform/CCodePage.h"

int CConsoleUserInterface::MessageBox(
    const CString& text, const CString& caption, EMessageIcon /*icon*/, EMessageButtons buttons)
{
    ++m_nMessages;
    m_err << CCodePage::ToUtf8(caption) << ": " << CCodePage::ToUtf8(text) << '\n';
    m_err.flush();
    switch (buttons) {
    case EMessageButtons::YesNo:
    case EMessageButtons::YesNoCancel:
        return IDYES;
    case EMessageButtons::Ok:
    case EMessageButtons::OkCancel:
        break;
    }
    return IDOK;
}
