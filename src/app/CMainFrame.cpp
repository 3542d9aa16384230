#include "app/CMainFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/CCheckDock.h"
#include "app/CCommandTable.h"
#include "app/CFindController.h"
#include "app/CFindDock.h"
#include "app/CFormatButtons.h"
#include "app/CHelpCommands.h"
#include "app/CPlatformMapping.h"
#include "app/CPreviewPane.h"
#include "app/CRecentFileList.h"
#include "app/CSmallDialogs.h"
#include "app/CSvgIcon.h"
#include "app/CommandIds.h"
#include "app/QtText.h"
#include "app/Resources.h"
#include "editors/CEditContents.h"
#include "editors/CEditName.h"
#include "model/CPagewellDoc.h"
#include "tree/CPagewellView.h"
#include "tree/CTreeClipboard.h"

CMainFrame::CMainFrame(CPagewellDoc& doc, CRecentFileList* pRecentFiles, QWidget* pParent)
    : QMainWindow(pParent)
    , m_doc(doc)
    , m_pRecentFiles(pRecentFiles)
{
    InitPagewellResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(MakeSvgIcon({ QStringLiteral(":/icons/pagewell.svg") }));
    setAcceptDrops(true);
    m_router.SetTarget(CCommandRouter::Frame, this);
    // The title's "[*]" shows unsaved changes the desktop's way.
    m_doc.SetModifiedObserver([this](bool bModified) { setWindowModified(bModified); });
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateClient();
    m_pFind = new CFindController(*this, m_doc);
    AddCommandTarget(std::make_unique<CHelpCommands>(this));
    AddCommandTarget(
        std::make_unique<CTreeClipboard>(m_doc, *m_pTree, [this] { return m_pActiveView == m_pTree; }));
    addDockWidget(Qt::BottomDockWidgetArea, &m_pFind->GetDock());
    m_pFind->GetDock().hide();
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::OnFocusChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::ScheduleUpdate);
    qApp->installEventFilter(this);
    SetActiveView(m_pTree);
    UpdateFormatButtons(0);
    UpdateCommandUI();
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    m_doc.SetModifiedObserver({});
    disconnect(qApp, &QApplication::focusChanged, this, &CMainFrame::OnFocusChanged);
    // The editors may still lose the focus while the window goes.
    m_pTitle->SetFormatButtons(nullptr);
    m_pBody->SetFormatButtons(nullptr);
    m_pBody->SetPageProvider({});
    m_pPreview->SaveState();
    m_doc.RemoveView(m_pPreview);
    m_doc.RemoveView(m_pBody);
    m_doc.RemoveView(m_pTitle);
    m_doc.RemoveView(m_pTree);
}

