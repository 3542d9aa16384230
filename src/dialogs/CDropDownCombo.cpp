#include "dialogs/CDropDownCombo.h"

#include "dialogs/CComboAccessible.h"

CDropDownCombo::CDropDownCombo(QWidget* pParent)
    : QComboBox(pParent)
{
    CComboAccessible::Install();
    setEditable(true);
}
