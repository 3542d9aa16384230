#include <filesystem>
#include <regex>

#include "GeneratorFixture.h"
#include "PictureFiles.h"
#include "generator/CBodyImages.h"
#include "generator/CPictureCache.h"
#include "generator/CPictureHeader.h"
#include "generator/CPictureProcessor.h"

namespace {

TEST(PictureHeaders, SizesOfEveryFormat)
{
    struct CCase {
        CTestPicture picture;
        EPictureFormat format;
        int nWidth;
        int nHeight;
    } cases[] = {
        { { 40, 30, ".jpg" }, EPictureFormat::Jpeg, 40, 30 },
        { { 41, 31, ".png" }, EPictureFormat::Png, 41, 31 },
        { { 42, 32, ".webp" }, EPictureFormat::WebP, 42, 32 },
        { { 43, 33, ".gif" }, EPictureFormat::Gif, 43, 33 },
        // Shown turned a quarter: width and height trade places.
        { { 40, 30, ".jpg", 6 }, EPictureFormat::Jpeg, 30, 40 },
        { { 40, 30, ".webp", 8 }, EPictureFormat::WebP, 30, 40 },
    };
    for (const CCase& c : cases) {
        const auto header = CPictureHeaders::Read(c.picture.Make());
        ASSERT_TRUE(header) << c.picture.pszSuffix;
        EXPECT_EQ(header->format, c.format) << c.picture.pszSuffix;
        EXPECT_EQ(header->nWidth, c.nWidth) << c.picture.pszSuffix;
        EXPECT_EQ(header->nHeight, c.nHeight) << c.picture.pszSuffix;
    }
    EXPECT_FALSE(CPictureHeaders::Read("not a picture"));
    EXPECT_FALSE(CPictureHeaders::Read(""));
    EXPECT_TRUE(CPictureHeaders::Read(CTestPicture { 8, 8, ".jpg", 1, true }.Make())->bHasGps);
    EXPECT_FALSE(CPictureHeaders::Read(CTestPicture { 8, 8, ".png" }.Make())->bHasMetadata);
}

TEST(PictureHeaders, SvgSizeFromItsAttributesOrViewBox)
{
    struct CCase {
        const char* pszSvg;
        int nWidth; // 0: no size
        int nHeight;
    } cases[] = {
        { "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='16'>", 24, 16 },
        { "<?xml version=\"1.0\"?>\n<svg width=\"24px\" height=\"16.4px\" viewBox=\"0 0 1 1\">", 24, 16 },
        { "<svg viewBox=\"0 0 300 150\">", 300, 150 },
        { "<svg width=\"100%\" height=\"100%\" viewBox=\"0,0,30,15\">", 30, 15 },
        // One length in pixels keeps the box's proportions.
        { "<svg width=\"60\" viewBox=\"0 0 30 15\">", 60, 30 },
        { "<svg width=\"2em\" height=\"1em\">", 0, 0 },
        { "<svg viewBox=\"0 0 0 10\">", 0, 0 },
        { "<html><p>no svg</p></html>", 0, 0 },
    };
    for (const CCase& c : cases) {
        const auto header = CPictureHeaders::Read(c.pszSvg);
        if (c.nWidth == 0) {
            EXPECT_FALSE(header) << c.pszSvg;
            continue;
        }
        ASSERT_TRUE(header) << c.pszSvg;
        EXPECT_EQ(header->format, EPictureFormat::Svg);
        EXPECT_EQ(header->nWidth, c.nWidth) << c.pszSvg;
        EXPECT_EQ(header->nHeight, c.nHeight) << c.pszSvg;
    }
}

TEST(PictureProcessor, ScalesTurnsStripsAndOffersVariants)
{
    const std::string original = CTestPicture { 2000, 1500, ".jpg", 6, true }.Make();
    CString error;
    const auto picture = CPictureProcessor::Process("Photo.jpg", original, { 1000, false, true }, error);
    ASSERT_TRUE(picture) << error;
    // Upright 1500 x 2000, scaled to 1000 wide.
    EXPECT_EQ(picture->nWidth, 1000);
    EXPECT_EQ(picture->nHeight, 1333);
    ASSERT_EQ(picture->srcset.size(), 3U);
    EXPECT_EQ(picture->srcset[0].nWidth, 480);
    EXPECT_EQ(picture->srcset[1].nWidth, 960);
    EXPECT_EQ(picture->srcset[2].strName, picture->strSrc);
    EXPECT_EQ(picture->files.front().strName, "Photo.jpg");
    for (const CPicture::CFile& file : picture->files) {
        const auto header = CPictureHeaders::Read(file.bytes);
        ASSERT_TRUE(header) << file.strName;
        // A writer's own technical tags may stay; the camera and the place go.
        EXPECT_EQ(file.bytes.find("TestCam"), std::string::npos) << file.strName;
        EXPECT_FALSE(header->bHasGps) << file.strName;
        EXPECT_EQ(header->nOrientation, 1) << file.strName;
        EXPECT_LE(header->nWidth, 1000) << file.strName;
    }
    // Kept metadata keeps the location.
    const auto kept = CPictureProcessor::Process("p.jpg", original, { 1000, true, false }, error);
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->files.size(), 1U);
    EXPECT_TRUE(CPictureHeaders::Read(kept->files[0].bytes)->bHasGps);
    // A small clean picture and a GIF go as they are.
    const std::string small = CTestPicture { 100, 50, ".png" }.Make();
    const std::string gif = CTestPicture { 3000, 50, ".gif" }.Make();
    for (const std::string* pBytes : { &small, &gif }) {
        const auto same = CPictureProcessor::Process("x", *pBytes, { 1000, false, false }, error);
        ASSERT_TRUE(same);
        ASSERT_EQ(same->files.size(), 1U);
        EXPECT_EQ(same->files[0].bytes, *pBytes);
    }
    EXPECT_FALSE(CPictureProcessor::Process("x.jpg", "garbage", {}, error));
    EXPECT_EQ(CPictureProcessor::VariantName("a.b.jpg", 480, EPictureFormat::WebP), "a.b-480w.webp");
}

