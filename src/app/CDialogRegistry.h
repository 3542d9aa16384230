#pragma once

#include <functional>
#include <map>

class CDialogRecord;
class QWidget;

// Which Qt dialog shows which record: the user interface looks a record's
// dialog up by its id when the core asks to run it.
class CDialogRegistry {
public:
    // Runs the dialog modally over the record; returns IDOK or IDCANCEL.
    using Runner = std::function<int(CDialogRecord& record, QWidget* pParent)>;

    void Register(int dialogId, Runner runner) { m_runners[dialogId] = std::move(runner); }
    // Null when no dialog is registered for the id.
    const Runner* Find(int dialogId) const
    {
        const auto it = m_runners.find(dialogId);
        return it == m_runners.end() ? nullptr : &it->second;
    }

private:
    std::map<int, Runner> m_runners;
};
