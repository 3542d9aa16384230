#include "app/CPagewellApp.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

#include "app/CDocCommands.h"
#include "app/CFindController.h"
#include "app/CMainFrame.h"
#include "app/CRecentFileList.h"
#include "app/CSmallDialogs.h"
#include "app/CommandIds.h"
#include "app/QtText.h"
#include "editors/CEditContents.h"
#include "editors/CEditName.h"
#include "model/CPagewellDoc.h"
#include "platform/CView.h"
#include "tree/CPagewellView.h"
#include "undo/CReplaceStep.h"
#include "undo/CUndoHistory.h"

CPagewellApp::CPagewellApp(IUserInterface& ui, CRecentFileList& recentFiles, QObject* pParent)
    : QObject(pParent)
    , m_ui(ui)
    , m_recentFiles(recentFiles)
{ }

CPagewellApp::~CPagewellApp()
{
    // Nothing is recorded while the window goes; the window and its views go
    // before the document they are attached to.
    if (m_pDoc != nullptr)
        m_pDoc->m_pHistory = nullptr;
    m_pWatch.reset();
    m_pRecovery.reset();
    m_pHistory.reset();
    m_pFrame.reset();
    m_pDocCommands.reset();
    m_pDoc.reset();
}

bool CPagewellApp::InitInstance(const QString& path)
{
    m_pDoc = std::make_unique<CPagewellDoc>(m_ui);
    m_pHistory = std::make_unique<CUndoHistory>(*m_pDoc);
    m_pDoc->m_pHistory = m_pHistory.get();
    m_pDocCommands = std::make_unique<CDocCommands>(*m_pDoc, m_pHistory.get());
    m_pDocCommands->m_onSaved = [this](const std::string& saved) { m_recentFiles.Add(saved); };
    m_pFrame = std::make_unique<CMainFrame>(*m_pDoc, &m_recentFiles);
    if (!m_strWindowState.isEmpty())
        m_pFrame->UseStateFile(m_strWindowState);
    CCommandRouter& router = m_pFrame->GetRouter();
    router.SetTarget(CCommandRouter::Document, m_pDocCommands.get());
    router.SetTarget(CCommandRouter::Application, this);
    m_pFrame->m_canClose = [this] { return CanClose(); };
    m_pHistory->GetContext().SetSelection(m_pFrame->GetTreeView());
    // A replacement is one step, however many texts it changed.
    m_pFrame->GetFind().m_recordChanges
        = [this](const std::vector<CTextChange>& changes, const QString& name) {
              m_pHistory->Push(new CReplaceStep(m_pHistory->GetContext(), name, changes));
          };
    // The Undo and Redo items name the step, and their keys work at once.
    connect(&m_pHistory->GetStack(), &QUndoStack::indexChanged, m_pFrame.get(), &CMainFrame::UpdateCommandUI);
    connect(m_pFrame.get(), &CMainFrame::fileDropped, this,
        [this](const QString& dropped) { OpenDocumentFile(dropped); });

    StartFollowingTheFile();

    bool bOk = false;
    if (path.isEmpty()) {
        bOk = (m_pRecovery != nullptr && m_pRecovery->OfferAtStart({})) || m_pDoc->DoFileNew();
    } else if (!(bOk = OpenDocumentFile(path))) {
        // The file said why it did not open; the window stays, with a new
        // project (no question asked: the user asked for a file).
        m_pDoc->m_bAskNewProperties = false;
        bOk = m_pDoc->DoFileNew();
        m_pDoc->m_bAskNewProperties = true;
    }
    m_pFrame->UpdateCommandUI();
    return bOk;
}

void CPagewellApp::StartFollowingTheFile()
{
    if (!m_strRecoveryFolder.empty()) {
        m_pRecovery = std::make_unique<CRecoveryController>(*m_pDoc, m_strRecoveryFolder);
        m_pRecovery->m_storeEditors = [this] {
            m_pFrame->GetTitleEditor()->Store();
            m_pFrame->GetBodyEditor()->Store();
        };
        m_pRecovery->m_openProject = [this](const std::string& project) {
            const bool bOpened = m_pDoc->DoFileOpen(project);
            if (bOpened)
                m_recentFiles.Add(project);
            return bOpened;
        };
        if (m_askRecovery)
            m_pRecovery->m_ask = m_askRecovery;
    }
    if (m_bWatchFile) {
        m_pWatch = std::make_unique<CFileWatchController>(*m_pDoc, *m_pFrame->statusBar());
        m_pWatch->m_reload = [this] { return Reload(); };
        if (m_askOutsideChange)
            m_pWatch->m_ask = m_askOutsideChange;
    }
}

