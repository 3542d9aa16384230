// The JSON form as a project file of its own: read and written by the
// document, canonical so that a site kept in version control changes by the
// lines the user changed, and failures that say where.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <unistd.h>

#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "model/JsonPlace.h"
#include "platform/CArchive.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

// The lines of b that differ from a's, for files of equal line counts.
std::vector<std::string> ChangedLines(const std::string& a, const std::string& b)
{
    std::istringstream inA(a);
    std::istringstream inB(b);
    std::vector<std::string> changed;
    std::string lineA;
    std::string lineB;
    while (std::getline(inA, lineA) && std::getline(inB, lineB)) {
        if (lineA != lineB)
            changed.push_back(lineB);
    }
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), std::count(b.begin(), b.end(), '\n'));
    return changed;
}

class JsonProjectFile : public ::testing::Test {
protected:
    // A small site, written as JSON by the document itself.
    std::string MakeJsonProject(const char* name)
    {
        CPagewellDoc doc(m_ui);
        HTREEITEM hRoot = doc.CreateRootPage();
        for (const char* tag : { "news", "about" }) {
            auto pNode = std::make_unique<CNode>(nullptr);
            pNode->m_strTitle = tag;
            pNode->m_strText = "caf\xE9\r\nline two";
            doc.m_tree.InsertItem(tag, std::move(pNode), hRoot, ETreeInsert::Last);
        }
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(doc.DoFileSaveAs(path));
        return path;
    }

    CScriptedUserInterface m_ui;
    CTempFolder m_folder;
};

TEST_F(JsonProjectFile, SavingUnchangedRewritesByteForByteAndOneTitleIsOneLine)
{
    const std::string path = MakeJsonProject("site.json");
    const std::string written = ReadWholeFile(path);
    ASSERT_EQ(written.rfind("{\n  \"properties\": {\n    \"author\"", 0), 0u) << written;
    EXPECT_NE(written.find("\"text\": \"café\\r\\nline two\""), std::string::npos) << "UTF-8 text";

    CPagewellDoc doc(m_ui);
    ASSERT_TRUE(doc.DoFileOpen(path));
    EXPECT_EQ(doc.GetFormat(), CPagewellDoc::EFormat::Json);
    ASSERT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ReadWholeFile(path), written);

    CSiteTree::GetChildItem(doc.m_tree.GetRootItem())->GetNode()->m_strTitle = "Latest news";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ChangedLines(written, ReadWholeFile(path)),
        std::vector<std::string> { "          \"title\": \"Latest news\"," });
    EXPECT_TRUE(m_ui.m_messages.empty());
}

// A recovery of a JSON project is made from the archive form on another
// thread: it must be the very text Save writes.
TEST_F(JsonProjectFile, TextMadeFromTheArchiveFormIsSavesText)
{
    for (const std::string& path :
        { MakeJsonProject("site.json"), std::string(PAGEWELL_SOURCE_DIR) + "/examples/site.json" }) {
        CPagewellDoc doc(m_ui);
        ASSERT_TRUE(doc.DoFileOpen(path)) << path;
        std::string archive;
        CArchive ar(archive);
        doc.Serialize(ar);
        EXPECT_EQ(CProjectJson::ArchiveToText(archive), ReadWholeFile(path)) << path;
    }
    EXPECT_THROW(CProjectJson::ArchiveToText("not a project"), CArchiveException);
}

TEST_F(JsonProjectFile, SaveAsTakesTheFormOfTheNewName)
{
    const std::string json = MakeJsonProject("site.json");
    CPagewellDoc doc(m_ui);
    ASSERT_TRUE(doc.DoFileOpen(json));
    const std::string pwl = m_folder.File("site.pwl");
    ASSERT_TRUE(doc.DoFileSaveAs(pwl));
    EXPECT_EQ(doc.GetFormat(), CPagewellDoc::EFormat::Archive);
    EXPECT_NE(ReadWholeFile(pwl).front(), '{');
    // And back, by a name in capitals: the same text as before.
    const std::string again = m_folder.File("again.JSON");
    ASSERT_TRUE(doc.DoFileSaveAs(again));
    EXPECT_EQ(ReadWholeFile(again), ReadWholeFile(json));
    EXPECT_EQ(doc.MakeFileBytes(), ReadWholeFile(json)) << "what Save writes, in memory";
}