TEST(PictureCache, EntriesRoundTripAndDamageReadsAsMissing)
{
    CPicture picture { 10, 5, "a-10w.webp", { { "a-4w.webp", 4 }, { "a-10w.webp", 10 } },
        { { "a.jpg", std::string("\0\xFF\n1 x\n", 7) }, { "a-10w.webp", "bytes" } } };
    const std::string bytes = CPictureCache::Serialize(picture);
    const auto back = CPictureCache::Parse(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(CPictureCache::Serialize(*back), bytes);
    EXPECT_EQ(back->files[0].bytes, picture.files[0].bytes);
    EXPECT_FALSE(CPictureCache::Parse(bytes.substr(0, bytes.size() - 1)));
    EXPECT_FALSE(CPictureCache::Parse(bytes + "x"));
    EXPECT_FALSE(CPictureCache::Parse("pagewell-picture 1\n-1 x\n"));
    // The key follows the bytes, the name and every option.
    const std::string key = CPictureCache::MakeKey("abc", "a.jpg", { 1600, false, true });
    EXPECT_NE(key, CPictureCache::MakeKey("abd", "a.jpg", { 1600, false, true }));
    EXPECT_NE(key, CPictureCache::MakeKey("abc", "b.jpg", { 1600, false, true }));
    EXPECT_NE(key, CPictureCache::MakeKey("abc", "a.jpg", { 1200, false, true }));
    EXPECT_NE(key, CPictureCache::MakeKey("abc", "a.jpg", { 1600, true, true }));
    EXPECT_NE(key, CPictureCache::MakeKey("abc", "a.jpg", { 1600, false, false }));
}

TEST(BodyImages, CompletesOnlyWhatIsMissing)
{
    const CPicture photo { 800, 600, "photo-800w.webp",
        { { "photo-480w.webp", 480 }, { "photo-800w.webp", 800 } }, {} };
    const CPicture plain { 20, 10, "my dot.png", {}, {} };
    const CBodyImages::CLookup lookup = [&](const CString& name) -> const CPicture* {
        return name == "photo.jpg" ? &photo : name == "my dot.png" ? &plain : nullptr;
    };
    struct CCase {
        const char* pszText;
        int nBefore; // pictures earlier on the page
        const char* pszExpected;
    } cases[] = {
        { "<p><IMG SRC=photo.jpg alt='A \"b\"' class=c title=t></p>", 0,
            "<p><IMG SRC=\"photo-800w.webp\" alt='A \"b\"' class=c title=t width=\"800\" height=\"600\" "
            "srcset=\"photo-480w.webp 480w, photo-800w.webp 800w\" sizes=\"(max-width: 800px) 100vw, "
            "800px\"></p>" },
        { "<img src=\"my%20dot.png\" />", 1,
            "<img src=\"my%20dot.png\" width=\"20\" height=\"10\" loading=\"lazy\" decoding=\"async\" />" },
        // The author's own size, loading and srcset stay.
        { "<img src=\"my dot.png\" width=5 loading=eager>", 1,
            "<img src=\"my%20dot.png\" width=5 loading=eager decoding=\"async\">" },
        // Pictures the run does not publish stay as written, but count.
        { "<img src=\"http://x/photo.jpg\"><img src=\"sub/photo.jpg\"><img src=\"my dot.png\">", 0,
            "<img src=\"http://x/photo.jpg\"><img src=\"sub/photo.jpg\"><img src=\"my%20dot.png\" "
            "width=\"20\" "
            "height=\"10\" loading=\"lazy\" decoding=\"async\">" },
        { "<imgx src=photo.jpg><img src=\"photo.jpg\"", 0, "<imgx src=photo.jpg><img src=\"photo.jpg\"" },
    };
    for (const CCase& c : cases) {
        int nPagePictures = c.nBefore;
        EXPECT_EQ(CBodyImages::Rewrite(c.pszText, lookup, nPagePictures), c.pszExpected) << c.pszText;
    }
    EXPECT_EQ(CBodyImages::GetImageName("a%20b&amp;c.jpg"), CString("a b&c.jpg"));
    EXPECT_FALSE(CBodyImages::GetImageName("../x.jpg"));
    EXPECT_FALSE(CBodyImages::GetImageName("#x"));
    EXPECT_FALSE(CBodyImages::GetImageName("data:image/png;base64,xx"));
}

// A site with pictures in the workspace, generated with modern or classic markup.
class SitePictures : public CGeneratorFixture {
protected:
    void SetUp() override
    {
        Write("images/photo.jpg", m_photo);
        Write("images/turned.jpg", m_turned);
        Write("images/icon.png", CTestPicture { 32, 24, ".png" }.Make());
        WriteTemplates("[@TEXT=!][@IMAGE=!][IMAGE][TEXT]");
        const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, "Home",
            "<img src=\"photo.jpg\" alt=\"Bay\" class=\"wide\"> and <img src=\"turned.jpg\" alt=\"\">"
            " and <img src=\"gone.jpg\" alt=\"x\">");
        Node(hRoot).m_info.m_strIcon = "icon.png";
        Add(hRoot, "second", NODE_PAGE, "Second", "<img src=\"photo.jpg\" alt=\"Again\">");
    }
    void Modern(const std::string& more = "")
    {
        m_settings.m_strSpare = "pagewell-settings 1\nmarkup=modern\nmaxwidth=1000\n" + more;
    }
    // The bytes of every published file, by name.
    std::map<std::string, std::string> Published() const
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : OutNames())
            files[name] = Read("out/" + name);
        return files;
    }

    const std::string m_photo = CTestPicture { 2400, 1600, ".jpg", 1, true }.Make();
    const std::string m_turned = CTestPicture { 300, 200, ".jpg", 6, true }.Make();
};

