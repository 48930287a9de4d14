#include "framework/document.h"

#include <algorithm>

#include "framework/handles.h"
#include "framework/view.h"

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* path) {
    UniqueHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file)
        return FALSE;
    DeleteContents();
    CArchive archive(file.get(), CArchive::load);
    Serialize(archive);
    m_strPathName = path;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::AddView(CView* view) {
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    if (view->m_pDocument == this)
        view->m_pDocument = nullptr;
}
