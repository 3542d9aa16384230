// Whole runs against a file system that fails where a real one can: a
// destination that is read-only, missing or full, an image that cannot be
// read, a template that is a folder. Each failure gives its message and the
// run goes on with the next page or file.
#include <fcntl.h>
#include <functional>

#include "GeneratorFixture.h"
#include "platform/CAtomicFile.h"

namespace {

// The real file system, with the faults a test switches on.
class CFaultyFileSystem : public CFileSystem {
public:
    // Creating a file whose path starts with this fails with m_createError.
    std::string m_strFailCreate;
    EFileError m_createError = EFileError::AccessDenied;
    // Files created under this prefix accept no data (a full disk).
    std::string m_strFullPrefix;
    // Opening this source fails with m_openError; m_strReadFails opens but
    // fails on the first read.
    std::string m_strFailOpen;
    EFileError m_openError = EFileError::AccessDenied;
    std::string m_strReadFails;

    // The generator makes its page and image files through this call alone.
    std::unique_ptr<CAtomicFile> CreateReplacement(const std::string& path, EFileError& error) override
    {
        if (!m_strFailCreate.empty() && path.starts_with(m_strFailCreate)) {
            error = m_createError;
            return nullptr;
        }
        if (!m_strFullPrefix.empty() && path.starts_with(m_strFullPrefix)) {
            // No temporary file: the writes fail before a rename is tried.
            const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
            error = fd < 0 ? FromErrno(errno) : EFileError::None;
            return fd < 0 ? nullptr : std::make_unique<CAtomicFile>(fd, "", path);
        }
        return CFileSystem::CreateReplacement(path, error);
    }
    std::unique_ptr<CFile> OpenForRead(const std::string& path, EFileError& error) override
    {
        if (path == m_strFailOpen) {
            error = m_openError;
            return nullptr;
        }
        if (path == m_strReadFails) // reading a folder's descriptor fails with EISDIR
            return OpenDevice("/", O_RDONLY | O_DIRECTORY, error);
        return CFileSystem::OpenForRead(path, error);
    }

private:
    static std::unique_ptr<CFile> OpenDevice(const char* device, int flags, EFileError& error)
    {
        const int fd = ::open(device, flags | O_CLOEXEC);
        error = fd < 0 ? FromErrno(errno) : EFileError::None;
        return fd < 0 ? nullptr : std::make_unique<CFile>(fd);
    }
};

class FaultInjection : public CGeneratorFixture {
protected:
    CFileSystem& Files() override { return m_files; }

    // Root page "index" with a section and a child page "about"; the page
    // template uses an image, the two fixed images exist.
    void MakeSite()
    {
        const HTREEITEM hRoot = Add(nullptr, "index");
        Add(hRoot, "news", NODE_PARAGRAPH);
        Add(hRoot, "about");
        WriteTemplates("[@TAG=!][TAG][@IMAGE=images/logo.gif][IMAGE][@LINKS=!][LINKBODY]", "<[@TAG=!][TAG]>");
        Write("images/logo.gif", "GIF89a-logo");
        Write("images/pagewell.jpg", "JPEG");
        Write("images/bluerib.gif", "GIF89a-rib");
    }
    std::string Dest() const { return m_settings.m_strDestination; }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : m_ui.m_messages) {
            EXPECT_EQ(message.icon, EMessageIcon::Exclamation);
            texts.push_back(message.strCaption + ": " + message.strText);
        }
        return texts;
    }
    // The run finished: the log was shown and the last status line says so.
    void ExpectRunFinished() const
    {
        ASSERT_FALSE(m_ui.m_statusTexts.empty());
        EXPECT_EQ(m_ui.m_statusTexts.back(), std::make_pair(EStatusLine::CurrentTag, CString()));
        EXPECT_EQ(m_ui.m_beeps.size(), 1u);
    }

    CFaultyFileSystem m_files;
};

TEST_F(FaultInjection, DestinationThatCannotTakeFiles)
{
    // A read-only folder, a missing one, and a disk with no room for another
    // file all fail at creation, and report alike.
    for (const EFileError error : { EFileError::AccessDenied, EFileError::NotFound, EFileError::DiskFull }) {
        SCOPED_TRACE(static_cast<int>(error));
        m_pRun.reset();
        m_ui = CScriptedUserInterface();
        m_tree.DeleteAllItems();
        MakeSite();
        m_files.m_strFailCreate = Dest() + "/";
        m_files.m_createError = error;
        Run().Run();

        const std::string d = Dest();
        EXPECT_EQ(MessageTexts(),
            (std::vector<std::string> {
                "CreatePage() ERROR: Unable to open destination file " + d + "/index.htm",
                "CreatePage() ERROR: Unable to open destination file " + d + "/about.htm" }));
        // Pages that cannot be created are not expanded, so no image is used.
        EXPECT_EQ(ShownLog(),
            "Generating... " + d + "/index.htm\r\nGenerating... " + d + "/about.htm\r\nUnable to open " + d
                + "/pagewell.jpg for write.\r\nUnable to open " + d + "/bluerib.gif for write.\r\n");
        ExpectRunFinished();
    }
}

