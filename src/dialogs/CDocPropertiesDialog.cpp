#include "dialogs/CDocPropertiesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "app/QtText.h"
#include "dialogs/CPictureBrowseButton.h"
#include "dialogs/ColorPicker.h"
#include "dialogs/DialogControls.h"
#include "model/CDocProperties.h"

CDocPropertiesDialog::CDocPropertiesDialog(CDocProperties& record, QWidget* pParent)
    : QDialog(pParent)
    , m_record(record)
{
    setObjectName("documentPropertiesDialog");
    setWindowTitle(QStringLiteral("Document Properties"));

    // Created in the dialog's tab order.
    m_pAuthor = MakeEdit("author", "Author");
    m_pEmail = MakeEdit("email", "Email");
    m_pTemplate = MakeDropDownCombo("template", "Template", false);
    m_pBgBitmap = MakeDropDownCombo("bgBitmap", "Bg. bitmap", true);
    m_pTextColor = MakeButton("textColor", "Text Color");
    m_pBgColor = MakeButton("bgColor", "Bg. Color");
    m_pLinkColor = MakeButton("linkColor", "Link Color");
    m_pVLinkColor = MakeButton("vLinkColor", "v. Link color");
    m_pNew = MakeCheck("new", "New");
    m_pUpdated = MakeCheck("updated", "Updated");
    m_pConstruction = MakeCheck("construction", "Construction");
    m_pExpireDays = MakeEdit("expireDays", "Auto expire after days");
    m_pImage = MakeDropDownCombo("image", "Image", true);
    m_pLineImage = MakeDropDownCombo("lineImage", "Line Image", true);
    m_pBullet = MakeDropDownCombo("bullet", "Link bullet", true);
    m_pUpButton = MakeDropDownCombo("upButton", "Up button", true);
    m_pBackButton = MakeDropDownCombo("backButton", "Back button", true);
    m_pHomeButton = MakeDropDownCombo("homeButton", "Home button", true);
    m_pConstructionImage = MakeDropDownCombo("constructionImage", "Construction image", true);
    m_pNewImage = MakeDropDownCombo("newImage", "New image", true);
    m_pUpdatedImage = MakeDropDownCombo("updatedImage", "Updated image", true);
    auto* pOk = new QPushButton(QStringLiteral("OK"));
    pOk->setObjectName("ok");
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"));
    pCancel->setObjectName("cancel");
    pCancel->setAutoDefault(false);

    // Author and e-mail.
    auto* pPerson = new QGridLayout;
    pPerson->addWidget(MakeLabel("Author", m_pAuthor), 0, 0);
    pPerson->addWidget(m_pAuthor, 0, 1);
    pPerson->addWidget(MakeLabel("Email", m_pEmail), 1, 0);
    pPerson->addWidget(m_pEmail, 1, 1);

    // The defaults of new objects: template, style and banners.
    auto* pStyle = MakeGroupBox(QStringLiteral("Style"));
    auto* pStyleLayout = new QGridLayout(pStyle);
    pStyleLayout->addWidget(MakeLabel("Bg. bitmap", m_pBgBitmap), 0, 0);
    pStyleLayout->addWidget(m_pBgBitmap, 0, 1, 1, 2);
    pStyleLayout->addWidget(new CPictureBrowseButton(m_pBgBitmap, "background"), 0, 3);
    pStyleLayout->addWidget(m_pTextColor, 1, 1);
    pStyleLayout->addWidget(m_pBgColor, 1, 2);
    pStyleLayout->addWidget(m_pLinkColor, 2, 1);
    pStyleLayout->addWidget(m_pVLinkColor, 2, 2);
    pStyleLayout->setRowStretch(3, 1);

    QGroupBox* pBanners = MakeBannersGroup(m_pNew, m_pUpdated, m_pConstruction, m_pExpireDays);

    auto* pDefaults = MakeGroupBox(QStringLiteral("Default Properties for HTML pages"));
    auto* pDefaultsLayout = new QGridLayout(pDefaults);
    auto* pTemplateRow = new QHBoxLayout;
    pTemplateRow->addWidget(MakeLabel("Template", m_pTemplate));
    pTemplateRow->addWidget(m_pTemplate, 1);
    pDefaultsLayout->addLayout(pTemplateRow, 0, 0, 1, 2);
    pDefaultsLayout->addWidget(pStyle, 1, 0);
    pDefaultsLayout->addWidget(pBanners, 1, 1);

    // The project-wide images.
    auto* pImages = MakeGroupBox(QStringLiteral("Images"));
    auto* pImagesLayout = new QGridLayout(pImages);
    // Each with the folder its pictures live in.
    const std::tuple<const char*, QComboBox*, const char*> images[] = {
        { "Image", m_pImage, "images" },
        { "Line Image", m_pLineImage, "lineimages" },
        { "Link bullet", m_pBullet, "bullets" },
        { "Up button", m_pUpButton, "images" },
        { "Back button", m_pBackButton, "images" },
        { "Home button", m_pHomeButton, "images" },
        { "Construction", m_pConstructionImage, "images" },
        { "New", m_pNewImage, "images" },
        { "Updated", m_pUpdatedImage, "images" },
    };
    int row = 0;
    for (const auto& [label, pCombo, folder] : images) {
        pImagesLayout->addWidget(MakeLabel(label, pCombo), row, 0);
        pImagesLayout->addWidget(pCombo, row, 1);
        pImagesLayout->addWidget(new CPictureBrowseButton(pCombo, folder), row, 2);
        ++row;
    }
    pImagesLayout->setColumnStretch(1, 1);

    auto* pLeft = new QVBoxLayout;
    pLeft->addLayout(pPerson);
    pLeft->addWidget(pDefaults, 1);

    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);
    pButtons->addStretch(1);

    auto* pMain = new QHBoxLayout(this);
    pMain->addLayout(pLeft, 3);
    pMain->addWidget(pImages, 2);
    pMain->addLayout(pButtons);

    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
    const std::pair<QPushButton*, COLORREF CDocProperties::*> colors[] = {
        { m_pTextColor, &CDocProperties::m_clrText },
        { m_pBgColor, &CDocProperties::m_clrBg },
        { m_pLinkColor, &CDocProperties::m_clrLink },
        { m_pVLinkColor, &CDocProperties::m_clrVLink },
    };
    for (const auto& [pButton, field] : colors) {
        connect(pButton, &QPushButton::clicked, this,
            [this, pButton = pButton, field = field] { PickColor(field, pButton); });
    }

    FillCombos();
    AddComboString(m_pTemplate, ""); // the empty template entry
    ShowTemplatePictures(m_pTemplate);
    LoadControls();
}

