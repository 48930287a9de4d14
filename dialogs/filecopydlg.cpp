#include "dialogs/filecopydlg.h"

#include <cstdint>

#include "framework/ddx.h"
#include "framework/strings.h"
#include "platform/current_directory.h"
#include "platform/filemgr.h"
#include "resources/resource.h"
#include "setup/install_rules.h"

namespace {
// The edit field takes no more: longer paths do not fit the engine's buffers.
constexpr std::size_t kMaxPathChars = 260;
} // namespace

CFileCopyDlg::CFileCopyDlg(DWORD* pdwPlatforms, UINT nIDTemplate, CWnd* parent)
    : CDialog(nIDTemplate, parent), m_pdwPlatforms(pdwPlatforms) {
    m_commands.On(IDC_SETUP_ICON_ONLY, [this](UINT) { OnSetupIconOnly(); });
    // The exchange on Install reads every box again; these keep the flags current.
    m_commands.On(IDC_AIX, [this](UINT) { m_bAIX = !m_bAIX; });
    m_commands.On(IDC_ALPHAOSF, [this](UINT) { m_bAlphaOSF = !m_bAlphaOSF; });
    m_commands.On(IDC_IRIX, [this](UINT) {
        m_bIRIX = !m_bIRIX;
        m_bIRIX2 = !m_bIRIX2;
    });
    m_commands.On(IDC_HPUX, [this](UINT) { m_bHPUX = !m_bHPUX; });
    m_commands.On(IDC_SOLARIS, [this](UINT) { m_bSolaris = !m_bSolaris; });
    m_commands.On(IDC_SUNOS, [this](UINT) { m_bSunOS = !m_bSunOS; });
    m_commands.On(IDC_MACINTOSH, [this](UINT) { m_bMacintosh = !m_bMacintosh; });
}

BOOL CFileCopyDlg::DoDataExchange(CDataExchange* pDX) {
    if (!DDX_Text(pDX, IDC_DEST_PATH, m_strPath, kMaxPathChars))
        return FALSE;
    if (m_bIconOnlyMode)
        return DDX_Check(pDX, IDC_SETUP_ICON_ONLY, m_bSetupIconOnly);
    BOOL ok = DDX_Check(pDX, IDC_AIX, m_bAIX) && DDX_Check(pDX, IDC_ALPHAOSF, m_bAlphaOSF) &&
              DDX_Check(pDX, IDC_IRIX, m_bIRIX) && DDX_Check(pDX, IDC_HPUX, m_bHPUX) &&
              DDX_Check(pDX, IDC_SOLARIS, m_bSolaris) && DDX_Check(pDX, IDC_SUNOS, m_bSunOS) &&
              DDX_Check(pDX, IDC_MACINTOSH, m_bMacintosh) && DDX_Check(pDX, IDC_IRIX, m_bIRIX2);
    // Program files of a publisher installation always go to the hard disk.
    m_bSetupIconOnly = 0;
    return ok;
}

BOOL CFileCopyDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Only the plain default offers to leave the files on the CD; any path the CD's
    // settings name keeps the box hidden, though its value still comes back.
    if (m_strPath == "c:\\") {
        if (m_bSetupIconOnly) {
            EnableDlgItem(IDC_SETUP_ICON_ONLY, TRUE);
            ShowDlgItem(IDC_SETUP_ICON_ONLY, SW_SHOW);
            EnableDlgItem(IDC_DEST_PATH, FALSE);
        } else {
            EnableDlgItem(IDC_SETUP_ICON_ONLY, FALSE);
            ShowDlgItem(IDC_SETUP_ICON_ONLY, SW_HIDE);
            EnableDlgItem(IDC_DEST_PATH, TRUE);
        }
    }
    return TRUE;
}

void CFileCopyDlg::OnSetupIconOnly() {
    UpdateData(TRUE);
    EnableDlgItem(IDC_DEST_PATH, !m_bSetupIconOnly);
}

