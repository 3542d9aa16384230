// A run over unchanged inputs answers from the record of the last one; a
// change of any input makes it a real run again.
#include <atomic>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "GeneratorFixture.h"
#include "generator/CRunRecord.h"
#include "platform/CClock.h"

namespace {

// The real file system, counting the files read (templates and images).
class CCountingFileSystem : public CFileSystem {
public:
    EFileError ReadFile(const std::string& path, std::string& contents) override
    {
        ++m_nReads;
        return CFileSystem::ReadFile(path, contents);
    }
    std::atomic<int> m_nReads { 0 };
};

constexpr int64_t kStamp = 1'700'000'000;

class RunRecord : public CGeneratorFixture {
protected:
    RunRecord()
    {
        m_hRoot = Add(nullptr, "index", NODE_PAGE, "Home");
        m_hNews = Add(m_hRoot, "news", NODE_PARAGRAPH, "News");
        Node(m_hNews).m_tStamp = kStamp;
        Node(m_hNews).m_info.m_bNew = 1;
        Node(m_hNews).m_info.m_nExpireDays = 1;
        Add(m_hRoot, "about");
        // A line image outside the workspace: each run reports it.
        Node(m_hRoot).m_info.m_strLineImage = "..\\secret.gif";
        WriteTemplates("[@TITLE=!][@LINKS=!][@LINE=!]<h1>[TITLE]</h1>[LINE][LINKBODY]\n", "<p>[TITLE]</p>\n");
        CSiteSettings settings = m_settings.GetSiteSettings();
        CString error;
        EXPECT_TRUE(settings.Set("baseurl", "https://example.org/", error)) << error;
        m_settings.SetSiteSettings(settings);
    }
    CFileSystem& Files() override { return m_files; }
    // A run as the program makes one: kept in the record folder; no file
    // counts as changed too recently.
    void Generate(const std::optional<CDocument::CFileRead>& projectFile = std::nullopt)
    {
        m_pRun.reset();
        m_ui.m_messages.clear();
        m_ui.m_statusTexts.clear();
        m_files.m_nReads = 0;
        Run().SetRecordFolder(m_cache.Path(), 0);
        Run().SetProjectFile(projectFile);
        Run().Run();
    }

