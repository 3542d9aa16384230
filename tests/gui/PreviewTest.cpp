#include <QAccessible>
#include <QFile>
#include <QWebEngineView>
#include <filesystem>

#include "GuiFixture.h"
#include "app/CPreviewPage.h"
#include "app/CPreviewPane.h"
#include "app/CPreviewSchemeHandler.h"
#include "generator/CSiteRenderer.h"
#include "model/CDocProperties.h"
#include "model/CSiteSettings.h"

namespace {

// The window with the preview shown over a root page "Index" with a
// paragraph "News" and a child page "About"; the installed templates serve.
class Preview : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(Start());
        m_hRoot = Doc().m_tree.GetRootItem();
        m_hNews = AddItem(m_hRoot, "News", NODE_PARAGRAPH, "news text");
        m_hAbout = AddItem(m_hRoot, "About", NODE_PAGE, "about text");
        Doc().m_dlgGenerate.m_strDestination = Path("site");
        Tree().SelectItem(m_hRoot);
        if (Pane().isHidden()) {
            ASSERT_TRUE(Frame().RunCommand(ID_VIEW_PREVIEW));
        }
        ASSERT_TRUE(WaitForPage("index.html"));
    }

    CPreviewPane& Pane() const { return *Frame().GetPreview(); }

    // Waits until the pane has loaded a rendering of the page file name.
    bool WaitForPage(const char* pszName)
    {
        return QTest::qWaitFor(
            [&] {
                return Pane().GetPageName() == QLatin1String(pszName)
                    && !Pane().GetView()->page()->isLoading();
            },
            20000);
    }

    // The text of the page shown, as the engine lays it out.
    QString ShownText()
    {
        QString text;
        bool bDone = false;
        Pane().GetView()->page()->toPlainText([&](const QString& result) {
            text = result;
            bDone = true;
        });
        return QTest::qWaitFor([&] { return bDone; }, 10000) ? text : QString();
    }

    bool ShowsText(const QString& text)
    {
        return QTest::qWaitFor([&] { return ShownText().contains(text); }, 10000);
    }

    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hNews = nullptr;
    HTREEITEM m_hAbout = nullptr;
};

TEST_F(Preview, ShowsTheCurrentPageAndFollowsTypingWithoutWriting)
{
    EXPECT_TRUE(ShowsText(QStringLiteral("news text")));
    Tree().SelectItem(m_hNews);
    ASSERT_TRUE(Focus(Body()));
    Body().moveCursor(QTextCursor::End);
    QTest::keyClicks(&Body(), QStringLiteral(" typed"));
    // Not saved, not stored by a selection change: shown all the same.
    EXPECT_TRUE(ShowsText(QStringLiteral("news text typed")));
    EXPECT_TRUE(Pane().MessagesText().isEmpty()) << Pane().MessagesText().toStdString();
    EXPECT_FALSE(std::filesystem::exists(Path("site")));

    Tree().SelectItem(m_hAbout);
    EXPECT_TRUE(WaitForPage("about.html"));
    EXPECT_TRUE(ShowsText(QStringLiteral("about text")));
}

// A new template set or markup shows without waiting for another selection.
TEST_F(Preview, FollowsTheProjectPropertiesAndSiteSettingsAtOnce)
{
    ASSERT_TRUE(ShowsText(QStringLiteral("Top of page"))); // the footer of "Default"
    ASSERT_FALSE(ShownText().contains(QStringLiteral("[About]"))); // a new project's markup is modern
    m_ui.m_onDialog = [](CDialogRecord& record) {
        if (auto* pProps = dynamic_cast<CDocProperties*>(&record))
            pProps->m_strTemplate = "Modern";
        if (auto* pSettings = dynamic_cast<CSiteSettings*>(&record))
            pSettings->m_strMarkup = CString(CSiteSettings::kMarkupClassic);
    };
    ASSERT_TRUE(Frame().RunCommand(ID_DOC_PROPERTIES));
    EXPECT_TRUE(ShowsText(QStringLiteral("Back to top")));
    ASSERT_TRUE(Frame().RunCommand(ID_SITE_SETTINGS));
    // Classic markup brackets the links to other pages.
    EXPECT_TRUE(ShowsText(QStringLiteral("[About]")));
    EXPECT_EQ(Tree().GetSelectedItem(), m_hRoot);
}

TEST_F(Preview, ProblemsShowInTheBarNotInMessageBoxes)
{
    Doc().m_props.m_strTemplate = "NoSuchSet";
    Doc().m_tree.GetItemData(m_hRoot)->m_info.m_strIcon = "../../etc/passwd";
    const size_t nBoxes = m_ui.m_messages.size();
    Pane().RenderNow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Pane().MessagesText().isEmpty(); }, 5000));
    EXPECT_EQ(Pane().MessagesText().toStdString(),
        "CreateNode() ERROR: Unable to open template file: templates/NoSuchSet.hdr.txt");
    Doc().m_props.m_strTemplate = "Default";
    Pane().RenderNow();
    EXPECT_TRUE(Pane().MessagesText().contains(QStringLiteral(
        "CopyFiles() ERROR: Unable to copy images/../../etc/passwd: it lies outside the workspace.")))
        << Pane().MessagesText().toStdString();
    EXPECT_EQ(m_ui.m_messages.size(), nBoxes);
}

