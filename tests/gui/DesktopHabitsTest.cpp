// The program as a desktop program, over its real dialogs: every command on
// the keyboard, toolbar buttons and names as the accessibility layer sees
// them, the pictures of a drop while its dialog is open, the window
// remembered between runs, and one window per graphical session.
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <set>

#include "GuiFixture.h"
#include "app/CDialogRegistry.h"
#include "app/CPlatformMapping.h"
#include "app/CQtUserInterface.h"
#include "dialogs/RecordDialogs.h"
#include "tree/CSiteTreeModel.h"
#include "tree/CTreeDialogs.h"

namespace {

// Runs keys once the next modal dialog has opened and has the focus.
void WhenDialogOpens(std::function<void(QWidget*)> action)
{
    auto* pTimer = new QTimer;
    pTimer->setInterval(20);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, action] {
        QWidget* pDialog = QApplication::activeModalWidget();
        if (pDialog == nullptr || !pDialog->isActiveWindow() || QApplication::focusWidget() == nullptr)
            return;
        pTimer->stop();
        pTimer->deleteLater();
        action(pDialog);
    });
    pTimer->start();
}

QString AccessibleName(QObject* pObject)
{
    QAccessibleInterface* pInterface = QAccessible::queryAccessibleInterface(pObject);
    return pInterface != nullptr ? pInterface->text(QAccessible::Name) : QStringLiteral("<none>");
}

// A combo box as Qt's own shows it to a screen reader: the box, the list of
// choices as its first child (naming the box as its parent), and the
// choices as the list's items.
void ExpectComboTree(QComboBox* pCombo)
{
    const std::string name = pCombo->objectName().toStdString();
    QAccessibleInterface* pBox = QAccessible::queryAccessibleInterface(pCombo);
    ASSERT_NE(pBox, nullptr) << name;
    ASSERT_EQ(pBox->childCount(), pCombo->isEditable() ? 2 : 1) << name;
    QAccessibleInterface* pList = pBox->child(0);
    ASSERT_NE(pList, nullptr) << name;
    EXPECT_EQ(pList->role(), QAccessible::List) << name;
    EXPECT_EQ(pList->parent(), pBox) << name;
    EXPECT_EQ(pBox->indexOfChild(pList), 0) << name;
    ASSERT_GE(pList->childCount(), pCombo->count()) << name;
    for (int i = 0; i < pCombo->count(); ++i) {
        EXPECT_EQ(pList->child(i)->role(), QAccessible::ListItem) << name << i;
        EXPECT_EQ(pList->child(i)->text(QAccessible::Name), pCombo->itemText(i)) << name << i;
    }
    if (pCombo->isEditable()) {
        EXPECT_EQ(pBox->child(1)->role(), QAccessible::EditableText) << name;
        EXPECT_EQ(pBox->indexOfChild(pBox->child(1)), 1) << name;
    }
}

class CDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        RegisterTreeDialogs(m_registry);
        RegisterRecordDialogs(m_registry);
        m_runRecordDialogs = m_registry;
        // The project properties of File New answer OK at once.
        m_registry.Register(132, [this](CDialogRecord&, QWidget*) {
            ++m_nProjectProperties;
            return int { IDOK };
        });
        m_pRecent = std::make_unique<CRecentFileList>(Path("pagewell.ini"), kRecentFileCount);
        MakeApp();
    }

    void TearDown() override
    {
        if (m_pApp != nullptr && m_pApp->GetMainFrame() != nullptr)
            m_pApp->GetMainFrame()->m_canClose = nullptr;
        m_pApp.reset();
    }

    void MakeApp()
    {
        m_pApp.reset();
        m_pApp = std::make_unique<CPagewellApp>(m_ui, *m_pRecent);
        m_pApp->m_showAbout = [this](QWidget*) { ++m_nAbout; };
    }

    bool Start()
    {
        if (!m_pApp->InitInstance({}))
            return false;
        m_ui.SetParentWidget(&Frame());
        if (!Frame().HasRestoredState())
            Frame().resize(900, 600);
        Frame().show();
        Frame().activateWindow();
        if (!QTest::qWaitForWindowActive(&Frame()))
            return false;
        Frame().GetTreeView()->setFocus();
        return QTest::qWaitFor([&] { return Frame().GetTreeView()->hasFocus(); });
    }

    std::string Path(const char* pszName) const
    {
        return m_dir.filePath(QString::fromLatin1(pszName)).toStdString();
    }
    CMainFrame& Frame() const { return *m_pApp->GetMainFrame(); }
    CPagewellDoc& Doc() const { return m_pApp->GetDocument(); }
    CPagewellView& Tree() const { return *Frame().GetTreeView(); }
    QWidget* Button(int nId) const { return Frame().GetToolBar()->widgetForAction(Frame().GetAction(nId)); }

    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* pTarget = QApplication::activePopupWidget();
        if (pTarget == nullptr)
            pTarget = QApplication::focusWidget();
        ASSERT_NE(pTarget, nullptr);
        QTest::keyClick(pTarget, key, modifiers);
    }
    // Opens a menu by its mnemonic and picks an item by its own.
    static void Menu(Qt::Key menu, Qt::Key item)
    {
        Key(menu, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000));
        Key(item);
    }
    bool WaitForTheWindow() const
    {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 5000))
            return false;
        Frame().activateWindow();
        return QTest::qWaitForWindowActive(&Frame());
    }

    QTemporaryDir m_dir;
    CDialogRegistry m_registry;
    CDialogRegistry m_runRecordDialogs;
    CQtUserInterface m_ui { m_registry };
    std::unique_ptr<CRecentFileList> m_pRecent;
    std::unique_ptr<CPagewellApp> m_pApp;
    int m_nProjectProperties = 0;
    int m_nAbout = 0;
};

// The mnemonic letter of a menu text; 0 when it has none.
QChar Mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&'))
                return text[i + 1].toLower();
            ++i;
        }
    }
    return {};
}

TEST_F(CDesktop, EveryCommandHasAMenuItemAMnemonicAndKeys)
{
    ASSERT_TRUE(Start());
    std::set<int> inMenus;
    std::set<QChar> titles;
    for (QAction* pMenuAction : Frame().menuBar()->actions()) {
        const QString title = pMenuAction->text();
        EXPECT_FALSE(Mnemonic(title).isNull()) << title.toStdString();
        EXPECT_TRUE(titles.insert(Mnemonic(title)).second) << title.toStdString();
        std::set<QChar> letters;
        for (QAction* pAction : pMenuAction->menu()->actions()) {
            if (pAction->isSeparator() || !pAction->isVisible())
                continue;
            const QString text = pAction->text();
            EXPECT_FALSE(Mnemonic(text).isNull()) << text.toStdString();
            EXPECT_TRUE(letters.insert(Mnemonic(text)).second) << text.toStdString();
            // The keys are shown from the shortcut, one style for all.
            EXPECT_FALSE(text.contains(QLatin1Char('\t'))) << text.toStdString();
            inMenus.insert(pAction->data().toInt());
        }
    }
    const int keyed[] = { ID_STYLE_H1, ID_STYLE_H2, ID_STYLE_H3, ID_STYLE_H4, ID_STYLE_NORMAL, ID_STYLE_HIDE,
        ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT, ID_DOC_PROPERTIES, ID_OBJECT_PROPERTIES };
    for (int nId : keyed) {
        EXPECT_TRUE(inMenus.count(nId) == 1) << nId;
        EXPECT_FALSE(Frame().GetAction(nId)->shortcut().isEmpty()) << nId;
    }
    EXPECT_TRUE(inMenus.count(ID_ORIGIN) == 1);
    // The existing keys stay.
    EXPECT_EQ(Frame().GetAction(ID_HTML_PARAGRAPH)->shortcuts().size(), 2);
    EXPECT_EQ(Frame().GetAction(ID_EDIT_UNDO)->shortcuts().at(1), QKeySequence(Qt::ALT | Qt::Key_Backspace));

    // The keys and the menus run them.
    Key(Qt::Key_Return, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_nProjectProperties, 2); // at the start and now
    bool bObjectDialog = false;
    WhenDialogOpens([&](QWidget* pDialog) {
        bObjectDialog = pDialog->objectName() == QStringLiteral("objectPropertiesDialog");
        Key(Qt::Key_Escape);
    });
    Key(Qt::Key_Return, Qt::AltModifier);
    ASSERT_TRUE(WaitForTheWindow());
    EXPECT_TRUE(bObjectDialog);
    bool bOrigin = false;
    WhenDialogOpens([&](QWidget* pDialog) {
        bOrigin = pDialog->windowTitle() == QStringLiteral("Origin of Pagewell");
        Key(Qt::Key_Escape);
    });
    Menu(Qt::Key_H, Qt::Key_O);
    ASSERT_TRUE(WaitForTheWindow());
    EXPECT_TRUE(bOrigin);
    Frame().GetBodyEditor()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().GetBodyEditor()->hasFocus(); }));
    Menu(Qt::Key_R, Qt::Key_3);
    EXPECT_EQ(GetStyle(Doc().m_pCurrent->m_nTextFormat), STYLE_H3);
    EXPECT_TRUE(Frame().GetBodyEditor()->hasFocus());
}

