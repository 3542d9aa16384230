#include "dialogs/CPublishDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "dialogs/CPublishKeyring.h"
#include "dialogs/CPublishPrompt.h"
#include "model/CPagewellDoc.h"
#include "platform/CCodePage.h"
#include "platform/CPathRules.h"
#include "platform/CView.h"
#include "publisher/CLocalSite.h"
#include "publisher/CPublisher.h"
#include "publisher/IRemoteFolder.h"

namespace {

QPushButton* MakePushButton(const char* objectName, const QString& text)
{
    auto* pButton = new QPushButton(text);
    pButton->setObjectName(QString::fromLatin1(objectName));
    pButton->setAutoDefault(false);
    return pButton;
}

QString Megabytes(uint64_t bytes)
{
    return QString::number(static_cast<double>(bytes) / 1e6, 'f', 1) + QStringLiteral(" MB");
}

QString PlanText(const CPublishPlan& plan)
{
    QString text
        = QStringLiteral("Plan: %1 files to send (%2), %3 to replace (%4), %5 to remove, %6 in the way.")
              .arg(plan.m_send.size())
              .arg(Megabytes(CPublishPlan::BytesOf(plan.m_send)))
              .arg(plan.m_replace.size())
              .arg(Megabytes(CPublishPlan::BytesOf(plan.m_replace)))
              .arg(plan.m_remove.size())
              .arg(plan.m_clashes.size());
    for (const std::string& name : plan.m_clashes)
        text += QStringLiteral(
            "\n%1 is a file Pagewell did not put there: left alone unless replacing is ticked.")
                    .arg(QString::fromStdString(name));
    return text;
}

} // namespace

// What one press hands to the publishing thread.
struct CPublishDialog::CJob {
    EMode eMode = EMode::Test;
    CPublishTarget target;
    std::string strDestination;
    COutputManifest produced;
    std::string strHome;
    bool bOverwrite = false;
    QString strBaseUrl;
    CObjectOptions options;
};

// Gathers the publisher's news for the window and hands it on at most ten
// times a second (and at the end).
class CDialogPublishListener : public IPublishListener {
public:
    using CReport = std::function<void(const QString& lines, const CPublishProgress& progress)>;
    explicit CDialogPublishListener(CReport report)
        : m_report(std::move(report))
    { }

    void OnFileDone(EAction action, const std::string& name, uint64_t /*nBytes*/) override
    {
        const char* pszVerb = action == EAction::Sent ? "Sent "
            : action == EAction::Replaced             ? "Replaced "
                                                      : "Removed ";
        if (!m_pending.isEmpty())
            m_pending += QLatin1Char('\n');
        m_pending += QString::fromLatin1(pszVerb) + QString::fromStdString(name);
        ++m_counts[static_cast<int>(action)];
    }

    void OnProgress(const CPublishProgress& progress) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_tLast < std::chrono::milliseconds(100) && progress.nFilesDone < progress.nFilesTotal)
            return;
        m_tLast = now;
        m_report(std::exchange(m_pending, QString()), progress);
    }

    void Flush(const CPublishProgress& progress)
    {
        if (!m_pending.isEmpty())
            m_report(std::exchange(m_pending, QString()), progress);
    }

    int Count(EAction action) const { return m_counts[static_cast<int>(action)]; }

private:
    CReport m_report;
    std::chrono::steady_clock::time_point m_tLast;
    QString m_pending;
    int m_counts[3] = {};
};

