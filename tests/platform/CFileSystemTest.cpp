#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "platform/CFileSystem.h"
#include "support/TestFiles.h"

namespace {

size_t CountFiles(const std::string& folder)
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

} // namespace

TEST(CFileSystem, AtomicWriteReplacesTheFileAndLeavesNoTemporary)
{
    CTempFolder folder;
    const std::string path = folder.File("site.pwl");
    WriteWholeFile(path, "old contents");
    ::chmod(path.c_str(), 0640);

    EXPECT_EQ(CFileSystem::Real().WriteFileAtomic(path, "new"), EFileError::None);
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(CountFiles(folder.Path()), 1u);
    struct stat info { };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the permissions of the replaced file stay";
}

TEST(CFileSystem, FailedWriteKeepsTheOldFile)
{
    CTempFolder folder;
    EXPECT_EQ(
        CFileSystem::Real().WriteFileAtomic(folder.File("missing/site.pwl"), "x"), EFileError::NotFound);

    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    const std::string path = folder.File("site.pwl");
    WriteWholeFile(path, "old");
    ::chmod(folder.Path().c_str(), 0500);
    EXPECT_EQ(CFileSystem::Real().WriteFileAtomic(path, "new"), EFileError::AccessDenied);
    ::chmod(folder.Path().c_str(), 0700);
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(CountFiles(folder.Path()), 1u);
}

TEST(CFileSystem, ReadReportsTheKindOfError)
{
    CTempFolder folder;
    std::string contents;
    EXPECT_EQ(CFileSystem::Real().ReadFile(folder.File("none.pwl"), contents), EFileError::NotFound);
    EXPECT_EQ(CFileSystem::Real().ReadFile(folder.Path(), contents), EFileError::BadPath);
    WriteWholeFile(folder.File("a.pwl"), std::string("\0\1\2", 3));
    EXPECT_EQ(CFileSystem::Real().ReadFile(folder.File("a.pwl"), contents), EFileError::None);
    EXPECT_EQ(contents, std::string("\0\1\2", 3));
}