TEST_F(SitePictures, ModernRunPublishesBodyPicturesSmallAndPrivate)
{
    Modern();
    Run().Run();
    const std::string index = Read("out/index.htm");
    // The icon stands for a shown title: it is silent, and sized.
    EXPECT_NE(index.find("<img src=\"icon.png\" alt=\"\" width=\"32\" height=\"24\">"), std::string::npos)
        << index;
    const std::regex photo(
        "<img src=\"photo(-1000w\\.webp|\\.jpg)\" alt=\"Bay\" class=\"wide\" width=\"1000\" "
        "height=\"667\" srcset=\"[^\"]*480w, [^\"]*960w, [^\"]*1000w\" sizes=\"\\(max-width: "
        "1000px\\) 100vw, 1000px\"> and ");
    EXPECT_TRUE(std::regex_search(index, photo)) << index;
    // The second picture of the page loads lazily, turned upright.
    EXPECT_NE(index.find("alt=\"\" width=\"200\" height=\"300\" loading=\"lazy\" decoding=\"async\">"),
        std::string::npos)
        << index;
    EXPECT_NE(index.find("<img src=\"gone.jpg\" alt=\"x\">"), std::string::npos);
    // The first picture of another page loads at once.
    EXPECT_EQ(Read("out/second.htm").find("lazy"), std::string::npos);
    const auto files = Published();
    ASSERT_TRUE(files.contains("photo.jpg"));
    EXPECT_TRUE(files.contains("photo-480w.jpg") || files.contains("photo-480w.webp"));
    for (const auto& [name, bytes] : files) {
        if (name.ends_with(".htm"))
            continue;
        const auto header = CPictureHeaders::Read(bytes);
        ASSERT_TRUE(header) << name;
        EXPECT_FALSE(header->bHasGps) << name;
        EXPECT_EQ(bytes.find("TestCam"), std::string::npos) << name;
        EXPECT_LE(header->nWidth, 1000) << name;
    }
    // The workspace keeps its pictures as they were.
    EXPECT_EQ(Read("images/photo.jpg"), m_photo);
    EXPECT_EQ(Read("images/turned.jpg"), m_turned);
}

