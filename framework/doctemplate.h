// CSingleDocTemplate: makes the one document of the application with its frame and view.
// The document is constructed first, before any window exists; the frame and its view
// follow, and the view's initial update comes last.
#pragma once

#include <windows.h>

#include <memory>

class CDocument;
class CFrameWnd;
class CView;

using DocumentFactory = CDocument* (*)();
using FrameFactory = CFrameWnd* (*)();
using ViewFactory = CView* (*)();

// The factory of a concrete class, as a plain function pointer.
template <class Derived, class Base> Base* CreateObject() {
    return new Derived;
}

class CSingleDocTemplate {
public:
    CSingleDocTemplate(UINT nIDResource, DocumentFactory newDocument, FrameFactory newFrame,
                       ViewFactory newView);
    ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    // `path` null makes a new document. Returns the document, or nullptr on failure.
    // A second call reuses the document and its frame.
    CDocument* OpenDocumentFile(const char* path);
    void CloseAllDocuments();
    CDocument* GetDocument() const { return m_pOnlyDoc.get(); }

private:
    UINT m_nIDResource;
    DocumentFactory m_newDocument;
    FrameFactory m_newFrame;
    ViewFactory m_newView;
    std::unique_ptr<CDocument> m_pOnlyDoc;
};
