#include "app/CSvgIcon.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

class CSvgIconEngine : public QIconEngine {
public:
    CSvgIconEngine(QStringList layers, QStringList selectedLayers)
        : m_layers(std::move(layers))
        , m_selectedLayers(std::move(selectedLayers))
    { }

    void paint(QPainter* pPainter, const QRect& rect, QIcon::Mode mode, QIcon::State /*state*/) override
    {
        pPainter->save();
        if (mode == QIcon::Disabled)
            pPainter->setOpacity(0.35);
        const QStringList& layers
            = mode == QIcon::Selected && !m_selectedLayers.isEmpty() ? m_selectedLayers : m_layers;
        const QColor ink = InkColor(mode);
        for (const QString& layer : layers) {
            QSvgRenderer renderer(InkedPicture(layer, ink));
            renderer.setAspectRatioMode(Qt::KeepAspectRatio);
            renderer.render(pPainter, rect);
        }
        pPainter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), size * scale), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override
    {
        return size;
    }
    QIconEngine* clone() const override { return new CSvgIconEngine(m_layers, m_selectedLayers); }
    bool isNull() override { return m_layers.isEmpty(); }

private:
    // The palette's colour for the strokes of a picture drawn in
    // "currentColor", so that the ink follows a light or a dark theme.
    static QColor InkColor(QIcon::Mode mode)
    {
        const QPalette palette = QGuiApplication::palette();
        return palette.color(mode == QIcon::Selected ? QPalette::HighlightedText : QPalette::ButtonText);
    }

    QByteArray InkedPicture(const QString& layer, const QColor& ink)
    {
        auto it = m_pictures.find(layer);
        if (it == m_pictures.end()) {
            QFile file(layer);
            it = m_pictures.insert(layer, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        QByteArray picture = *it;
        picture.replace("currentColor", ink.name().toLatin1());
        return picture;
    }

    QStringList m_layers;
    QStringList m_selectedLayers;
    QHash<QString, QByteArray> m_pictures;
};

} // namespace

QIcon MakeSvgIcon(const QStringList& layers)
{
    return QIcon(new CSvgIconEngine(layers, {}));
}

QIcon MakeSvgIcon(const QStringList& layers, const QStringList& selectedLayers)
{
    return QIcon(new CSvgIconEngine(layers, selectedLayers));
}
