#include "tree/CTreeDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "app/CDialogRegistry.h"
#include "app/QtText.h"
#include "app/Resources.h"
#include "model/CPagewellDoc.h"
#include "model/CTreeCommands.h"
#include "model/TreeDialogs.h"
#include "platform/IUserInterface.h"

namespace {

constexpr QSize kPositionPictureSize(20, 20);
constexpr QSize kTypePictureSize(20, 12);
const QColor kPictureBackground(0xc6, 0xc6, 0xc6);

// A picture drawn from SVG at the screen's scale: on a grey ground of size,
// the SVG fills the rectangle at.
QPixmap DrawPicture(const QString& svg, QSize size, QRect at)
{
    InitPagewellResources();
    const qreal scale = qApp->devicePixelRatio();
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(kPictureBackground);
    QPainter painter(&pixmap);
    QSvgRenderer renderer(svg);
    renderer.render(&painter, at);
    return pixmap;
}

QPixmap PositionPicture(const char* pszName)
{
    return DrawPicture(QStringLiteral(":/dialogs/%1.svg").arg(QLatin1String(pszName)), kPositionPictureSize,
        QRect(QPoint(0, 0), kPositionPictureSize));
}

// The tree's picture of a type, centred on the wider grey ground.
QPixmap TypePicture(const char* pszName)
{
    return DrawPicture(
        QStringLiteral(":/tree/%1.svg").arg(QLatin1String(pszName)), kTypePictureSize, QRect(3, 0, 14, 12));
}

const QString kPositionLabels[3]
    = { QStringLiteral("As child"), QStringLiteral("Before"), QStringLiteral("After") };

} // namespace

CRadioRecordDialog::CRadioRecordDialog(const QString& title, QWidget* pParent)
    : QDialog(pParent)
    , m_pGroup(new QButtonGroup(this))
    , m_pButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(title);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_pGroup->setExclusive(true);
    GetOkButton()->setDefault(true);
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QAbstractButton* CRadioRecordDialog::GetRadioButton(int nIndex) const
{
    return m_pGroup->button(nIndex);
}

QPushButton* CRadioRecordDialog::GetOkButton() const
{
    return m_pButtons->button(QDialogButtonBox::Ok);
}

int CRadioRecordDialog::GetChoice() const
{
    return m_pGroup->checkedId();
}

void CRadioRecordDialog::AddRadioButtons(
    QGridLayout* pGrid, int nRow, const QString (&labels)[3], const QPixmap (&pictures)[3])
{
    for (int i = 0; i < 3; ++i) {
        auto* pPicture = new QLabel(this);
        pPicture->setPixmap(pictures[i]);
        auto* pButton = new QRadioButton(labels[i], this);
        pButton->setObjectName(QStringLiteral("radio%1").arg(1015 + i));
        m_pGroup->addButton(pButton, i);
        pPicture->setBuddy(pButton);
        pButton->installEventFilter(this);
        pGrid->addWidget(pPicture, nRow + i, 0);
        pGrid->addWidget(pButton, nRow + i, 1);
    }
    pGrid->setColumnStretch(1, 1);
}

void CRadioRecordDialog::SetUpChoice(int nEnable, int nChoice)
{
    for (int i = 0; i < 3; ++i)
        m_pGroup->button(i)->setEnabled((nEnable & (1 << i)) != 0);
    if (QAbstractButton* pChosen = m_pGroup->button(nChoice))
        pChosen->setChecked(true);
}

bool CRadioRecordDialog::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // Tab into the group lands on the chosen button, so that the arrow keys
    // move on from it.
    if (pEvent->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(pEvent)->reason();
        QAbstractButton* pChosen = m_pGroup->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && pChosen != nullptr
            && pChosen != pWatched && pChosen->isEnabled())
            pChosen->setFocus(reason);
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CRadioRecordDialog::showEvent(QShowEvent* pEvent)
{
    QDialog::showEvent(pEvent);
    // Enter at once is OK.
    GetOkButton()->setFocus(Qt::OtherFocusReason);
}