CPublishDialog::CPublishDialog(CPagewellDoc& doc, QWidget* pParent)
    : QDialog(pParent)
    , m_doc(doc)
    , m_pPrompt(new CPublishPrompt(this))
{
    setObjectName("publishDialog");
    setWindowTitle(QStringLiteral("Publish"));
    m_pPrompt->setParent(this);
    m_pTarget = new QLineEdit(ToQString(doc.m_dlgGenerate.GetSiteSettings().m_strPublish));
    m_pTarget->setObjectName("target");
    m_pTarget->setAccessibleName(QStringLiteral("Publish to"));
    m_pTarget->setPlaceholderText(QStringLiteral("sftp://user@host/path/, ftps://user@host/path/, "
                                                 "ftp://user@host/path/, s3://bucket/prefix/?endpoint=... "
                                                 "or file:///path/"));
    auto* pTargetLabel = new QLabel(QStringLiteral("Publish &to:"));
    pTargetLabel->setBuddy(m_pTarget);
    m_pOverwrite
        = new QCheckBox(QStringLiteral("&Replace files of the same name that Pagewell did not put there"));
    m_pOverwrite->setObjectName("overwriteForeign");
    m_pTest = MakePushButton("testConnection", QStringLiteral("Test &Connection"));
    m_pForget = MakePushButton("forgetPassword", QStringLiteral("&Forget Password"));
    m_pForget->setToolTip(QStringLiteral("Removes the password or access key kept for this target from the "
                                         "desktop's keyring"));
    m_pPlan = MakePushButton("showPlan", QStringLiteral("Show P&lan"));
    m_pPublish = MakePushButton("publish", QStringLiteral("&Publish"));
    m_pPublish->setDefault(true);
    m_pCancel = MakePushButton("cancel", QStringLiteral("C&ancel"));
    m_pClose = MakePushButton("close", QStringLiteral("Close"));
    m_pProgress = new QProgressBar;
    m_pProgress->setObjectName("progress");
    m_pProgress->setAccessibleName(QStringLiteral("Progress"));
    m_pProgress->setRange(0, 1000);
    m_pProgress->setValue(0);
    m_pStatus = new QLabel;
    m_pStatus->setObjectName("status");
    m_pStatus->setAccessibleName(QStringLiteral("Status"));
    m_pStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pStatus->setTextFormat(Qt::PlainText);
    m_pLog = new QPlainTextEdit;
    m_pLog->setObjectName("log");
    m_pLog->setAccessibleName(QStringLiteral("Plan and log"));
    m_pLog->setReadOnly(true);
    m_pLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* pTargetRow = new QHBoxLayout;
    pTargetRow->addWidget(pTargetLabel);
    pTargetRow->addWidget(m_pTarget, 1);
    pTargetRow->addWidget(m_pTest);
    pTargetRow->addWidget(m_pForget);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(m_pPlan);
    pButtons->addStretch(1);
    pButtons->addWidget(m_pPublish);
    pButtons->addWidget(m_pCancel);
    pButtons->addWidget(m_pClose);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTargetRow);
    pLayout->addWidget(m_pOverwrite);
    pLayout->addWidget(m_pLog, 1);
    pLayout->addWidget(m_pProgress);
    pLayout->addWidget(m_pStatus);
    pLayout->addLayout(pButtons);
    resize(640, 420);

    connect(m_pTest, &QPushButton::clicked, this, [this] { Start(EMode::Test); });
    connect(m_pForget, &QPushButton::clicked, this, &CPublishDialog::ForgetSecret);
    connect(m_pPrompt, &CPublishPrompt::Notice, this, &CPublishDialog::AppendLog);
    connect(m_pPlan, &QPushButton::clicked, this, [this] { Start(EMode::Plan); });
    connect(m_pPublish, &QPushButton::clicked, this, [this] { Start(EMode::Publish); });
    connect(m_pCancel, &QPushButton::clicked, this, [this] {
        m_cancel = true;
        m_pStatus->setText(QStringLiteral("Cancelling..."));
    });
    connect(m_pClose, &QPushButton::clicked, this, &CPublishDialog::reject);
    SetRunning(false);
}

CPublishDialog::~CPublishDialog()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

