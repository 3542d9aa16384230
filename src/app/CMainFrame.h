#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/CCommandRouter.h"
#include "app/IFormatButtons.h"

class CCheckDock;
class CEditContents;
class CEditName;
class CFindController;
class CPagewellDoc;
class CPagewellView;
class CPreviewPane;
class CRecentFileList;
class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QSplitter;
class QToolBar;
class CView;

// The main window: lays out the tree view on the left and the title editor
// above the body editor on the right, and wires menus, accelerators, the
// toolbar and the status bar to the command route. The views are attached
// to the document in the order tree, title, body.
class CMainFrame : public QMainWindow, public ICommandTarget, public IFormatButtons {
    Q_OBJECT
public:
    static constexpr int kTreeWidth = 300;
    static constexpr int kTitleHeight = 60;

    CMainFrame(CPagewellDoc& doc, CRecentFileList* pRecentFiles, QWidget* pParent = nullptr);
    ~CMainFrame() override;

    CCommandRouter& GetRouter() { return m_router; }
    CPagewellView* GetTreeView() const { return m_pTree; }
    CEditName* GetTitleEditor() const { return m_pTitle; }
    CEditContents* GetBodyEditor() const { return m_pBody; }
    CPreviewPane* GetPreview() const { return m_pPreview; }
    QSplitter* GetOuterSplitter() const { return m_pSplitter; }
    QSplitter* GetInnerSplitter() const { return m_pSplitter2; }
    QToolBar* GetToolBar() const { return m_pToolBar; }
    CFindController& GetFind() const { return *m_pFind; }
    // A command class of its own on the frame's part of the route, asked
    // after the frame's own commands; the frame keeps it.
    void AddCommandTarget(std::unique_ptr<ICommandTarget> pTarget)
    {
        m_extraTargets.push_back(std::move(pTarget));
    }
    // The command class of that type, or nullptr.
    template <typename T> T* GetCommandTarget() const
    {
        for (const auto& pTarget : m_extraTargets) {
            if (auto* pFound = dynamic_cast<T*>(pTarget.get()))
                return pFound;
        }
        return nullptr;
    }
    CCheckDock* GetCheckDock() const { return m_pCheckDock; }
    QAction* GetAction(int nId) const;
    // The view that commands reach first: the last of the three that had the
    // focus.
    QWidget* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(QWidget* pView);

    // Sets every menu item's and button's availability and check mark from
    // the route, the recent-file entries and the caption.
    void UpdateCommandUI();
    // Runs a command through the route; false when it is unavailable.
    bool RunCommand(int nId);
    // Called before the window closes: the editors store, then a modified
    // project may be saved; false keeps the window open.
    std::function<bool()> m_canClose;

    // IFormatButtons
    void UpdateFormatButtons(uint32_t nFormat) override;

    // ICommandTarget: Origin, the toolbar and status bar switches, and the
    // pane keys.
    bool OnUpdateCommand(int nId, CCmdUI& state) override;
    void OnCommand(int nId) override;

    // The status bar's message pane.
    QString StatusMessage() const;

    // Restores the window's size, position, maximised state and splitter
    // positions from a settings file, and keeps them there when the window
    // closes.
    void UseStateFile(const QString& path);
    // Whether UseStateFile found a state to restore.
    bool HasRestoredState() const { return m_bRestored; }

signals:
    // A project file was dropped on the window.
    void fileDropped(const QString& path);

protected:
    bool event(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QAction* MakeAction(int nId, const char* pszMenuText);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateClient();
    void OnFocusChanged(QWidget* pOld, QWidget* pNow);
    void ScheduleUpdate();
    void UpdateRecentFileMenu();
    void UpdateIndicators();
    void CyclePane(int nStep);
    void SaveState() const;
    static QString DroppedProject(const QMimeData* pData);

    CPagewellDoc& m_doc;
    CRecentFileList* m_pRecentFiles;
    CCommandRouter m_router;
    CPagewellView* m_pTree = nullptr;
    CEditName* m_pTitle = nullptr;
    CEditContents* m_pBody = nullptr;
    CFindController* m_pFind = nullptr;
    std::vector<std::unique_ptr<ICommandTarget>> m_extraTargets;
    CPreviewPane* m_pPreview = nullptr;
    QSplitter* m_pSplitter = nullptr;
    QSplitter* m_pSplitter2 = nullptr;
    QToolBar* m_pToolBar = nullptr;
    CCheckDock* m_pCheckDock = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentAnchor = nullptr;
    QLabel* m_pMessage = nullptr;
    QLabel* m_pIndicators[3] = {};
    QWidget* m_pActiveView = nullptr;
    std::map<int, QAction*> m_actions;
    // The pressed state the program last gave each format button.
    std::map<int, bool> m_shownFormat;
    bool m_bUpdatePending = false;
    QString m_strStateFile;
    bool m_bRestored = false;
};
