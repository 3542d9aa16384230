#include "dialogs/CGenerateDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "app/CPlatformMapping.h"
#include "app/QtText.h"
#include "dialogs/DialogControls.h"
#include "generator/CGenerateDlg.h"

namespace {

const QString kCleanKey = QStringLiteral("Generate/Clean");

// A status line that shows whatever it is given without resizing the dialog.
QLabel* MakeStatusLine(const QString& objectName, const QString& text)
{
    auto* pLabel = new QLabel(text);
    pLabel->setObjectName(objectName);
    pLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    pLabel->setTextFormat(Qt::PlainText);
    return pLabel;
}

} // namespace

CGenerateDialog::CGenerateDialog(CGenerateDlg& record, Generator generator, QWidget* pParent)
    : QDialog(pParent)
    , m_record(record)
    , m_generator(std::move(generator))
    , m_pPreviousDisplay(IGenerationDisplay::Active())
{
    setObjectName("generateDialog");
    setWindowTitle(QStringLiteral("Generate HTML pages"));

    auto* pIntroduction = new QLabel(QString::fromLatin1(kIntroduction));
    pIntroduction->setWordWrap(true);
    auto* pClose = new QPushButton(QStringLiteral("Close"));
    pClose->setObjectName("close");
    pClose->setDefault(true);
    m_pGenerate = new QPushButton(QStringLiteral("Generate"));
    m_pGenerate->setObjectName("generate");
    m_pGenerate->setAutoDefault(false);
    m_pOpenInBrowser = new QPushButton(QStringLiteral("&Open in Browser"));
    m_pOpenInBrowser->setObjectName("openInBrowser");
    m_pOpenInBrowser->setAutoDefault(false);
    m_pOpenInBrowser->setToolTip(QStringLiteral("Open the generated home page in the web browser"));
    m_pOpenInBrowser->setVisible(false);
    auto* pBrowse = new QPushButton(QStringLiteral("&Browse..."));
    pBrowse->setObjectName("browse");
    pBrowse->setAutoDefault(false);
    pBrowse->setAccessibleName(QStringLiteral("Browse for the destination directory"));
    auto* pDestinationLabel = new QLabel(QStringLiteral("&Destination Directory"));
    m_pDestination = new QLineEdit;
    m_pDestination->setObjectName("destination");
    m_pDestination->setAccessibleName("Destination Directory");
    pDestinationLabel->setBuddy(m_pDestination);
    m_pLowercase = new QCheckBox(QStringLiteral("Convert all filenames and file references to lowercase"));
    m_pLowercase->setObjectName("lowercase");
    m_pClean = new QCheckBox(
        QStringLiteral("&Remove pages and images of the last run that this run does not write"));
    m_pClean->setObjectName("clean");
    m_pClean->setToolTip(QStringLiteral("Only files that Pagewell wrote into this folder are ever removed."));
    m_pLog = new QPlainTextEdit;
    m_pLog->setObjectName("log");
    m_pLog->setAccessibleName("Log");
    m_pLog->setReadOnly(true);
    m_pLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pCurrentFile = MakeStatusLine("currentFile", "Current file");
    m_pCurrentTag = MakeStatusLine("currentTag", "Current tag");
    m_pProgress = new QProgressBar;
    m_pProgress->setObjectName("progress");
    m_pProgress->setAccessibleName("Progress");
    m_pProgress->setTextVisible(false);
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pIntroduction, 1);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pClose);
    pButtons->addWidget(m_pGenerate);
    pButtons->addWidget(m_pOpenInBrowser);
    pButtons->addStretch(1);
    pTop->addLayout(pButtons);

    auto* pDestination = new QHBoxLayout;
    pDestination->addWidget(pDestinationLabel);
    pDestination->addWidget(m_pDestination, 1);
    pDestination->addWidget(pBrowse);

    auto* pMain = new QVBoxLayout(this);
    pMain->addLayout(pTop);
    pMain->addLayout(pDestination);
    pMain->addWidget(m_pLowercase);
    pMain->addWidget(m_pClean);
    pMain->addWidget(m_pLog, 1);
    pMain->addWidget(m_pCurrentFile);
    pMain->addWidget(m_pCurrentTag);
    pMain->addWidget(m_pProgress);

    // Roughly the size of the original window, with room for the log.
    const QFontMetrics metrics = fontMetrics();
    resize(metrics.averageCharWidth() * 95, metrics.height() * 26);

    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pGenerate, &QPushButton::clicked, this, &CGenerateDialog::OnGenerate);
    connect(pBrowse, &QPushButton::clicked, this, &CGenerateDialog::OnBrowse);
    connect(
        m_pOpenInBrowser, &QPushButton::clicked, this, [this] { QDesktopServices::openUrl(m_homePageUrl); });

    m_pDestination->setText(ToQString(m_record.m_strDestination));
    CheckIn(m_pLowercase, m_record.m_bLowercase);
    // The clean choice is the user's habit rather than the project's: it is
    // remembered between runs, and the record's value applies until then.
    const QSettings settings(PlatformMapping::WindowStateFileName(), QSettings::IniFormat);
    CheckIn(m_pClean, settings.value(kCleanKey, m_record.m_bClean != 0).toBool() ? 1 : 0);

    SetActive(this);
}

