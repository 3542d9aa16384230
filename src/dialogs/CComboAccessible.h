#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What the accessibility layer sees of an editable combo box: named by its
// label (its accessible name or the label whose buddy it is), with the text
// as its value. Qt's own interface names such a box by its text on Linux, so
// that a screen reader reads the value where the label belongs.
class CComboAccessible : public QAccessibleWidget {
public:
    explicit CComboAccessible(QComboBox* pCombo);

    // Makes CDropDownCombo use this interface; once per program.
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* Combo() const;
};