TEST_F(FaultInjection, DestinationFolderMissingOnTheRealFileSystem)
{
    MakeSite();
    m_settings.m_strDestination = m_folder.File("no/such/folder");
    Run().Run();
    const std::string d = Dest();
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> { "CreatePage() ERROR: Unable to open destination file " + d + "/index.htm",
            "CreatePage() ERROR: Unable to open destination file " + d + "/about.htm" }));
    EXPECT_NE(ShownLog().find("Unable to open " + d + "/bluerib.gif for write.\r\n"), CString::npos);
    EXPECT_FALSE(Exists("no"));
}

TEST_F(FaultInjection, DestinationFullWhileWriting)
{
    // The files can be created but take no data: every page and every copy
    // is reported; nothing passes for written.
    MakeSite();
    m_files.m_strFullPrefix = Dest() + "/";
    Run().Run();
    const std::string d = Dest();
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> { "CreatePage() ERROR: Unable to open destination file " + d + "/index.htm",
            "CreatePage() ERROR: Unable to open destination file " + d + "/about.htm" }));
    EXPECT_EQ(ShownLog(),
        "Generating... " + d
            + "/index.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Parsing template file: templates/Default.pgh.txt\r\n"
              "Generating... "
            + d
            + "/about.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Copying file images/logo.gif to "
            + d + "/logo.gif\r\nUnable to open " + d
            + "/logo.gif for write.\r\n"
              "Copying file images/pagewell.jpg to "
            + d + "/pagewell.jpg\r\nUnable to open " + d
            + "/pagewell.jpg for write.\r\n"
              "Copying file images/bluerib.gif to "
            + d + "/bluerib.gif\r\nUnable to open " + d + "/bluerib.gif for write.\r\n");
    ExpectRunFinished();
}

TEST_F(FaultInjection, AFailedPageIsReportedBeforeTheMessagesOfTheNextPage)
{
    // Pages are written behind on a thread of their own while the next page
    // is expanded; the failure of one still comes before the next page's
    // messages.
    const HTREEITEM hRoot = Add(nullptr, "index");
    // Only the second page has a section, whose template is missing.
    Add(Add(hRoot, "about"), "news", NODE_PARAGRAPH);
    WriteTemplates("[@TAG=!][TAG][@LINKS=!][LINKBODY]");
    m_files.m_strFullPrefix = Dest() + "/index.htm";
    Run().Run();
    ASSERT_EQ(m_ui.m_messages.size(), 2u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Unable to open destination file " + Dest() + "/index.htm");
    EXPECT_EQ(m_ui.m_messages[1].strText, "Unable to open template file: templates/Default.pgh.txt");
}

TEST_F(FaultInjection, ImageSourceUnreadable)
{
    struct CCase {
        const char* pszName;
        std::function<void(CFaultyFileSystem&)> setUp;
        const char* pszLogo; // what the log says of images/logo.gif
    };
    const std::vector<CCase> cases = {
        { "cannot be opened", [](CFaultyFileSystem& f) { f.m_strFailOpen = "images/logo.gif"; },
            "Unable to open images/logo.gif for read.\r\n" },
        { "is missing",
            [](CFaultyFileSystem& f) {
                f.m_strFailOpen = "images/logo.gif", f.m_openError = EFileError::NotFound;
            },
            "Unable to open images/logo.gif for read.\r\n" },
        { "fails while read", [](CFaultyFileSystem& f) { f.m_strReadFails = "images/logo.gif"; },
            "Copying file images/logo.gif to @/logo.gif\r\nUnable to open images/logo.gif for read.\r\n" },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        m_pRun.reset();
        m_ui = CScriptedUserInterface();
        m_files = CFaultyFileSystem();
        m_tree.DeleteAllItems();
        MakeSite();
        test.setUp(m_files);
        Run().Run();

        const std::string d = Dest();
        CString logo = test.pszLogo;
        if (const size_t at = logo.find('@'); at != CString::npos)
            logo.replace(at, 1, d);
        const CString log = ShownLog();
        EXPECT_NE(log.find(logo), CString::npos) << log;
        // The other images are copied and the pages written; no message box.
        EXPECT_EQ(Read("out/pagewell.jpg"), "JPEG");
        EXPECT_EQ(Read("out/bluerib.gif"), "GIF89a-rib");
        EXPECT_EQ(Read("out/index.htm"), "index<IMG SRC=\"logo.gif\" ALT=\"index\" border=0><news>\r\n");
        EXPECT_TRUE(m_ui.m_messages.empty());
        ExpectRunFinished();
    }
}

TEST_F(FaultInjection, TemplateThatIsAFolder)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    Add(hRoot, "one", NODE_PARAGRAPH);
    Add(hRoot, "two", NODE_PARAGRAPH);
    WriteTemplates("[@TAG=!][TAG]:[@LINKS=!][LINKBODY]");
    std::filesystem::create_directories(m_folder.File("templates/Default.pgh.txt"));
    Run().Run();

    // Every object whose template cannot be read reports it, not only the
    // first; the page is still written, its sections empty.
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "CreateNode() ERROR: Unable to open template file: templates/Default.pgh.txt",
            "CreateNode() ERROR: Unable to open template file: templates/Default.pgh.txt" }));
    EXPECT_EQ(Read("out/index.htm"), "index:\r\n");
    EXPECT_EQ(m_ui.m_nSteps, 3);
    ExpectRunFinished();
}

} // namespace