TEST_F(JsonProjectFile, AFileThatFailsSaysWhereAndLeavesTheProjectAlone)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        { "{\n  \"tree\": [\n    {\"tag\": 5}\n  ]\n}\n", "line 3, column 13: tree[0].tag must be a string" },
        { "{\n  \"tree\": [{\"tag\": \"a\", \"children\": [{\"tag\": \"b\",\n \"colour\": 1}]}]}",
            "line 3, column 12: unknown key tree[0].children[0].colour" },
        { "{\"properties\": {\"author\": \"a\",\n\"author\": \"b\"}}",
            "line 2, column 11: duplicate key properties.author" },
        { "{\n  \"tree\": [\n    {\"tag\" \"a\"}\n  ]\n}\n", "line 3, column 14: syntax error" },
        { "{\"tree\": []}", "the tree is empty; a project needs at least its root page" },
    };
    CPagewellDoc doc(m_ui);
    ASSERT_TRUE(doc.DoFileOpen(MakeJsonProject("good.json")));
    for (const auto& c : cases) {
        const std::string path = m_folder.File("bad.json");
        WriteWholeFile(path, c.text);
        m_ui.m_messages.clear();
        EXPECT_FALSE(doc.DoFileOpen(path)) << c.text;
        ASSERT_EQ(m_ui.m_messages.size(), 1u);
        const std::string expected = path + ": " + c.message;
        EXPECT_EQ(m_ui.m_messages[0].strText.substr(0, expected.size()), expected);
        EXPECT_EQ(CSiteTree::GetItemText(CSiteTree::GetChildItem(doc.m_tree.GetRootItem())), "news");
        EXPECT_EQ(doc.GetPathName(), m_folder.File("good.json"));
    }
}

TEST_F(JsonProjectFile, AnArchiveThatStartsWithABraceStillOpens)
{
    CPagewellDoc doc(m_ui);
    doc.CreateRootPage();
    doc.m_props.m_strAuthor = std::string(123, 'x');
    const std::string path = m_folder.File("brace.pwl");
    ASSERT_TRUE(doc.DoFileSaveAs(path));
    ASSERT_EQ(ReadWholeFile(path).front(), '{');
    CPagewellDoc again(m_ui);
    ASSERT_TRUE(again.DoFileOpen(path));
    EXPECT_EQ(again.GetFormat(), CPagewellDoc::EFormat::Archive);
    EXPECT_EQ(again.m_props.m_strAuthor, doc.m_props.m_strAuthor);
}

TEST_F(JsonProjectFile, SaveAsksBeforeReplacingAFileChangedByAnotherProgram)
{
    const std::string path = MakeJsonProject("site.json");
    CPagewellDoc doc(m_ui);
    ASSERT_TRUE(doc.DoFileOpen(path));
    EXPECT_FALSE(doc.HasFileChangedOnDisk());
    doc.SetModifiedFlag();
    // Another program writes the file (a new inode, as editors and git do).
    const std::string theirs = ReadWholeFile(path) + " ";
    WriteWholeFile(path + ".new", theirs);
    ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
    EXPECT_TRUE(doc.HasFileChangedOnDisk());

    m_ui.m_messageAnswers = { IDNO };
    EXPECT_FALSE(doc.DoFileSave());
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_NE(m_ui.m_messages[0].strText.find("changed by another program"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(path), theirs);
    EXPECT_TRUE(doc.IsModified());

    m_ui.m_messageAnswers = { IDYES };
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ReadWholeFile(path), doc.MakeFileBytes());
    EXPECT_FALSE(doc.HasFileChangedOnDisk()) << "its own save is known";

    // A file deleted under the document is written again, without a question.
    struct CListener : IDocumentListener {
        std::vector<bool> saves;
        void OnDocumentSaved(bool bRecreated) override { saves.push_back(bRecreated); }
    } listener;
    doc.AddListener(&listener);
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_TRUE(doc.HasFileChangedOnDisk());
    m_ui.m_messages.clear();
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_TRUE(m_ui.m_messages.empty());
    EXPECT_EQ(listener.saves, std::vector<bool> { true });
    doc.RemoveListener(&listener);
}

TEST(JsonPlace, FindsTheValueAPathNames)
{
    const std::string text
        = "{\"a\": [1, {\"b\": \"x\\\"]\", \"c\": [[], {}]}],\n \"d\": {\"e\": null}, \"d\": 2}";
    const struct {
        const char* path;
        size_t line;
        size_t column;
    } cases[] = {
        { "", 1, 1 }, { "a", 1, 7 }, { "a[0]", 1, 8 }, { "a[1].b", 1, 17 }, { "a[1].c[1]", 1, 35 },
        { "d", 2, 25 }, // the last of a key given twice
    };
    for (const auto& c : cases) {
        const auto place = FindJsonValue(text, c.path);
        ASSERT_TRUE(place.has_value()) << c.path;
        EXPECT_EQ(place->nLine, c.line) << c.path;
        EXPECT_EQ(place->nColumn, c.column) << c.path;
    }
    EXPECT_FALSE(FindJsonValue(text, "a[2]").has_value());
    EXPECT_FALSE(FindJsonValue(text, "d.e.f").has_value());
}

} // namespace
