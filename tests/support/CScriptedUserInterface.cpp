#include "support/CScriptedUserInterface.h"

#include "platform/CDialogRecord.h"

namespace {
int Take(std::deque<int>& queue, int fallback)
{
    if (queue.empty())
        return fallback;
    const int answer = queue.front();
    queue.pop_front();
    return answer;
}
} // namespace

int CScriptedUserInterface::MessageBox(
    const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons)
{
    m_messages.push_back({ text, caption, icon, buttons });
    const bool yesNo = buttons == EMessageButtons::YesNo || buttons == EMessageButtons::YesNoCancel;
    return Take(m_messageAnswers, yesNo ? IDYES : IDOK);
}

int CScriptedUserInterface::DoModal(CDialogRecord& record)
{
    m_dialogs.push_back(record.GetDialogId());
    if (m_onDialog)
        m_onDialog(record);
    return Take(m_dialogAnswers, IDOK);
}

bool CScriptedUserInterface::PromptSavePath(std::string& path)
{
    if (m_savePaths.empty())
        return false;
    path = m_savePaths.front();
    m_savePaths.pop_front();
    return true;
}

void CScriptedUserInterface::SetProgressRange(int lower, int upper)
{
    m_nProgressLower = lower;
    m_nProgressUpper = upper;
}

void CScriptedUserInterface::SetProgressPos(int pos)
{
    m_nProgressPos = pos;
}

void CScriptedUserInterface::SetStatusText(EStatusLine line, const CString& text)
{
    m_statusTexts.emplace_back(line, text);
}
