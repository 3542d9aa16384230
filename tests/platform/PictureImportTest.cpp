#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/CFileSystem.h"
#include "platform/CPictureImport.h"
#include "support/TestFiles.h"

namespace {

using EAnswer = CPictureImport::EClashAnswer;
using EOutcome = CPictureImport::EOutcome;

TEST(PictureImport, NamesForTheWeb)
{
    const struct {
        const char* input;
        const char* safe;
        const char* alt;
        bool bPicture;
    } cases[] = {
        { "/home/a/Holiday Photo (1).JPG", "holiday-photo-1.jpg", "Holiday Photo (1)", true },
        { "sunset_at--the  beach.jpeg", "sunset_at-the-beach.jpeg", "sunset at the beach", true },
        { "Caf\xC3\xA9 K\xC3\xB6ln.PNG", "caf-k-ln.png", "Caf\xC3\xA9 K\xC3\xB6ln", true },
        { "--weird..name--.WebP", "weird-name.webp", "weird..name", true },
        { "my.photo.v2.svg", "my-photo-v2.svg", "my.photo.v2", true },
        { "(((.gif", "picture.gif", "(((", true },
        { ".png", "picture.png", "", true },
        { "notes.txt", "notes.txt", "notes", false },
        { "README", "readme", "README", false },
        { "archive.jpg.zip", "archive-jpg.zip", "archive.jpg", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(CPictureImport::SafeName(c.input), c.safe);
        EXPECT_EQ(CPictureImport::AltText(c.input), c.alt);
        EXPECT_EQ(CPictureImport::IsPictureName(c.input), c.bPicture);
    }
}

class CPictureImportFiles : public ::testing::Test {
protected:
    CPictureImportFiles() { std::filesystem::create_directories(Images()); }

    std::string Images() const { return m_workspace.File("images"); }
    std::string Outside(const std::string& name, const std::string& bytes)
    {
        WriteWholeFile(m_outside.File(name), bytes);
        return m_outside.File(name);
    }
    // Imports with a user who answers answer; remembers whether asked.
    CPictureImport::CResult Import(const std::string& source, EAnswer answer = EAnswer::Cancel,
        bool bSubfolders = false, const std::string& defaultFolder = {})
    {
        m_asked.reset();
        const CPictureImport import(CFileSystem::Real(), Images(), defaultFolder, bSubfolders);
        return import.Import(source, [&](const std::string& name) {
            m_asked = name;
            return answer;
        });
    }

    CTempFolder m_workspace;
    CTempFolder m_outside;
    std::optional<std::string> m_asked;
};

TEST_F(CPictureImportFiles, CopiesAPictureFromOutsideUnderItsSafeName)
{
    const auto result = Import(Outside("Beach Day.JPG", "jpeg bytes"));
    EXPECT_EQ(result.outcome, EOutcome::Copied);
    EXPECT_EQ(result.name, "beach-day.jpg");
    EXPECT_EQ(ReadWholeFile(Images() + "/beach-day.jpg"), "jpeg bytes");
    EXPECT_FALSE(m_asked);
}

TEST_F(CPictureImportFiles, ATakenNameAsksOnlyForDifferentBytes)
{
    WriteWholeFile(Images() + "/beach.jpg", "old");
    WriteWholeFile(Images() + "/beach-2.jpg", "other");
    const struct {
        EAnswer answer;
        EOutcome outcome;
        const char* name;
        const char* there; // beach.jpg afterwards
    } cases[] = {
        { EAnswer::UseExisting, EOutcome::Existing, "beach.jpg", "old" },
        { EAnswer::KeepBoth, EOutcome::Copied, "beach-3.jpg", "old" },
        { EAnswer::Cancel, EOutcome::Cancelled, "", "old" },
        { EAnswer::Replace, EOutcome::Replaced, "beach.jpg", "new" },
    };
    const std::string source = Outside("Beach.jpg", "new");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = Import(source, c.answer);
        EXPECT_EQ(m_asked, "beach.jpg");
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.name, c.name);
        EXPECT_EQ(ReadWholeFile(Images() + "/beach.jpg"), c.there);
    }
    EXPECT_EQ(ReadWholeFile(Images() + "/beach-3.jpg"), "new");
    EXPECT_EQ(ReadWholeFile(Images() + "/beach-2.jpg"), "other");
    // Now the bytes are there: used without a question, under the name there.
    const auto same = Import(Outside("BEACH.JPG", "new"), EAnswer::Replace);
    EXPECT_FALSE(m_asked);
    EXPECT_EQ(same.outcome, EOutcome::Existing);
    EXPECT_EQ(same.name, "beach.jpg");
}

TEST_F(CPictureImportFiles, ANameDifferingInLetterCaseIsTaken)
{
    WriteWholeFile(Images() + "/Logo.png", "old");
    const auto result = Import(Outside("logo.png", "new"), EAnswer::KeepBoth);
    EXPECT_EQ(m_asked, "Logo.png");
    EXPECT_EQ(result.name, "logo-2.png");
}

TEST_F(CPictureImportFiles, APictureInTheFolderIsUsedWhereItIs)
{
    WriteWholeFile(Images() + "/My Photo.jpg", "a");
    std::filesystem::create_directories(Images() + "/trip");
    WriteWholeFile(Images() + "/trip/Day 1.jpg", "b");
    // The path may name the folder in any way that leads there.
    const auto plain = Import(Images() + "/../images/My Photo.jpg");
    EXPECT_EQ(plain.outcome, EOutcome::Inside);
    EXPECT_EQ(plain.name, "My Photo.jpg");
    EXPECT_EQ(Import(Images() + "/trip/Day 1.jpg", EAnswer::Cancel, true).name, "trip/Day 1.jpg");
    // Body texts take plain names: a picture below the folder is copied up.
    const auto below = Import(Images() + "/trip/Day 1.jpg");
    EXPECT_EQ(below.outcome, EOutcome::Copied);
    EXPECT_EQ(below.name, "day-1.jpg");
}

TEST_F(CPictureImportFiles, RefusesWhatIsNoPicture)
{
    for (const std::string& source :
        { Outside("notes.txt", "x"), m_outside.File("missing.jpg"), m_outside.Path() }) {
        SCOPED_TRACE(source);
        const auto result = Import(source);
        EXPECT_EQ(result.outcome, EOutcome::Failed);
        EXPECT_NE(result.error.find(source), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_empty(Images()));
}

TEST_F(CPictureImportFiles, ANewFolderKeepsTheDefaultPictures)
{
    // The workspace has no images/ yet: the program reads the defaults.
    std::filesystem::remove(Images());
    CTempFolder defaults;
    WriteWholeFile(defaults.File("home.gif"), "home");
    WriteWholeFile(defaults.File("logo.png"), "default logo");
    EXPECT_EQ(
        Import(defaults.File("home.gif"), EAnswer::Cancel, false, defaults.Path()).outcome, EOutcome::Inside);
    EXPECT_FALSE(std::filesystem::exists(Images()));

    const auto result = Import(Outside("Logo.png", "mine"), EAnswer::KeepBoth, false, defaults.Path());
    EXPECT_EQ(m_asked, "logo.png");
    EXPECT_EQ(result.name, "logo-2.png");
    EXPECT_EQ(ReadWholeFile(Images() + "/logo-2.png"), "mine");
    EXPECT_EQ(ReadWholeFile(Images() + "/home.gif"), "home");
    EXPECT_EQ(ReadWholeFile(Images() + "/logo.png"), "default logo");
}

} // namespace