bool CPagewellApp::Reload()
{
    // The selected object is known by its tags from the top.
    std::vector<CString> tags;
    for (HTREEITEM h = m_pDoc->GetCurrentItem(); h != nullptr; h = CSiteTree::GetParentItem(h))
        tags.insert(tags.begin(), CSiteTree::GetItemText(h));
    if (!m_pDoc->DoFileOpen(m_pDoc->GetPathName()))
        return false;
    HTREEITEM hFound = nullptr;
    HTREEITEM hLevel = m_pDoc->m_tree.GetRootItem();
    for (const CString& tag : tags) {
        while (hLevel != nullptr && CSiteTree::GetItemText(hLevel) != tag)
            hLevel = CSiteTree::GetNextSiblingItem(hLevel);
        if (hLevel == nullptr)
            break;
        hFound = hLevel;
        hLevel = CSiteTree::GetChildItem(hLevel);
    }
    if (hFound != nullptr && tags.size() > 0 && CSiteTree::GetItemText(hFound) == tags.back())
        m_pFrame->GetTreeView()->SelectItem(hFound);
    m_pFrame->UpdateCommandUI();
    return true;
}

bool CPagewellApp::OpenDocumentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (m_pFrame != nullptr && m_pFrame->isVisible()) {
        m_pFrame->raise();
        m_pFrame->activateWindow();
    }
    // Nothing typed is lost by a "No" to saving either: it reaches the object
    // first, and a Yes writes it.
    m_pDoc->UpdateAllViews(nullptr, HINT_STORE);
    const bool bOk = m_pDoc->DoFileOpen(PathFromQString(absolute));
    if (bOk) {
        m_recentFiles.Add(PathFromQString(absolute));
        if (m_pRecovery != nullptr)
            m_pRecovery->OfferFor(PathFromQString(absolute));
    }
    if (m_pFrame != nullptr)
        m_pFrame->UpdateCommandUI();
    return bOk;
}

bool CPagewellApp::CanClose()
{
    m_pDoc->UpdateAllViews(nullptr, HINT_STORE);
    if (!m_pDoc->SaveModified())
        return false;
    if (m_pRecovery != nullptr)
        m_pRecovery->OnClosing();
    return true;
}

bool CPagewellApp::OnUpdateCommand(int nId, CCmdUI& state)
{
    if (nId >= ID_FILE_MRU_FILE1 && nId < ID_FILE_MRU_FILE1 + kRecentFileCount) {
        state.Enable(static_cast<size_t>(nId - ID_FILE_MRU_FILE1) < m_recentFiles.GetEntries().size());
        return true;
    }
    switch (nId) {
    case ID_APP_ABOUT:
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_APP_EXIT:
        return true;
    default:
        return false;
    }
}

void CPagewellApp::OnCommand(int nId)
{
    if (nId >= ID_FILE_MRU_FILE1 && nId < ID_FILE_MRU_FILE1 + kRecentFileCount) {
        const size_t nIndex = static_cast<size_t>(nId - ID_FILE_MRU_FILE1);
        if (nIndex >= m_recentFiles.GetEntries().size())
            return;
        const std::string path = m_recentFiles.GetEntries()[nIndex];
        // A file that is gone leaves the list (a cancelled save question
        // does not).
        if (!OpenDocumentFile(PathToQString(path)) && !QFileInfo(PathToQString(path)).isReadable()) {
            const auto& entries = m_recentFiles.GetEntries();
            for (size_t i = 0; i < entries.size(); ++i) {
                if (entries[i] == path) {
                    m_recentFiles.Remove(i);
                    break;
                }
            }
        }
        return;
    }
    switch (nId) {
    case ID_APP_ABOUT:
        if (m_showAbout) {
            m_showAbout(m_pFrame.get());
        } else {
            CAboutDlg dialog(m_pFrame.get());
            dialog.exec();
        }
        break;
    case ID_FILE_NEW:
        m_pDoc->UpdateAllViews(nullptr, HINT_STORE);
        m_pDoc->DoFileNew();
        break;
    case ID_FILE_OPEN: {
        const QString path = m_promptOpenPath
            ? m_promptOpenPath()
            : QFileDialog::getOpenFileName(m_pFrame.get(), QStringLiteral("Open"), QString(),
                QStringLiteral("Pagewell Projects (*.pwl *.json);;All Files (*)"));
        if (!path.isEmpty())
            OpenDocumentFile(path);
        break;
    }
    case ID_APP_EXIT:
        m_pFrame->close();
        break;
    default:
        break;
    }
}
