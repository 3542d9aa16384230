#pragma once

#include <QComboBox>

// The editable drop-down list of the property dialogs. A class of its own so
// that the accessibility layer gives it CComboAccessible (Qt picks an
// interface by class name, its own first).
class CDropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CDropDownCombo(QWidget* pParent = nullptr);
};