void CDocPropertiesDialog::FillCombos()
{
    const std::pair<QComboBox*, const char*> imageCombos[] = {
        { m_pBgBitmap, "background" },
        { m_pImage, "images" },
        { m_pLineImage, "lineimages" },
        { m_pBullet, "bullets" },
        { m_pBackButton, "images" },
        { m_pHomeButton, "images" },
        { m_pUpButton, "images" },
        { m_pConstructionImage, "images" },
        { m_pNewImage, "images" },
        { m_pUpdatedImage, "images" },
    };
    for (const auto& [pCombo, folder] : imageCombos) {
        FillComboFromFolder(pCombo, folder, "*.gif", true, false);
        FillComboFromFolder(pCombo, folder, "*.jpg", false, false);
    }
    FillComboFromFolder(m_pTemplate, "templates", "*.hdr.txt", true, true);
}

void CDocPropertiesDialog::LoadControls()
{
    m_pAuthor->setText(ToQString(m_record.m_strAuthor));
    ComboTextIn(m_pBgBitmap, m_record.m_strBgBitmap);
    m_pEmail->setText(ToQString(m_record.m_strEmail));
    m_pExpireDays->setText(QString::number(m_record.m_nExpireDays));
    ComboTextIn(m_pImage, m_record.m_strImage);
    ComboTextIn(m_pLineImage, m_record.m_strLineImage);
    CheckIn(m_pNew, m_record.m_bNew);
    CheckIn(m_pUpdated, m_record.m_bUpdated);
    CheckIn(m_pConstruction, m_record.m_bConstruction);
    ComboTextIn(m_pHomeButton, m_record.m_strHomeButton);
    ComboTextIn(m_pTemplate, m_record.m_strTemplate);
    ComboTextIn(m_pBackButton, m_record.m_strBackButton);
    ComboTextIn(m_pBullet, m_record.m_strBullet);
    ComboTextIn(m_pUpButton, m_record.m_strUpButton);
    ComboTextIn(m_pConstructionImage, m_record.m_strConstructionImage);
    ComboTextIn(m_pNewImage, m_record.m_strNewImage);
    ComboTextIn(m_pUpdatedImage, m_record.m_strUpdatedImage);
    ShowColorOnButton(m_pTextColor, m_record.m_clrText);
    ShowColorOnButton(m_pBgColor, m_record.m_clrBg);
    ShowColorOnButton(m_pLinkColor, m_record.m_clrLink);
    ShowColorOnButton(m_pVLinkColor, m_record.m_clrVLink);
}

bool CDocPropertiesDialog::SaveControls(CDocProperties& values)
{
    values.m_strAuthor = FromQString(m_pAuthor->text());
    values.m_strBgBitmap = ComboTextOut(m_pBgBitmap);
    values.m_strEmail = FromQString(m_pEmail->text());
    // Any integer: new objects take the value as it is.
    const std::optional<int32_t> days = IntegerOut(this, m_pExpireDays);
    if (!days)
        return false;
    values.m_nExpireDays = *days;
    values.m_strImage = ComboTextOut(m_pImage);
    values.m_strLineImage = ComboTextOut(m_pLineImage);
    values.m_bNew = CheckOut(m_pNew);
    values.m_bUpdated = CheckOut(m_pUpdated);
    values.m_bConstruction = CheckOut(m_pConstruction);
    values.m_strHomeButton = ComboTextOut(m_pHomeButton);
    values.m_strTemplate = ComboTextOut(m_pTemplate);
    values.m_strBackButton = ComboTextOut(m_pBackButton);
    values.m_strBullet = ComboTextOut(m_pBullet);
    values.m_strUpButton = ComboTextOut(m_pUpButton);
    values.m_strConstructionImage = ComboTextOut(m_pConstructionImage);
    values.m_strNewImage = ComboTextOut(m_pNewImage);
    values.m_strUpdatedImage = ComboTextOut(m_pUpdatedImage);
    return true;
}

void CDocPropertiesDialog::accept()
{
    // The record changes only when every field is good, so that a Cancel
    // after a refused OK leaves it as it was.
    CDocProperties values = m_record;
    if (!SaveControls(values))
        return;
    m_record = values;
    QDialog::accept();
}

void CDocPropertiesDialog::PickColor(COLORREF CDocProperties::*field, QPushButton* pButton)
{
    ::PickColor(&m_record, m_record.*field, this);
    ShowColorOnButton(pButton, m_record.*field);
}
