// The plain rules of the Qt layer: command routing, the format buttons'
// pressed states, the recent-file list, and the editors' text handling.
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "app/CCommandRouter.h"
#include "app/CCommandTable.h"
#include "app/CFormatButtons.h"
#include "app/CRecentFileList.h"
#include "app/CommandIds.h"
#include "editors/EditorText.h"

namespace {

class CFakeTarget : public ICommandTarget {
public:
    CFakeTarget(std::initializer_list<int> handled, bool bEnabled = true)
        : m_handled(handled)
        , m_bEnabled(bEnabled)
    { }
    bool OnUpdateCommand(int nId, CCmdUI& state) override
    {
        if (std::find(m_handled.begin(), m_handled.end(), nId) == m_handled.end())
            return false;
        state.Enable(m_bEnabled);
        return true;
    }
    void OnCommand(int nId) override { m_ran.push_back(nId); }

    std::vector<int> m_handled;
    bool m_bEnabled;
    std::vector<int> m_ran;
};

TEST(CommandRouter, FirstObjectOnTheRouteOwnsTheCommand)
{
    CFakeTarget view({ 1, 2 }), doc({ 2, 3 }), frame({ 3, 4 }), app({ 4, 5 });
    CCommandRouter router;
    router.SetTarget(CCommandRouter::View, &view);
    router.SetTarget(CCommandRouter::Document, &doc);
    router.SetTarget(CCommandRouter::Frame, &frame);
    router.SetTarget(CCommandRouter::Application, &app);
    for (int nId : { 1, 2, 3, 4, 5 })
        EXPECT_TRUE(router.Execute(nId)) << nId;
    EXPECT_EQ(view.m_ran, (std::vector<int> { 1, 2 }));
    EXPECT_EQ(doc.m_ran, (std::vector<int> { 3 }));
    EXPECT_EQ(frame.m_ran, (std::vector<int> { 4 }));
    EXPECT_EQ(app.m_ran, (std::vector<int> { 5 }));
}

TEST(CommandRouter, UnhandledIsDisabledAndADisabledHandlerBlocksTheRoute)
{
    CFakeTarget view({ 7 }, false), app({ 7, 8 });
    CCommandRouter router;
    router.SetTarget(CCommandRouter::View, &view);
    router.SetTarget(CCommandRouter::Application, &app);
    EXPECT_FALSE(router.Query(9).m_bEnabled);
    EXPECT_FALSE(router.Execute(9));
    // The view handles 7 but disables it: the application does not get it.
    EXPECT_FALSE(router.Query(7).m_bEnabled);
    EXPECT_FALSE(router.Execute(7));
    EXPECT_TRUE(app.m_ran.empty());
    // Without an active view the route starts at the document.
    router.SetTarget(CCommandRouter::View, nullptr);
    EXPECT_TRUE(router.Execute(7));
    EXPECT_EQ(app.m_ran, (std::vector<int> { 7 }));
}

TEST(FormatButtons, PressedExactlyWhenTheirFieldHoldsTheirValue)
{
    struct CCase {
        uint32_t nWord;
        std::vector<int> pressed;
    };
    const CCase cases[] = {
        { 0x00, {} }, { 0x08 | 3, { ID_STYLE_H1, ID_ALIGN_CENTER } },
        { 0x10 | 1, { ID_STYLE_H2, ID_ALIGN_LEFT } }, { 0x18 | 2, { ID_STYLE_H3, ID_ALIGN_RIGHT } },
        { 0x20, { ID_STYLE_H4 } }, { 0x48, { ID_STYLE_NORMAL } }, { 0x50, { ID_STYLE_HIDE } },
        { 0x28 | 7, {} }, // style 5 and alignment 7 have no button
        { 0xFFFFFF80 | 0x08, { ID_STYLE_H1 } }, // bits above the style are ignored
    };
    for (const CCase& c : cases) {
        for (int nId : CFormatButtons::kButtons) {
            const bool bExpected = std::find(c.pressed.begin(), c.pressed.end(), nId) != c.pressed.end();
            EXPECT_EQ(CFormatButtons::IsPressed(nId, c.nWord), bExpected)
                << std::hex << c.nWord << " " << std::dec << nId;
        }
    }
    EXPECT_FALSE(CFormatButtons::IsPressed(ID_FILE_NEW, 0x08));
}

TEST(CommandTable, PromptsAndToolTips)
{
    EXPECT_EQ(CCommandTable::Prompt(ID_ALIGN_CENTER), QStringLiteral("Center aligmnent"));
    EXPECT_TRUE(CCommandTable::ToolTip(ID_ALIGN_CENTER).isEmpty());
    EXPECT_EQ(CCommandTable::Prompt(ID_FILE_NEW), QStringLiteral("Create a new document"));
    EXPECT_EQ(CCommandTable::ToolTip(ID_FILE_NEW), QStringLiteral("New"));
    EXPECT_TRUE(CCommandTable::Prompt(ID_HTML_TOC).isEmpty());
    int nCount = 0;
    const int* pButtons = CCommandTable::ToolbarButtons(nCount);
    EXPECT_EQ(std::count_if(pButtons, pButtons + nCount, [](int n) { return n != 0; }), 22);
    EXPECT_EQ(std::count(pButtons, pButtons + nCount, 0), 6);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(RecentFileList, KeepsFourMostRecentFirstWithoutDuplicates)
{
    QTemporaryDir dir;
    const std::string profile = dir.filePath(QStringLiteral("cfg/pagewell.ini")).toStdString();
    CRecentFileList list(profile, 4);
    list.ReadList();
    EXPECT_TRUE(list.GetEntries().empty());
    for (const char* psz : { "/a.pwl", "/b.pwl", "/c.pwl", "/d.pwl", "/e.pwl", "/c.pwl" })
        list.Add(psz);
    EXPECT_EQ(list.GetEntries(), (std::vector<std::string> { "/c.pwl", "/e.pwl", "/d.pwl", "/b.pwl" }));
    EXPECT_EQ(
        ReadFile(profile), "[Recent File List]\nFile1=/c.pwl\nFile2=/e.pwl\nFile3=/d.pwl\nFile4=/b.pwl\n");
    list.Remove(1);
    CRecentFileList again(profile, 4);
    again.ReadList();
    EXPECT_EQ(again.GetEntries(), (std::vector<std::string> { "/c.pwl", "/d.pwl", "/b.pwl" }));
}

TEST(RecentFileList, ReadsTheProfileAndKeepsOtherSections)
{
    QTemporaryDir dir;
    const std::string profile = dir.filePath(QStringLiteral("pagewell.ini")).toStdString();
    std::ofstream(profile)
        << "[Other]\nKey=1\n[Recent File List]\nFile2=/two.pwl\nFile1=/one.pwl\nFile4=/four.pwl\n"
           "File9=/nine.pwl\n[Settings]\nPreviewPages=2\n";
    CRecentFileList list(profile, 4);
    list.ReadList();
    // The list ends at its first gap; entries past the size are ignored.
    EXPECT_EQ(list.GetEntries(), (std::vector<std::string> { "/one.pwl", "/two.pwl" }));
    EXPECT_EQ(list.GetPreviewPages(), 2);
    list.Add("/new.pwl");
    EXPECT_EQ(ReadFile(profile),
        "[Other]\nKey=1\n[Recent File List]\nFile1=/new.pwl\nFile2=/one.pwl\nFile3=/two.pwl\n"
        "[Settings]\nPreviewPages=2\n");
}

TEST(EditorText, LineEndsAndCodePage)
{
    EXPECT_EQ(ToEditorText("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(FromEditorText(QStringLiteral("a\nb")), CString("a\r\nb"));
    // Windows-1252 bytes come through; other characters become references.
    EXPECT_EQ(ToEditorText("\x80\xA0\xE9"), QString::fromUtf8("\u20AC\u00A0\u00E9"));
    EXPECT_EQ(FromEditorText(QString::fromUtf8("\u20AC \u4E2D")), CString("\x80 &#20013;"));
}

TEST(EditorText, NoBreakSpacesSurviveTheEditor)
{
    QPlainTextEdit edit;
    edit.setPlainText(ToEditorText("a\xA0"
                                   "b\r\nc"));
    EXPECT_EQ(FromEditorText(EditorText(edit)),
        CString("a\xA0"
                "b\r\nc"));
}

struct CWrapCase {
    const char* pszName;
    const char* pszText;
    int nStart, nEnd; // selection
    const char* pszOpen;
    const char* pszClose;
    const char* pszResult;
    int nResultStart, nResultEnd;
};

TEST(WrapSelection, InsertsAroundTheSelectionAndKeepsIt)
{
    const CWrapCase cases[] = {
        { "bold at a caret", "abc", 1, 1, "<b>", "</b>", "a<b></b>bc", 4, 4 },
        { "bold around bc", "abc", 1, 3, "<b>", "</b>", "a<b>bc</b>", 4, 6 },
        { "backwards selection", "abc", 3, 1, "<b>", "</b>", "a<b>bc</b>", 4, 6 },
        { "opening only", "abc", 0, 2, "</p><p>", "", "</p><p>abc", 7, 9 },
        { "list", "x", 0, 1, "\n<UL>\n<LI>", "\n</UL>", "\n<UL>\n<LI>x\n</UL>", 10, 11 },
        { "at the end", "ab", 2, 2, "[$i]", "", "ab[$i]", 6, 6 },
    };
    for (const CWrapCase& c : cases) {
        QPlainTextEdit edit;
        edit.setPlainText(QString::fromLatin1(c.pszText));
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(c.nStart);
        cursor.setPosition(c.nEnd, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
        WrapSelection(edit, QString::fromLatin1(c.pszOpen), QString::fromLatin1(c.pszClose));
        EXPECT_EQ(edit.toPlainText(), QString::fromLatin1(c.pszResult)) << c.pszName;
        EXPECT_EQ(edit.textCursor().selectionStart(), c.nResultStart) << c.pszName;
        EXPECT_EQ(edit.textCursor().selectionEnd(), c.nResultEnd) << c.pszName;
    }
}

TEST(WrapSelection, StoredListHasCrLfLineEnds)
{
    QPlainTextEdit edit;
    edit.setPlainText(QStringLiteral("x"));
    edit.selectAll();
    WrapSelection(edit, QStringLiteral("\n<UL>\n<LI>"), QStringLiteral("\n</UL>"));
    EXPECT_EQ(FromEditorText(EditorText(edit)), CString("\r\n<UL>\r\n<LI>x\r\n</UL>"));
}

TEST(StyleFont, SizesAndWeightsByStyle)
{
    const struct {
        uint32_t nStyle;
        int nPoints;
        bool bBold;
    } cases[] = { { 1, 20, true }, { 2, 16, true }, { 3, 14, true }, { 4, 12, true }, { 5, 10, true },
        { 6, 8, true }, { 0, 12, false }, { 7, 12, false }, { 9, 12, false }, { 10, 12, false },
        { 15, 12, false } };
    for (const auto& c : cases) {
        const QFont font = StyleFont(c.nStyle, QStringLiteral("Times New Roman"));
        EXPECT_EQ(font.pointSize(), c.nPoints) << c.nStyle;
        EXPECT_EQ(font.bold(), c.bBold) << c.nStyle;
        EXPECT_EQ(font.family(), QStringLiteral("Times New Roman"));
    }
}

} // namespace
