#pragma once

#include <QFileDialog>

class QLabel;

// "Choose a Picture": a file dialog over the whole disk that lists the
// pictures a web page shows and previews the current one as a thumbnail.
// Qt's own dialog, not the desktop's, so that the preview is there on every
// desktop and the accessibility layer and tests reach every control.
class CPictureFileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit CPictureFileDialog(const QString& folder, QWidget* pParent = nullptr);

    QLabel* Preview() const { return m_pPreview; }

    static constexpr int kPreviewSize = 192;

private:
    void ShowPreview(const QString& path);

    QLabel* m_pPreview;
};