CGenerateDialog::~CGenerateDialog()
{
    if (Active() == this)
        SetActive(m_pPreviousDisplay);
}

void CGenerateDialog::SaveControls()
{
    m_record.m_strDestination = FromQString(m_pDestination->text());
    m_record.m_bLowercase = CheckOut(m_pLowercase);
    m_record.m_bClean = CheckOut(m_pClean);
    QSettings settings(PlatformMapping::WindowStateFileName(), QSettings::IniFormat);
    settings.setValue(kCleanKey, m_record.m_bClean != 0);
}

void CGenerateDialog::accept()
{
    SaveControls();
    QDialog::accept();
}

void CGenerateDialog::OnGenerate()
{
    if (!EnsureDestination())
        return;
    SaveControls();
    m_pOpenInBrowser->setVisible(false);
    m_homePageUrl.clear();
    if (m_generator)
        m_generator(m_record);
    OfferHomePage();
}

bool CGenerateDialog::EnsureDestination()
{
    // A relative destination is taken from the current directory, as the
    // run takes it; an empty one is left to the run, which refuses it.
    const QString destination = m_pDestination->text();
    if (destination.isEmpty() || QFileInfo(destination).isDir())
        return true;
    const QString shown = QDir::toNativeSeparators(QFileInfo(destination).absoluteFilePath());
    const auto answer = QMessageBox::question(this, windowTitle(),
        QStringLiteral("The folder %1 does not exist. Create it?").arg(shown),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes && QDir().mkpath(destination))
        return true;
    if (answer == QMessageBox::Yes)
        QMessageBox::warning(
            this, windowTitle(), QStringLiteral("The folder %1 could not be created.").arg(shown));
    m_pDestination->setFocus();
    return false;
}

void CGenerateDialog::OnBrowse()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Destination Directory"), QFileInfo(m_pDestination->text()).absoluteFilePath());
    if (!chosen.isEmpty())
        m_pDestination->setText(QDir::toNativeSeparators(chosen));
}

void CGenerateDialog::OfferHomePage()
{
    if (!m_homePage)
        return;
    const QFileInfo home(QDir(m_pDestination->text()), ToQString(m_homePage(m_record)));
    if (!home.isFile())
        return;
    m_homePageUrl = QUrl::fromLocalFile(home.absoluteFilePath());
    m_pOpenInBrowser->setVisible(true);
}

void CGenerateDialog::SetProgressRange(int lower, int upper)
{
    // An empty range would turn the bar into a busy indicator.
    m_pProgress->setRange(lower, upper > lower ? upper : lower + 1);
    m_pProgress->repaint();
}

void CGenerateDialog::SetProgressPos(int pos)
{
    m_pProgress->setValue(pos);
    m_pProgress->repaint();
}

void CGenerateDialog::StepProgress()
{
    // A run that expands more objects than it counted keeps the bar full.
    SetProgressPos(std::min(m_pProgress->value() + 1, m_pProgress->maximum()));
}

void CGenerateDialog::SetStatusText(EStatusLine line, const CString& text)
{
    QString shown = ToQString(text);
    switch (line) {
    case EStatusLine::CurrentFile:
        m_pCurrentFile->setText(shown);
        m_pCurrentFile->repaint();
        break;
    case EStatusLine::CurrentTag:
        m_pCurrentTag->setText(shown);
        m_pCurrentTag->repaint();
        break;
    case EStatusLine::Log:
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_pLog->setPlainText(shown);
        break;
    }
}
