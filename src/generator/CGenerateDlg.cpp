#include "generator/CGenerateDlg.h"

#include "platform/CArchive.h"
#include "platform/CPlatformPaths.h"

CGenerateDlg::CGenerateDlg()
    : m_strDestination(CPlatformPaths::DefaultDestination())
{ }

void CGenerateDlg::Serialize(CArchive& ar)
{
    ar.Exchange(m_strDestination);
    ar.Exchange(m_strSpare);
}
