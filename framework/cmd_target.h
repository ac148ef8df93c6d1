// CObject with run-time classes, the message-map mechanism, CCmdTarget and CCmdUI.
#pragma once

#include "framework/cstring.h"
#include "framework/types.h"

class CObject;
class CCmdTarget;
class CCmdUI;
class CWnd;

// Run-time class record: name, schema, creation function (dynamic creation), base class.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, or nullptr when the class cannot be created dynamically.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
  public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
    static const CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
  public:                                         \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_name, schema, create)                            \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), schema, \
                                                         create, RUNTIME_CLASS(base_name)};       \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                    \
        return RUNTIME_CLASS(class_name);                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name) \
    CObject* class_name::CreateObject() {          \
        return new class_name;                     \
    }                                              \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_name, 0xFFFF, class_name::CreateObject)

// Message maps

namespace framework {

// One message being dispatched to a handler of a message map.
struct MsgCall {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT id = 0;              // command or control id (WM_COMMAND, update handlers)
    CCmdUI* cmdUI = nullptr;  // update handlers
    LRESULT result = 0;
};

using MsgHandler = void (*)(CCmdTarget* target, MsgCall& call);

template <class T>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};

template <auto F>
typename MemberOf<decltype(F)>::Class* Target(CCmdTarget* t) {
    return static_cast<typename MemberOf<decltype(F)>::Class*>(t);
}

template <auto F>
void CallVoid(CCmdTarget* t, MsgCall&) {
    (Target<F>(t)->*F)();
}
template <auto F>
void CallRange(CCmdTarget* t, MsgCall& c) {
    (Target<F>(t)->*F)(c.id);
}
template <auto F>
void CallUpdate(CCmdTarget* t, MsgCall& c) {
    (Target<F>(t)->*F)(c.cmdUI);
}
template <auto F>
void CallTimer(CCmdTarget* t, MsgCall& c) {
    (Target<F>(t)->*F)(static_cast<UINT_PTR>(c.wParam));
}
template <auto F>
void CallMouse(CCmdTarget* t, MsgCall& c) {
    (Target<F>(t)->*F)(static_cast<UINT>(c.wParam),
                       CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)));
}
template <auto F>
void CallCreate(CCmdTarget* t, MsgCall& c) {
    c.result = (Target<F>(t)->*F)(reinterpret_cast<struct CREATESTRUCT*>(c.lParam));
}
template <auto F>
void CallSize(CCmdTarget* t, MsgCall& c) {
    (Target<F>(t)->*F)(static_cast<UINT>(c.wParam), GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
}
template <auto F>
void CallMessage(CCmdTarget* t, MsgCall& c) {
    c.result = (Target<F>(t)->*F)(c.wParam, c.lParam);
}

}  // namespace framework

// Codes of CCmdTarget::OnCmdMsg besides the control notifications.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for commands, updates and control notifications
    UINT nCode;     // CN_COMMAND, CN_UPDATE_COMMAND_UI or the notification (EN_CHANGE ...)
    UINT nID;
    UINT nLastID;
    framework::MsgHandler handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// In the class: DECLARE_MESSAGE_MAP() (leaves the access protected). In the source file:
// BEGIN_MESSAGE_MAP(Class, Base) ... entries ... END_MESSAGE_MAP(). Handlers may be private.
#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass [[maybe_unused]] = theClass;    \
        using TheBaseClass = baseClass;                 \
        static const AFX_MSGMAP_ENTRY messageEntries_[] = {
#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap_ = {&TheBaseClass::GetThisMessageMap, &messageEntries_[0]}; \
    return &messageMap_;                                                                           \
    }

#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), &framework::CallVoid<fn>},
#define ON_COMMAND_RANGE(id, idLast, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), &framework::CallRange<fn>},
#define ON_UPDATE_COMMAND_UI(id, fn) \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), &framework::CallUpdate<fn>},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn)                       \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), \
     &framework::CallUpdate<fn>},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), &framework::CallVoid<fn>},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SELCANCEL(id, fn) ON_CONTROL(LBN_SELCANCEL, id, fn)
#define ON_MESSAGE(message, fn) {(UINT)(message), 0, 0, 0, &framework::CallMessage<fn>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &framework::CallVoid<&ThisClass::OnPaint>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, &framework::CallVoid<&ThisClass::OnClose>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &framework::CallVoid<&ThisClass::OnDestroy>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, &framework::CallTimer<&ThisClass::OnTimer>},
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, &framework::CallCreate<&ThisClass::OnCreate>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, &framework::CallSize<&ThisClass::OnSize>},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, &framework::CallMouse<&ThisClass::OnMouseMove>},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, 0, &framework::CallMouse<&ThisClass::OnLButtonDown>},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, &framework::CallMouse<&ThisClass::OnLButtonUp>},
#define ON_WM_LBUTTONDBLCLK() \
    {WM_LBUTTONDBLCLK, 0, 0, 0, &framework::CallMouse<&ThisClass::OnLButtonDblClk>},

// Answer of a handler search (OnCmdMsg with a non-null handler info): who would handle it.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

// Base of everything that receives commands. Commands reach OnCmdMsg, which searches the
// message map chain of the object; window classes extend the routing (view -> document,
// frame -> view, frame, application).
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
  public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra: the CCmdUI*) or a control notification.
    // With pHandlerInfo given, only answers whether a handler exists (and which object has it).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The wait cursor, counted: shown from the first Begin to the matching End.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

  protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    friend const AFX_MSGMAP_ENTRY* FindMessageEntry(const CCmdTarget*, UINT, UINT, UINT);
};

// The first entry of the object's map chain for (message, code, id), or nullptr.
const AFX_MSGMAP_ENTRY* FindMessageEntry(const CCmdTarget* target, UINT message, UINT code,
                                         UINT id);

// The object an update handler sets the state of: a menu item, a status-bar pane, or a plain
// query (the accelerator check). Enable(FALSE) is the rule saying no.
class CCmdUI {
  public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr;  // the status bar for a pane
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(LPCTSTR text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks `target` (with its routing) for the state; with no handler at all and
    // disableIfNoHandler the item is disabled. Answers TRUE when a handler ran.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    // State gathered by the base class (used by queries).
    BOOL enabled = TRUE;
    int check = 0;
    BOOL textSet = FALSE;
    CString text;
};