void CPublishDialog::reject()
{
    // The thread may be waiting for an answer of this window: it is asked
    // to stop, and the window closes when it has.
    if (IsRunning()) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

void CPublishDialog::SetRunning(bool bRunning)
{
    m_pTarget->setEnabled(!bRunning);
    m_pOverwrite->setEnabled(!bRunning);
    m_pTest->setEnabled(!bRunning);
    m_pForget->setEnabled(!bRunning);
    m_pPlan->setEnabled(!bRunning);
    m_pPublish->setEnabled(!bRunning);
    m_pClose->setEnabled(!bRunning);
    m_pCancel->setEnabled(bRunning);
    if (bRunning)
        m_pCancel->setFocus();
}

bool CPublishDialog::TakeTarget(CPublishTarget& target)
{
    const CString text = FromQString(m_pTarget->text().trimmed());
    CSiteSettings settings = m_doc.m_dlgGenerate.GetSiteSettings();
    CString error;
    std::string parseError;
    if (!settings.Set("publish", text, error)
        || !CPublishTarget::Parse(CCodePage::ToUtf8(settings.m_strPublish), target, parseError)) {
        QMessageBox::warning(
            this, windowTitle(), error.empty() ? QString::fromStdString(parseError) : ToQString(error));
        m_pTarget->setFocus();
        return false;
    }
    if (!(settings == m_doc.m_dlgGenerate.GetSiteSettings())) {
        m_doc.m_dlgGenerate.SetSiteSettings(settings);
        m_doc.SetModifiedFlag(true);
    }
    return true;
}

void CPublishDialog::Start(EMode mode)
{
    auto pJob = std::make_shared<CJob>();
    pJob->eMode = mode;
    if (IsRunning() || !TakeTarget(pJob->target))
        return;
    m_pLog->clear();
    m_pProgress->setValue(0);
    if (const std::string warning = pJob->target.GetWarning(); !warning.empty())
        AppendLog(QStringLiteral("Warning: %1.").arg(QString::fromStdString(warning)));
    if (mode != EMode::Test) {
        // The site as Generate makes it, with its messages.
        m_pStatus->setText(QStringLiteral("Generating the site..."));
        m_doc.UpdateAllViews(nullptr, HINT_STORE);
        pJob->produced = m_doc.m_dlgGenerate.OnGenerate(m_doc);
        pJob->strDestination = CPathRules::ToNative(m_doc.m_dlgGenerate.m_strDestination);
        pJob->strHome = CLocalSite::HomePageName(m_doc, m_doc.m_dlgGenerate.m_bLowercase != 0);
        pJob->strBaseUrl = ToQString(m_doc.m_dlgGenerate.GetSiteSettings().m_strBaseUrl);
    }
    pJob->bOverwrite = m_pOverwrite->isChecked();
    m_pPrompt->SetTarget(QString::fromStdString(pJob->target.strUrl));
    pJob->options = ObjectOptionsOf(m_doc.m_dlgGenerate.GetSiteSettings());
    m_cancel = false;
    m_tStart = std::chrono::steady_clock::now();
    m_pStatus->setText(
        QStringLiteral("Connecting to %1...").arg(QString::fromStdString(pJob->target.Describe())));
    SetRunning(true);
    m_thread = std::thread([this, pJob] { RunJob(pJob); });
}

void CPublishDialog::ForgetSecret()
{
    CPublishTarget target;
    if (IsRunning() || !TakeTarget(target))
        return;
    const QString url = QString::fromStdString(target.strUrl);
    QString problem;
    if (CPublishKeyring::Remove(url, problem))
        m_pStatus->setText(
            QStringLiteral("Forgotten: the keyring no longer holds a secret for %1.").arg(url));
    else if (problem.isEmpty())
        m_pStatus->setText(QStringLiteral("The keyring holds no secret for %1.").arg(url));
    else
        m_pStatus->setText(QStringLiteral("The desktop's keyring cannot be reached: %1").arg(problem));
}

void CPublishDialog::Post(std::function<void()> update)
{
    QMetaObject::invokeMethod(this, std::move(update), Qt::QueuedConnection);
}

void CPublishDialog::RunJob(const std::shared_ptr<CJob>& pJob)
{
    const CJob& job = *pJob;
    std::string error;
    const auto pFolder = CreateRemoteFolder(job.target, *m_pPrompt, job.options);
    const QString where = QString::fromStdString(job.target.Describe());
    if (job.eMode == EMode::Test) {
        std::vector<CRemoteEntry> entries;
        const bool bOk = pFolder->Open(error) && pFolder->List(entries, error);
        Finish(bOk
                ? QStringLiteral("Connected: %1 holds %2 files and folders.").arg(where).arg(entries.size())
                : QString::fromStdString(error));
        return;
    }
    std::vector<CLocalFile> files;
    CDialogPublishListener listener([this](const QString& lines, const CPublishProgress& progress) {
        Post([this, lines, progress] {
            if (!lines.isEmpty())
                AppendLog(lines);
            ShowProgress(progress.nFilesDone, progress.nFilesTotal, progress.nBytesDone, progress.nBytesTotal,
                QString::fromStdString(progress.strCurrent));
        });
    });
    CPublisher publisher(*pFolder, listener);
    publisher.SetHomePage(job.strHome);
    if (!CLocalSite::Collect(job.strDestination, job.produced, files, error)
        || !publisher.Prepare(files, job.bOverwrite, error)) {
        Finish(QString::fromStdString(error));
        return;
    }
    const CPublishPlan& plan = publisher.GetPlan();
    const QString planText = PlanText(plan);
    Post([this, planText] { AppendLog(planText); });
    if (job.eMode == EMode::Plan) {
        Finish(QStringLiteral("Nothing was changed on %1.").arg(where));
        return;
    }
    std::vector<std::string> errors;
    const bool bOk = publisher.Execute(4, m_cancel, errors);
    listener.Flush({});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tStart).count();
    using EAction = IPublishListener::EAction;
    QString summary = plan.IsEmpty() && bOk
        ? QStringLiteral("Nothing to publish: %1 is up to date.").arg(where)
        : QStringLiteral("%1: %2 sent, %3 replaced, %4 removed, %5 in %6 s.")
              .arg(bOk           ? QStringLiteral("Published")
                      : m_cancel ? QStringLiteral("Cancelled")
                                 : QStringLiteral("Failed"))
              .arg(listener.Count(EAction::Sent))
              .arg(listener.Count(EAction::Replaced))
              .arg(listener.Count(EAction::Removed))
              .arg(Megabytes(CPublishPlan::BytesOf(plan.m_send) + CPublishPlan::BytesOf(plan.m_replace)))
              .arg(seconds, 0, 'f', 1);
    for (const std::string& message : errors)
        summary += QLatin1Char('\n') + QString::fromStdString(message);
    if (bOk && !job.strBaseUrl.isEmpty())
        summary += QStringLiteral("\nThe site is at %1").arg(job.strBaseUrl);
    Finish(summary);
}

