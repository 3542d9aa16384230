// A save that fails at any byte of the file leaves the old file as it was,
// leaves no temporary file behind and tells the user.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "platform/CArchive.h"
#include "platform/CDocument.h"
#include "platform/CFileSystem.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

// The real file system, whose files cannot grow past a limit: a write that
// would pass it fails there (EFBIG), as a failing disk fails mid-file.
class CLimitedFileSystem : public CFileSystem {
public:
    rlim_t m_nLimit = RLIM_INFINITY;

    EFileError WriteFileAtomic(const std::string& path, std::string_view data) override
    {
        rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old;
        limited.rlim_cur = m_nLimit;
        ::setrlimit(RLIMIT_FSIZE, &limited);
        const EFileError error = CFileSystem::WriteFileAtomic(path, data);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        return error;
    }
};

// A document of raw bytes.
class CBytesDocument : public CDocument {
public:
    using CDocument::CDocument;
    CString m_strBytes;

protected:
    void Serialize(CArchive& ar) override { ar.Exchange(m_strBytes); }
};

size_t CountFiles(const std::string& folder)
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(SaveFaults, FailingAtEveryByteKeepsTheOldFile)
{
    CTempFolder folder;
    const std::string path = folder.File("site.pwl");
    CScriptedUserInterface ui;
    CLimitedFileSystem files;
    CBytesDocument doc(ui, files);
    doc.m_strBytes = "old";
    ASSERT_TRUE(doc.DoFileSaveAs(path));
    const std::string old = ReadWholeFile(path);

    doc.m_strBytes = CString(700, 'n'); // 0xFF, a 16-bit length, then the bytes
    const size_t size = doc.m_strBytes.size() + 3;
    for (size_t limit = 0; limit < size; ++limit) {
        SCOPED_TRACE(limit);
        files.m_nLimit = limit;
        ui.m_messages.clear();
        doc.SetModifiedFlag(true);
        EXPECT_FALSE(doc.DoFileSave());
        EXPECT_EQ(ReadWholeFile(path), old);
        EXPECT_EQ(CountFiles(folder.Path()), 1u) << "no temporary file stays";
        ASSERT_EQ(ui.m_messages.size(), 1u);
        EXPECT_EQ(ui.m_messages[0].strText, "Failed to save document.");
        EXPECT_EQ(ui.m_messages[0].strCaption, "Pagewell");
        EXPECT_TRUE(doc.IsModified()) << "the changes are not taken for saved";
    }
    files.m_nLimit = size;
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ReadWholeFile(path).size(), size);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(CountFiles(folder.Path()), 1u);
}

} // namespace
