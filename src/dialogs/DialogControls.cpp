#include "dialogs/DialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "dialogs/CDropDownCombo.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/IUserInterface.h"

namespace {

const char* const kSortedProperty = "pagewellSortedList";

} // namespace

QComboBox* MakeDropDownCombo(const QString& objectName, const QString& accessibleName, bool bSorted)
{
    auto* pCombo = new CDropDownCombo;
    pCombo->setObjectName(objectName);
    pCombo->setAccessibleName(accessibleName);
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

void ShowTemplatePictures(QComboBox* pCombo)
{
    const CFileLocator locator(CFileSystem::Real(), CFileLocator::DefaultShareDir());
    // A page of the example, at a size that still tells the sets apart.
    pCombo->setIconSize(QSize(64, 48));
    for (int i = 0; i < pCombo->count(); ++i) {
        const CString name = FromQString(pCombo->itemText(i));
        if (name.empty())
            continue;
        const std::string path = locator.LocateForRead("templates/" + name + ".png");
        if (CFileSystem::Real().IsRegularFile(path))
            pCombo->setItemIcon(i, QIcon(QString::fromStdString(path)));
    }
}

std::vector<CString> ListResourceFiles(const char* folder, const char* pattern)
{
    const CFileLocator locator(CFileSystem::Real(), CFileLocator::DefaultShareDir());
    return locator.ListMatching(CString(folder) + "/" + pattern);
}

QLineEdit* MakeEdit(const QString& objectName, const QString& accessibleName)
{
    auto* pEdit = new QLineEdit;
    pEdit->setObjectName(objectName);
    pEdit->setAccessibleName(accessibleName);
    return pEdit;
}

QPushButton* MakeButton(const QString& objectName, const QString& text)
{
    auto* pButton = new QPushButton(text);
    pButton->setObjectName(objectName);
    pButton->setAutoDefault(false);
    return pButton;
}

QCheckBox* MakeCheck(const QString& objectName, const QString& text)
{
    auto* pCheck = new QCheckBox(text);
    pCheck->setObjectName(objectName);
    return pCheck;
}

QLabel* MakeLabel(const QString& text, QWidget* pBuddy)
{
    auto* pLabel = new QLabel(text);
    pLabel->setBuddy(pBuddy);
    return pLabel;
}

QGroupBox* MakeGroupBox(const QString& title)
{
    auto* pGroup = new QGroupBox(title);
    // Without its own name a group box inside another takes the outer title.
    pGroup->setAccessibleName(title);
    return pGroup;
}

QGroupBox* MakeBannersGroup(
    QCheckBox* pNew, QCheckBox* pUpdated, QCheckBox* pConstruction, QLineEdit* pExpireDays)
{
    auto* pBanners = MakeGroupBox(QStringLiteral("Banners"));
    auto* pBannersLayout = new QVBoxLayout(pBanners);
    pBannersLayout->addWidget(pNew);
    pBannersLayout->addWidget(pUpdated);
    pBannersLayout->addWidget(pConstruction);
    auto* pExpire = new QHBoxLayout;
    pExpire->addWidget(MakeLabel("Auto expire after ", pExpireDays));
    pExpireDays->setMaximumWidth(pExpireDays->fontMetrics().horizontalAdvance(QStringLiteral("-00000000")));
    pExpire->addWidget(pExpireDays);
    pExpire->addWidget(new QLabel(QStringLiteral("days")));
    pExpire->addStretch(1);
    pBannersLayout->addLayout(pExpire);
    pBannersLayout->addStretch(1);
    return pBanners;
}
