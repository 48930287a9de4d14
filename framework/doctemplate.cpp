#include "framework/doctemplate.h"

#include "framework/document.h"
#include "framework/framewnd.h"
#include "framework/winapp.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, DocumentFactory newDocument,
                                       FrameFactory newFrame, ViewFactory newView)
    : m_nIDResource(nIDResource), m_newDocument(newDocument), m_newFrame(newFrame),
      m_newView(newView) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* path) {
    if (m_pOnlyDoc) {
        BOOL reused =
            path != nullptr ? m_pOnlyDoc->OnOpenDocument(path) : m_pOnlyDoc->OnNewDocument();
        return reused ? m_pOnlyDoc.get() : nullptr;
    }

    std::unique_ptr<CDocument> document(m_newDocument());
    CCreateContext context;
    context.m_pCurrentDoc = document.get();
    context.m_pNewViewClass = m_newView;
    // A frame whose creation fails destroys its window and deletes itself.
    CFrameWnd* frame = m_newFrame();
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context))
        return nullptr;

    BOOL loaded = path != nullptr ? document->OnOpenDocument(path) : document->OnNewDocument();
    if (!loaded) {
        frame->DestroyWindow();
        return nullptr;
    }
    m_pOnlyDoc = std::move(document);

    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = frame;
    frame->InitialUpdateFrame(m_pOnlyDoc.get(), TRUE);
    return m_pOnlyDoc.get();
}

void CSingleDocTemplate::CloseAllDocuments() {
    m_pOnlyDoc.reset();
}