void CPublishDialog::AppendLog(const QString& line)
{
    m_pLog->appendPlainText(line);
}

void CPublishDialog::ShowProgress(
    size_t nFiles, size_t nTotal, uint64_t nBytes, uint64_t nBytesTotal, const QString& current)
{
    if (nTotal == 0)
        return;
    const double share = nBytesTotal > 0 ? static_cast<double>(nBytes) / static_cast<double>(nBytesTotal)
                                         : static_cast<double>(nFiles) / static_cast<double>(nTotal);
    m_pProgress->setValue(static_cast<int>(share * 1000));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tStart).count();
    QString left;
    if (share > 0.01)
        left = QStringLiteral(", about %1 s left").arg(static_cast<int>(elapsed * (1 - share) / share + 0.5));
    m_pStatus->setText(QStringLiteral("%1 of %2 files, %3 of %4%5: %6")
                           .arg(nFiles)
                           .arg(nTotal)
                           .arg(Megabytes(nBytes), Megabytes(nBytesTotal), left, current));
}

void CPublishDialog::Finish(const QString& summary)
{
    Post([this, summary] {
        if (m_thread.joinable())
            m_thread.join();
        AppendLog(summary);
        m_pStatus->setText(summary.section(QLatin1Char('\n'), 0, 0));
        SetRunning(false);
        m_pClose->setFocus();
    });
}
