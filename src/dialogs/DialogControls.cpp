#include "dialogs/DialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "app/QtText.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/IUserInterface.h"

namespace {

const char* const kSortedProperty = "pagewellSortedList";

} // namespace

QComboBox* MakeDropDownCombo(const QString& objectName, const QString& accessibleName, bool bSorted)
{
    auto* pCombo = new QComboBox;
    pCombo->setObjectName(objectName);
    pCombo->setAccessibleName(accessibleName);
    pCombo->setEditable(true);
    pCombo->setInsertPolicy(QComboBox::NoInsert);
    pCombo->setMaxVisibleItems(16);
    pCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    pCombo->setMinimumContentsLength(12);
    pCombo->setProperty(kSortedProperty, bSorted);
    return pCombo;
}

CComboList GetComboList(const QComboBox* pCombo)
{
    CComboList list(pCombo->property(kSortedProperty).toBool());
    for (int i = 0; i < pCombo->count(); ++i)
        list.AddString(FromQString(pCombo->itemText(i)));
    return list;
}

void SetComboList(QComboBox* pCombo, const CComboList& list)
{
    const QString text = pCombo->currentText();
    pCombo->clear();
    for (const CString& entry : list.Entries())
        pCombo->addItem(ToQString(entry));
    pCombo->setCurrentIndex(-1);
    pCombo->setEditText(text);
}

void AddComboString(QComboBox* pCombo, const CString& entry)
{
    CComboList list = GetComboList(pCombo);
    list.AddString(entry);
    SetComboList(pCombo, list);
}

void FillComboFromFolder(QComboBox* pCombo, const char* folder, const char* pattern, bool bClear, bool bStrip)
{
    CComboList list = GetComboList(pCombo);
    FillComboList(list, ListResourceFiles(folder, pattern), bClear, bStrip);
    SetComboList(pCombo, list);
}

void ComboTextIn(QComboBox* pCombo, const CString& value)
{
    std::vector<CString> entries;
    entries.reserve(static_cast<size_t>(pCombo->count()));
    for (int i = 0; i < pCombo->count(); ++i)
        entries.push_back(FromQString(pCombo->itemText(i)));
    if (const auto index = FindComboEntry(entries, value)) {
        pCombo->setCurrentIndex(static_cast<int>(*index));
    } else {
        pCombo->setCurrentIndex(-1);
        pCombo->setEditText(ToQString(value));
    }
}

CString ComboTextOut(const QComboBox* pCombo)
{
    return FromQString(pCombo->currentText());
}

void CheckIn(QCheckBox* pCheck, int32_t value)
{
    pCheck->setChecked(value != 0);
}

int32_t CheckOut(const QCheckBox* pCheck)
{
    return pCheck->isChecked() ? 1 : 0;
}

std::optional<int32_t> IntegerOut(
    QDialog* pDialog, QLineEdit* pEdit, std::optional<std::pair<int32_t, int32_t>> range)
{
    const std::optional<int32_t> value = ParseDialogInteger(FromQString(pEdit->text()));
    CString message;
    if (!value)
        message = IntegerMessage();
    else if (range && (*value < range->first || *value > range->second))
        message = IntegerRangeMessage(range->first, range->second);
    if (message.empty())
        return value;
    ShowInputMessage(pDialog, message);
    pEdit->setFocus(Qt::OtherFocusReason);
    pEdit->selectAll();
    return std::nullopt;
}

void ShowInputMessage(QWidget* pParent, const CString& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle), ToQString(text),
        QMessageBox::Ok, pParent);
    box.exec();
}

std::vector<CString> ListResourceFiles(const char* folder, const char* pattern)
{
    const CFileLocator locator(CFileSystem::Real(), CFileLocator::DefaultShareDir());
    return locator.ListMatching(CString(folder) + "/" + pattern);
}
