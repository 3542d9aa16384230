#include "dialogs/CDocInfoDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "dialogs/CPictureBrowseButton.h"
#include "dialogs/ColorPicker.h"
#include "dialogs/DialogControls.h"
#include "model/CDocInfo.h"

namespace {

// The pattern of the templates an object of a type can take; null for an
// unknown type.
const char* TemplatePattern(uint32_t nType)
{
    switch (nType) {
    case NODE_PAGE:
        return "*.hdr.txt";
    case NODE_PARAGRAPH:
        return "*.pgh.txt";
    case NODE_LINK:
        return "*.lnk.txt";
    default:
        return nullptr;
    }
}

} // namespace

CDocInfoDialog::CDocInfoDialog(CDocInfo& record, uint32_t nType, CDocProperties* pProject, QWidget* pParent)
    : QDialog(pParent)
    , m_record(record)
    , m_nType(nType)
    , m_pProject(pProject)
{
    setObjectName("objectPropertiesDialog");
    setWindowTitle(QStringLiteral("Object properties"));

    // Created in the dialog's tab order.
    m_pTemplate = MakeDropDownCombo("template", "Template", false);
    auto* pStyle = MakeGroupBox(QStringLiteral("Style"));
    pStyle->setObjectName("style");
    m_pStyle = pStyle;
    m_pBgBitmap = MakeDropDownCombo("bgBitmap", "Bg. bitmap", true);
    m_pTextColor = MakeButton("textColor", "Text Color");
    m_pBgColor = MakeButton("bgColor", "Bg. Color");
    m_pLinkColor = MakeButton("linkColor", "LinkColor");
    m_pVLinkColor = MakeButton("vLinkColor", "v. Link Color");
    m_pNew = MakeCheck("new", "New");
    m_pUpdated = MakeCheck("updated", "Updated");
    m_pConstruction = MakeCheck("construction", "Construction");
    m_pExpireDays = new QLineEdit;
    m_pExpireDays->setObjectName("expireDays");
    m_pExpireDays->setAccessibleName("Auto expire after days");
    m_pIcon = MakeDropDownCombo("icon", "Icon", true);
    m_pLineImage = MakeDropDownCombo("lineImage", "Line Image", true);
    auto* pOk = new QPushButton(QStringLiteral("Ok"));
    pOk->setObjectName("ok");
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"));
    pCancel->setObjectName("cancel");
    pCancel->setAutoDefault(false);

    auto* pTemplateRow = new QHBoxLayout;
    pTemplateRow->addWidget(MakeLabel("Template", m_pTemplate));
    pTemplateRow->addWidget(m_pTemplate, 1);

    auto* pStyleLayout = new QGridLayout(pStyle);
    pStyleLayout->addWidget(MakeLabel("Bg. bitmap", m_pBgBitmap), 0, 0, 1, 2);
    auto* pBgBitmapRow = new QHBoxLayout;
    pBgBitmapRow->addWidget(m_pBgBitmap, 1);
    pBgBitmapRow->addWidget(new CPictureBrowseButton(m_pBgBitmap, "background"));
    pStyleLayout->addLayout(pBgBitmapRow, 1, 0, 1, 2);
    pStyleLayout->addWidget(m_pTextColor, 2, 0);
    pStyleLayout->addWidget(m_pBgColor, 2, 1);
    pStyleLayout->addWidget(m_pLinkColor, 3, 0);
    pStyleLayout->addWidget(m_pVLinkColor, 3, 1);
    pStyleLayout->setRowStretch(4, 1);

    QGroupBox* pBanners = MakeBannersGroup(m_pNew, m_pUpdated, m_pConstruction, m_pExpireDays);

    auto* pEffects = MakeGroupBox(QStringLiteral("Effects"));
    auto* pEffectsLayout = new QGridLayout(pEffects);
    pEffectsLayout->addWidget(MakeLabel("Icon", m_pIcon), 0, 0);
    pEffectsLayout->addWidget(m_pIcon, 0, 1);
    pEffectsLayout->addWidget(new CPictureBrowseButton(m_pIcon, "images"), 0, 2);
    m_pLineImageLabel = MakeLabel("Line Image", m_pLineImage);
    pEffectsLayout->addWidget(m_pLineImageLabel, 1, 0);
    pEffectsLayout->addWidget(m_pLineImage, 1, 1);
    pEffectsLayout->addWidget(new CPictureBrowseButton(m_pLineImage, "lineimages"), 1, 2);
    pEffectsLayout->setColumnStretch(1, 1);

    auto* pGroups = new QHBoxLayout;
    pGroups->addWidget(pStyle);
    pGroups->addWidget(pBanners);

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);

    auto* pMain = new QVBoxLayout(this);
    pMain->addLayout(pTemplateRow);
    pMain->addLayout(pGroups);
    pMain->addWidget(pEffects);
    pMain->addStretch(1);
    pMain->addLayout(pButtons);

    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
    const std::pair<QPushButton*, COLORREF CDocInfo::*> colors[] = {
        { m_pTextColor, &CDocInfo::m_clrText },
        { m_pBgColor, &CDocInfo::m_clrBg },
        { m_pLinkColor, &CDocInfo::m_clrLink },
        { m_pVLinkColor, &CDocInfo::m_clrVLink },
    };
    for (const auto& [pButton, field] : colors) {
        connect(pButton, &QPushButton::clicked, this,
            [this, pButton = pButton, field = field] { PickColor(field, pButton); });
    }
    for (QCheckBox* pBanner : { m_pNew, m_pConstruction, m_pUpdated })
        connect(pBanner, &QCheckBox::clicked, this, [this] { m_record.m_bBannersTouched = 1; });

    EnableByType();
    FillCombos();
    AddComboString(m_pTemplate, ""); // the empty template entry
    LoadControls();
}

