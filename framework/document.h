// CDocument: the data of the application's one document, and CArchive, the file it is
// serialized through.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CView;

// The application's document reads and writes nothing (its construction is the
// installation), so the archive offers no read or write operations.
class CArchive {
public:
    enum Mode { load, store };
    CArchive(HANDLE file, Mode mode) : m_hFile(file), m_nMode(mode) {}

private:
    HANDLE m_hFile;
    Mode m_nMode;
};

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    virtual BOOL OnNewDocument();
    // Opens `path` and hands it to Serialize; FALSE when the file cannot be read.
    virtual BOOL OnOpenDocument(const char* path);
    virtual void Serialize(CArchive&) {}
    virtual void DeleteContents() {}

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    const std::string& GetPathName() const { return m_strPathName; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    BOOL IsModified() const { return m_bModified; }

private:
    std::vector<CView*> m_views;
    std::string m_strPathName;
    BOOL m_bModified = FALSE;
};
