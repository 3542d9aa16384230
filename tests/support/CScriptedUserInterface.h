#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/IUserInterface.h"

// A user interface for tests: records every question the core asks and
// answers from queues. An empty queue answers with the first button (IDOK or
// IDYES) and confirms dialogs.
class CScriptedUserInterface : public IUserInterface {
public:
    struct CMessage {
        CString strText;
        CString strCaption;
        EMessageIcon icon;
        EMessageButtons buttons;
    };

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override;
    void Beep(EBeep kind) override { m_beeps.push_back(kind); }
    int DoModal(CDialogRecord& record) override;
    bool PromptSavePath(std::string& path) override;
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int pos) override;
    void StepProgress() override
    {
        ++m_nProgressPos;
        ++m_nSteps;
    }
    void SetStatusText(EStatusLine line, const CString& text) override;

    std::deque<int> m_messageAnswers;
    std::deque<int> m_dialogAnswers;
    // Runs on a dialog's record before it is answered, as a user's edits.
    std::function<void(CDialogRecord&)> m_onDialog;
    std::deque<std::string> m_savePaths; // an empty queue cancels

    std::vector<CMessage> m_messages;
    std::vector<int> m_dialogs; // dialog ids, in order
    std::vector<EBeep> m_beeps;
    int m_nProgressLower = 0;
    int m_nProgressUpper = 0;
    int m_nProgressPos = 0;
    int m_nSteps = 0;
    std::vector<std::pair<EStatusLine, CString>> m_statusTexts;
};
