#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "generator/CRunRecord.h"

#include "platform/IUserInterface.h"

// The user interface as a generation run sees it: the caller's, except that
// a message box first lets the run settle what it did before (the page files
// written on a thread of their own report their failures first), so that
// messages come in the order of the work.
class CRunUserInterface : public IUserInterface {
public:
    CRunUserInterface(IUserInterface& ui, std::function<void()> settle)
        : m_ui(ui)
        , m_settle(std::move(settle))
    { }

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override
    {
        m_settle();
        if (m_bRecording) {
            m_messages.push_back({ text, caption, icon });
            m_bOnlyOk = m_bOnlyOk && buttons == EMessageButtons::Ok;
        }
        return m_ui.MessageBox(text, caption, icon, buttons);
    }
    // Keeps every message from now on.
    void StartRecording() { m_bRecording = true; }
    const std::vector<CRunRecord::CMessage>& GetMessages() const { return m_messages; }
    // Whether every message kept only informed (no answer could change a run).
    bool OnlyInformed() const { return m_bOnlyOk; }
    void Beep(EBeep kind) override { m_ui.Beep(kind); }
    int DoModal(CDialogRecord& record) override { return m_ui.DoModal(record); }
    bool PromptSavePath(std::string& path) override { return m_ui.PromptSavePath(path); }
    void SetProgressRange(int lower, int upper) override { m_ui.SetProgressRange(lower, upper); }
    void SetProgressPos(int pos) override { m_ui.SetProgressPos(pos); }
    void StepProgress() override { m_ui.StepProgress(); }
    void SetStatusText(EStatusLine line, const CString& text) override { m_ui.SetStatusText(line, text); }

private:
    IUserInterface& m_ui;
    std::function<void()> m_settle;
    bool m_bRecording = false;
    bool m_bOnlyOk = true;
    std::vector<CRunRecord::CMessage> m_messages;
};
