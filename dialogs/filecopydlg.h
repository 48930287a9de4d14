// CFileCopyDlg: asks where to install. The publisher variant (template 139) offers the
// platforms, of which only Solaris is visible; the client variant (template 146) offers
// "Setup Icon Only" instead, which leaves the program files on the CD. Install makes
// sure the directory exists and, unless only icons are set up, that its drive has room.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog.h"

class CFileCopyDlg : public CDialog {
public:
    CFileCopyDlg(DWORD* pdwPlatforms, UINT nIDTemplate, CWnd* parent = nullptr);

    // Set once the free-space test failed; never cleared while the dialog lives.
    BOOL m_bNoSpace = 0;
    std::string m_strPath;
    BOOL m_bAIX = 0;
    BOOL m_bAlphaOSF = 0;
    BOOL m_bIRIX = 0;
    BOOL m_bHPUX = 0;
    BOOL m_bSolaris = 0;
    BOOL m_bSunOS = 0;
    BOOL m_bMacintosh = 0;
    BOOL m_bIRIX2 = 0; // the IRIX box feeds two bits of the mask
    // 1 for the client variant, 0 for the publisher variant; set before DoModal.
    BOOL m_bIconOnlyMode = 0;
    BOOL m_bSetupIconOnly = 1;
    DWORD m_dwRequiredBytes = 0;
    DWORD* m_pdwPlatforms;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL DoDataExchange(CDataExchange* pDX) override;

    void OnSetupIconOnly();
    void ComputeRequiredBytes();
    void ComputePlatformMask();
    DWORD GetFreeBytes();
    void ShowNoSpaceMessage(DWORD freeBytes);
    // The directory exists or could be created with its missing parents.
    BOOL MakeDirectoryReady();
};
