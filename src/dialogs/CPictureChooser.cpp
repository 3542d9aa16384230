#include "dialogs/CPictureChooser.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtText.h"
#include "dialogs/CPictureFileDialog.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CPictureImport.h"
#include "platform/IUserInterface.h"

namespace {

using EClashAnswer = CPictureImport::EClashAnswer;

// Where the file dialog opens: where the last picture came from.
QString& LastFolder()
{
    static QString s_folder = QDir::homePath();
    return s_folder;
}

QPushButton* AddAnswer(QMessageBox& box, const QString& text, const char* name, QMessageBox::ButtonRole role)
{
    QPushButton* pButton = box.addButton(text, role);
    pButton->setObjectName(QString::fromLatin1(name));
    return pButton;
}

EClashAnswer AskClash(QWidget* pParent, const QString& folder, const std::string& name)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kApplicationTitle),
        QStringLiteral("The folder \"%1\" already holds a different picture named \"%2\".")
            .arg(folder, QString::fromStdString(name)),
        QMessageBox::NoButton, pParent);
    box.setObjectName(QStringLiteral("pictureClashBox"));
    box.setInformativeText(QStringLiteral("Use the picture there, keep both (the new one under a new name), "
                                          "or replace the picture there with the new one?"));
    QPushButton* pUse
        = AddAnswer(box, QStringLiteral("&Use the one there"), "useExisting", QMessageBox::AcceptRole);
    QPushButton* pKeep = AddAnswer(box, QStringLiteral("&Keep both"), "keepBoth", QMessageBox::AcceptRole);
    QPushButton* pReplace
        = AddAnswer(box, QStringLiteral("&Replace"), "replace", QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    box.setDefaultButton(pUse);
    box.exec();
    if (box.clickedButton() == pUse)
        return EClashAnswer::UseExisting;
    if (box.clickedButton() == pKeep)
        return EClashAnswer::KeepBoth;
    if (box.clickedButton() == pReplace)
        return EClashAnswer::Replace;
    return EClashAnswer::Cancel;
}

} // namespace

CPictureChooser::CPictureChooser(QWidget* pParent, const char* folder, bool bSubfolders)
    : m_pParent(pParent)
    , m_strFolder(QString::fromLatin1(folder))
    , m_bSubfolders(bSubfolders)
{ }

std::optional<QString> CPictureChooser::Browse()
{
    CPictureFileDialog dialog(LastFolder(), m_pParent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    LastFolder() = dialog.directory().absolutePath();
    return Import(dialog.selectedFiles().constFirst());
}

std::optional<QString> CPictureChooser::Import(const QString& path)
{
    const std::string folder = PathFromQString(QDir::current().absoluteFilePath(m_strFolder));
    const std::string defaults = CFileLocator::DefaultShareDir() + "/" + m_strFolder.toStdString();
    const CPictureImport import(CFileSystem::Real(), folder, defaults, m_bSubfolders);
    const CPictureImport::CResult result = import.Import(PathFromQString(path),
        [this](const std::string& name) { return AskClash(m_pParent, m_strFolder, name); });
    switch (result.outcome) {
    case CPictureImport::EOutcome::Cancelled:
        return std::nullopt;
    case CPictureImport::EOutcome::Failed:
        QMessageBox::warning(
            m_pParent, QString::fromLatin1(kApplicationTitle), QString::fromStdString(result.error));
        return std::nullopt;
    default:
        return PathToQString(result.name);
    }
}
