#include <gtest/gtest.h>

#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/CFile.h"
#include "platform/CFileStamp.h"
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

TEST(CFileSystem, ReplaceForWriteMakesANewFileWhateverWasThere)
{
    CTempFolder folder;
    const std::string target = folder.File("target.htm");
    WriteWholeFile(target, "the file a link points to");
    const std::string linked = folder.File("linked.htm");
    WriteWholeFile(linked, "shared");
    ASSERT_EQ(::link(linked.c_str(), folder.File("other-name.htm").c_str()), 0);
    ASSERT_EQ(::symlink(target.c_str(), folder.File("symlink.htm").c_str()), 0);

    for (const char* name : { "new.htm", "linked.htm", "symlink.htm" }) {
        SCOPED_TRACE(name);
        const std::string path = folder.File(name);
        EFileError error = EFileError::Generic;
        auto pFile = CFileSystem::Real().ReplaceForWrite(path, error);
        ASSERT_NE(pFile, nullptr);
        EXPECT_EQ(error, EFileError::None);
        ASSERT_TRUE(pFile->Write("page"));
        ASSERT_TRUE(pFile->Close());
        EXPECT_EQ(ReadWholeFile(path), "page");
    }
    // The old files behind the replaced names are not written through.
    EXPECT_EQ(ReadWholeFile(folder.File("other-name.htm")), "shared");
    EXPECT_EQ(ReadWholeFile(target), "the file a link points to");

    EFileError error = EFileError::None;
    EXPECT_EQ(CFileSystem::Real().ReplaceForWrite(folder.Path(), error), nullptr);
    EXPECT_NE(error, EFileError::None);
    EXPECT_EQ(CFileSystem::Real().ReplaceForWrite(folder.File("missing/a.htm"), error), nullptr);
    EXPECT_EQ(error, EFileError::NotFound);
}

TEST(CFileSystem, OnlyRegularFilesAreRead)
{
    // A device would fill the memory, a FIFO hang the run: both are refused
    // before a byte is read, as a folder and a socket are.
    CTempFolder folder;
    WriteWholeFile(folder.File("a.txt"), "text");
    std::filesystem::create_symlink(folder.File("a.txt"), folder.File("link.txt"));
    std::filesystem::create_symlink("/dev/zero", folder.File("zero"));
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder.File("sock");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    CFileSystem& files = CFileSystem::Real();
    for (const std::string name : { "a.txt", "link.txt" }) {
        std::string contents;
        EXPECT_EQ(files.ReadFile(folder.File(name), contents), EFileError::None) << name;
        EXPECT_EQ(contents, "text");
        EXPECT_TRUE(files.IsRegularFile(folder.File(name)));
    }
    for (const std::string& path :
        { folder.File("zero"), std::string("/dev/zero"), folder.File("fifo"), socketPath, folder.Path() }) {
        std::string contents;
        // (A socket cannot even be opened.)
        EXPECT_NE(files.ReadFile(path, contents), EFileError::None) << path;
        EFileError error = EFileError::None;
        EXPECT_EQ(files.OpenForRead(path, error), nullptr) << path;
        EXPECT_NE(error, EFileError::None) << path;
        EXPECT_FALSE(files.IsRegularFile(path)) << path;
    }
    ::close(sock);
}

// The stamps of many paths, taken folder by folder on two threads, must be
// the ones each path gives on its own: a run's record compares them.
TEST(CFileStamp, ManyPathsAreStampedAsEachOnItsOwn)
{
    CTempFolder folder;
    std::filesystem::create_directory(folder.File("sub"));
    WriteWholeFile(folder.File("sub/page.htm"), "page");
    std::filesystem::create_symlink("sub/page.htm", folder.File("link.htm"));
    std::filesystem::create_symlink("sub", folder.File("linked"));
    const std::vector<std::string> kinds = { folder.File("sub/page.htm"), folder.File("link.htm"),
        folder.File("linked/page.htm"), folder.File("sub"), folder.File("sub/"),
        folder.File("sub/../link.htm"), folder.File("missing.htm"), folder.File("missing/page.htm"),
        folder.File("sub/page.htm/x"), "", "relative-missing", "/" };
    std::vector<std::string> paths;
    // Enough of them for the second thread, with the kinds spread among them.
    for (int i = 0; i < 3000; ++i) {
        if (i % 250 == 0)
            paths.insert(paths.end(), kinds.begin(), kinds.end());
        paths.push_back(folder.File("sub/page" + std::to_string(i % 7) + ".htm"));
        if (i % 7 == 0)
            WriteWholeFile(paths.back(), "x");
    }
    const std::vector<CFileStamp> stamps = CFileStamp::OfAll(paths);
    ASSERT_EQ(stamps.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        ASSERT_EQ(stamps[i], CFileStamp::Of(paths[i])) << paths[i];
    EXPECT_TRUE(stamps[0].bExists);
}
