#include "dialogs/CPictureBrowseButton.h"

#include <QComboBox>
#include <QEvent>

#include "app/QtText.h"
#include "dialogs/CPictureChooser.h"
#include "dialogs/DialogControls.h"

CPictureBrowseButton::CPictureBrowseButton(QComboBox* pField, const char* folder)
    : QPushButton(QStringLiteral("Browse…"))
    , m_pField(pField)
    , m_pszFolder(folder)
{
    setObjectName(pField->objectName() + QStringLiteral("Browse"));
    setAccessibleName(QStringLiteral("Browse for ") + pField->accessibleName());
    setAutoDefault(false);
    setEnabled(pField->isEnabled());
    pField->installEventFilter(this);
    connect(this, &QPushButton::clicked, this, &CPictureBrowseButton::Browse);
}

bool CPictureBrowseButton::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pField && pEvent->type() == QEvent::EnabledChange)
        setEnabled(m_pField->isEnabled());
    return QPushButton::eventFilter(pWatched, pEvent);
}

void CPictureBrowseButton::Browse()
{
    // A property may name a picture below its folder ("trips/day1.jpg").
    CPictureChooser chooser(window(), m_pszFolder, true);
    const std::optional<QString> name = chooser.Browse();
    if (!name)
        return;
    const CString value = FromQString(*name);
    AddComboString(m_pField, value);
    ComboTextIn(m_pField, value);
}
