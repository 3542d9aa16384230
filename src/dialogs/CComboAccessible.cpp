#include "dialogs/CComboAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

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
