#include "dialogs/ColorPicker.h"

#include <array>

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "model/CDocProperties.h"

QColor ToQColor(COLORREF color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
        static_cast<int>((color >> 16) & 0xFF));
}

COLORREF FromQColor(const QColor& color)
{
    const QRgb rgb = color.rgb();
    return static_cast<COLORREF>(qRed(rgb)) | (static_cast<COLORREF>(qGreen(rgb)) << 8)
        | (static_cast<COLORREF>(qBlue(rgb)) << 16);
}

bool PickColor(CDocProperties* pProject, COLORREF& field, QWidget* pParent)
{
    std::array<COLORREF, 16> scratch {};
    scratch.fill(0xFFFFFFFF);
    std::array<COLORREF, 16>& custom = pProject != nullptr ? pProject->m_clrCustom : scratch;

    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, ToQColor(custom[static_cast<size_t>(i)]));

    QColorDialog dialog(ToQColor(field), pParent);
    dialog.setObjectName("colorDialog");
    dialog.setWindowTitle(QStringLiteral("Color"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool bChosen = dialog.exec() == QDialog::Accepted;
    if (bChosen)
        field = FromQColor(dialog.selectedColor());

    // An entry the user left alone keeps its stored value, bits above the
    // colour included.
    for (int i = 0; i < 16; ++i) {
        const QColor now = QColorDialog::customColor(i);
        COLORREF& entry = custom[static_cast<size_t>(i)];
        if (now.rgb() != ToQColor(entry).rgb())
            entry = FromQColor(now);
    }
    return bChosen;
}

void ShowColorOnButton(QPushButton* pButton, COLORREF color)
{
    const int side = pButton->fontMetrics().height();
    const qreal ratio = pButton->devicePixelRatioF();
    QPixmap swatch(QSize(side, side) * ratio);
    swatch.setDevicePixelRatio(ratio);
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.setPen(pButton->palette().color(QPalette::ButtonText));
    painter.setBrush(ToQColor(color));
    painter.drawRect(QRectF(0.5, 0.5, side - 1, side - 1));
    painter.end();
    pButton->setIcon(QIcon(swatch));
    pButton->setIconSize(QSize(side, side));
}
