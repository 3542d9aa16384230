#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/CCommandRouter.h"
#include "app/CFileWatchController.h"
#include "app/CRecoveryController.h"

class CDocCommands;
class CFileWatchController;
class CRecoveryController;
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
    // (an empty path: the recovery of an earlier run's unsaved work, if the
    // user wants it, or File New). A file that cannot be opened has said
    // why and leaves a new project. False when Cancel in the project
    // properties of a new project: the program then ends without showing
    // its window.
    bool InitInstance(const QString& path);

    // Opens a project (File Open, a recent file, a drop, a second start);
    // the file joins the recent-file list when it opened.
    bool OpenDocumentFile(const QString& path);

    // Asks for a file name and opens it; set by tests to avoid the dialog.
    std::function<QString()> m_promptOpenPath;
    // Runs the About box; by default modally.
    std::function<void(QWidget*)> m_showAbout;
    // The file that keeps the window's size, position and panes between
    // runs; none when empty.
    QString m_strWindowState;
    // The folder of the recoveries of unsaved work; none kept when empty.
    std::string m_strRecoveryFolder;
    // Whether the open project's file is followed on disk.
    bool m_bWatchFile = false;
    // Set by tests to answer the recovery and outside-change questions.
    std::function<ERecoveryChoice(const CRecoveryStore::CEntry&)> m_askRecovery;
    std::function<EOutsideChange(const QString&)> m_askOutsideChange;
    CRecoveryController* GetRecovery() const { return m_pRecovery.get(); }
    CFileWatchController* GetFileWatch() const { return m_pWatch.get(); }

    CPagewellDoc& GetDocument() const { return *m_pDoc; }
    CUndoHistory& GetHistory() const { return *m_pHistory; }
    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }

    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

private:
    bool CanClose();
    void StartFollowingTheFile();
    // Reads the project's file again, selecting the object selected before
    // where it still is.
    bool Reload();

    IUserInterface& m_ui;
    CRecentFileList& m_recentFiles;
    std::unique_ptr<CPagewellDoc> m_pDoc;
    std::unique_ptr<CUndoHistory> m_pHistory;
    std::unique_ptr<CDocCommands> m_pDocCommands;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::unique_ptr<CRecoveryController> m_pRecovery;
    std::unique_ptr<CFileWatchController> m_pWatch;
};
