#include <chrono>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <optional>

#include <unistd.h>

#include "cli/CCommandLine.h"
#include "cli/CConsoleUserInterface.h"
#include "cli/CTerminalPublishPrompt.h"
#include "cli/Commands.h"
#include "cli/ProjectInput.h"
#include "generator/CGenerationLog.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"
#include "platform/CPathRules.h"
#include "publisher/CLocalSite.h"
#include "publisher/CPublishTarget.h"
#include "publisher/CPublisher.h"

namespace {

struct CPublishArgs {
    std::string strProject;
    std::optional<std::string> strTo;
    bool bDryRun = false;
    int nJobs = 4;
    std::string strAcceptKey;
    std::string strAcceptCertificate;
    bool bOverwriteForeign = false;
};

void DefineArgs(CLI::App& app, CPublishArgs& parsed)
{
    app.add_option("PROJECT.pwl", parsed.strProject, "the project file")->required()->type_name("");
    app.add_option_function<std::string>(
           "--to", [&parsed](const std::string& url) { parsed.strTo = url; },
           "publish to URL (sftp://user@host/path/, ftps://user@host/path/, ftp://user@host/path/, "
           "s3://bucket/prefix/?endpoint=https://host&region=NAME or file:///path/) instead of the project's "
           "publish setting")
        ->type_name("URL");
    app.add_flag("--dry-run", parsed.bDryRun, "show what would be sent and removed; change nothing");
    app.add_option("--jobs", parsed.nJobs, "transfers at a time (default 4)")
        ->type_name("N")
        ->check(CLI::Range(1, 32).description(""));
    app.add_option("--accept-host-key", parsed.strAcceptKey,
           "trust an unknown server whose key has this fingerprint (SHA256:...) and remember it")
        ->type_name("FP");
    app.add_option("--accept-certificate", parsed.strAcceptCertificate,
           "trust an FTPS server whose certificate the system does not (self-signed) when it has this "
           "fingerprint (SHA256:...), and remember it")
        ->type_name("FP");
    app.add_flag("--overwrite-foreign", parsed.bOverwriteForeign,
        "replace files on the server that Pagewell did not put there when the site has a file of that name");
    app.footer("The password of an SSH or FTP server that asks for one comes from PAGEWELL_PASSWORD, or is\n"
               "asked on the terminal. The access key of object storage comes from AWS_ACCESS_KEY_ID,\n"
               "AWS_SECRET_ACCESS_KEY (and AWS_SESSION_TOKEN), or from ~/.aws/credentials (its profile\n"
               "from ?profile= in the address, else \"default\").\n\n"
               "Exit status: 0 the remote holds the site, 1 something failed (the message names the file\n"
               "and the server's answer; the remote site stays whole), 2 wrong arguments or unreadable\n"
               "project.");
}

std::string Megabytes(uint64_t bytes)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << static_cast<double>(bytes) / 1e6 << " MB";
    return text.str();
}

// One line per file done; on a terminal also a progress line that is
// written over.
class CCliPublishListener : public IPublishListener {
public:
    CCliPublishListener(std::ostream& out, std::ostream& err)
        : m_out(out)
        , m_err(err)
        , m_bTerminal(&err == &std::cerr && isatty(STDERR_FILENO) != 0)
    { }

    void OnFileDone(EAction action, const std::string& name, uint64_t /*nBytes*/) override
    {
        ClearProgress();
        m_out << (action == EAction::Sent     ? "sent "
                : action == EAction::Replaced ? "replaced "
                                              : "removed ")
              << name << '\n';
        ++m_counts[static_cast<int>(action)];
    }

    void OnProgress(const CPublishProgress& progress) override
    {
        if (!m_bTerminal)
            return;
        m_out.flush();
        m_err << "\r\033[K" << progress.nFilesDone << '/' << progress.nFilesTotal << " files, "
              << Megabytes(progress.nBytesDone) << " of " << Megabytes(progress.nBytesTotal) << ": "
              << progress.strCurrent.substr(0, 40) << std::flush;
        m_bProgressShown = true;
    }

    void ClearProgress()
    {
        if (m_bProgressShown)
            m_err << "\r\033[K" << std::flush;
        m_bProgressShown = false;
    }

    int Count(EAction action) const { return m_counts[static_cast<int>(action)]; }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_bTerminal;
    bool m_bProgressShown = false;
    int m_counts[3] = {};
};

void PrintPlan(const CPublishPlan& plan, std::ostream& out)
{
    for (const CLocalFile& file : plan.m_send)
        out << "send " << file.strName << " (" << file.nSize << " bytes)\n";
    for (const CLocalFile& file : plan.m_replace)
        out << "replace " << file.strName << " (" << file.nSize << " bytes)\n";
    for (const std::string& name : plan.m_remove)
        out << "remove " << name << '\n';
    out << "plan: " << plan.m_send.size() << " files to send (" << CPublishPlan::BytesOf(plan.m_send)
        << " bytes), " << plan.m_replace.size() << " to replace (" << CPublishPlan::BytesOf(plan.m_replace)
        << " bytes), " << plan.m_remove.size() << " to remove, " << plan.m_clashes.size()
        << " clashes with files Pagewell did not put there\n";
}

