// CSearchDoc: the application's document. Its construction is the installation run; it
// keeps nothing afterwards.
#pragma once

#include "framework/document.h"

class CSetup;

class CSearchDoc : public CDocument {
public:
    CSearchDoc();
    BOOL OnNewDocument() override;
    void Serialize(CArchive& ar) override;

private:
    // The engine, alive only while the constructor runs.
    CSetup* m_pSetup = nullptr;
};