QAction* CMainFrame::GetAction(int nId) const
{
    const auto it = m_actions.find(nId);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::MakeAction(int nId, const char* pszMenuText)
{
    if (QAction* pExisting = GetAction(nId))
        return pExisting;
    const CCommandInfo* pInfo = CCommandTable::Find(nId);
    auto* pAction = new QAction(this);
    pAction->setText(pszMenuText != nullptr ? QString::fromLatin1(pszMenuText)
                                            : QString::fromLatin1(pInfo != nullptr ? pInfo->pszName : ""));
    if (pInfo != nullptr) {
        pAction->setIconText(QString::fromLatin1(pInfo->pszName));
        if (pInfo->pszIcon != nullptr)
            pAction->setIcon(MakeSvgIcon({ QString::fromLatin1(pInfo->pszIcon) }));
    }
    pAction->setStatusTip(CCommandTable::Prompt(nId));
    pAction->setToolTip(CCommandTable::ToolTip(nId));
    pAction->setShortcuts(PlatformMapping::Accelerators(nId));
    pAction->setShortcutContext(Qt::WindowShortcut);
    pAction->setData(nId);
    pAction->setProperty("menuText", pAction->text());
    connect(pAction, &QAction::triggered, this, [this, nId] { RunCommand(nId); });
    addAction(pAction); // the accelerators work while menus and toolbar are hidden
    m_actions[nId] = pAction;
    return pAction;
}

void CMainFrame::CreateMenus()
{
    struct CItem {
        int nId; // 0: separator
        const char* pszText;
    };
    struct CMenuDef {
        const char* pszTitle;
        std::vector<CItem> items;
    };
    // Every menu and item has a mnemonic; the keys are shown by the menus
    // from the actions' shortcuts, in one style.
    const std::vector<CMenuDef> menus = {
        { "&File",
            { { ID_FILE_NEW, "&New" }, { ID_FILE_OPEN, "&Open..." }, { ID_FILE_SAVE, "&Save" },
                { ID_FILE_SAVE_AS, "Save &As..." }, { 0, nullptr }, { ID_SITE_SETTINGS, "Site Se&ttings..." },
                { ID_FILE_GENERATE, "&Generate" }, { ID_FILE_PUBLISH, "P&ublish..." },
                { ID_DOC_PROPERTIES, "&Document default properties..." }, { 0, nullptr },
                { ID_FILE_MRU_FILE1, "Recent &File" }, { 0, nullptr }, { ID_APP_EXIT, "E&xit" } } },
        { "&Edit",
            { { ID_EDIT_UNDO, "&Undo" }, { ID_EDIT_REDO, "&Redo" }, { 0, nullptr }, { ID_EDIT_CUT, "Cu&t" },
                { ID_EDIT_COPY, "&Copy" }, { ID_EDIT_PASTE, "&Paste" }, { 0, nullptr },
                { ID_EDIT_FIND, "&Find..." }, { ID_EDIT_REPEAT, "Find &Next" },
                { ID_EDIT_FIND_PREVIOUS, "Find Pre&vious" }, { ID_EDIT_REPLACE, "R&eplace..." } } },
        { "&View",
            { { ID_VIEW_TOOLBAR, "&Toolbar" }, { ID_VIEW_STATUS_BAR, "&Status Bar" },
                { ID_VIEW_PREVIEW, "&Preview" }, { 0, nullptr }, { ID_VIEW_WORDWRAP, "&WordWrap" },
                { ID_VIEW_COLORS, "&Colors" } } },
        { "&Object",
            { { ID_OBJECT_CONVERT, "&Convert" }, { ID_INSERT_PAGE, "Insert &Page" },
                { ID_INSERT_LINK, "Insert &Link" }, { ID_INSERT_PARAGRAPH, "Insert Pa&ragraph" },
                { 0, nullptr }, { ID_OBJECT_DUPLICATE, "D&uplicate" }, { ID_OBJECT_DELETE, "&Delete" },
                { 0, nullptr }, { ID_OBJECT_PROPERTIES, "Properties of the current &object..." } } },
        { "HT&ML",
            { { ID_HTML_PARAGRAPH, "&Paragraph" }, { ID_HTML_BOLD, "&Bold text" },
                { ID_HTML_ITALIC, "&Italic Text" }, { ID_HTML_TT, "&Typewriter font" }, { 0, nullptr },
                { ID_HTML_LINK, "Insert &Link" }, { ID_HTML_IMAGE, "Insert I&mage" },
                { ID_HTML_UL, "Insert &unnumbered List" }, { ID_HTML_OL, "Insert &numbered List" },
                { ID_HTML_TOC, "Insert Table &Of Contents macro" } } },
        { "Fo&rmat",
            { { ID_STYLE_H1, "Heading &1" }, { ID_STYLE_H2, "Heading &2" }, { ID_STYLE_H3, "Heading &3" },
                { ID_STYLE_H4, "Heading &4" }, { ID_STYLE_NORMAL, "&Normal text" },
                { ID_STYLE_HIDE, "&Hide the text" }, { 0, nullptr }, { ID_ALIGN_LEFT, "&Left alignment" },
                { ID_ALIGN_CENTER, "&Center alignment" }, { ID_ALIGN_RIGHT, "&Right alignment" } } },
        { "&Tools", { { ID_TOOLS_CHECK_SITE, "Check &Site" } } },
        { "&Help",
            { { ID_HELP_USER_GUIDE, "&User Guide" }, { 0, nullptr }, { ID_APP_ABOUT, "&About Pagewell..." },
                { ID_ORIGIN, "&Origin of this program" } } },
    };
    for (const CMenuDef& def : menus) {
        QMenu* pMenu = menuBar()->addMenu(QString::fromLatin1(def.pszTitle));
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        for (const CItem& item : def.items) {
            if (item.nId == 0) {
                pMenu->addSeparator();
                continue;
            }
            if (item.nId == ID_FILE_MRU_FILE1) {
                m_pFileMenu = pMenu;
                m_pRecentAnchor = pMenu->addSeparator();
                m_pRecentAnchor->setVisible(false);
                for (int i = 0; i < kRecentFileCount; ++i)
                    pMenu->addAction(MakeAction(ID_FILE_MRU_FILE1 + i, item.pszText));
                continue;
            }
            pMenu->addAction(MakeAction(item.nId, item.pszText));
        }
    }
    // Accelerators without a menu item.
    for (int nId : { ID_FILE_PRINT, ID_NEXT_PANE, ID_PREV_PANE })
        MakeAction(nId, nullptr);
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_pToolBar->setObjectName(QStringLiteral("toolbar"));
    m_pToolBar->setIconSize(QSize(16, 15));
    m_pToolBar->toggleViewAction()->setVisible(false);
    // The button that shows the buttons a narrow window cannot.
    if (auto* pMore = m_pToolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        pMore->setAccessibleName(QStringLiteral("More buttons"));
    int nCount = 0;
    const int* pButtons = CCommandTable::ToolbarButtons(nCount);
    for (int i = 0; i < nCount; ++i) {
        if (pButtons[i] == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* pAction = MakeAction(pButtons[i], nullptr);
        if (CFormatButtons::IsFormatButton(pButtons[i]))
            pAction->setCheckable(true);
        m_pToolBar->addAction(pAction);
        auto* pButton = qobject_cast<QToolButton*>(m_pToolBar->widgetForAction(pAction));
        if (pButton == nullptr)
            continue;
        pButton->setAccessibleName(pAction->iconText());
        pButton->installEventFilter(this);
        // The accessibility layer's Toggle flips the button (and its action)
        // without running anything; every command ends by setting the
        // buttons, so a state that no command set is such a toggle, and is
        // taken as a click.
        if (pAction->isCheckable()) {
            const int nId = pButtons[i];
            connect(pButton, &QToolButton::toggled, this, [this, nId, pAction] {
                QTimer::singleShot(0, this, [this, nId, pAction] {
                    const bool bShown = m_shownFormat[nId];
                    if (pAction->isChecked() == bShown)
                        return;
                    pAction->setChecked(bShown);
                    pAction->trigger();
                });
            });
        }
    }
}

void CMainFrame::CreateStatusBar()
{
    m_pMessage = new QLabel(QString::fromLatin1(kIdlePrompt), this);
    m_pMessage->setObjectName(QStringLiteral("message"));
    statusBar()->addWidget(m_pMessage, 1);
    // The message pane is the one place of every prompt, so that the
    // accessibility layer reads what the screen shows: a message shown on
    // the bar itself moves into it.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            return;
        m_pMessage->setText(message);
        statusBar()->clearMessage();
    });
    const char* const kNames[] = { "CAP", "NUM", "SCRL" };
    for (int i = 0; i < 3; ++i) {
        auto* pLabel = new QLabel(this);
        pLabel->setObjectName(QString::fromLatin1(kNames[i]));
        pLabel->setAccessibleName(QString::fromLatin1(kNames[i]));
        pLabel->setFrameShape(QFrame::Panel);
        pLabel->setFrameShadow(QFrame::Sunken);
        pLabel->setAlignment(Qt::AlignCenter);
        pLabel->setMinimumWidth(pLabel->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
        statusBar()->addPermanentWidget(pLabel);
        m_pIndicators[i] = pLabel;
    }
    UpdateIndicators();
}

void CMainFrame::CreateClient()
{
    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    m_pSplitter->setChildrenCollapsible(false);
    m_pTree = new CPagewellView(m_doc, m_pSplitter);
    m_pSplitter2 = new QSplitter(Qt::Vertical, m_pSplitter);
    m_pSplitter2->setObjectName(QStringLiteral("splitter2"));
    m_pSplitter2->setChildrenCollapsible(false);
    m_pTitle = new CEditName(m_doc, m_pSplitter2);
    m_pBody = new CEditContents(m_doc, m_pSplitter2);
    // The title row may be as low as one line of text.
    m_pTitle->setMinimumHeight(m_pTitle->fontMetrics().height() + 2 * m_pTitle->frameWidth());
    m_pSplitter->setStretchFactor(0, 0);
    m_pSplitter->setStretchFactor(1, 1);
    m_pSplitter2->setStretchFactor(0, 0);
    m_pSplitter2->setStretchFactor(1, 1);
    // The preview, on the right, shows the page of the current object.
    m_pPreview = new CPreviewPane(m_doc, m_pSplitter);
    m_pPreview->FollowEditors({ m_pTitle, m_pBody });
    m_pPreview->SetSelectItem([this](HTREEITEM hItem) { m_pTree->SelectItem(hItem); });
    m_pSplitter->setStretchFactor(2, 1);
    m_pSplitter->setSizes({ kTreeWidth, 500, 400 });
    m_pSplitter2->setSizes({ kTitleHeight, 400 });
    setCentralWidget(m_pSplitter);
    m_pCheckDock = new CCheckDock(m_doc, *m_pTree, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_pCheckDock);
    m_pCheckDock->hide();

    m_pTitle->SetFormatButtons(this);
    m_pBody->SetFormatButtons(this);
    m_pBody->SetPageProvider([this] { return m_pTree->GetCurrentPage(); });
    // Moving in the outline changes what Cut, Duplicate and the rest may do;
    // the accessibility layer reads their states without opening a menu.
    connect(
        m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this, &CMainFrame::ScheduleUpdate);
    for (QWidget* pView : std::initializer_list<QWidget*> { m_pTree, m_pTitle, m_pBody }) {
        if (auto* pEdit = qobject_cast<QPlainTextEdit*>(pView)) {
            connect(pEdit, &QPlainTextEdit::selectionChanged, this, &CMainFrame::ScheduleUpdate);
            connect(pEdit, &QPlainTextEdit::undoAvailable, this, &CMainFrame::ScheduleUpdate);
        }
    }
    // Updates reach the views in this order.
    m_doc.AddView(m_pTree);
    m_doc.AddView(m_pTitle);
    m_doc.AddView(m_pBody);
    m_doc.AddView(m_pPreview);
    m_pPreview->RestoreState();
}

void CMainFrame::SetActiveView(QWidget* pView)
{
    m_pActiveView = pView;
    ICommandTarget* pTarget = nullptr;
    if (pView == m_pTree)
        pTarget = m_pTree;
    else if (pView == m_pTitle)
        pTarget = m_pTitle;
    else if (pView == m_pBody)
        pTarget = m_pBody;
    m_router.SetTarget(CCommandRouter::View, pTarget);
}

void CMainFrame::OnFocusChanged(QWidget* /*pOld*/, QWidget* pNow)
{
    for (QWidget* p = pNow; p != nullptr; p = p->parentWidget()) {
        if (p == m_pTree || p == m_pTitle || p == m_pBody) {
            SetActiveView(p);
            break;
        }
    }
    ScheduleUpdate();
}

void CMainFrame::ScheduleUpdate()
{
    if (m_bUpdatePending)
        return;
    m_bUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_bUpdatePending = false;
        UpdateCommandUI();
    });
}