TEST_F(Preview, ALinkToAnotherPageSelectsItInTheTree)
{
    ASSERT_TRUE(ShowsText(QStringLiteral("About")));
    Pane().GetView()->page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href^=\"about.htm\"]').click()"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Tree().GetSelectedItem() == m_hAbout; }, 10000));
    EXPECT_TRUE(WaitForPage("about.html"));
}

// "role name" of every accessible object below pInterface, as a screen
// reader walks them. The web engine's accessible objects come from a library
// built without run-time type information, so the sanitizer cannot check
// their type and would take every call for a bad one.
__attribute__((no_sanitize("vptr"))) void CollectAccessible(
    QAccessibleInterface* pInterface, QStringList& found, int nDepth = 0)
{
    if (pInterface == nullptr || nDepth > 40)
        return;
    found << QString::number(pInterface->role()) + QLatin1Char(' ') + pInterface->text(QAccessible::Name);
    for (int i = 0; i < pInterface->childCount(); ++i)
        CollectAccessible(pInterface->child(i), found, nDepth + 1);
}

TEST_F(Preview, AScreenReaderFindsTheHeadingAndLinksOfThePage)
{
    // The page shown is the selected object's: its heading, and the link to
    // the About page in its navigation, named as it reads (modern markup
    // writes no brackets).
    const QString heading = QString::number(QAccessible::Heading) + QStringLiteral(" News");
    const QString link = QString::number(QAccessible::Link) + QStringLiteral(" About");
    QStringList found;
    const bool bFound = QTest::qWaitFor(
        [&] {
            found.clear();
            CollectAccessible(QAccessible::queryAccessibleInterface(Pane().GetView()), found);
            return found.contains(heading) && found.contains(link);
        },
        10000);
    EXPECT_TRUE(bFound) << found.join(QLatin1Char('|')).toStdString();
}

TEST(PreviewRules, NavigationStaysInThePaneOrLeavesForTheBrowser)
{
    using E = CPreviewPage::ENavigation;
    const auto clicked = QWebEnginePage::NavigationTypeLinkClicked;
    const auto typed = QWebEnginePage::NavigationTypeTyped;
    const auto redirect = QWebEnginePage::NavigationTypeRedirect;
    const struct {
        const char* pszUrl;
        QWebEnginePage::NavigationType type;
        E expected;
    } kCases[] = {
        { "pagewell-preview://site/index.htm?r=3", typed, E::Allow },
        { "pagewell-preview://site/index.htm#main", clicked, E::Allow },
        { "pagewell-preview://site/about.htm#me", clicked, E::SelectPage },
        { "https://example.com/", clicked, E::OpenOutside },
        { "mailto:you@example.com", clicked, E::OpenOutside },
        { "https://example.com/", redirect, E::Refuse },
        { "https://example.com/", typed, E::Refuse },
        { "file:///etc/passwd", clicked, E::Refuse },
        { "javascript:alert(1)", clicked, E::Refuse },
    };
    for (const auto& test : kCases) {
        EXPECT_EQ(CPreviewPage::Classify(
                      QUrl(QString::fromLatin1(test.pszUrl)), test.type, QStringLiteral("index.htm")),
            test.expected)
            << test.pszUrl;
    }
}

TEST(PreviewRules, SchemeServesOnlyTheRenderedSite)
{
    const QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("logo.gif"));
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("GIF89a");
    file.close();
    auto pSite = std::make_shared<CRenderedSite>();
    pSite->pages["index.htm"] = "<p>page</p>\r\n";
    pSite->images["logo.gif"] = image.toStdString();
    CPreviewSchemeHandler handler;
    handler.SetSite(pSite);
    const struct {
        const char* pszUrl;
        const char* pszData; // null: not found
    } kCases[] = {
        { "pagewell-preview://site/index.htm?r=1", "<p>page</p>\r\n" },
        { "pagewell-preview://site/logo.gif", "GIF89a" },
        { "pagewell-preview://site/", nullptr },
        { "pagewell-preview://site/images/logo.gif", nullptr },
        { "pagewell-preview://site/../logo.gif", nullptr },
        { "pagewell-preview://site/%2e%2e/logo.gif", nullptr },
        { "pagewell-preview://site/..%2flogo.gif", nullptr },
        { "pagewell-preview://site/%2Fetc%2Fpasswd", nullptr },
        { "pagewell-preview://site//etc/passwd", nullptr },
        { "pagewell-preview://site/index.htm/", nullptr },
        { "pagewell-preview://site/INDEX.HTM", nullptr },
        { "pagewell-preview://other/index.htm", nullptr },
        { "file:///etc/passwd", nullptr },
    };
    for (const auto& test : kCases) {
        const CPreviewSchemeHandler::CReply reply = handler.Resolve(QUrl(QString::fromLatin1(test.pszUrl)));
        EXPECT_EQ(reply.bFound, test.pszData != nullptr) << test.pszUrl;
        if (test.pszData != nullptr) {
            EXPECT_EQ(reply.data.toStdString(), test.pszData) << test.pszUrl;
        }
    }
    EXPECT_EQ(
        handler.Resolve(QUrl(QStringLiteral("pagewell-preview://site/index.htm"))).mimeType.toStdString(),
        "text/html; charset=windows-1252");
}

} // namespace
