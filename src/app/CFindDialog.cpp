#include "app/CFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace {

QCheckBox* MakeCheckBox(const char* pszName, const char* pszText, bool bChecked, QWidget* pParent)
{
    auto* pBox = new QCheckBox(QString::fromLatin1(pszText), pParent);
    pBox->setObjectName(QString::fromLatin1(pszName));
    pBox->setAccessibleName(QString(QString::fromLatin1(pszText)).remove(QLatin1Char('&')));
    pBox->setChecked(bChecked);
    return pBox;
}

} // namespace

CFindDialog::CFindDialog(QWidget* pParent)
    : QDialog(pParent)
{
    setObjectName(QStringLiteral("findDialog"));
    setModal(false);

    m_pFind = new QLineEdit(this);
    m_pFind->setObjectName(QStringLiteral("findText"));
    m_pFind->setAccessibleName(QStringLiteral("Find what"));
    m_pReplace = new QLineEdit(this);
    m_pReplace->setObjectName(QStringLiteral("replaceText"));
    m_pReplace->setAccessibleName(QStringLiteral("Replace with"));
    auto* pFindLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    pFindLabel->setBuddy(m_pFind);
    m_pReplaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    m_pReplaceLabel->setBuddy(m_pReplace);

    m_pMatchCase = MakeCheckBox("matchCase", "Match &case", false, this);
    m_pWholeWords = MakeCheckBox("wholeWords", "&Whole words only", false, this);
    auto* pLookIn = new QGroupBox(QStringLiteral("Look in"), this);
    m_pTags = MakeCheckBox("lookInTags", "&Tags", true, pLookIn);
    m_pTitles = MakeCheckBox("lookInTitles", "T&itles", true, pLookIn);
    m_pTexts = MakeCheckBox("lookInTexts", "&Body texts", true, pLookIn);
    auto* pLookInLayout = new QHBoxLayout(pLookIn);
    for (QCheckBox* pBox : { m_pTags, m_pTitles, m_pTexts })
        pLookInLayout->addWidget(pBox);

    auto* pScope = new QGroupBox(QStringLiteral("Replace in"), this);
    m_pScope = pScope;
    m_pCurrentObject = new QRadioButton(QStringLiteral("C&urrent object"), pScope);
    m_pCurrentObject->setObjectName(QStringLiteral("scopeCurrent"));
    m_pCurrentObject->setAccessibleName(QStringLiteral("Current object"));
    m_pAllObjects = new QRadioButton(QStringLiteral("A&ll objects"), pScope);
    m_pAllObjects->setObjectName(QStringLiteral("scopeAll"));
    m_pAllObjects->setAccessibleName(QStringLiteral("All objects"));
    m_pAllObjects->setChecked(true);
    auto* pScopeLayout = new QHBoxLayout(pScope);
    pScopeLayout->addWidget(m_pCurrentObject);
    pScopeLayout->addWidget(m_pAllObjects);

    m_pResult = new QLabel(this);
    m_pResult->setObjectName(QStringLiteral("findResult"));
    m_pResult->setAccessibleName(QStringLiteral("Result"));
    m_pResult->setWordWrap(true);

    auto* pFields = new QGridLayout;
    pFields->addWidget(pFindLabel, 0, 0);
    pFields->addWidget(m_pFind, 0, 1);
    pFields->addWidget(m_pReplaceLabel, 1, 0);
    pFields->addWidget(m_pReplace, 1, 1);
    auto* pLeft = new QVBoxLayout;
    pLeft->addLayout(pFields);
    pLeft->addWidget(m_pMatchCase);
    pLeft->addWidget(m_pWholeWords);
    pLeft->addWidget(pLookIn);
    pLeft->addWidget(pScope);
    pLeft->addWidget(m_pResult);
    pLeft->addStretch(1);

    auto* pButtons = new QVBoxLayout;
    m_pFindAll = AddButton("findAllButton", "&Find");
    m_pFindNext = AddButton("findNextButton", "Find &Next");
    m_pReplaceOne = AddButton("replaceButton", "&Replace");
    m_pReplaceAll = AddButton("replaceAllButton", "Replace &All");
    QPushButton* pClose = AddButton("closeButton", "Close");
    for (QPushButton* pButton : { m_pFindAll, m_pFindNext, m_pReplaceOne, m_pReplaceAll, pClose })
        pButtons->addWidget(pButton);
    pButtons->addStretch(1);
    connect(m_pFindAll, &QPushButton::clicked, this, &CFindDialog::findAll);
    connect(m_pFindNext, &QPushButton::clicked, this, &CFindDialog::findNext);
    connect(m_pReplaceOne, &QPushButton::clicked, this, &CFindDialog::replaceOne);
    connect(m_pReplaceAll, &QPushButton::clicked, this, &CFindDialog::replaceAll);
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pFind, &QLineEdit::textChanged, this, &CFindDialog::UpdateButtons);
    for (QCheckBox* pBox : { m_pTags, m_pTitles, m_pTexts })
        connect(pBox, &QCheckBox::toggled, this, &CFindDialog::UpdateButtons);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->addLayout(pLeft, 1);
    pLayout->addLayout(pButtons);
    SetMode(EMode::Find);
}

