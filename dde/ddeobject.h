// CDDEObject: the setup's DDE client. One DDE management instance per object and at most
// one conversation at a time; it carries the two Program Manager commands that the
// installation needs on systems without a Start menu. Nothing here shows a message: every
// failure is a zero result.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include "framework/object.h"

class CDDEObject : public CObject {
public:
    // Clears every handle and both names, then starts the DDE instance. A failed start
    // leaves the instance 0; every later operation then fails inside the DDE library.
    CDDEObject();
    ~CDDEObject() override;
    CDDEObject(const CDDEObject&) = delete;
    CDDEObject& operator=(const CDDEObject&) = delete;

    const char* GetRuntimeClassName() const override { return "CDDEObject"; }

    // Opens a conversation with `service` on `topic`; nonzero when one was established.
    // The string handles stay with the object until Disconnect, whatever the outcome.
    // A name longer than 260 characters is refused (0) without creating any handle.
    // Expects no open conversation: callers always pair it with Disconnect.
    BOOL Connect(const char* service, const char* topic);
    // 1 when an open conversation was ended; 0 when there was none or ending it failed
    // (the conversation handle then stays). The string handles are freed in every case.
    BOOL Disconnect();
    // Sends `command` as an execute transaction on the open conversation and returns the
    // status flags (DDE_FACK when the server accepted it); 0 when the transaction failed
    // before the server answered. Virtual, so that a derived class can watch or redirect
    // every command that the Program Manager operations send.
    virtual DWORD Execute(const char* command);

    // Each opens its own Program Manager conversation, sends one command and closes it;
    // the result is that of the closing Disconnect, so a command that the server refuses
    // still gives 1. A command that would not fit in 260 characters is not sent at all,
    // no conversation is opened, and the result is 0.
    BOOL CreateGroup(const char* group);
    BOOL AddItem(const char* name, const char* commandLine, const char* iconPath);

    // Nonzero when the system reports the Win32s platform, which gets the other form of
    // the group command.
    BOOL IsWin32s();

    DWORD GetInstance() const { return m_dwInstance; }
    HSZ GetServiceHandle() const { return m_hszService; }
    HSZ GetTopicHandle() const { return m_hszTopic; }
    HCONV GetConversation() const { return m_hConversation; }

    // The client takes part in no advise loop and serves nothing, so every callback is
    // answered with a plain acknowledgement.
    static HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                         HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

private:
    BOOL SendProgramManagerCommand(const char* command);

    DWORD m_dwInstance;
    HSZ m_hszService;
    HSZ m_hszTopic;
    HCONV m_hConversation;
    char m_szService[MAX_PATH + 1];
    char m_szTopic[MAX_PATH + 1];
};
