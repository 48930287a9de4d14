#include "app/searchdoc.h"

#include "setup/setup.h"

CSearchDoc::CSearchDoc() {
    m_pSetup = new CSetup(this);
    // Completed, cancelled or failed: the program closes the same way, so the result
    // is not needed.
    m_pSetup->Run();
    delete m_pSetup;
    m_pSetup = nullptr;
}

void CSearchDoc::Serialize(CArchive&) {}