TEST_F(CDesktop, ToolbarButtonsRunTheirCommandThroughTheAccessibilityLayer)
{
    ASSERT_TRUE(Start());
    Frame().GetBodyEditor()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(ID_STYLE_H4)->isEnabled(); }));
    CNode* pRoot = Doc().m_pCurrent;
    const struct {
        int nId;
        uint32_t nStyle; // after the action
    } cases[] = { { ID_STYLE_H1, STYLE_H1 }, { ID_STYLE_H1, STYLE_NONE }, { ID_STYLE_H4, STYLE_H4 } };
    for (const auto& c : cases) {
        QAccessibleInterface* pButton = QAccessible::queryAccessibleInterface(Button(c.nId));
        ASSERT_NE(pButton, nullptr);
        ASSERT_NE(pButton->actionInterface(), nullptr);
        const QStringList names = pButton->actionInterface()->actionNames();
        ASSERT_FALSE(names.isEmpty());
        // Each action a screen reader offers is a click.
        for (const QString& name : names) {
            if (name != QAccessibleActionInterface::toggleAction()
                && name != QAccessibleActionInterface::pressAction())
                continue;
            const uint32_t nBefore = pRoot->m_nTextFormat;
            Doc().SetModifiedFlag(false);
            pButton->actionInterface()->doAction(name);
            EXPECT_TRUE(QTest::qWaitFor([&] { return pRoot->m_nTextFormat != nBefore; }, 2000))
                << c.nId << " " << name.toStdString();
            EXPECT_EQ(GetStyle(pRoot->m_nTextFormat), c.nStyle) << name.toStdString();
            EXPECT_TRUE(Doc().IsModified());
            // The button shows the object's state, not a state of its own.
            EXPECT_EQ(pButton->state().checked, c.nStyle != STYLE_NONE) << name.toStdString();
            break;
        }
    }
    // A plain button's Press.
    QAccessibleInterface* pAbout = QAccessible::queryAccessibleInterface(Button(ID_APP_ABOUT));
    ASSERT_TRUE(pAbout->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    pAbout->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_nAbout == 1; }, 2000));
}

