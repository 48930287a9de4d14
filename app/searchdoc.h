// CSearchDoc: the application's document. Its construction is the installation run; it
// keeps nothing afterwards.
#pragma once

#include "framework/document.h"

class CSetup;

class CSearchDoc : public CDocument {
public:
    // Runs the installation. OnNewDocument is the base class's: a new document needs
    // nothing of its own.
    CSearchDoc();
    void Serialize(CArchive& ar) override;

private:
    // The engine, alive only while the constructor runs.
    CSetup* m_pSetup = nullptr;
};
