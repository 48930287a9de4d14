#include "dde/ddeobject.h"

#include <cstring>

#include "dde/dde_commands.h"
#include "platform/bounded_text.h"
#include "platform/windows_version.h"

namespace {
const char kProgramManager[] = "PROGMAN";
// An execute transaction waits this long for Program Manager before giving up.
const DWORD kExecuteTimeout = 10000;
} // namespace

CDDEObject::CDDEObject()
    : m_dwInstance(0), m_hszService(nullptr), m_hszTopic(nullptr), m_hConversation(nullptr),
      m_szService(), m_szTopic() {
    DdeInitializeA(&m_dwInstance, &CDDEObject::DdeCallback, 0, 0);
}

CDDEObject::~CDDEObject() {
    if (m_dwInstance != 0)
        DdeUninitialize(m_dwInstance);
}

HDDEDATA CALLBACK CDDEObject::DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR,
                                          ULONG_PTR) {
    return reinterpret_cast<HDDEDATA>(1);
}

BOOL CDDEObject::Connect(const char* service, const char* topic) {
    if (service == nullptr || topic == nullptr ||
        !bounded::Copy(m_szService, sizeof m_szService, service) ||
        !bounded::Copy(m_szTopic, sizeof m_szTopic, topic))
        return FALSE;
    m_hszService = DdeCreateStringHandleA(m_dwInstance, m_szService, 0);
    m_hszTopic = DdeCreateStringHandleA(m_dwInstance, m_szTopic, 0);
    m_hConversation = DdeConnect(m_dwInstance, m_hszService, m_hszTopic, nullptr);
    return m_hConversation != nullptr;
}

BOOL CDDEObject::Disconnect() {
    BOOL ended = m_hConversation != nullptr && DdeDisconnect(m_hConversation);
    if (m_hszService != nullptr) {
        DdeFreeStringHandle(m_dwInstance, m_hszService);
        m_hszService = nullptr;
    }
    if (m_hszTopic != nullptr) {
        DdeFreeStringHandle(m_dwInstance, m_hszTopic);
        m_hszTopic = nullptr;
    }
    if (!ended)
        return FALSE;
    m_hConversation = nullptr;
    return TRUE;
}

DWORD CDDEObject::Execute(const char* command) {
    if (command == nullptr)
        return 0;
    // The terminating zero is part of the data: Program Manager reads a C string.
    DWORD length = static_cast<DWORD>(std::strlen(command) + 1);
    HDDEDATA data =
        DdeCreateDataHandle(m_dwInstance, reinterpret_cast<LPBYTE>(const_cast<char*>(command)),
                            length, 0, nullptr, CF_TEXT, 0);
    DWORD status = 0;
    // A data length of -1 tells the library that the data is a handle, which it then owns.
    DdeClientTransaction(reinterpret_cast<LPBYTE>(data), static_cast<DWORD>(-1), m_hConversation,
                         nullptr, CF_TEXT, XTYP_EXECUTE, kExecuteTimeout, &status);
    return status;
}

BOOL CDDEObject::SendProgramManagerCommand(const char* command) {
    Connect(kProgramManager, kProgramManager);
    Execute(command);
    return Disconnect();
}

BOOL CDDEObject::CreateGroup(const char* group) {
    char command[dde::kCommandSize];
    if (!dde::FormatCreateGroup(group, IsWin32s() != FALSE, command, sizeof command))
        return FALSE;
    return SendProgramManagerCommand(command);
}

BOOL CDDEObject::AddItem(const char* name, const char* commandLine, const char* iconPath) {
    char command[dde::kCommandSize];
    if (!dde::FormatAddItem(name, commandLine, iconPath, command, sizeof command))
        return FALSE;
    return SendProgramManagerCommand(command);
}

BOOL CDDEObject::IsWin32s() {
    return windows_version::IsWin32s() ? TRUE : FALSE;
}