TEST_F(CDesktop, PromptsAndControlsAreNamedForTheAccessibilityLayer)
{
    ASSERT_TRUE(Start());
    auto* pMessage = Frame().findChild<QLabel*>(QStringLiteral("message"));
    ASSERT_NE(pMessage, nullptr);
    EXPECT_EQ(AccessibleName(pMessage), QStringLiteral("Ready"));
    // The prompt of the button under the pointer is what a screen reader reads.
    QTest::mouseMove(Button(ID_STYLE_H2));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return AccessibleName(pMessage)
                == QStringLiteral("H2, Large, bold font, used for seaction headlines");
        },
        2000));
    EXPECT_EQ(Frame().StatusMessage(), AccessibleName(pMessage));

    // The property dialogs: an editable combo box is named by its label, a
    // group box by its title.
    m_registry = m_runRecordDialogs;
    const Qt::KeyboardModifiers dialogKeys[] = { Qt::AltModifier, Qt::AltModifier | Qt::ShiftModifier };
    for (const Qt::KeyboardModifiers keys : dialogKeys) {
        int nCombos = 0;
        int nGroups = 0;
        WhenDialogOpens([&](QWidget* pDialog) {
            for (QComboBox* pCombo : pDialog->findChildren<QComboBox*>()) {
                // Closed and dropped down alike.
                ExpectComboTree(pCombo);
                pCombo->showPopup();
                EXPECT_TRUE(QTest::qWaitFor([&] { return pCombo->view()->isVisible(); }, 2000));
                ExpectComboTree(pCombo);
                pCombo->hidePopup();
                if (!pCombo->isEditable())
                    continue;
                pCombo->setEditText(QStringLiteral("some value"));
                for (QLabel* pLabel : pDialog->findChildren<QLabel*>()) {
                    if (pLabel->buddy() == pCombo) {
                        // The label, perhaps said more fully; never the value.
                        const QString label = pLabel->text().remove(QLatin1Char('&')).trimmed();
                        EXPECT_TRUE(AccessibleName(pCombo).startsWith(label))
                            << AccessibleName(pCombo).toStdString() << " / " << label.toStdString();
                        ++nCombos;
                    }
                }
            }
            for (QGroupBox* pGroup : pDialog->findChildren<QGroupBox*>()) {
                EXPECT_EQ(AccessibleName(pGroup), pGroup->title().remove(QLatin1Char('&')));
                ++nGroups;
            }
            Key(Qt::Key_Escape);
        });
        Key(Qt::Key_Return, keys);
        ASSERT_TRUE(WaitForTheWindow());
        EXPECT_GT(nCombos, 0) << keys.toInt();
        EXPECT_GT(nGroups, 0) << keys.toInt();
    }
}

// Every control a user can reach with Tab, in the window with all its panes
// (the preview's page loaded) and in the find dialog, has a name a screen
// reader can say.
TEST_F(CDesktop, EveryReachableControlHasAnAccessibleName)
{
    ASSERT_TRUE(Start());
    Key(Qt::Key_F12); // the preview
    Key(Qt::Key_F7); // the site check
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() != &Frame(); }, 2000));
    QWidget* pFindDialog = QApplication::activeWindow();
    const auto unnamed = [&] {
        QStringList found;
        for (QWidget* pWindow : { static_cast<QWidget*>(&Frame()), pFindDialog }) {
            for (QWidget* pWidget : pWindow->findChildren<QWidget*>()) {
                if (pWidget->isVisibleTo(pWindow) && (pWidget->focusPolicy() & Qt::TabFocus) != 0
                    && pWidget->focusProxy() == nullptr && AccessibleName(pWidget).trimmed().isEmpty())
                    found << QString::fromLatin1(pWidget->metaObject()->className());
            }
        }
        return found;
    };
    const auto* pView = Frame().findChild<QWidget*>(QStringLiteral("previewView"));
    ASSERT_NE(pView, nullptr);
    // The engine makes the widget it draws into with the first page.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return pView->focusProxy() != nullptr && unnamed().isEmpty(); }, 20000));
    EXPECT_EQ(unnamed().join(QLatin1Char(' ')).toStdString(), "");
}

