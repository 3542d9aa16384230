#include <gtest/gtest.h>

#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "platform/CArchive.h"
#include "platform/CClock.h"
#include "support/CScriptedUserInterface.h"

namespace {

class CNodeTest : public ::testing::Test {
protected:
    CNodeTest()
    {
        CDocProperties& p = m_doc.m_props;
        p.m_strBgBitmap = "bg.gif";
        p.m_nExpireDays = 31;
        p.m_strImage = "icon.gif";
        p.m_strLineImage = "line.gif";
        p.m_bNew = 1;
        p.m_bUpdated = 1;
        p.m_bConstruction = 1;
        p.m_strTemplate = "Fancy";
        p.m_clrText = 0x010203;
        p.m_clrBg = 0x040506;
        p.m_clrLink = 0x070809;
        p.m_clrVLink = 0x0A0B0C;
    }

    CScriptedUserInterface m_ui;
    CPagewellDoc m_doc { m_ui };
};

TEST_F(CNodeTest, AnInsertedObjectTakesEveryProjectDefault)
{
    const CNode node(&m_doc);
    EXPECT_EQ(node.m_strTitle, "Untitled");
    EXPECT_EQ(node.m_strText, "");
    EXPECT_EQ(node.m_info.m_strBgBitmap, "bg.gif");
    EXPECT_EQ(node.m_info.m_nExpireDays, 31);
    EXPECT_EQ(node.m_info.m_strIcon, "icon.gif");
    EXPECT_EQ(node.m_info.m_strLineImage, "line.gif");
    EXPECT_EQ(node.m_info.m_bNew, 1);
    EXPECT_EQ(node.m_info.m_bUpdated, 1);
    EXPECT_EQ(node.m_info.m_bConstruction, 1);
    EXPECT_EQ(node.m_info.m_strTemplate, "Fancy");
    EXPECT_EQ(node.m_info.m_clrVLink, 0x0A0B0Cu);
    EXPECT_EQ(node.m_info.m_bBannersTouched, 0);
}

TEST_F(CNodeTest, TheRootAndLoadedObjectsDropFiveDefaults)
{
    const CNode node(nullptr);
    EXPECT_EQ(node.m_info.m_strBgBitmap, "");
    EXPECT_EQ(node.m_info.m_nExpireDays, 0);
    EXPECT_EQ(node.m_info.m_strIcon, "");
    EXPECT_EQ(node.m_info.m_strLineImage, "");
    EXPECT_EQ(node.m_info.m_bNew, 0);
    // Colours, template, Construction and Updated still come from the project.
    EXPECT_EQ(node.m_info.m_bUpdated, 1);
    EXPECT_EQ(node.m_info.m_bConstruction, 1);
    EXPECT_EQ(node.m_info.m_strTemplate, "Fancy");
    EXPECT_EQ(node.m_info.m_clrText, 0x010203u);
    EXPECT_EQ(node.m_nType, NODE_PAGE);
    EXPECT_EQ(node.m_tStamp, 0);
}

TEST_F(CNodeTest, TheRootPageIsStampedAndNamedIndex)
{
    const CClock::CScopedFake clock(1700000000);
    HTREEITEM hRoot = m_doc.CreateRootPage();
    EXPECT_EQ(hRoot->GetLabel(), "Index");
    EXPECT_EQ(hRoot->GetNode()->m_tStamp, 1700000000);
    EXPECT_EQ(hRoot->GetNode()->m_info.m_bNew, 0);
    EXPECT_EQ(m_doc.CreateRootPage(), hRoot) << "a second call adds nothing";
    EXPECT_EQ(m_doc.m_tree.GetCount(), 1u);
}

struct CExpireCase {
    int32_t days;
    int32_t stamp;
    int64_t now;
    bool cleared;
};

class AutoExpire : public ::testing::TestWithParam<CExpireCase> { };

TEST_P(AutoExpire, ClearsTheBannersOnlyAfterTheDays)
{
    const CExpireCase& c = GetParam();
    CNode written(nullptr);
    written.m_info.m_nExpireDays = c.days;
    written.m_tStamp = c.stamp;
    written.m_info.m_bNew = written.m_info.m_bUpdated = written.m_info.m_bConstruction = 1;
    std::string bytes;
    CArchive out(bytes);
    written.Serialize(out);

    const CClock::CScopedFake clock(c.now);
    CNode loaded(nullptr);
    CArchive in(std::string_view { bytes });
    loaded.Serialize(in);
    const int32_t expected = c.cleared ? 0 : 1;
    EXPECT_EQ(loaded.m_info.m_bNew, expected);
    EXPECT_EQ(loaded.m_info.m_bUpdated, expected);
    EXPECT_EQ(loaded.m_info.m_bConstruction, expected);
    EXPECT_EQ(loaded.m_tStamp, c.stamp) << "the stamp stays";
}

constexpr int32_t kStamp = 1000000000;
INSTANTIATE_TEST_SUITE_P(Boundaries, AutoExpire,
    ::testing::Values(CExpireCase { 2, kStamp, kStamp + 2 * 86400, false },
        CExpireCase { 2, kStamp, kStamp + 2 * 86400 + 1, true }, CExpireCase { 0, 0, 2000000000, false },
        CExpireCase { 5, 0, 1700000000, true },
        // A large number of days never wraps round into the past.
        CExpireCase { 100000, kStamp, kStamp + 86400, false },
        CExpireCase { 2147483647, 2147483000, 2147483647, false },
        // After 2038 the rule still compares correctly.
        CExpireCase { 1, kStamp, 3000000000LL, true }));

TEST(FormatWord, ChoosingTheHeldValueResetsIt)
{
    struct {
        uint32_t word;
        uint32_t align;
        uint32_t expected;
    } alignCases[] = { { 0, ALIGN_CENTER, 3 }, { 3, ALIGN_CENTER, 0 }, { 0x48 | 1, ALIGN_RIGHT, 0x48 | 2 },
        { 0x48 | 2, ALIGN_RIGHT, 0x48 } };
    for (const auto& c : alignCases)
        EXPECT_EQ(SetAlignment(c.word, c.align), c.expected);

    struct {
        uint32_t word;
        uint32_t style;
        uint32_t expected;
    } styleCases[] = { { 0, STYLE_NORMAL, 0x48 }, { 3, STYLE_H1, 0x08 | 3 }, { 0x08 | 3, STYLE_H1, 3 },
        { 0x48, STYLE_HIDDEN, 0x50 } };
    for (const auto& c : styleCases)
        EXPECT_EQ(SetStyle(c.word, c.style), c.expected);
    EXPECT_EQ(GetStyle(0x50 | 2), STYLE_HIDDEN);
    EXPECT_EQ(GetAlignment(0x50 | 2), ALIGN_RIGHT);
}

TEST(ImageIndex, FollowsTheTypeAndMode)
{
    EXPECT_EQ(GetImageIndex(NODE_PAGE, 0, IMAGE_NORMAL), 1u);
    EXPECT_EQ(GetImageIndex(NODE_PAGE, 1, IMAGE_NORMAL), 0u);
    EXPECT_EQ(GetImageIndex(NODE_PARAGRAPH, 0, IMAGE_NORMAL), 9u);
    EXPECT_EQ(GetImageIndex(NODE_PARAGRAPH, 5, IMAGE_NORMAL), 8u);
    EXPECT_EQ(GetImageIndex(NODE_LINK, 0, IMAGE_NORMAL), 5u);
    EXPECT_EQ(GetImageIndex(NODE_LINK, 1, IMAGE_DRAG), 6u);
    EXPECT_EQ(GetImageIndex(NODE_PARAGRAPH, 0, IMAGE_DROP), 11u);
    EXPECT_EQ(GetImageIndex(7, 0, IMAGE_NORMAL), 0u);
    EXPECT_EQ(GetImageIndex(NODE_PAGE, 0, 3), 0u);
}

} // namespace
