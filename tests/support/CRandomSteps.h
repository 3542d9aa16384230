#pragma once

#include <memory>
#include <random>
#include <string>

#include "model/CTreeCommands.h"
#include "model/ITreeSelection.h"
#include "platform/CSilentUserInterface.h"

class CPagewellDoc;

// Makes random changes to a project the way the program makes them, each
// reported to the document's history: insert, delete, convert, move,
// rename, the two properties dialogs, format commands and stored texts. It
// is also the user interface that answers the commands' dialogs, at random
// from its seed, so the same seed gives the same changes.
class CRandomSteps : public CSilentUserInterface, private ITreeSelection {
public:
    enum EKind { Insert, Delete, Convert, Move, Rename, ObjectProperties, DocProperties, Format, Text, KindCount };

    explicit CRandomSteps(unsigned seed)
        : m_random(seed)
    { }
    ~CRandomSteps() override;

    // The document to change; it must use this object as its user interface.
    void Attach(CPagewellDoc& doc);
    // Makes one change of the given kind (a delete in a tree of fewer than
    // four objects inserts instead).
    void Step(EKind kind);
    void Step() { Step(static_cast<EKind>(Pick(KindCount))); }

    int DoModal(CDialogRecord& record) override;

    // A short serialised form of the whole project.
    static std::string Bytes(CPagewellDoc& doc);

private:
    HTREEITEM GetSelectedItem() const override { return m_hSelected; }
    void SelectItem(HTREEITEM hItem) override;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    // A random enabled choice of a dialog's mask.
    int PickEnabled(int nEnable);
    HTREEITEM PickItem(bool bRootToo);
    CString PickText(int nWords);

    std::mt19937 m_random;
    CPagewellDoc* m_pDoc = nullptr;
    std::unique_ptr<CTreeCommands> m_pCommands;
    HTREEITEM m_hSelected = nullptr;
};
