#pragma once

#include <QDialog>

#include "model/NodeTypes.h"

class CDocProperties;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The "Document Properties" window over the project properties record. It
// exists only while the dialog runs; OK moves the controls into the record,
// Cancel leaves the record as it was except for colours picked meanwhile.
class CDocPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDocPropertiesDialog(CDocProperties& record, QWidget* pParent = nullptr);

    void accept() override;

private:
    // Fills the combo boxes from the resource folders.
    void FillCombos();
    // Record into controls.
    void LoadControls();
    // Controls into values; false (with the message shown) when a field is bad.
    bool SaveControls(CDocProperties& values);
    void PickColor(COLORREF CDocProperties::*field, QPushButton* pButton);

    CDocProperties& m_record;

    QLineEdit* m_pAuthor;
    QLineEdit* m_pEmail;
    QComboBox* m_pTemplate;
    QComboBox* m_pBgBitmap;
    QPushButton* m_pTextColor;
    QPushButton* m_pBgColor;
    QPushButton* m_pLinkColor;
    QPushButton* m_pVLinkColor;
    QCheckBox* m_pNew;
    QCheckBox* m_pUpdated;
    QCheckBox* m_pConstruction;
    QLineEdit* m_pExpireDays;
    QComboBox* m_pImage;
    QComboBox* m_pLineImage;
    QComboBox* m_pBullet;
    QComboBox* m_pUpButton;
    QComboBox* m_pBackButton;
    QComboBox* m_pHomeButton;
    QComboBox* m_pConstructionImage;
    QComboBox* m_pNewImage;
    QComboBox* m_pUpdatedImage;
};
