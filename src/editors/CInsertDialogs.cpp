#include "editors/CInsertDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CPlatformMapping.h"
#include "dialogs/CPictureChooser.h"

namespace {

QDialogButtonBox* OkCancel(QDialog* pDialog)
{
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, pDialog);
    QObject::connect(pButtons, &QDialogButtonBox::accepted, pDialog, &QDialog::accept);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, pDialog, &QDialog::reject);
    return pButtons;
}

QLabel* Explanation(const char* pszText, QWidget* pParent)
{
    auto* pLabel = new QLabel(QString::fromLatin1(pszText), pParent);
    pLabel->setWordWrap(true);
    return pLabel;
}

} // namespace

CInsertLinkDlg::CInsertLinkDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pReference(new QLineEdit(this))
    , m_pDescription(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Insert Link Reference"));
    setMinimumWidth(PlatformMapping::DialogUnitsToPixels(248, 98).width());
    m_pReference->setObjectName(QStringLiteral("reference"));
    m_pDescription->setObjectName(QStringLiteral("description"));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(Explanation(
        "Insert a link into the text. Please note that Pagewell by default will use lowercase names on all "
        "filenames. To make a link to an item on the index-page, the link would look like "
        "\"index.htm#myref\" "
        "where \"myref\" is the name of the node you refere to.",
        this));
    auto* pForm = new QFormLayout;
    pForm->addRow(QStringLiteral("Link &reference"), m_pReference);
    pForm->addRow(QStringLiteral("&Description"), m_pDescription);
    pLayout->addLayout(pForm);
    pLayout->addWidget(OkCancel(this));
}

void CInsertLinkDlg::accept()
{
    m_strReference = m_pReference->text();
    m_strDescription = m_pDescription->text();
    QDialog::accept();
}

CInsertImageDlg::CInsertImageDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pFileName(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Insert an Image into the text"));
    setMinimumWidth(PlatformMapping::DialogUnitsToPixels(265, 77).width());
    m_pFileName->setObjectName(QStringLiteral("fileName"));
    m_pFileName->setAccessibleName(QStringLiteral("Filename"));
    auto* pBrowse = new QPushButton(QStringLiteral("&Browse…"), this);
    pBrowse->setObjectName(QStringLiteral("browse"));
    pBrowse->setAccessibleName(QStringLiteral("Browse for a picture"));
    pBrowse->setAutoDefault(false);
    connect(pBrowse, &QPushButton::clicked, this, [this] {
        // Body texts name their pictures by plain names in images/.
        if (const std::optional<QString> name = CPictureChooser(this, "images", false).Browse())
            m_pFileName->setText(*name);
    });
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(Explanation(
        "Please give the filename of the image to insert. Pagewell will not copy this file to the HTML "
        "destination dir. Also note that most WWW servers look at the character caps, so the file "
        "\"MyImage.gif\" will not be found if the actual filename is \"myimage.gif\".",
        this));
    auto* pForm = new QFormLayout;
    auto* pRow = new QHBoxLayout;
    pRow->addWidget(m_pFileName, 1);
    pRow->addWidget(pBrowse);
    auto* pLabel = new QLabel(QStringLiteral("&Filename"), this);
    pLabel->setBuddy(m_pFileName);
    pForm->addRow(pLabel, pRow);
    pLayout->addLayout(pForm);
    pLayout->addWidget(OkCancel(this));
}

void CInsertImageDlg::accept()
{
    m_strFileName = m_pFileName->text();
    QDialog::accept();
}
