#include "app/CSmallDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "app/CPlatformMapping.h"

namespace {

QPixmap RenderSvg(const QString& file, QSize size, qreal scale)
{
    QPixmap pixmap(size * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(file).render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pVersion(new QLabel(this))
    , m_pNotice(new QLabel(this))
{
    setWindowTitle(QStringLiteral("About Pagewell"));
    setMinimumSize(PlatformMapping::DialogUnitsToPixels(217, 100));
    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(RenderSvg(QStringLiteral(":/icons/pagewell.svg"), QSize(32, 32), devicePixelRatioF()));
    pIcon->setAlignment(Qt::AlignCenter);
    m_pVersion->setObjectName(QStringLiteral("version"));
    m_pVersion->setText(
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kProduct), QString::fromLatin1(kVersion)));
    m_pVersion->setAlignment(Qt::AlignCenter);
    m_pNotice->setObjectName(QStringLiteral("notice"));
    m_pNotice->setText(QString::fromLatin1(kNotice));
    m_pNotice->setAlignment(Qt::AlignCenter);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pIcon);
    pLayout->addWidget(m_pVersion);
    pLayout->addWidget(m_pNotice);
    pLayout->addWidget(pButtons);
}

COriginDlg::COriginDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pPicture(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Origin of Pagewell"));
    m_pPicture->setObjectName(QStringLiteral("picture"));
    m_pPicture->setAccessibleName(QStringLiteral("Picture: where Pagewell comes from"));
    m_pPicture->setPixmap(
        RenderSvg(QStringLiteral(":/origin.svg"), QSize(kPictureSize, kPictureSize), devicePixelRatioF()));
    m_pPicture->setFixedSize(kPictureSize, kPictureSize);
    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->addWidget(m_pPicture);
    auto* pSide = new QVBoxLayout;
    pSide->addWidget(pOk);
    pSide->addStretch();
    pLayout->addLayout(pSide);
}
