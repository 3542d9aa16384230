#include "dialogs/CComboAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "dialogs/CDropDownCombo.h"

namespace {

QAccessibleInterface* MakeInterface(const QString& className, QObject* pObject)
{
    if (className != QLatin1String(CDropDownCombo::staticMetaObject.className()))
        return nullptr;
    return new CComboAccessible(static_cast<CDropDownCombo*>(pObject));
}

} // namespace

CComboAccessible::CComboAccessible(QComboBox* pCombo)
    : QAccessibleWidget(pCombo, QAccessible::ComboBox)
{ }

void CComboAccessible::Install()
{
    static bool bInstalled = false;
    if (bInstalled)
        return;
    bInstalled = true;
    QAccessible::installFactory(MakeInterface);
}

QComboBox* CComboAccessible::Combo() const
{
    return static_cast<QComboBox*>(widget());
}

QString CComboAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return Combo()->currentText();
    return QAccessibleWidget::text(t);
}

QAccessible::State CComboAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.expandable = true;
    state.expanded = Combo()->view() != nullptr && Combo()->view()->isVisible();
    return state;
}

int CComboAccessible::childCount() const
{
    return Combo()->lineEdit() != nullptr ? 2 : 1;
}

QAccessibleInterface* CComboAccessible::child(int index) const
{
    // The list lives in the drop-down's own window; it names the box as its
    // parent, so the box lists it as its child.
    if (index == 0)
        return QAccessible::queryAccessibleInterface(Combo()->view());
    if (index == 1 && Combo()->lineEdit() != nullptr)
        return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
    return nullptr;
}

int CComboAccessible::indexOfChild(const QAccessibleInterface* pChild) const
{
    if (pChild == nullptr)
        return -1;
    if (pChild->object() == Combo()->view())
        return 0;
    if (Combo()->lineEdit() != nullptr && pChild->object() == Combo()->lineEdit())
        return 1;
    return -1;
}

QStringList CComboAccessible::actionNames() const
{
    return QStringList { showMenuAction() } + QAccessibleWidget::actionNames();
}

void CComboAccessible::doAction(const QString& actionName)
{
    if (actionName == showMenuAction() || actionName == pressAction())
        Combo()->showPopup();
    else
        QAccessibleWidget::doAction(actionName);
}