bool CMainFrame::RunCommand(int nId)
{
    const bool bRan = m_router.Execute(nId);
    UpdateCommandUI();
    return bRan;
}

void CMainFrame::UpdateCommandUI()
{
    UpdateRecentFileMenu();
    for (const auto& [nId, pAction] : m_actions) {
        const CCmdUI state = m_router.Query(nId);
        pAction->setEnabled(state.m_bEnabled);
        if (!state.m_strText.isEmpty()) {
            // The words, with the first letter as the mnemonic and the key.
            QString text = state.m_strText;
            text.replace(QLatin1Char('&'), QLatin1String("&&"));
            const QString menuText = pAction->property("menuText").toString();
            const qsizetype nTab = menuText.indexOf(QLatin1Char('\t'));
            pAction->setText(QLatin1Char('&') + text + (nTab >= 0 ? menuText.mid(nTab) : QString()));
            pAction->setProperty("textChanged", true);
        } else if (pAction->property("textChanged").toBool()) {
            pAction->setText(pAction->property("menuText").toString());
            pAction->setProperty("textChanged", false);
        }
        if (state.m_bCheckable) {
            pAction->setCheckable(true);
            pAction->setChecked(state.m_bChecked);
        }
    }
    setWindowTitle(
        QStringLiteral("%1[*] - Pagewell").arg(PathToQString(m_doc.GetTitle() + m_doc.GetTitleNote())));
    setWindowModified(m_doc.IsModified());
    UpdateIndicators();
}

