#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/CCommandRouter.h"

class CDocCommands;
class CMainFrame;
class CPagewellDoc;
class CRecentFileList;
class CUndoHistory;
class IUserInterface;

// The application object: makes the document and the main window, processes
// the command line (no argument: File New; a file: File Open), and handles
// About, New, Open, the recent files and Exit.
class CPagewellApp : public QObject, public ICommandTarget {
    Q_OBJECT
public:
    CPagewellApp(IUserInterface& ui, CRecentFileList& recentFiles, QObject* pParent = nullptr);
    ~CPagewellApp() override;

    // Creates the document and the window and processes the command line
    // (an empty path: File New). False when that fails (Cancel in the
    // project properties of a new project, a file that cannot be opened):
    // the program then ends without showing its window.
    bool InitInstance(const QString& path);

    // Opens a project (File Open, a recent file, a drop, a second start);
    // the file joins the recent-file list when it opened.
    bool OpenDocumentFile(const QString& path);

    // Asks for a file name and opens it; set by tests to avoid the dialog.
    std::function<QString()> m_promptOpenPath;
    // Runs the About box; by default modally.
    std::function<void(QWidget*)> m_showAbout;

    CPagewellDoc& GetDocument() const { return *m_pDoc; }
    CUndoHistory& GetHistory() const { return *m_pHistory; }
    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

private:
    bool CanClose();

    IUserInterface& m_ui;
    CRecentFileList& m_recentFiles;
    std::unique_ptr<CPagewellDoc> m_pDoc;
    std::unique_ptr<CUndoHistory> m_pHistory;
    std::unique_ptr<CDocCommands> m_pDocCommands;
    std::unique_ptr<CMainFrame> m_pFrame;
};