// Generates the site as `generate` does; false when the run reported a failure.
bool GenerateSite(CPagewellDoc& doc, CConsoleUserInterface& ui, COutputManifest& produced)
{
    const int messagesBefore = ui.GetMessageCount();
    produced = doc.m_dlgGenerate.OnGenerate(doc);
    return ui.GetMessageCount() == messagesBefore;
}

int Publish(const CPublishArgs& parsed, const CPublishTarget& target, CPagewellDoc& doc,
    const COutputManifest& produced, std::ostream& out, std::ostream& err)
{
    const auto tStart = std::chrono::steady_clock::now();
    std::vector<CLocalFile> files;
    std::string error;
    const std::string destination = CPathRules::ToNative(doc.m_dlgGenerate.m_strDestination);
    if (!CLocalSite::Collect(destination, produced, files, error)) {
        err << "pagewell-cli: publish: " << error << '\n';
        return kExitFailed;
    }
    CTerminalPublishPrompt prompt(parsed.strAcceptKey, parsed.strAcceptCertificate, err);
    const auto pFolder
        = CreateRemoteFolder(target, prompt, ObjectOptionsOf(doc.m_dlgGenerate.GetSiteSettings()));
    CCliPublishListener listener(out, err);
    CPublisher publisher(*pFolder, listener);
    publisher.SetHomePage(CLocalSite::HomePageName(doc, doc.m_dlgGenerate.m_bLowercase != 0));
    if (!publisher.Prepare(files, parsed.bOverwriteForeign, error)) {
        err << "pagewell-cli: publish: " << error << '\n';
        return kExitFailed;
    }
    const CPublishPlan& plan = publisher.GetPlan();
    if (parsed.bDryRun)
        PrintPlan(plan, out);
    if (const std::string warning = target.GetWarning(); !warning.empty()) {
        if (parsed.bDryRun)
            out << "warning: " << warning << '\n';
        err << "pagewell-cli: publish: warning: " << warning << '\n';
    }
    for (const std::string& name : plan.m_clashes)
        err << "pagewell-cli: publish: " << target.Describe() << "/" << name
            << " is a file Pagewell did not put there; left alone (--overwrite-foreign replaces it)\n";
    if (parsed.bDryRun)
        return kExitOk;
    const std::atomic<bool> cancel { false };
    std::vector<std::string> errors;
    const bool bOk = publisher.Execute(parsed.nJobs, cancel, errors);
    listener.ClearProgress();
    for (const std::string& message : errors)
        err << "pagewell-cli: publish: " << message << '\n';
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    using EAction = IPublishListener::EAction;
    if (plan.IsEmpty() && bOk)
        out << "nothing to publish: " << target.strUrl << " is up to date\n";
    else
        out << (bOk ? "published to " : "publishing failed; sent so far to ") << target.strUrl << ": "
            << listener.Count(EAction::Sent) << " sent, " << listener.Count(EAction::Replaced)
            << " replaced, " << listener.Count(EAction::Removed) << " removed, "
            << CPublishPlan::BytesOf(plan.m_send) + CPublishPlan::BytesOf(plan.m_replace) << " bytes in "
            << std::fixed << std::setprecision(1) << seconds << " s\n";
    return bOk && plan.m_clashes.empty() ? kExitOk : kExitFailed;
}

} // namespace

int RunPublish(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CPublishArgs parsed;
    CCommandLine cli("publish");
    DefineArgs(cli.App(), parsed);
    if (const auto status = cli.Parse(args, out, err))
        return *status;
    CConsoleUserInterface ui(err);
    CPagewellDoc doc(ui);
    if (!OpenProjectArgument(doc, parsed.strProject, "publish", err))
        return kExitUsage;
    const std::string url
        = parsed.strTo ? *parsed.strTo : CCodePage::ToUtf8(doc.m_dlgGenerate.GetSiteSettings().m_strPublish);
    if (url.empty())
        return cli.UsageError("the project names no place to publish to: give --to URL, or set it with\n"
                              "  pagewell-cli settings "
                + parsed.strProject + " publish=sftp://user@host/path/",
            err);
    CPublishTarget target;
    std::string error;
    if (!CPublishTarget::Parse(url, target, error))
        return cli.UsageError(error, err);
    // The site is made where the project keeps it; a folder that is not
    // there yet is made rather than failing once for every page.
    if (!MakeDestinationFolder(doc.m_dlgGenerate.m_strDestination, "publish", err))
        return kExitFailed;
    COutputManifest produced;
    if (!GenerateSite(doc, ui, produced)) {
        err << "pagewell-cli: publish: generating the site reported a failure; nothing was published\n";
        return kExitFailed;
    }
    return Publish(parsed, target, doc, produced, out, err);
}