void CMainFrame::UpdateRecentFileMenu()
{
    if (m_pRecentFiles == nullptr || m_pFileMenu == nullptr)
        return;
    const std::vector<std::string>& entries = m_pRecentFiles->GetEntries();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* pAction = GetAction(ID_FILE_MRU_FILE1 + i);
        if (static_cast<size_t>(i) < entries.size()) {
            QString path = PathToQString(entries[static_cast<size_t>(i)]);
            path.replace(QLatin1Char('&'), QLatin1String("&&"));
            pAction->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
            pAction->setVisible(true);
        } else {
            // An empty list shows its placeholder, disabled.
            pAction->setText(QStringLiteral("Recent &File"));
            pAction->setVisible(i == 0);
        }
    }
}

void CMainFrame::UpdateFormatButtons(uint32_t nFormat)
{
    for (int nId : CFormatButtons::kButtons) {
        m_shownFormat[nId] = CFormatButtons::IsPressed(nId, nFormat);
        if (QAction* pAction = GetAction(nId))
            pAction->setChecked(m_shownFormat[nId]);
    }
}

bool CMainFrame::OnUpdateCommand(int nId, CCmdUI& state)
{
    switch (nId) {
    case ID_ORIGIN:
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        return true;
    case ID_VIEW_TOOLBAR:
        state.SetCheck(!m_pToolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        state.SetCheck(!statusBar()->isHidden());
        return true;
    case ID_TOOLS_CHECK_SITE:
        return true;
    case ID_VIEW_PREVIEW:
        state.SetCheck(!m_pPreview->isHidden());
        return true;
    default:
        for (const auto& pTarget : m_extraTargets) {
            if (pTarget->OnUpdateCommand(nId, state))
                return true;
        }
        return m_pFind != nullptr && m_pFind->OnUpdateCommand(nId, state);
    }
}

void CMainFrame::OnCommand(int nId)
{
    switch (nId) {
    case ID_ORIGIN: {
        COriginDlg dialog(this);
        dialog.exec();
        break;
    }
    case ID_VIEW_TOOLBAR:
        m_pToolBar->setVisible(m_pToolBar->isHidden());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        break;
    case ID_TOOLS_CHECK_SITE:
        m_pCheckDock->RunCheck();
        break;
    case ID_VIEW_PREVIEW:
        m_pPreview->setVisible(m_pPreview->isHidden());
        m_pPreview->SaveState();
        break;
    case ID_NEXT_PANE:
        CyclePane(1);
        break;
    case ID_PREV_PANE:
        CyclePane(-1);
        break;
    default:
        for (const auto& pTarget : m_extraTargets) {
            CCmdUI state;
            if (pTarget->OnUpdateCommand(nId, state)) {
                pTarget->OnCommand(nId);
                return;
            }
        }
        m_pFind->OnCommand(nId);
        break;
    }
}

void CMainFrame::CyclePane(int nStep)
{
    QWidget* const panes[] = { m_pTree, m_pTitle, m_pBody };
    int nAt = 0;
    for (int i = 0; i < 3; ++i) {
        if (panes[i] == m_pActiveView)
            nAt = i;
    }
    QWidget* pNext = panes[(nAt + nStep + 3) % 3];
    pNext->setFocus(Qt::TabFocusReason);
    SetActiveView(pNext);
}

QString CMainFrame::StatusMessage() const
{
    return m_pMessage->text();
}

bool CMainFrame::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(pEvent)->tip();
        m_pMessage->setText(tip.isEmpty() ? QString::fromLatin1(kIdlePrompt) : tip);
        return true;
    }
    return QMainWindow::event(pEvent);
}

