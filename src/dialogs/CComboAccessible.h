#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What the accessibility layer sees of an editable combo box: named by its
// label (its accessible name or the label whose buddy it is), with the text
// as its value. Qt's own interface names such a box by its text on Linux, so
// that a screen reader reads the value where the label belongs. Its children
// are those of Qt's own: the list of choices (whose items are its children,
// whether the list is dropped down or not) and then the text field.
class CComboAccessible : public QAccessibleWidget {
public:
    explicit CComboAccessible(QComboBox* pCombo);

    // Makes CDropDownCombo use this interface; once per program.
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* pChild) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* Combo() const;
};
