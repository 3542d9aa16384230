#pragma once

#include <cstdint>

#include <QDialog>

#include "model/NodeTypes.h"

class CDocInfo;
class CDocProperties;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Object properties" window over one object's properties record. The
// object's type decides which controls are enabled and which templates are
// offered; the colour buttons use the project's shared colour dialog and
// write the record at once; a click on a banner box marks the record's
// banners as touched, whatever the dialog's answer.
class CDocInfoDialog : public QDialog {
    Q_OBJECT
public:
    // nType: the object's type; pProject: the project whose colour dialog and
    // custom colours the colour buttons use (may be null).
    CDocInfoDialog(CDocInfo& record, uint32_t nType, CDocProperties* pProject, QWidget* pParent = nullptr);

    void accept() override;

    // The days an object's banners may last before they expire.
    static constexpr int32_t kMinExpireDays = 0;
    static constexpr int32_t kMaxExpireDays = 30;

private:
    void EnableByType();
    void FillCombos();
    void LoadControls();
    bool SaveControls(CDocInfo& values);
    void PickColor(COLORREF CDocInfo::*field, QPushButton* pButton);

    CDocInfo& m_record;
    uint32_t m_nType;
    CDocProperties* m_pProject;

    QComboBox* m_pTemplate;
    QWidget* m_pStyle;
    QComboBox* m_pBgBitmap;
    QPushButton* m_pTextColor;
    QPushButton* m_pBgColor;
    QPushButton* m_pLinkColor;
    QPushButton* m_pVLinkColor;
    QCheckBox* m_pNew;
    QCheckBox* m_pUpdated;
    QCheckBox* m_pConstruction;
    QLineEdit* m_pExpireDays;
    QComboBox* m_pIcon;
    QComboBox* m_pLineImage;
    QLabel* m_pLineImageLabel;
};
