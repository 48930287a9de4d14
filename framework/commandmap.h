// CCommandMap: a dialog's command handlers by control id or id range, in plain code
// instead of a message-map macro. Handlers registered first are tried first.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class CCommandMap {
public:
    using Handler = std::function<void(UINT id)>;

    // By default a handler fires for clicks and menu commands (notification code 0);
    // edit and list notifications need their code named.
    void On(UINT id, Handler handler, UINT notifyCode = BN_CLICKED) {
        OnRange(id, id, std::move(handler), notifyCode);
    }
    void OnRange(UINT first, UINT last, Handler handler, UINT notifyCode = BN_CLICKED) {
        m_entries.push_back({first, last, notifyCode, std::move(handler)});
    }
    // TRUE when a handler ran.
    BOOL Dispatch(UINT id, UINT notifyCode) const {
        for (const Entry& entry : m_entries) {
            if (id >= entry.first && id <= entry.last && notifyCode == entry.notifyCode) {
                entry.handler(id);
                return TRUE;
            }
        }
        return FALSE;
    }

private:
    struct Entry {
        UINT first;
        UINT last;
        UINT notifyCode;
        Handler handler;
    };
    std::vector<Entry> m_entries;
};