    CCountingFileSystem m_files;
    CTempFolder m_cache;
    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hNews = nullptr;
};

TEST_F(RunRecord, AnUnchangedRunSaysTheSameWithoutReadingOrWriting)
{
    const CClock::CScopedFake clock(kStamp + 100);
    Generate();
    ASSERT_GT(m_files.m_nReads, 0);
    // The record holds the log, which names the user's files.
    EXPECT_EQ(
        std::filesystem::status(m_cache.Path() + "/runs").permissions(), std::filesystem::perms::owner_all);
    const auto messages = m_ui.m_messages;
    const CString log = ShownLog();
    ASSERT_EQ(messages.size(), 1u);
    const std::string feed = Read("out/feed.xml");
    const auto before = std::filesystem::last_write_time(m_folder.File("out/index.htm"));

    Generate();
    EXPECT_EQ(m_files.m_nReads, 0);
    ASSERT_EQ(m_ui.m_messages.size(), messages.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(m_ui.m_messages[i].strText, messages[i].strText);
        EXPECT_EQ(m_ui.m_messages[i].strCaption, messages[i].strCaption);
        EXPECT_EQ(m_ui.m_messages[i].icon, messages[i].icon);
    }
    EXPECT_EQ(ShownLog(), log);
    EXPECT_EQ(Read("out/feed.xml"), feed);
    EXPECT_EQ(std::filesystem::last_write_time(m_folder.File("out/index.htm")), before);
}

TEST_F(RunRecord, AnyChangedInputMakesARealRun)
{
    struct CCase {
        const char* pszName;
        std::function<void()> change;
        // What the real run shows: a file of the workspace and a text in it
        // (the changes add up from case to case).
        const char* pszFile;
        const char* pszShown;
        int64_t nNow = kStamp + 100;
    };
    const std::vector<CCase> cases = {
        { "the project", [this] { Node(m_hRoot).m_strTitle = "Changed"; }, "out/index.htm",
            "<h1>Changed</h1>" },
        { "a template", [this] { WriteTemplates("[@TITLE=!]<h2>[TITLE]</h2>\n"); }, "out/index.htm",
            "<h2>Changed</h2>" },
        { "a page edited in the destination", [this] { Write("out/about.htm", "edited"); }, "out/about.htm",
            "<h2>about</h2>" },
        { "a page deleted from the destination",
            [this] { std::filesystem::remove(m_folder.File("out/about.htm")); }, "out/about.htm",
            "<h2>about</h2>" },
        { "an image added to the workspace", [this] { Write("images/pagewell.jpg", "jpg"); },
            "out/pagewell.jpg", "jpg" },
        { "the settings", [this] { m_settings.m_bLowercase = 0; }, "out/index.htm", "<h2>Changed" },
        { "the day a banner stops showing", [] {}, "out/feed.xml", "<feed", kStamp + 86400 + 1 },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        {
            const CClock::CScopedFake clock(kStamp + 100);
            Generate();
            Generate();
            ASSERT_EQ(m_files.m_nReads, 0) << "the unchanged run was not answered from its record";
        }
        test.change();
        const CClock::CScopedFake clock(test.nNow);
        Generate();
        EXPECT_GT(m_files.m_nReads, 0);
        EXPECT_NE(Read(test.pszFile).find(test.pszShown), std::string::npos) << Read(test.pszFile);
        if (test.nNow != kStamp + 100) { // the expired banner left the feed
            EXPECT_EQ(Read("out/feed.xml").find("News"), std::string::npos);
        }
    }
}

TEST_F(RunRecord, AProjectReadFromAFileIsKnownByTheFilesStamp)
{
    // The project as read from a file that had not changed for an hour.
    constexpr int64_t kReadNs = (kStamp + 100) * int64_t { 1'000'000'000 };
    CDocument::CFileRead settled { CFileStamp::Of(m_folder.File("templates")), kReadNs };
    settled.stamp.nModified = settled.stamp.nChanged = kReadNs - int64_t { 3600 } * 1'000'000'000;
    CDocument::CFileRead rewritten = settled;
    rewritten.stamp.nChanged += 1;
    CDocument::CFileRead fresh = settled;
    fresh.stamp.nModified = kReadNs;
    struct CCase {
        const char* pszName;
        std::optional<CDocument::CFileRead> first;
        std::optional<CDocument::CFileRead> second;
        bool bRealRun;
        std::function<void()> before = [] {};
        int64_t nSecondNow = kStamp + 100;
    };
    // Reading the file again clears a banner that expired in between.
    const auto shortConstruction = [this] {
        CNode& about = Node(m_hRoot->GetFirstChild()->GetNextSibling());
        about.m_info.m_bConstruction = 1;
        about.m_info.m_nExpireDays = 1;
        about.m_tStamp = kStamp - 86400 + 200;
    };
    // The tree changes between the two runs: only a run that knows the
    // project by its file's stamp alone misses that.
    const std::vector<CCase> cases = {
        { "the same file", settled, settled, false },
        { "the file rewritten in place, its change time moved", settled, rewritten, true },
        { "a file read as it changed", fresh, fresh, true },
        { "a modified document, known by all it holds", std::nullopt, std::nullopt, true },
        { "a file read again once a construction banner expired", settled, settled, true, shortConstruction,
            kStamp + 300 },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        test.before();
        Node(m_hRoot).m_strTitle = "Before";
        {
            const CClock::CScopedFake clock(kStamp + 100);
            Generate(test.first);
        }
        Node(m_hRoot).m_strTitle = test.pszName;
        const CClock::CScopedFake clock(test.nSecondNow);
        Generate(test.second);
        EXPECT_EQ(m_files.m_nReads > 0, test.bRealRun);
        EXPECT_EQ(Read("out/index.htm").find(test.pszName) != std::string::npos, test.bRealRun);
    }
}

TEST_F(RunRecord, ARecordNotTheUsersAloneOrTooLargeIsNotUsed)
{
    const auto recordPath = [this] {
        for (const auto& entry : std::filesystem::directory_iterator(m_cache.Path() + "/runs"))
            return entry.path().string();
        return std::string();
    };
    struct CCase {
        const char* pszName;
        std::function<void(const std::string&)> spoil;
        bool bNote;
        bool bUsedAgain; // the next run answers from the record again
    };
    std::vector<CCase> cases = {
        { "writable by the group", [](const std::string& path) { ::chmod(path.c_str(), 0660); }, true, true },
        { "a link to a record",
            [](const std::string& path) {
                std::filesystem::rename(path, path + ".real");
                std::filesystem::create_symlink(path + ".real", path);
            },
            true, true },
        { "its folder writable by others",
            [](const std::string& path) { ::chmod(std::filesystem::path(path).parent_path().c_str(), 0757); },
            true, true },
        // Read in whole, it would take 8 GB.
        { "grown to 8 GB",
            [](const std::string& path) { std::filesystem::resize_file(path, uint64_t { 8 } << 30); }, false,
            true },
    };
    if (::geteuid() == 0) {
        cases.push_back({ "another user's",
            [](const std::string& path) { ASSERT_EQ(::chown(path.c_str(), 4242, 4242), 0); }, true, true });
        cases.push_back({ "its folder another user's",
            [](const std::string& path) {
                ASSERT_EQ(::chown(std::filesystem::path(path).parent_path().c_str(), 4242, 4242), 0);
            },
            true, false });
    }
    const CClock::CScopedFake clock(kStamp + 100);
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        std::filesystem::remove_all(m_cache.Path() + "/runs");
        std::filesystem::create_directory(m_cache.Path() + "/runs");
        Generate();
        Generate();
        ASSERT_EQ(m_files.m_nReads, 0);
        test.spoil(recordPath());
        Generate();
        EXPECT_GT(m_files.m_nReads, 0) << "a full run";
        EXPECT_EQ(ShownLog().find("Not using the run record") != std::string::npos, test.bNote) << ShownLog();
        Generate();
        EXPECT_EQ(m_files.m_nReads == 0, test.bUsedAgain);
        EXPECT_EQ(ShownLog().find("Not using the run record") == std::string::npos, test.bUsedAgain);
        if (test.bUsedAgain) {
            EXPECT_LT(std::filesystem::file_size(recordPath()), CRunRecord::GetMaxBytes(m_tree.GetCount()));
        }
    }
}

TEST(RunRecordFile, IsCompactAndReadsBackOnlyWhole)
{
    CRunRecord record;
    record.strKey = "0123456789abcdef0123456789abcdef";
    record.tValidUntil = -5;
    CFileStamp stamp { true, 0100644, 1000, 2049, 5'000'000, 1'700'000'000'000'000'000, 0 };
    for (int i = 0; i < 2000; ++i) {
        stamp.nInode += 1 + i % 3;
        stamp.nModified += 123'456;
        stamp.nChanged = stamp.nModified + (i % 2);
        record.files.emplace_back("/home/someone/sites/public/page" + std::to_string(i) + ".htm", stamp);
        record.strLog += "Generating... /home/someone/sites/public/page" + std::to_string(i) + ".htm\r\n";
        record.strLog += i % 3 == 0 ? "Parsing template file: templates/Default.hdr.txt\r\n"
                                    : "Parsing template file: templates/Default.pgh.txt\r\n";
    }
    record.files.emplace_back("templates", CFileStamp {});
    record.strLog += "no line end";
    record.messages.push_back({ "Unable to open", "CreatePage() ERROR", EMessageIcon::Exclamation });
    const std::string bytes = record.ToBytes();
    EXPECT_LT(bytes.size() * 5, record.GetSize()) << "the record was " << bytes.size() << " bytes";

    CRunRecord back;
    ASSERT_TRUE(back.FromBytes(bytes, record.GetSize()));
    EXPECT_EQ(back.strKey, record.strKey);
    EXPECT_EQ(back.tValidUntil, record.tValidUntil);
    EXPECT_EQ(back.files, record.files);
    EXPECT_EQ(back.strLog, record.strLog);
    ASSERT_EQ(back.messages.size(), 1u);
    EXPECT_EQ(back.messages[0].strCaption, "CreatePage() ERROR");
    // Cut short, grown, or larger once read than allowed: not a record.
    for (size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 7)
        EXPECT_FALSE(CRunRecord().FromBytes(bytes.substr(0, cut), record.GetSize())) << cut;
    EXPECT_FALSE(CRunRecord().FromBytes(bytes + "x", record.GetSize()));
    EXPECT_FALSE(CRunRecord().FromBytes(bytes, record.strLog.size()));
}

} // namespace