TEST_F(SitePictures, RerunTakesEveryPictureFromTheCache)
{
    Modern();
    CTempFolder cache;
    Run().SetRecordFolder(cache.Path(), 0);
    Run().Run();
    EXPECT_EQ(Run().GetPictures().GetConvertedCount(), 3U);
    const auto first = Published();
    // A new run, with the record of the last one removed: it writes again
    // but converts nothing.
    m_pRun.reset();
    for (const auto& entry : std::filesystem::directory_iterator(cache.Path())) {
        if (entry.is_regular_file())
            std::filesystem::remove(entry.path());
    }
    Run().SetRecordFolder(cache.Path(), 0);
    Run().Run();
    EXPECT_EQ(Run().GetPictures().GetConvertedCount(), 0U);
    EXPECT_EQ(Published(), first);
    // A changed picture is converted again.
    m_pRun.reset();
    Write("images/turned.jpg", CTestPicture { 310, 200, ".jpg" }.Make());
    Run().SetRecordFolder(cache.Path(), 0);
    Run().Run();
    EXPECT_EQ(Run().GetPictures().GetConvertedCount(), 1U);
}

TEST_F(SitePictures, KeptMetadataAndClassicMarkup)
{
    Modern("keepmetadata=yes\n");
    Run().Run();
    EXPECT_TRUE(CPictureHeaders::Read(Read("out/photo.jpg"))->bHasGps);
    // Classic markup: the body text as written, its pictures not published,
    // the icon copied byte for byte.
    m_settings.m_strSpare.clear();
    std::filesystem::remove_all(m_folder.File("out"));
    std::filesystem::create_directory(m_folder.File("out"));
    m_pRun.reset();
    Run().Run();
    EXPECT_EQ(Read("out/index.htm"),
        "<IMG SRC=\"icon.png\" ALT=\"Home\" border=0><img src=\"photo.jpg\" alt=\"Bay\" class=\"wide\"> and "
        "<img "
        "src=\"turned.jpg\" alt=\"\"> and <img src=\"gone.jpg\" alt=\"x\">\r\n");
    EXPECT_FALSE(Exists("out/photo.jpg"));
    EXPECT_EQ(Read("out/icon.png"), Read("images/icon.png"));
}

} // namespace