TEST_F(CDesktop, ADropShowsItsPicturesWhileTheDialogIsOpen)
{
    ASSERT_TRUE(Start());
    HTREEITEM hRoot = Doc().m_tree.GetRootItem();
    const auto add = [&](const char* pszTag, uint32_t nType) {
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_nType = nType;
        return Doc().m_tree.InsertItem(pszTag, std::move(pNode), hRoot, ETreeInsert::Last);
    };
    HTREEITEM hA = add("a", NODE_PARAGRAPH);
    HTREEITEM hB = add("b", NODE_PAGE);
    Tree().expandAll();
    CSiteTreeModel& model = Tree().GetModel();
    const auto image = [&](HTREEITEM h, int nRole) { return model.IndexOf(h).data(nRole).toInt(); };
    const auto at = [&](HTREEITEM h) { return Tree().visualRect(model.IndexOf(h)).center(); };

    // Cancel, then OK (Return).
    for (Qt::Key answer : { Qt::Key_Escape, Qt::Key_Return }) {
        int nDrag = -1;
        int nDragSelected = -1;
        int nDrop = -1;
        int nDropSelected = -1;
        WhenDialogOpens([&](QWidget*) {
            nDrag = image(hA, CSiteTreeModel::NormalImageRole);
            nDragSelected = image(hA, CSiteTreeModel::SelectedImageRole);
            nDrop = image(hB, CSiteTreeModel::NormalImageRole);
            nDropSelected = image(hB, CSiteTreeModel::SelectedImageRole);
            Key(answer);
        });
        QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, at(hA));
        QTest::mouseMove(Tree().viewport(), at(hA) + QPoint(QApplication::startDragDistance() + 2, 0));
        QTest::mouseMove(Tree().viewport(), at(hB));
        QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, at(hB));
        ASSERT_TRUE(WaitForTheWindow());
        EXPECT_EQ(nDrag, 10) << answer;
        EXPECT_EQ(nDragSelected, 10) << answer;
        EXPECT_EQ(nDrop, 3) << answer;
        EXPECT_EQ(nDropSelected, 3) << answer;
        EXPECT_FALSE(Tree().IsDragging());
        EXPECT_EQ(image(hB, CSiteTreeModel::NormalImageRole), 1) << answer;
        EXPECT_EQ(image(hB, CSiteTreeModel::SelectedImageRole), 0) << answer;
        if (answer == Qt::Key_Escape) {
            EXPECT_EQ(image(hA, CSiteTreeModel::NormalImageRole), 9);
        }
    }
    // OK moved a as b's child; it shows its normal pictures.
    HTREEITEM hMoved = CSiteTree::GetChildItem(hB);
    ASSERT_NE(hMoved, nullptr);
    EXPECT_EQ(image(hMoved, CSiteTreeModel::NormalImageRole), 9);
    EXPECT_EQ(image(hMoved, CSiteTreeModel::SelectedImageRole), 8);
}

TEST_F(CDesktop, TheWindowIsRememberedBetweenRuns)
{
    const QString state = m_dir.filePath(QStringLiteral("settings/window.ini"));
    m_pApp->m_strWindowState = state;
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Frame().HasRestoredState());
    Frame().setGeometry(QRect(30, 40, 640, 480));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().geometry() == QRect(30, 40, 640, 480); }));
    // The user moves the splitters with the mouse.
    const auto drag = [](QSplitter* pSplitter, QPoint by) {
        QSplitterHandle* pHandle = pSplitter->handle(1);
        const QPoint from = pHandle->rect().center();
        QTest::mousePress(pHandle, Qt::LeftButton, {}, from);
        QTest::mouseMove(pHandle, from + by);
        QTest::mouseRelease(pHandle, Qt::LeftButton, {}, from + by);
    };
    drag(Frame().GetOuterSplitter(), QPoint(-80, 0));
    drag(Frame().GetInnerSplitter(), QPoint(0, 40));
    const QList<int> outer = Frame().GetOuterSplitter()->sizes();
    const QList<int> inner = Frame().GetInnerSplitter()->sizes();
    ASSERT_NE(outer.at(0), CMainFrame::kTreeWidth);
    ASSERT_NE(inner.at(0), CMainFrame::kTitleHeight);
    ASSERT_TRUE(Frame().close());

    MakeApp();
    m_pApp->m_strWindowState = state;
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().HasRestoredState());
    EXPECT_EQ(Frame().geometry(), QRect(30, 40, 640, 480));
    EXPECT_EQ(Frame().GetOuterSplitter()->sizes(), outer);
    EXPECT_EQ(Frame().GetInnerSplitter()->sizes(), inner);

    // The maximised state as well.
    Frame().showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().isMaximized(); }));
    ASSERT_TRUE(Frame().close());
    MakeApp();
    m_pApp->m_strWindowState = state;
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().isMaximized());
}

