#include "../generator/GeneratorFixture.h"
#include "../generator/PictureFiles.h"
#include "checker/CSiteChecker.h"

namespace {

// A page naming pictures of the workspace in its body text and its icon.
class PictureCheck : public CGeneratorFixture {
protected:
    PictureCheck()
    {
        WriteTemplates("[@IMAGE=!][@TEXT=!][IMAGE][TEXT]");
        for (const char* image : { "images/pagewell.jpg", "images/bluerib.gif" })
            Write(image, CTestPicture { 8, 8, ".gif" }.Make());
        m_hRoot = Add(nullptr, "index");
    }

    // The findings about pictures, one line each.
    std::vector<std::string> Findings(const std::string& settings)
    {
        CCheckOptions options;
        options.settings = CSiteSettings::FromSpare("pagewell-settings 1\n" + settings);
        const CFileLocator locator(Files(), m_strShareDir);
        CCheckContext context(m_tree, m_props, false, m_settings.m_strDestination, Files(), locator, options);
        std::vector<std::string> lines;
        for (const CFinding& finding : CSiteChecker::Check(context)) {
            if (finding.message.starts_with("the picture "))
                lines.push_back(finding.FormatLine());
        }
        return lines;
    }

    HTREEITEM m_hRoot = nullptr;
};

TEST_F(PictureCheck, SizeLetterCaseAndLocation)
{
    // Noise compresses badly: 1200 x 1200 pixels make more than a megabyte.
    Write("images/big.png", CTestPicture { 1200, 1200, ".png" }.Make());
    Write("images/Trip.jpg", CTestPicture { 40, 30, ".jpg", 1, true }.Make());
    Node(m_hRoot).m_strText
        = "<img src=\"big.png\" alt=\"\"><img src=\"trip.jpg\" alt=\"\"><img src=\"x.gif\">";
    Node(m_hRoot).m_info.m_strIcon = "big.png";
    struct CCase {
        const char* pszSettings;
        std::vector<std::string> expected; // parts of the findings, in order
    } cases[] = {
        // Classic: the icon as it is; body texts' pictures are not published.
        { "", { "\"images/big.png\" is published with " } },
        // Scaled down to 400 pixels it is small enough.
        { "markup=modern\nmaxwidth=400\n", { "\"images/trip.jpg\" is named \"Trip.jpg\" on the disk" } },
        { "markup=modern\nkeepmetadata=yes\n",
            { "\"images/big.png\" is published with", "\"images/trip.jpg\" is named \"Trip.jpg\"",
                "\"images/trip.jpg\" tells where it was taken" } },
    };
    for (const CCase& c : cases) {
        const std::vector<std::string> lines = Findings(c.pszSettings);
        ASSERT_EQ(lines.size(), c.expected.size()) << c.pszSettings << (lines.empty() ? "" : lines[0]);
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_NE(lines[i].find(c.expected[i]), std::string::npos) << lines[i];
    }
}

TEST_F(PictureCheck, ModernRunsPublishTheImagesFolder)
{
    Write("images/photo.jpg", CTestPicture { 40, 30, ".jpg" }.Make());
    Node(m_hRoot).m_strText = "<img src=\"photo.jpg\" alt=\"A photo\">";
    const auto missing = [&](const std::string& settings) {
        CCheckOptions options;
        options.settings = CSiteSettings::FromSpare("pagewell-settings 1\n" + settings);
        const CFileLocator locator(Files(), m_strShareDir);
        CCheckContext context(m_tree, m_props, false, m_settings.m_strDestination, Files(), locator, options);
        for (const CFinding& finding : CSiteChecker::Check(context)) {
            if (finding.message.find("neither copied") != CString::npos)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(missing(""));
    EXPECT_FALSE(missing("markup=modern\n"));
}

} // namespace
