#pragma once

#include <QPointer>
#include <QWidget>

#include "app/CDialogRegistry.h"
#include "platform/IUserInterface.h"

// The core's questions to the user, answered with Qt: message boxes, beeps,
// the record dialogs through the dialog registry, the Save As file dialog,
// and the progress of a generation run (passed on to the open generation
// dialog; without one, the status lines show in the main window's status bar).
class CQtUserInterface : public IUserInterface {
public:
    explicit CQtUserInterface(CDialogRegistry& registry);

    // The window that dialogs and message boxes belong to.
    void SetParentWidget(QWidget* pParent) { m_pParent = pParent; }
    QWidget* GetParentWidget() const { return m_pParent; }

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override;
    void Beep(EBeep kind) override;
    int DoModal(CDialogRecord& record) override;
    bool PromptSavePath(std::string& path) override;
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int pos) override;
    void StepProgress() override;
    void SetStatusText(EStatusLine line, const CString& text) override;

private:
    CDialogRegistry& m_registry;
    QPointer<QWidget> m_pParent;
};