void CMainFrame::UpdateIndicators()
{
    using PlatformMapping::ELockKey;
    const ELockKey keys[] = { ELockKey::Caps, ELockKey::Num, ELockKey::Scroll };
    const char* const kNames[] = { "CAP", "NUM", "SCRL" };
    for (int i = 0; i < 3; ++i) {
        if (m_pIndicators[i] != nullptr)
            m_pIndicators[i]->setText(
                PlatformMapping::IsLockKeyOn(keys[i]) ? QString::fromLatin1(kNames[i]) : QString());
    }
}

bool CMainFrame::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::ToolTip:
        // The program's own buttons have no tool tip in the string table.
        if (auto* pButton = qobject_cast<QToolButton*>(pWatched); pButton != nullptr
            && pButton->defaultAction() != nullptr
            && CCommandTable::ToolTip(pButton->defaultAction()->data().toInt()).isEmpty())
            return true;
        break;
    case QEvent::KeyRelease:
        if (const auto* pKey = static_cast<QKeyEvent*>(pEvent); pKey->key() == Qt::Key_CapsLock
            || pKey->key() == Qt::Key_NumLock || pKey->key() == Qt::Key_ScrollLock)
            UpdateIndicators();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    if (m_canClose && !m_canClose()) {
        pEvent->ignore();
        return;
    }
    SaveState();
    pEvent->accept();
}

