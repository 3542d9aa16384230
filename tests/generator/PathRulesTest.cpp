#include <filesystem>
#include <tuple>
#include <unistd.h>

#include "GeneratorFixture.h"
#include "generator/CPageRenderer.h"
#include "generator/CPageWriter.h"
#include "platform/CPathRules.h"
#include "platform/CTextLineReader.h"

namespace {

using namespace std::string_literals;

TEST(GeneratorPathRules, SeparatorsAndJoins)
{
    EXPECT_EQ(CPathRules::GetFileName("images\\sub/Logo.GIF"), "Logo.GIF");
    EXPECT_EQ(CPathRules::GetFileName("plain.gif"), "plain.gif");
    EXPECT_EQ(CPathRules::GetFileName("dir\\"), "");
    EXPECT_EQ(CPathRules::JoinPath("/home/u/site", "a.htm"), "/home/u/site/a.htm");
    EXPECT_EQ(CPathRules::JoinPath("/home/u/site/", "a.htm"), "/home/u/site/a.htm");
    EXPECT_EQ(CPathRules::JoinPath("C:\\site\\", "a.htm"), "C:\\site\\a.htm");
    EXPECT_EQ(CPathRules::AppendName("/site/", "a.gif"), "/site//a.gif");
    // Windows-1252 to UTF-8, every backslash read as a slash.
    EXPECT_EQ(CPathRules::ToNative("images\\\xE9t\xE9.gif"), "images/\xC3\xA9t\xC3\xA9.gif");
    for (const std::string& name :
        { ""s, "."s, ".."s, "a/b"s, "a\\b"s, "/"s, "evil\0"s, "\0"s, "pagewell.jpg\0"s })
        EXPECT_FALSE(CPathRules::IsPlainFileName(name)) << name;
    for (const char* name : { "index", "...", ".hidden", "a b" })
        EXPECT_TRUE(CPathRules::IsPlainFileName(name)) << name;
}

TEST(GeneratorPathRules, OnlyRelativePathsWithoutUpStepsStayInTheWorkspace)
{
    const std::pair<std::string, bool> cases[] = {
        { "images/logo.gif", true },
        { "images\\sub\\a.gif", true },
        { "a..b/..c/d..", true },
        { "./images/./a.gif", true },
        { "C:\\images\\a.gif", true }, // a Windows drive is a folder name here
        { "\\etc\\passwd", false },
        { "/etc/passwd", false },
        { "../../../proc/self/environ", false },
        { "images/../../secret", false },
        { "images\\..\\..", false },
        { "..", false },
        { "images/..", false },
        { "images/a.gif\0/../../x"s, false },
        { "a\0"s, false },
    };
    for (const auto& [path, bInside] : cases)
        EXPECT_EQ(CPathRules::IsInsideWorkspace(path), bInside) << path;
}

TEST(GeneratorPathRules, PageTextEndsEveryLineInCrLf)
{
    // The expansion gets one more line end; every LF, also a lone one at
    // either end or next to another, becomes CR LF; a CR stays as it is.
    const std::pair<std::string, std::string> cases[] = {
        { "", "\r\n" },
        { "one line", "one line\r\n" },
        { "a\nb", "a\r\nb\r\n" },
        { "\n\nx\n", "\r\n\r\nx\r\n\r\n" },
        { "a\r\nb\r", "a\r\r\nb\r\r\n" },
        { std::string(5000, 'z') + "\n", std::string(5000, 'z') + "\r\n\r\n" },
    };
    for (const auto& [expansion, page] : cases)
        EXPECT_EQ(CPageRenderer::MakePageText(expansion), page) << expansion;
}

std::vector<std::string> ReadAll(const std::string& contents)
{
    CTextLineReader reader(contents);
    std::vector<std::string> pieces;
    std::string piece;
    while (reader.ReadLine(piece))
        pieces.push_back(piece);
    return pieces;
}

TEST(TemplateLineReader, PiecesOfAtMost259WithTheLineEndCounted)
{
    const std::string a259(259, 'a');
    EXPECT_EQ(ReadAll(a259 + "\n"), (std::vector<std::string> { a259, "\n" }));
    EXPECT_EQ(ReadAll(a259.substr(1) + "\r\nx"), (std::vector<std::string> { a259.substr(1) + "\n", "x" }));
    EXPECT_EQ(ReadAll(a259 + "\r\n"), (std::vector<std::string> { a259, "\n" }));
    EXPECT_EQ(ReadAll(std::string(300, 'b') + "\n"),
        (std::vector<std::string> { std::string(259, 'b'), std::string(41, 'b') + "\n" }));
    // Only a CR directly before a LF is dropped.
    EXPECT_EQ(ReadAll("a\rb\r\r\n"), (std::vector<std::string> { "a\rb\r\n" }));
    EXPECT_EQ(ReadAll(""), std::vector<std::string> {});
}

class GeneratorFileLocator : public CGeneratorFixture { };

TEST_F(GeneratorFileLocator, ListsAFolderWithoutRegardToCase)
{
    Write("Images/logo.GIF", "");
    Write("Images/b.gif", "");
    Write("Images/c.jpg", "");
    std::filesystem::create_directory(m_folder.File("Images/dir.gif"));
    const CFileLocator locator(CFileSystem::Real(), "");
    EXPECT_EQ(locator.ListMatching("images\\*.gif"), (std::vector<CString> { "b.gif", "logo.GIF" }));
    EXPECT_EQ(locator.ListMatching("images/?.*"), (std::vector<CString> { "b.gif", "c.jpg" }));
    EXPECT_EQ(locator.ListMatching("bullets/*.gif"), std::vector<CString> {});
}

TEST_F(GeneratorFileLocator, DefaultFolderOnlyWhenTheWorkspaceHasNone)
{
    Write("share/bullets/dot.gif", "");
    Write("share/templates/Plain.hdr.txt", "");
    Write("Templates/Own.hdr.txt", "");
    const CFileLocator locator(CFileSystem::Real(), m_folder.File("share"));
    EXPECT_EQ(locator.ListMatching("bullets/*.gif"), std::vector<CString> { "dot.gif" });
    EXPECT_EQ(locator.ListMatching("templates/*.hdr.txt"), std::vector<CString> { "Own.hdr.txt" });
    EXPECT_EQ(locator.LocateForRead("BULLETS\\Dot.GIF"), m_folder.File("share") + "/bullets/dot.gif");
    // A missing file keeps the name it was asked for.
    EXPECT_EQ(locator.LocateForRead("templates\\none.txt"), "Templates/none.txt");
}

TEST(GeneratorPathRules, WithinAFolderMeansBelowItOrItself)
{
    const std::tuple<std::string_view, std::string_view, bool> cases[] = {
        { "/ws/images/a.gif", "/ws", true },
        { "/ws", "/ws", true },
        { "/ws/", "/ws", true },
        { "/a", "/", true },
        { "/wsx/a.gif", "/ws", false },
        { "/w", "/ws", false },
        { "/etc/passwd", "/ws", false },
        { "/ws/a", "", false },
    };
    for (const auto& [path, folder, bWithin] : cases)
        EXPECT_EQ(CPathRules::IsWithinFolder(path, folder), bWithin) << path << " in " << folder;
}

TEST_F(GeneratorFileLocator, ALinkCountsWhereItLeads)
{
    CTempFolder share;
    CTempFolder elsewhere;
    WriteWholeFile(share.File("dot.gif"), "dot");
    WriteWholeFile(elsewhere.File("secret.gif"), "secret");
    Write("keep/blue.gif", "blue");
    Write("images/plain.gif", "plain");
    const auto link = [this](const std::string& target, const std::string& name) {
        ASSERT_EQ(::symlink(target.c_str(), m_folder.File(name).c_str()), 0) << name;
    };
    link("../keep/blue.gif", "images/inside.gif");
    link(m_folder.File("keep/blue.gif"), "images/absolute-inside.gif");
    link(share.File("dot.gif"), "images/defaults.gif");
    link(elsewhere.File("secret.gif"), "images/outside.gif");
    link("outside.gif", "images/chain.gif");
    link("/etc/passwd", "images/passwd.gif");
    link(elsewhere.File("gone.gif"), "images/dangling.gif");
    link(elsewhere.Path(), "background");
    const CFileLocator locator(CFileSystem::Real(), share.Path());
    const std::pair<const char*, bool> cases[] = {
        { "images/plain.gif", false }, { "images\\inside.gif", false },
        { "images/absolute-inside.gif", false }, { "images/defaults.gif", false },
        { "images/missing.gif", false }, // fails as missing when read
        { "images/dangling.gif", false }, { "images/outside.gif", true }, { "IMAGES/Outside.GIF", true },
        { "images/chain.gif", true }, { "images/passwd.gif", true }, { "background/secret.gif", true },
        { "images/../keep/blue.gif", true }, // by its name
    };
    for (const auto& [path, bOutside] : cases)
        EXPECT_EQ(locator.LiesOutside(path), bOutside) << path;
}

} // namespace