QPushButton* CFindDialog::AddButton(const char* pszName, const char* pszText)
{
    auto* pButton = new QPushButton(QString::fromLatin1(pszText), this);
    pButton->setObjectName(QString::fromLatin1(pszName));
    pButton->setAccessibleName(QString(QString::fromLatin1(pszText)).remove(QLatin1Char('&')));
    pButton->setAutoDefault(false);
    return pButton;
}

void CFindDialog::SetMode(EMode mode)
{
    m_mode = mode;
    const bool bReplace = mode == EMode::Replace;
    setWindowTitle(bReplace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    m_pReplaceLabel->setVisible(bReplace);
    m_pReplace->setVisible(bReplace);
    m_pScope->setVisible(bReplace);
    m_pFindAll->setVisible(!bReplace);
    m_pReplaceOne->setVisible(bReplace);
    m_pReplaceAll->setVisible(bReplace);
    // Enter runs the dialog's main action.
    m_pFindAll->setDefault(!bReplace);
    m_pFindNext->setDefault(bReplace);
    m_pResult->clear();
    UpdateButtons();
    m_pFind->setFocus();
    m_pFind->selectAll();
}

void CFindDialog::UpdateButtons()
{
    const bool bReady = !m_pFind->text().isEmpty()
        && (m_pTags->isChecked() || m_pTitles->isChecked() || m_pTexts->isChecked());
    for (QPushButton* pButton : { m_pFindAll, m_pFindNext, m_pReplaceOne, m_pReplaceAll })
        pButton->setEnabled(bReady);
}

CSearchOptions CFindDialog::GetOptions() const
{
    CSearchOptions options;
    options.strFind = FromQString(m_pFind->text());
    options.bMatchCase = m_pMatchCase->isChecked();
    options.bWholeWords = m_pWholeWords->isChecked();
    options.nFields = (m_pTags->isChecked() ? FIELD_TAG : 0U) | (m_pTitles->isChecked() ? FIELD_TITLE : 0U)
        | (m_pTexts->isChecked() ? FIELD_TEXT : 0U);
    return options;
}

CString CFindDialog::GetReplacement() const
{
    return FromQString(m_pReplace->text());
}

bool CFindDialog::IsCurrentObjectOnly() const
{
    return m_mode == EMode::Replace && m_pCurrentObject->isChecked();
}

void CFindDialog::SetFindText(const QString& text)
{
    m_pFind->setText(text);
    m_pFind->selectAll();
}

void CFindDialog::ShowResult(const QString& text)
{
    m_pResult->setText(text);
}

QString CFindDialog::GetResult() const
{
    return m_pResult->text();
}