void CDocInfoDialog::EnableByType()
{
    // Background and colours belong to a page's own file; a link has no line.
    const bool bPage = m_nType == NODE_PAGE;
    m_pStyle->setEnabled(bPage);
    for (QWidget* pControl : std::initializer_list<QWidget*> {
             m_pBgBitmap, m_pTextColor, m_pBgColor, m_pLinkColor, m_pVLinkColor })
        pControl->setEnabled(bPage);
    const bool bLine = m_nType != NODE_LINK;
    m_pLineImage->setEnabled(bLine);
    m_pLineImageLabel->setEnabled(bLine);
}

void CDocInfoDialog::FillCombos()
{
    FillComboFromFolder(m_pBgBitmap, "background", "*.gif", true, false);
    FillComboFromFolder(m_pBgBitmap, "background", "*.jpg", false, false);
    FillComboFromFolder(m_pIcon, "images", "*.gif", true, false);
    FillComboFromFolder(m_pIcon, "images", "*.jpg", false, false);
    FillComboFromFolder(m_pLineImage, "lineimages", "*.gif", true, false);
    FillComboFromFolder(m_pLineImage, "lineimages", "*.jpg", false, false);
    if (const char* pattern = TemplatePattern(m_nType))
        FillComboFromFolder(m_pTemplate, "templates", pattern, true, true);
}

void CDocInfoDialog::LoadControls()
{
    ComboTextIn(m_pBgBitmap, m_record.m_strBgBitmap);
    m_pExpireDays->setText(QString::number(m_record.m_nExpireDays));
    ComboTextIn(m_pIcon, m_record.m_strIcon);
    ComboTextIn(m_pLineImage, m_record.m_strLineImage);
    CheckIn(m_pConstruction, m_record.m_bConstruction);
    ComboTextIn(m_pTemplate, m_record.m_strTemplate);
    CheckIn(m_pUpdated, m_record.m_bUpdated);
    CheckIn(m_pNew, m_record.m_bNew);
    ShowColorOnButton(m_pTextColor, m_record.m_clrText);
    ShowColorOnButton(m_pBgColor, m_record.m_clrBg);
    ShowColorOnButton(m_pLinkColor, m_record.m_clrLink);
    ShowColorOnButton(m_pVLinkColor, m_record.m_clrVLink);
}

bool CDocInfoDialog::SaveControls(CDocInfo& values)
{
    values.m_strBgBitmap = ComboTextOut(m_pBgBitmap);
    const std::optional<int32_t> days
        = IntegerOut(this, m_pExpireDays, std::pair { kMinExpireDays, kMaxExpireDays });
    if (!days)
        return false;
    values.m_nExpireDays = *days;
    values.m_strIcon = ComboTextOut(m_pIcon);
    values.m_strLineImage = ComboTextOut(m_pLineImage);
    values.m_bConstruction = CheckOut(m_pConstruction);
    values.m_strTemplate = ComboTextOut(m_pTemplate);
    values.m_bUpdated = CheckOut(m_pUpdated);
    values.m_bNew = CheckOut(m_pNew);
    return true;
}

void CDocInfoDialog::accept()
{
    CDocInfo values = m_record;
    if (!SaveControls(values))
        return;
    m_record = values;
    QDialog::accept();
}

void CDocInfoDialog::PickColor(COLORREF CDocInfo::*field, QPushButton* pButton)
{
    ::PickColor(m_pProject, m_record.*field, this);
    ShowColorOnButton(pButton, m_record.*field);
}
