#include "dialogs/CPictureFileDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

CPictureFileDialog::CPictureFileDialog(const QString& folder, QWidget* pParent)
    : QFileDialog(pParent, QStringLiteral("Choose a Picture"), folder)
    , m_pPreview(new QLabel)
{
    setObjectName(QStringLiteral("pictureFileDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters({ QStringLiteral("Pictures (*.gif *.png *.jpg *.jpeg *.webp *.svg)"),
        QStringLiteral("All files (*)") });

    m_pPreview->setObjectName(QStringLiteral("picturePreview"));
    m_pPreview->setAccessibleName(QStringLiteral("Preview"));
    m_pPreview->setFixedSize(kPreviewSize, kPreviewSize);
    m_pPreview->setAlignment(Qt::AlignCenter);
    m_pPreview->setFrameShape(QFrame::StyledPanel);
    // Qt's dialog lays its parts out in a grid: the preview goes to the
    // right of the file list.
    if (auto* pGrid = qobject_cast<QGridLayout*>(layout()))
        pGrid->addWidget(m_pPreview, 1, pGrid->columnCount(), 1, 1, Qt::AlignTop);
    connect(this, &QFileDialog::currentChanged, this, &CPictureFileDialog::ShowPreview);
    // A name typed or completed in the file name field shows too.
    if (auto* pName = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        connect(pName, &QLineEdit::textChanged, this, [this](const QString& name) {
            if (!name.isEmpty())
                ShowPreview(directory().absoluteFilePath(name));
        });
    ShowPreview({});
}

void CPictureFileDialog::ShowPreview(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    QImage image;
    if (QFileInfo(path).isFile() && size.isValid()) {
        // Decoded at the thumbnail's size: a camera's JPEG shows at once.
        const QSize box = QSize(kPreviewSize, kPreviewSize) * devicePixelRatio();
        if (size.width() > box.width() || size.height() > box.height())
            reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
        image = reader.read();
    }
    if (image.isNull()) {
        m_pPreview->setPixmap({});
        m_pPreview->setText(QStringLiteral("No preview"));
        m_pPreview->setAccessibleDescription(QString());
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio());
    m_pPreview->setPixmap(pixmap);
    m_pPreview->setAccessibleDescription(
        QStringLiteral("%1 by %2 pixels").arg(size.width()).arg(size.height()));
}