CInsertObjectDialog::CInsertObjectDialog(
    CInsertObjectDlg& record, std::function<void()> beep, QWidget* pParent)
    : CRadioRecordDialog(QStringLiteral("Insert new object"), pParent)
    , m_record(record)
    , m_beep(std::move(beep))
{
    auto* pText
        = new QLabel(QStringLiteral("You are about to insert a new object. Please enter a short name. "
                                    "This name will be used for HTML filename and HTML \"tag\"-names"),
            this);
    pText->setWordWrap(true);
    pText->setMinimumWidth(280);
    auto* pTagLabel = new QLabel(QStringLiteral("Tag"), this);
    m_pTag = new QLineEdit(this);
    m_pTag->setObjectName(QStringLiteral("edit1014"));
    m_pTag->setMaxLength(CInsertObjectDlg::kMaxTagLength);
    pTagLabel->setBuddy(m_pTag);

    auto* pGroupBox = new QGroupBox(QStringLiteral("Insert"), this);
    pGroupBox->setAccessibleName(pGroupBox->title());
    auto* pGrid = new QGridLayout(pGroupBox);
    const QPixmap pictures[3]
        = { PositionPicture("as-child"), PositionPicture("before"), PositionPicture("after") };
    AddRadioButtons(pGrid, 0, kPositionLabels, pictures);

    auto* pTagRow = new QHBoxLayout;
    pTagRow->addWidget(pTagLabel);
    pTagRow->addWidget(m_pTag, 1);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pText);
    pLayout->addLayout(pTagRow);
    pLayout->addWidget(pGroupBox);
    pLayout->addWidget(GetButtonBox());
    pLayout->setSizeConstraint(QLayout::SetFixedSize);

    // OK and Cancel come before the tag edit; the choice of place comes last.
    QWidget::setTabOrder(GetOkButton(), GetButtonBox()->button(QDialogButtonBox::Cancel));
    QWidget::setTabOrder(GetButtonBox()->button(QDialogButtonBox::Cancel), m_pTag);
    QWidget::setTabOrder(m_pTag, GetRadioButton(0));

    m_pTag->setText(ToQString(m_record.m_strTag));
    SetUpChoice(m_record.m_nEnable, m_record.m_nPosition);
    connect(m_pTag, &QLineEdit::textChanged, this, &CInsertObjectDialog::OnTagChanged);
    OnTagChanged(m_pTag->text());
}

void CInsertObjectDialog::OnTagChanged(const QString& text)
{
    CString tag = FromQString(text);
    if (!CTreeCommands::FilterTag(tag))
        return;
    // Everything before the cut is ASCII, so the lengths agree.
    m_pTag->setText(text.left(static_cast<qsizetype>(tag.size())));
    if (m_beep)
        m_beep();
}

void CInsertObjectDialog::accept()
{
    m_record.m_strTag = FromQString(m_pTag->text());
    m_record.m_nPosition = GetChoice();
    QDialog::accept();
}

CInsertPositionDialog::CInsertPositionDialog(CInsertPositionDlg& record, QWidget* pParent)
    : CRadioRecordDialog(QStringLiteral("Insert Object at position"), pParent)
    , m_record(record)
{
    auto* pGrid = new QGridLayout;
    const QPixmap pictures[3]
        = { PositionPicture("as-child"), PositionPicture("before"), PositionPicture("after") };
    AddRadioButtons(pGrid, 0, kPositionLabels, pictures);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pGrid);
    pLayout->addWidget(GetButtonBox());
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    SetUpChoice(m_record.m_nEnable, m_record.m_nPosition);
}

void CInsertPositionDialog::accept()
{
    m_record.m_nPosition = GetChoice();
    QDialog::accept();
}

CSelectTypeDialog::CSelectTypeDialog(CSelectTypeDlg& record, QWidget* pParent)
    : CRadioRecordDialog(QStringLiteral("Select type of object"), pParent)
    , m_record(record)
{
    auto* pGrid = new QGridLayout;
    const QString labels[3]
        = { QStringLiteral("New page"), QStringLiteral("Paragraph"), QStringLiteral("Link") };
    const QPixmap pictures[3] = { TypePicture("page"), TypePicture("paragraph"), TypePicture("link") };
    AddRadioButtons(pGrid, 0, labels, pictures);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pGrid);
    pLayout->addWidget(GetButtonBox());
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    SetUpChoice(m_record.m_nEnable, m_record.m_nNewType);
}

void CSelectTypeDialog::accept()
{
    m_record.m_nNewType = GetChoice();
    QDialog::accept();
}

namespace {

int ResultOf(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void TagFilterBeep()
{
    if (g_pDocument != nullptr)
        g_pDocument->GetUserInterface().Beep(EBeep::Exclamation);
    else
        QApplication::beep();
}

} // namespace

void RegisterTreeDialogs(CDialogRegistry& registry)
{
    registry.Register(CInsertObjectDlg::IDD, [](CDialogRecord& record, QWidget* pParent) {
        CInsertObjectDialog dialog(static_cast<CInsertObjectDlg&>(record), TagFilterBeep, pParent);
        return ResultOf(dialog);
    });
    registry.Register(CInsertPositionDlg::IDD, [](CDialogRecord& record, QWidget* pParent) {
        CInsertPositionDialog dialog(static_cast<CInsertPositionDlg&>(record), pParent);
        return ResultOf(dialog);
    });
    registry.Register(CSelectTypeDlg::IDD, [](CDialogRecord& record, QWidget* pParent) {
        CSelectTypeDialog dialog(static_cast<CSelectTypeDlg&>(record), pParent);
        return ResultOf(dialog);
    });
}
