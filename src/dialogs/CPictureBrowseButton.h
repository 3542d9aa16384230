#pragma once

#include <QPushButton>

class QComboBox;

// "Browse…" beside a picture field of the property dialogs: chooses a
// picture anywhere on the disk, brings it into the field's folder of the
// workspace and puts its name into the field. Enabled while the field is.
class CPictureBrowseButton : public QPushButton {
    Q_OBJECT
public:
    // folder: where the field's pictures live ("images", "background", ...).
    CPictureBrowseButton(QComboBox* pField, const char* folder);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Browse();

    QComboBox* m_pField;
    const char* m_pszFolder;
};
