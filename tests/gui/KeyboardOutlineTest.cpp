// A user builds a small outline from an empty project with the keyboard
// alone: the menus through Alt and the arrow keys, the real dialogs.
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "GuiFixture.h"
#include "app/CDialogRegistry.h"
#include "app/CQtUserInterface.h"
#include "tree/CTreeDialogs.h"

namespace {

class CKeyboardOutline : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        RegisterTreeDialogs(m_registry);
        // The project properties asked at start are left to their own tests.
        m_registry.Register(132, [](CDialogRecord&, QWidget*) { return int { IDOK }; });
        m_pRecent = std::make_unique<CRecentFileList>(
            m_dir.filePath(QStringLiteral("pagewell.ini")).toStdString(), kRecentFileCount);
        m_pApp = std::make_unique<CPagewellApp>(m_ui, *m_pRecent);
        ASSERT_TRUE(m_pApp->InitInstance({}));
        Frame().m_canClose = nullptr;
        m_ui.SetParentWidget(&Frame());
        Frame().resize(900, 600);
        Frame().show();
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Frame().GetTreeView()->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().GetTreeView()->hasFocus(); }));
    }

    void TearDown() override { m_pApp.reset(); }

    CMainFrame& Frame() const { return *m_pApp->GetMainFrame(); }
    CPagewellDoc& Doc() const { return m_pApp->GetDocument(); }

    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* pTarget = QApplication::activePopupWidget();
        if (pTarget == nullptr)
            pTarget = QApplication::focusWidget();
        ASSERT_NE(pTarget, nullptr);
        QTest::keyClick(pTarget, key, modifiers);
    }
    static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

    // Once a dialog has opened over the window, the user's keys go to it.
    static void WhenDialogOpens(std::function<void()> keys)
    {
        auto* pTimer = new QTimer;
        pTimer->setInterval(20);
        QObject::connect(pTimer, &QTimer::timeout, [pTimer, keys] {
            QWidget* pDialog = QApplication::activeModalWidget();
            if (pDialog == nullptr || !pDialog->isActiveWindow() || QApplication::focusWidget() == nullptr)
                return;
            pTimer->stop();
            pTimer->deleteLater();
            keys();
        });
        pTimer->start();
    }

    // Opens the Object menu with Alt and the arrows and picks its nth item
    // (from 0); dialogKeys answer the dialog that opens.
    void ObjectMenu(int nItem, std::function<void()> dialogKeys)
    {
        Key(Qt::Key_Alt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().menuBar()->activeAction() != nullptr; }, 1000));
        for (int i = 0; i < 3; ++i) // File, Edit, View, Object
            Key(Qt::Key_Right);
        Key(Qt::Key_Down);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000));
        ASSERT_EQ(QApplication::activePopupWidget()->windowTitle(), QString());
        ASSERT_EQ(static_cast<QMenu*>(QApplication::activePopupWidget())->title(), QStringLiteral("&Object"));
        for (int i = 0; i < nItem; ++i)
            Key(Qt::Key_Down);
        WhenDialogOpens(std::move(dialogKeys));
        Key(Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 3000));
        // The window manager gives the window back its activation; the
        // offscreen platform does not.
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Frame().GetTreeView()->hasFocus(); }, 1000));
    }

    // In the insert dialog: from OK past Cancel to the tag, type it, Enter.
    static std::function<void()> Tag(const char* pszTag, int nArrows = 0)
    {
        return [pszTag, nArrows] {
            Key(Qt::Key_Tab);
            Key(Qt::Key_Tab);
            Keys(QString::fromLatin1(pszTag));
            if (nArrows != 0) {
                // On to the chosen place, and along it.
                Key(Qt::Key_Tab);
                for (int i = 0; i < std::abs(nArrows); ++i)
                    Key(nArrows > 0 ? Qt::Key_Down : Qt::Key_Up);
            }
            Key(Qt::Key_Return);
        };
    }

    std::string Outline() const
    {
        std::string out;
        for (HTREEITEM h = Doc().m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            out += std::string(static_cast<size_t>(CSiteTree::GetLevel(h)), '.') + h->GetLabel() + " ";
        return out;
    }

    QTemporaryDir m_dir;
    CDialogRegistry m_registry;
    CQtUserInterface m_ui { m_registry };
    std::unique_ptr<CRecentFileList> m_pRecent;
    std::unique_ptr<CPagewellApp> m_pApp;
};

// The Object menu: Convert, Insert Page, Insert Link, Insert Paragraph.
constexpr int kConvert = 0;
constexpr int kInsertPage = 1;
constexpr int kInsertLink = 2;
constexpr int kInsertParagraph = 3;

TEST_F(CKeyboardOutline, BuildsAnOutlineFromAnEmptyProject)
{
    ASSERT_EQ(Outline(), "Index ");
    // Enter at once: nothing.
    ObjectMenu(kInsertPage, [] { Key(Qt::Key_Return); });
    EXPECT_EQ(Outline(), "Index ");
    EXPECT_FALSE(Doc().IsModified());

    ObjectMenu(kInsertPage, Tag("news"));
    // A space is refused as it is typed.
    ObjectMenu(kInsertPage, Tag("about us"));
    EXPECT_EQ(Outline(), "Index .aboutus .news ");

    // Down to "aboutus", a paragraph under it.
    Key(Qt::Key_Down);
    ObjectMenu(kInsertParagraph, Tag("team"));
    // Down to it, a link after it: from "As child" down to "After".
    Key(Qt::Key_Down);
    ObjectMenu(kInsertLink, Tag("contact", 2));
    // Down to the link; the dialog starts on "After", up to "Before".
    Key(Qt::Key_Down);
    ObjectMenu(kInsertParagraph, Tag("history", -1));
    EXPECT_EQ(Outline(), "Index .aboutus ..team ..history ..contact .news ");

    // "team" becomes a page: past Cancel to the types, up from Paragraph.
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    ASSERT_EQ(CSiteTree::GetItemText(Frame().GetTreeView()->GetSelectedItem()), "team");
    ObjectMenu(kConvert, [] {
        Key(Qt::Key_Tab);
        Key(Qt::Key_Tab);
        Key(Qt::Key_Up);
        Key(Qt::Key_Return);
    });
    EXPECT_EQ(Doc().m_pCurrent->m_nType, NODE_PAGE);
    EXPECT_EQ(CSiteTree::GetItemText(Frame().GetTreeView()->GetSelectedItem()), "team");
    EXPECT_TRUE(Doc().IsModified());
}

} // namespace
