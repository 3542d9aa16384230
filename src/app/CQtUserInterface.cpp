#include "app/CQtUserInterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

#include "app/QtText.h"
#include "platform/CDialogRecord.h"

#if __has_include("dialogs/IGenerationDisplay.h")
#include "dialogs/IGenerationDisplay.h"
#define PAGEWELL_HAVE_GENERATION_DISPLAY 1
#endif

namespace {

constexpr const char* kFileFilter = "Pagewell Files (*.pwl)";
// The readable form, for sites kept in version control.
constexpr const char* kJsonFilter = "Pagewell JSON Projects (*.json)";

// Hands a run's progress to the open generation dialog; false when none
// is open.
#if defined(PAGEWELL_HAVE_GENERATION_DISPLAY)
bool ToGenerationDisplay(const auto& call)
{
    IGenerationDisplay* pDisplay = IGenerationDisplay::Active();
    if (pDisplay == nullptr)
        return false;
    call(*pDisplay);
    return true;
}
#else
bool ToGenerationDisplay(const auto& /*call*/)
{
    return false;
}
#endif

} // namespace

CQtUserInterface::CQtUserInterface(CDialogRegistry& registry)
    : m_registry(registry)
{ }

int CQtUserInterface::MessageBox(
    const CString& text, const CString& caption, EMessageIcon icon, EMessageButtons buttons)
{
    QMessageBox box(m_pParent);
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    switch (icon) {
    case EMessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case EMessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case EMessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case EMessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case EMessageIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case EMessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case EMessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case EMessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case EMessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return buttons == EMessageButtons::YesNo || buttons == EMessageButtons::YesNoCancel ? IDCANCEL : IDOK;
    }
}

void CQtUserInterface::Beep(EBeep /*kind*/)
{
    QApplication::beep();
}

int CQtUserInterface::DoModal(CDialogRecord& record)
{
    if (const CDialogRegistry::Runner* pRunner = m_registry.Find(record.GetDialogId()))
        return (*pRunner)(record, m_pParent);
    qWarning("Pagewell: no dialog registered for id %d; answering OK", record.GetDialogId());
    return IDOK;
}

bool CQtUserInterface::PromptSavePath(std::string& path)
{
    const QString archive = QString::fromLatin1(kFileFilter);
    const QString json = QString::fromLatin1(kJsonFilter);
    // The proposal's form is offered first; the name chosen decides.
    QString selected
        = QFileInfo(PathToQString(path)).suffix().compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0
        ? json
        : archive;
    QString chosen = QFileDialog::getSaveFileName(m_pParent, QStringLiteral("Save As"), PathToQString(path),
        archive + QStringLiteral(";;") + json, &selected);
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += selected == json ? QStringLiteral(".json") : QStringLiteral(".pwl");
    path = PathFromQString(chosen);
    return true;
}

void CQtUserInterface::SetProgressRange(int lower, int upper)
{
    ToGenerationDisplay([&](auto& display) { display.SetProgressRange(lower, upper); });
}

void CQtUserInterface::SetProgressPos(int pos)
{
    ToGenerationDisplay([&](auto& display) { display.SetProgressPos(pos); });
}

void CQtUserInterface::StepProgress()
{
    ToGenerationDisplay([&](auto& display) { display.StepProgress(); });
}

void CQtUserInterface::SetStatusText(EStatusLine line, const CString& text)
{
    if (ToGenerationDisplay([&](auto& display) { display.SetStatusText(line, text); }))
        return;
    if (auto* pWindow = qobject_cast<QMainWindow*>(m_pParent.data());
        pWindow != nullptr && line != EStatusLine::Log)
        pWindow->statusBar()->showMessage(ToQString(text));
}
