#include "dialogs/licensedlg.h"

#include <cstdio>
#include <new>
#include <string>

#include "framework/strings.h"
#include "platform/ini.h"
#include "resources/resource.h"
#include "setup/install_rules.h"
#include "setup/setting_text.h"
#include "setup/setup.h"

namespace {

// Closes the agreement file on every path out.
struct FileCloser {
    FILE* file;
    ~FileCloser() {
        if (file != nullptr)
            std::fclose(file);
    }
};

} // namespace

CLicenseAgreement::CLicenseAgreement(CSetup* pSetup, CWnd* parent)
    : CDialog(IDD_LICENSE, parent), m_pSetup(pSetup) {}

BOOL CLicenseAgreement::OnInitDialog() {
    CDialog::OnInitDialog();

    std::string licenseFile;
    std::string name;
    const std::string iniPath = m_pSetup->GetLicenseSettingsPath();
    if (!iniPath.empty()) {
        CIni ini(iniPath.c_str());
        licenseFile = settings::ReadLicenseFile(ini);
        name = settings::ReadApplicationName(ini);
    }

    std::string caption = name;
    if (!caption.empty())
        caption += " : ";
    caption += LoadResString(IDS_LICENSE_AGREEMENT);
    SetWindowText(caption.c_str());

    // A name longer than any path cannot be opened: the agreement is shown empty.
    if (licenseFile.size() < bounded::kPathSize)
        LoadAgreementText(licenseFile.c_str());
    return TRUE;
}

void CLicenseAgreement::LoadAgreementText(const char* licenseFile) {
    // The setup runs in the CD's _red40\bin folder: two levels up is the source root.
    std::string relative = "..\\..\\";
    relative += licenseFile[0] != '\0' ? licenseFile : "license.qlx";
    FileCloser agreement{std::fopen(relative.c_str(), "rb")};
    if (agreement.file == nullptr)
        agreement.file = std::fopen(licenseFile, "rb");
    if (agreement.file == nullptr || std::fseek(agreement.file, 0, SEEK_END) != 0)
        return;
    long size = rules::LicenseBytesToRead(std::ftell(agreement.file));
    if (std::fseek(agreement.file, 0, SEEK_SET) != 0)
        return;
    char* text = new (std::nothrow) char[static_cast<std::size_t>(size) + 1];
    if (text == nullptr)
        return;
    std::size_t read = std::fread(text, 1, static_cast<std::size_t>(size), agreement.file);
    text[read] = '\0';
    SetDlgItemText(IDC_LICENSE_TEXT, text);
    delete[] text;
}