void CFileCopyDlg::OnOK() {
    // A refused value (a path longer than the field takes) keeps the dialog open.
    if (!UpdateData(TRUE))
        return;
    if (m_strPath.empty() || !MakeDirectoryReady()) {
        AfxMessageBox(IDS_INVALID_DIRECTORY, MB_OK);
        return;
    }
    if (!m_bSetupIconOnly) {
        ComputeRequiredBytes();
        ComputePlatformMask();
        DWORD freeBytes = GetFreeBytes();
        if (m_dwRequiredBytes > freeBytes) {
            m_bNoSpace = 1;
            ShowNoSpaceMessage(freeBytes);
            return;
        }
    }
    EndDialog(IDOK);
}

BOOL CFileCopyDlg::MakeDirectoryReady() {
    // Entering the directory is the test; the setup's own directory must stay current,
    // since later steps resolve paths against it.
    CurrentDirectoryKeeper saved;
    if (saved.Remembered()) {
        if (::SetCurrentDirectoryA(m_strPath.c_str()))
            return TRUE;
    } else {
        DWORD attributes = ::GetFileAttributesA(m_strPath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return TRUE;
    }
    CFileMgr fileMgr;
    return fileMgr.CreateTree(m_strPath.c_str(), nullptr) ? TRUE : FALSE;
}

namespace {
void TickedBoxes(const CFileCopyDlg& dlg,
                 bool (&ticked)[static_cast<int>(rules::PlatformBox::Count)]) {
    using rules::PlatformBox;
    ticked[static_cast<int>(PlatformBox::Solaris)] = dlg.m_bSolaris != 0;
    ticked[static_cast<int>(PlatformBox::SunOS)] = dlg.m_bSunOS != 0;
    ticked[static_cast<int>(PlatformBox::AIX)] = dlg.m_bAIX != 0;
    ticked[static_cast<int>(PlatformBox::HPUX)] = dlg.m_bHPUX != 0;
    ticked[static_cast<int>(PlatformBox::Macintosh)] = dlg.m_bMacintosh != 0;
    ticked[static_cast<int>(PlatformBox::IRIX)] = dlg.m_bIRIX != 0 || dlg.m_bIRIX2 != 0;
    ticked[static_cast<int>(PlatformBox::AlphaOSF)] = dlg.m_bAlphaOSF != 0;
}
} // namespace

void CFileCopyDlg::ComputeRequiredBytes() {
    bool ticked[static_cast<int>(rules::PlatformBox::Count)] = {};
    TickedBoxes(*this, ticked);
    m_dwRequiredBytes = rules::RequiredBytes(ticked);
}

void CFileCopyDlg::ComputePlatformMask() {
    bool ticked[static_cast<int>(rules::PlatformBox::Count)] = {};
    TickedBoxes(*this, ticked);
    if (m_pdwPlatforms != nullptr)
        *m_pdwPlatforms = rules::PlatformMask(ticked);
}

DWORD CFileCopyDlg::GetFreeBytes() {
    UpdateData(TRUE);
    std::string root = rules::FreeSpaceRoot(m_strPath.c_str());
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    if (root.empty() || !::GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector,
                                             &freeClusters, &totalClusters))
        return 0;
    std::uint64_t freeBytes = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector;
    // Two 32-bit factors fit in 64 bits; the third could overflow, so cap before it.
    if (freeClusters != 0 && freeBytes > 0xFFFFFFFFull / freeClusters)
        return 0xFFFFFFFFu;
    return rules::ClampFreeBytes(freeBytes * freeClusters);
}

void CFileCopyDlg::ShowNoSpaceMessage(DWORD freeBytes) {
    std::string format = LoadResString(IDS_NO_SPACE);
    std::string text = rules::FormatNoSpaceMessage(format.c_str(), m_dwRequiredBytes, freeBytes,
                                                   rules::DriveName(m_strPath.c_str()).c_str());
    AfxMessageBox(text.c_str(), MB_OK);
}
