#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include "app/CDialogRegistry.h"
#include "platform/IUserInterface.h"

// A fresh folder made the current directory while the object lives, as the
// program's workspace (its "images", "templates", ... folders).
class CWorkspace {
public:
    CWorkspace();
    ~CWorkspace();
    CWorkspace(const CWorkspace&) = delete;
    CWorkspace& operator=(const CWorkspace&) = delete;

    QString Path() const { return m_dir.path(); }
    // Creates a file (and its folders); name relative to the workspace.
    void AddFile(const QString& name, const QByteArray& contents = "x");
    void AddFolder(const QString& name);

private:
    QTemporaryDir m_dir;
    QString m_strPrevious;
};

// The control of a dialog with that object name; the test stops when it is missing.
template <typename T> T* Find(QWidget* pDialog, const char* name)
{
    T* pChild = pDialog->findChild<T*>(QString::fromLatin1(name));
    if (pChild == nullptr)
        qFatal("no control %s", name);
    return pChild;
}

// Replaces the text of a line edit by typing, as a user does.
void SetText(QWidget* pDialog, const char* name, const QString& text);
// Clicks a button or check box with the mouse.
void Click(QWidget* pDialog, const char* name);

// Runs action once on the next modal window that opens (other than except),
// from inside the event loop that shows it.
void WhenModalOpens(std::function<void(QWidget*)> action, QWidget* except = nullptr);

// Drops the actions of WhenModalOpens whose window never opened.
void CancelModalWatchers();

// The text of a message box, empty when the window is none.
QString MessageBoxText(QWidget* pWindow);

// A user interface that runs the record dialogs through the registry and
// passes a run's progress on to the open generation dialog, as the program's
// does; records message boxes (answering OK) and beeps.
class CDialogTestUserInterface : public IUserInterface {
public:
    CDialogTestUserInterface();

    int MessageBox(
        const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons) override;
    void Beep(EBeep kind) override { m_beeps.push_back(kind); }
    int DoModal(CDialogRecord& record) override;
    bool PromptSavePath(std::string&) override { return false; }
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int pos) override;
    void StepProgress() override;
    void SetStatusText(EStatusLine line, const CString& text) override;

    CDialogRegistry m_registry;
    std::vector<CString> m_messages; // caption + ": " + text
    std::vector<EBeep> m_beeps;
    int m_nUndisplayedCalls = 0; // progress calls while no generation dialog was open
};
