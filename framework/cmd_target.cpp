// Run-time classes, message-map search, command targets, the wait cursor and CCmdUI.
#include "framework/cmd_target.h"

#include "framework/core.h"

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base) return TRUE;
    return FALSE;
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* FindMessageEntry(const CCmdTarget* target, UINT message, UINT code,
                                         UINT id) {
    for (const AFX_MSGMAP* map = target->GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->handler; ++e) {
            if (e->nMessage != message) continue;
            if (message == WM_COMMAND) {
                if (e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
            } else {
                return e;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(this, WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!entry) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    framework::MsgCall call;
    call.message = WM_COMMAND;
    call.id = nID;
    if (nCode == CN_UPDATE_COMMAND_UI) {
        auto* cmdUI = static_cast<CCmdUI*>(pExtra);
        cmdUI->m_bContinueRouting = FALSE;
        call.cmdUI = cmdUI;
        entry->handler(this, call);
        return !cmdUI->m_bContinueRouting;
    }
    entry->handler(this, call);
    return TRUE;
}

void CCmdTarget::BeginWaitCursor() {
    framework::BeginWait();
}
void CCmdTarget::EndWaitCursor() {
    framework::EndWait();
}
void CCmdTarget::RestoreWaitCursor() {
    framework::RestoreWait();
}

void CCmdUI::Enable(BOOL on) {
    enabled = on ? TRUE : FALSE;
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int value) {
    check = value;
}

void CCmdUI::SetText(LPCTSTR value) {
    text = value;
    textSet = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
    if (!target) return FALSE;
    m_bEnableChanged = FALSE;
    const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        const BOOL hasHandler = target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
    return handled;
}
