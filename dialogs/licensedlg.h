// CLicenseAgreement: shows the publisher's licence agreement text from the CD and asks
// for agreement ("&Yes" ends with IDOK, "&No" with IDCANCEL).
#pragma once

#include "framework/dialog.h"

class CSetup;

class CLicenseAgreement : public CDialog {
public:
    explicit CLicenseAgreement(CSetup* pSetup, CWnd* parent = nullptr);

    CSetup* m_pSetup; // not owned

protected:
    BOOL OnInitDialog() override;
    // The agreement file relative to the setup's folder, or the name as given; the text
    // as stored, cut at kMaxLicenseBytes. Empty when neither file opens.
    void LoadAgreementText(const char* licenseFile);
};