void CMainFrame::UseStateFile(const QString& path)
{
    m_strStateFile = path;
    const QSettings settings(path, QSettings::IniFormat);
    m_bRestored = restoreGeometry(settings.value(QStringLiteral("Window/geometry")).toByteArray());
    m_pSplitter->restoreState(settings.value(QStringLiteral("Window/splitter")).toByteArray());
    m_pSplitter2->restoreState(settings.value(QStringLiteral("Window/splitter2")).toByteArray());
}

void CMainFrame::SaveState() const
{
    if (m_strStateFile.isEmpty())
        return;
    QSettings settings(m_strStateFile, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("Window/splitter"), m_pSplitter->saveState());
    settings.setValue(QStringLiteral("Window/splitter2"), m_pSplitter2->saveState());
}

QString CMainFrame::DroppedProject(const QMimeData* pData)
{
    if (pData == nullptr || !pData->hasUrls())
        return {};
    for (const QUrl& url : pData->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".pwl"), Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return {};
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!DroppedProject(pEvent->mimeData()).isEmpty())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent)
{
    const QString path = DroppedProject(pEvent->mimeData());
    if (path.isEmpty())
        return;
    pEvent->acceptProposedAction();
    activateWindow();
    // Opened after the drop has finished, so that a message box may show.
    QTimer::singleShot(0, this, [this, path] { emit fileDropped(path); });
}
