// Memory of the undo history:
//
//   undo-bench [N [STEPS]]
//       makes the synthetic site of N pages (default 10000), records STEPS
//       (default 1000) random steps of every kind in the desktop program's
//       history, and prints the heap the project takes and the heap the
//       history holds beyond it (measured as what emptying it gives back).
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>

#include "SyntheticSite.h"
#include "model/CPagewellDoc.h"
#include "support/CRandomSteps.h"
#include "undo/CUndoHistory.h"

namespace {

double Megabytes(size_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char** argv)
{
    const size_t nPages = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    const int nSteps = argc > 2 ? std::atoi(argv[2]) : 1000;
    CRandomSteps steps(20261209);
    CPagewellDoc doc(steps);
    const size_t nEmpty = HeapInUse();
    CSyntheticSite(nPages).Fill(doc);
    doc.m_pCurrent = doc.m_tree.GetRootItem()->GetNode();
    const size_t nProject = HeapInUse() - nEmpty;

    CUndoHistory history(doc);
    doc.m_pHistory = &history;
    steps.Attach(doc);
    // Processor time: the machine may be shared.
    const std::clock_t start = std::clock();
    for (int i = 0; i < nSteps; ++i)
        steps.Step();
    const double ms = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    const int nRecorded = history.GetStack().count();
    const size_t nWithHistory = HeapInUse();
    history.Cleared();
    const size_t nHistory = nWithHistory - HeapInUse();

    std::printf(
        "%zu pages, %zu objects: project %.1f MB\n", nPages, doc.m_tree.GetCount(), Megabytes(nProject));
    std::printf("%d random steps, %d recorded (%.0f ms of processor time, the random choices included): "
                "history %.2f MB, %.0f bytes "
                "a step\n",
        nSteps, nRecorded, ms, Megabytes(nHistory),
        nRecorded > 0 ? static_cast<double>(nHistory) / nRecorded : 0.0);
    return 0;
}
