#pragma once

#include <QString>
#include <array>
#include <functional>

// The state a command shows on its menu item or button.
struct CCmdUI {
    bool m_bEnabled = false;
    bool m_bChecked = false;
    bool m_bCheckable = false;
    QString m_strText; // the menu words now, when they change (Undo Delete news)

    void Enable(bool bOn = true) { m_bEnabled = bOn; }
    void SetCheck(bool bOn)
    {
        m_bCheckable = true;
        m_bChecked = bOn;
    }
    void SetText(const QString& text) { m_strText = text; }
};

// An object on a command's route: it either handles a command (and says
// whether it is available now) or lets it pass on.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // True when this object handles the command; then state holds its
    // availability (enabled unless the handler says otherwise) and check mark.
    virtual bool OnUpdateCommand(int nId, CCmdUI& state) = 0;
    // Runs a command this object handles.
    virtual void OnCommand(int nId) = 0;
};

// The route of a command: the active view, the document, the frame, the
// application. The first object that handles a command owns it; a command
// that nobody on the route handles is disabled.
class CCommandRouter {
public:
    enum ETarget { View, Document, Frame, Application };

    void SetTarget(ETarget where, ICommandTarget* pTarget) { m_targets[where] = pTarget; }
    ICommandTarget* GetTarget(ETarget where) const { return m_targets[where]; }

    // The command's state as the route decides it.
    CCmdUI Query(int nId) const;
    // Runs the command when an object on the route handles it and it is
    // enabled; false otherwise.
    bool Execute(int nId);

private:
    ICommandTarget* FindHandler(int nId, CCmdUI& state) const;

    std::array<ICommandTarget*, 4> m_targets {};
};
