#include <gtest/gtest.h>

#include <fcntl.h>

#include "model/CPagewellDoc.h"
#include "model/CTreeStream.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"
#include "platform/CFile.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

std::string Dword(uint32_t v)
{
    std::string s;
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

class ProjectFile : public ::testing::Test {
protected:
    HTREEITEM Add(const CString& tag, HTREEITEM hParent, uint32_t type = NODE_PAGE)
    {
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_nType = type;
        pNode->m_strTitle = "T-" + tag;
        return m_doc.m_tree.InsertItem(tag, std::move(pNode), hParent, ETreeInsert::Last);
    }

    std::string TreeSection()
    {
        std::string bytes;
        CArchive ar(bytes);
        CTreeStream::Write(ar, m_doc.m_tree);
        return bytes;
    }

    // The tokens of a tree section, an object record shown as its tag.
    static std::string Tokens(const std::string& section)
    {
        CSiteTree tree;
        CArchive ar(std::string_view { section });
        std::string out;
        for (;;) {
            uint32_t token = 0;
            ar >> token;
            out += std::to_string(token);
            if (token == 0)
                return out;
            out += ' ';
            if (token == 4)
                continue;
            CNode node(nullptr);
            node.Serialize(ar);
            CString tag;
            uint32_t image = 0;
            ar >> tag >> image >> image;
            out += tag + ' ';
        }
    }

    std::string Outline()
    {
        std::string out;
        for (HTREEITEM h = m_doc.m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            out += std::string(static_cast<size_t>(CSiteTree::GetLevel(h)), '.') + h->GetLabel() + " ";
        return out;
    }

    CScriptedUserInterface m_ui;
    CPagewellDoc m_doc { m_ui };
    CTempFolder m_folder;
};

TEST_F(ProjectFile, TheRootPageAloneIsWrittenByteForByte)
{
    auto pRoot = std::make_unique<CNode>(nullptr);
    pRoot->m_tStamp = 0x04030201;
    m_doc.m_tree.InsertItem("Index", std::move(pRoot), nullptr, ETreeInsert::Last);
    const std::string expected = Dword(1) + std::string(1, '\0') + Dword(0) + "\x08Untitled" + Dword(0)
        + Dword(0) + "\x01\x02\x03\x04" + std::string(1, '\0') + Dword(0) + std::string(2, '\0') + Dword(0)
        + Dword(0) + Dword(0xFFFFFF) + Dword(0xFF0000) + Dword(0x00FF00)
        + "\x07"
          "Default"
        + Dword(0) + Dword(0) + "\x05Index" + Dword(1) + Dword(0) + Dword(4) + Dword(0);
    m_doc.m_props.m_nExpireDays = 0;
    EXPECT_EQ(TreeSection(), expected);
}

TEST_F(ProjectFile, TokensFollowThePreOrderWalk)
{
    HTREEITEM hR = Add("R", nullptr);
    EXPECT_EQ(Tokens(TreeSection()), "1 R 4 0");
    HTREEITEM hA = Add("A", hR);
    Add("A1", hA);
    Add("B", hR);
    EXPECT_EQ(Tokens(TreeSection()), "1 R 2 A 2 A1 4 5 B 4 4 0");
}

TEST_F(ProjectFile, AnEmptyTreeIsTokenOneThenZero)
{
    EXPECT_EQ(TreeSection(), Dword(1) + Dword(0));
}

TEST_F(ProjectFile, ItemImagesFollowTheType)
{
    HTREEITEM hR = Add("R", nullptr);
    Add("p", hR, NODE_PARAGRAPH);
    Add("l", hR, NODE_LINK);
    Add("x", hR, 7);
    const std::string section = TreeSection();
    CSiteTree tree;
    CArchive ar(std::string_view { section });
    std::vector<uint32_t> images;
    for (;;) {
        uint32_t token = 0;
        ar >> token;
        if (token == 0)
            break;
        if (token == 4)
            continue;
        CNode node(nullptr);
        node.Serialize(ar);
        CString tag;
        uint32_t image = 0;
        uint32_t selected = 0;
        ar >> tag >> image >> selected;
        images.push_back(image);
        images.push_back(selected);
    }
    EXPECT_EQ(images, (std::vector<uint32_t> { 1, 0, 9, 8, 5, 4, 0, 0 }));
}

std::string WriteProject(CPagewellDoc& doc);

// Builds a section from tokens: a letter stands for an object record with that tag.
std::string Stream(const std::string& tokens)
{
    std::string bytes;
    CArchive ar(bytes);
    for (const char c : tokens) {
        if (c == ' ')
            continue;
        if (c >= '0' && c <= '9') {
            ar << static_cast<uint32_t>(c - '0');
            continue;
        }
        CNode node(nullptr);
        node.Serialize(ar);
        ar << CString(1, c) << static_cast<uint32_t>(1) << static_cast<uint32_t>(0);
    }
    return bytes;
}

TEST_F(ProjectFile, OddStreamsAreReadAsTheRulesTakeThem)
{
    struct {
        const char* tokens;
        const char* outline;
    } cases[] = {
        { "1 R 2 A 2 C 4 5 B 4 4 0", "R .A ..C .B " },
        { "1 R 2 A 3 B 3 C 0", "R .A .B .C " },
        { "1 R 2 A 5 B 9 C 0", "R .A .B .C " }, // 3, 5 and unknown tokens insert alike
        { "1 R 4 4 4 5 S 0", "R S " }, // climbing above the top leaves P alone
        { "1 R 2 A 2 C 4 4 4 5 S 0", "R .A ..C S " },
        { "3 R 3 S 0", "R S " }, // no token 1: the top level, last
        { "1 R 1 S 0", "S R " }, // token 1 inserts first
        { "1 R 2 A 2 B 0", "R .A ..B " }, // token 2 goes under the previous object
        { "2 R 2 A 0", "R .A " },
    };
    for (const auto& c : cases) {
        const std::string bytes = Stream(c.tokens);
        CArchive ar(std::string_view { bytes });
        ASSERT_NO_THROW(CTreeStream::Read(ar, m_doc.m_tree)) << c.tokens;
        EXPECT_EQ(Outline(), c.outline) << c.tokens;
    }
}

TEST_F(ProjectFile, ObjectsNestedDeeperThanTheLimitAreRefused)
{
    std::string chain = "1 R";
    for (int level = 2; level <= CTreeStream::kMaxDepth; ++level)
        chain += " 2 A";
    struct {
        std::string tokens;
        bool bRefused;
    } const cases[] = {
        { chain + " 3 B 0", false },
        { chain + " 2 X 0", true },
        // Climbing one level and going down twice again: the last goes too deep.
        { chain + " 4 5 B 2 C 0", false },
        { chain + " 4 5 B 2 C 2 X 0", true },
        { chain + " 4 4 4 5 B 2 C 2 D 2 E 0", false },
    };
    for (const auto& c : cases) {
        const std::string bytes = Stream(c.tokens);
        CArchive ar(std::string_view { bytes });
        if (!c.bRefused) {
            EXPECT_NO_THROW(CTreeStream::Read(ar, m_doc.m_tree)) << c.tokens.substr(c.tokens.size() - 20);
            continue;
        }
        try {
            CTreeStream::Read(ar, m_doc.m_tree);
            ADD_FAILURE() << c.tokens.substr(c.tokens.size() - 20);
        } catch (const CArchiveException& e) {
            EXPECT_TRUE(e.HasReason());
        }
    }

    // Opening such a file says why it was refused.
    HTREEITEM h = Add("R", nullptr);
    for (int level = 1; level <= CTreeStream::kMaxDepth; ++level)
        h = Add("A", h);
    const std::string path = m_folder.File("deep.pwl");
    WriteWholeFile(path, WriteProject(m_doc));
    CScriptedUserInterface ui;
    CPagewellDoc doc(ui);
    EXPECT_FALSE(doc.DoFileOpen(path));
    ASSERT_EQ(ui.m_messages.size(), 1u);
    EXPECT_EQ(
        ui.m_messages[0].strText, "Unexpected file format: objects are nested deeper than 5000 levels.");
}

std::string WriteProject(CPagewellDoc& doc)
{
    std::string bytes;
    CArchive ar(bytes);
    doc.Serialize(ar);
    return bytes;
}

TEST_F(ProjectFile, WriteThenReadGivesTheSameFile)
{
    m_doc.m_props.m_strAuthor = std::string(300, 'a');
    m_doc.m_props.m_clrCustom[3] = 0x00123456;
    m_doc.m_dlgGenerate.m_strDestination = "/tmp/site";
    m_doc.m_dlgGenerate.m_strSpare = "spare";
    HTREEITEM hR = Add("R", nullptr);
    HTREEITEM hA = Add("A", hR, NODE_PARAGRAPH);
    hA->GetNode()->m_strText = "line one\r\nline \xE9two";
    hA->GetNode()->m_nTextFormat = 0x48 | 3;
    hA->GetNode()->m_info.m_bNew = 1;
    hA->GetNode()->m_tStamp = -5;
    Add("L", hA, NODE_LINK);
    Add("B", hR);
    const std::string first = WriteProject(m_doc);

    const std::string path = m_folder.File("site.pwl");
    WriteWholeFile(path, first);
    CScriptedUserInterface ui;
    CPagewellDoc loaded(ui);
    ASSERT_TRUE(loaded.DoFileOpen(path));
    EXPECT_EQ(WriteProject(loaded), first);
    EXPECT_FALSE(loaded.IsModified());
    EXPECT_EQ(loaded.m_pCurrent, loaded.m_tree.GetRootItem()->GetNode()) << "the root becomes current";
}

TEST_F(ProjectFile, EveryTruncationIsUnexpectedFormatAndLeavesTheProject)
{
    HTREEITEM hR = Add("R", nullptr);
    Add("A", Add("P", hR, NODE_PARAGRAPH), NODE_LINK);
    const std::string whole = WriteProject(m_doc);

    CScriptedUserInterface ui;
    CPagewellDoc doc(ui);
    doc.CreateRootPage();
    doc.m_tree.GetRootItem()->GetNode()->m_strText = "keep me";
    doc.m_props.m_strAuthor = "Keeper";
    const std::string path = m_folder.File("cut.pwl");
    for (size_t length = 1; length < whole.size(); ++length) {
        WriteWholeFile(path, whole.substr(0, length));
        ui.m_messages.clear();
        EXPECT_FALSE(doc.DoFileOpen(path)) << length;
        ASSERT_EQ(ui.m_messages.size(), 1u) << length;
        EXPECT_EQ(ui.m_messages[0].strText, "Unexpected file format.");
        EXPECT_EQ(doc.m_props.m_strAuthor, "Keeper");
        EXPECT_EQ(doc.m_tree.GetCount(), 1u);
        EXPECT_EQ(doc.m_tree.GetRootItem()->GetNode()->m_strText, "keep me");
    }
}

TEST_F(ProjectFile, AnEmptyFileOpensAndChangesNothing)
{
    m_doc.m_props.m_strAuthor = "Before";
    Add("R", nullptr);
    const std::string path = m_folder.File("empty.pwl");
    WriteWholeFile(path, "");
    EXPECT_TRUE(m_doc.DoFileOpen(path));
    EXPECT_EQ(m_doc.m_props.m_strAuthor, "Before");
    EXPECT_EQ(m_doc.m_tree.GetCount(), 1u);
    EXPECT_EQ(m_doc.GetPathName(), path);
}

TEST_F(ProjectFile, OpenErrorsCarryTheFrameworkMessages)
{
    EXPECT_FALSE(m_doc.DoFileOpen(m_folder.File("none.pwl")));
    EXPECT_FALSE(m_doc.DoFileOpen(m_folder.Path()));
    ASSERT_EQ(m_ui.m_messages.size(), 2u);
    EXPECT_EQ(m_ui.m_messages[0].strText, m_folder.File("none.pwl") + " was not found.");
    EXPECT_EQ(m_ui.m_messages[0].strCaption, "Pagewell");
    EXPECT_EQ(m_ui.m_messages[1].strText, m_folder.Path() + " contains an invalid path.");
}

TEST_F(ProjectFile, AReadErrorIsReportedAsSuchAndLeavesTheProject)
{
    // A file system whose files open but cannot be read, as a failing disk.
    class CUnreadableFiles : public CFileSystem {
    public:
        std::unique_ptr<CFile> OpenForRead(const std::string& path, EFileError& error) override
        {
            error = EFileError::None;
            return std::make_unique<CFile>(::open(path.c_str(), O_WRONLY));
        }
    } unreadable;
    Add("R", nullptr);
    const std::string path = m_folder.File("site.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));

    CScriptedUserInterface ui;
    CPagewellDoc doc(ui, unreadable);
    doc.m_props.m_strAuthor = "Keeper";
    EXPECT_FALSE(doc.DoFileOpen(path));
    ASSERT_EQ(ui.m_messages.size(), 1u);
    EXPECT_EQ(ui.m_messages[0].strText, "Failed to open document.");
    EXPECT_EQ(doc.m_props.m_strAuthor, "Keeper");
    EXPECT_TRUE(doc.m_tree.IsEmpty());
}

TEST_F(ProjectFile, ALargeProjectSavesAndOpensThroughManyPieces)
{
    // Several megabytes: the file is written and read in many pieces, with
    // texts crossing from one piece into the next.
    HTREEITEM hR = Add("R", nullptr);
    for (int i = 0; i < 3000; ++i) {
        HTREEITEM hItem = Add("P" + std::to_string(i), hR, i % 3 == 0 ? NODE_PAGE : NODE_PARAGRAPH);
        hItem->GetNode()->m_strText
            = CString(static_cast<size_t>(i % 2000) + 1, static_cast<char>('a' + i % 26));
    }
    const std::string path = m_folder.File("large.pwl");
    ASSERT_TRUE(m_doc.DoFileSaveAs(path));
    const std::string saved = ReadWholeFile(path);
    EXPECT_EQ(saved, WriteProject(m_doc));

    CScriptedUserInterface ui;
    CPagewellDoc loaded(ui);
    ASSERT_TRUE(loaded.DoFileOpen(path));
    EXPECT_EQ(loaded.m_tree.GetCount(), 3001u);
    EXPECT_EQ(WriteProject(loaded), saved);
}

TEST_F(ProjectFile, LoadingExpiresBannersOfOldObjects)
{
    HTREEITEM hR = Add("R", nullptr);
    CNode& node = *hR->GetNode();
    node.m_info.m_nExpireDays = 1;
    node.m_tStamp = 1000;
    node.m_info.m_bNew = node.m_info.m_bUpdated = 1;
    const std::string path = m_folder.File("old.pwl");
    WriteWholeFile(path, WriteProject(m_doc));

    const CClock::CScopedFake clock(1000 + 86400 + 1);
    CScriptedUserInterface ui;
    CPagewellDoc doc(ui);
    ASSERT_TRUE(doc.DoFileOpen(path));
    EXPECT_EQ(doc.m_tree.GetRootItem()->GetNode()->m_info.m_bNew, 0);
    EXPECT_EQ(doc.m_tree.GetRootItem()->GetNode()->m_info.m_bUpdated, 0);
    EXPECT_FALSE(doc.IsModified()) << "the cleared flags reach the file only with the next save";
}

} // namespace