// The settings folder and the one-time move of the old profile, with the
// user's configuration folder pointed at a temporary one.
TEST(Settings, LiveInTheirFolderAndTakeOverTheOldProfileOnce)
{
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    EXPECT_EQ(PlatformMapping::ProfileFileName(), config.filePath(QStringLiteral("pagewell/pagewell.ini")));
    EXPECT_EQ(PlatformMapping::WindowStateFileName(), config.filePath(QStringLiteral("pagewell/window.ini")));
    EXPECT_FALSE(PlatformMapping::AdoptOldProfile()); // nothing to take over
    {
        QFile old(PlatformMapping::OldProfileFileName());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("[Recent File List]\nFile1=/old/site.pwl\n");
    }
    EXPECT_TRUE(PlatformMapping::AdoptOldProfile());
    CRecentFileList list(PlatformMapping::ProfileFileName().toStdString(), kRecentFileCount);
    list.ReadList();
    EXPECT_EQ(list.GetEntries(), (std::vector<std::string> { "/old/site.pwl" }));
    list.Add("/new/site.pwl");
    // Once taken over, the old file is not read again.
    EXPECT_FALSE(PlatformMapping::AdoptOldProfile());
    list.ReadList();
    EXPECT_EQ(list.GetEntries().front(), "/new/site.pwl");
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

#if defined(PAGEWELL_PROGRAM)
// Starts of the real program, each with its own home, configuration and
// temporary folders and a display of its choice; offscreen.
class CInstances : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* pszFolder : { "home", "config", "tmp", "runtime" })
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(QString::fromLatin1(pszFolder)));
        // A project to open.
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        ASSERT_TRUE(doc.DoFileNew());
        ASSERT_TRUE(doc.DoFileSaveAs(File("site.pwl").toStdString()));
    }

    void TearDown() override
    {
        for (auto& pProcess : m_processes) {
            pProcess->kill();
            pProcess->waitForFinished(5000);
        }
    }

    QString File(const char* pszName) const { return m_dir.filePath(QString::fromLatin1(pszName)); }

    QProcess& Run(const char* pszDisplay, QStringList args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), File("home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), File("config"));
        env.insert(QStringLiteral("TMPDIR"), File("tmp"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), File("runtime"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(pszDisplay));
        m_processes.push_back(std::make_unique<QProcess>());
        QProcess& process = *m_processes.back();
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PAGEWELL_PROGRAM), args << File("site.pwl"));
        return process;
    }

    // The running program listens in the runtime folder under its display.
    bool Listening(const char* pszDisplay) const
    {
        const QString suffix = QStringLiteral("-%1").arg(QString::fromLatin1(pszDisplay).replace(':', '_'));
        return QTest::qWaitFor(
            [&] {
                for (const QString& name : QDir(File("runtime")).entryList(QDir::System)) {
                    if (name.startsWith(QStringLiteral("pagewell-")) && name.endsWith(suffix))
                        return true;
                }
                return false;
            },
            20000);
    }

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(CInstances, ASecondStartHandsItsFileOnlyToAWindowOfItsOwnDisplay)
{
    QProcess& first = Run(":91", {});
    ASSERT_TRUE(Listening(":91"));
    // The same display: handed over, and the second start ends at once.
    QProcess& handed = Run(":91", {});
    ASSERT_TRUE(handed.waitForFinished(20000));
    EXPECT_EQ(handed.exitCode(), 0);
    // Another display, or a new instance asked for: a window of its own.
    QProcess& other = Run(":92", {});
    EXPECT_TRUE(Listening(":92"));
    QProcess& separate = Run(":91", { QStringLiteral("--new-instance") });
    EXPECT_FALSE(separate.waitForFinished(3000));
    EXPECT_EQ(other.state(), QProcess::Running);
    EXPECT_EQ(separate.state(), QProcess::Running);
    EXPECT_EQ(first.state(), QProcess::Running);
}
#endif

} // namespace
