// A save that fails at any byte of the file leaves the old file as it was,
// leaves no temporary file behind and tells the user.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <vector>

#include "platform/CArchive.h"
#include "platform/CDocument.h"
#include "platform/CFileSystem.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

// While it lives, no file of the process can grow past a limit: a write that
// would pass it fails there (EFBIG), as a failing disk fails mid-file.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t limit)
        : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~CFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_old {};
    void (*m_oldHandler)(int);
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

// A project saved once as "old", then saved again with its files limited.
class SaveFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_strBytes = "old";
        ASSERT_TRUE(m_doc.DoFileSaveAs(m_folder.File("site.pwl")));
    }

    // Saves the project (size bytes) with its files limited to each of limits
    // in turn: every save fails, tells the user once and leaves the old file;
    // then a save without a limit succeeds.
    void ExpectEachLimitFails(const std::vector<size_t>& limits, size_t size)
    {
        const std::string path = m_doc.GetPathName();
        const std::string old = ReadWholeFile(path);
        for (const size_t limit : limits) {
            SCOPED_TRACE(limit);
            m_ui.m_messages.clear();
            m_doc.SetModifiedFlag(true);
            bool bSaved = true;
            {
                const CFileSizeLimit sizeLimit(limit);
                bSaved = m_doc.DoFileSave();
            }
            EXPECT_FALSE(bSaved);
            EXPECT_EQ(ReadWholeFile(path), old);
            EXPECT_EQ(CountFiles(m_folder.Path()), 1u) << "no temporary file stays";
            ASSERT_EQ(m_ui.m_messages.size(), 1u);
            EXPECT_EQ(m_ui.m_messages[0].strText, "Failed to save document.");
            EXPECT_EQ(m_ui.m_messages[0].strCaption, "Pagewell");
            EXPECT_TRUE(m_doc.IsModified()) << "the changes are not taken for saved";
        }
        EXPECT_TRUE(m_doc.DoFileSave());
        EXPECT_EQ(ReadWholeFile(path).size(), size);
        EXPECT_FALSE(m_doc.IsModified());
        EXPECT_EQ(CountFiles(m_folder.Path()), 1u);
    }

    CTempFolder m_folder;
    CScriptedUserInterface m_ui;
    CBytesDocument m_doc { m_ui, CFileSystem::Real() };
};

TEST_F(SaveFaults, FailingAtEveryByteKeepsTheOldFile)
{
    m_doc.m_strBytes = CString(700, 'n'); // 0xFF, a 16-bit length, then the bytes
    const size_t size = m_doc.m_strBytes.size() + 3;
    std::vector<size_t> limits;
    for (size_t limit = 0; limit < size; ++limit)
        limits.push_back(limit);
    ExpectEachLimitFails(limits, size);
}

TEST_F(SaveFaults, ALargeProjectFailingInAnyPieceKeepsTheOldFile)
{
    // Large enough to be written in several pieces; the limits fall in the
    // first, on the edges between pieces and in the last.
    m_doc.m_strBytes = CString(700000, 'n'); // 0xFF 0xFFFF, a 32-bit length, the bytes
    const size_t size = m_doc.m_strBytes.size() + 7;
    const size_t piece = 256 * 1024;
    ExpectEachLimitFails(
        { 0, 1, piece - 1, piece, piece + 1, 2 * piece - 1, 2 * piece, 2 * piece + 1, size - 1 }, size);
}

} // namespace
