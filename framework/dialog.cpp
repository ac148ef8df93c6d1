// CDialog (creation from a template, modal loop, OK/Cancel), the controls and data exchange.
#include "framework/dialog.h"

#include <algorithm>
#include <cwchar>

#include "common/assert.h"
#include "framework/core.h"
#include "framework/resources.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nTemplateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

namespace {

// Position of a new dialog: centred on its owner with DS_CENTER, else at the template's
// position from the owner's client area.
CPoint DialogPosition(const DialogTemplate& t, HWND owner, const CSize& size) {
    if (t.style & DS_CENTER) {
        const CRect around =
            owner ? framework::ScreenWindowRect(owner) : framework::DesktopWindow()->rect;
        return CPoint(around.left + (around.Width() - size.cx) / 2,
                      around.top + (around.Height() - size.cy) / 2);
    }
    CPoint origin = owner ? framework::ClientOrigin(owner) : CPoint(0, 0);
    return CPoint(origin.x + DialogUnitsToPixelsX(t.x), origin.y + DialogUnitsToPixelsY(t.y));
}

bool IsIconControl(const DialogControlTemplate& c) {
    return framework::SameClassName(c.className, kStaticClass) && (c.style & 0x1F) == SS_ICON;
}

// The icon a static icon control names by its id in decimal, nullptr when there is none.
const IconResource* IconOf(const DialogControlTemplate& c) {
    wchar_t* end = nullptr;
    const long id = std::wcstol(c.text.c_str(), &end, 10);
    if (c.text.empty() || *end != L'\0' || id <= 0) return nullptr;
    return FindIconResource(static_cast<UINT>(id));
}

}  // namespace

INT_PTR CDialog::DoModal() {
    const DialogTemplate* t = FindDialogResource(m_nTemplateId);
    if (!t || !framework::HasBackend() || m_hWnd) return -1;
    // As on the platform, a dialog whose icon is missing cannot be created.
    for (const DialogControlTemplate& c : t->controls)
        if (IsIconControl(c) && !IconOf(c)) return -1;
    HWND owner = m_pParentWnd ? framework::TopLevelOf(m_pParentWnd->m_hWnd)
                              : framework::ActiveWindowRecord();

    HWND hwnd = framework::CreateRecord(L"#32770", t->caption, t->style & ~WS_VISIBLE, t->exStyle,
                                        CRect(), nullptr, owner, 0);
    hwnd->dialogId = static_cast<int>(m_nTemplateId);
    const framework::Insets in = framework::NonClientInsets(hwnd);
    const CSize size(DialogUnitsToPixelsX(t->cx) + in.left + in.right,
                     DialogUnitsToPixelsY(t->cy) + in.top + in.bottom);
    const CPoint at = DialogPosition(*t, owner, size);
    hwnd->rect = CRect(at.x, at.y, at.x + size.cx, at.y + size.cy);
    for (const DialogControlTemplate& c : t->controls) {
        const int x = DialogUnitsToPixelsX(c.x);
        const int y = DialogUnitsToPixelsY(c.y);
        CRect r(x, y, x + DialogUnitsToPixelsX(c.cx), y + DialogUnitsToPixelsY(c.cy));
        // A static icon takes the size of its icon, whatever the template says.
        if (IsIconControl(c)) r = CRect(x, y, x + IconOf(c)->width, y + IconOf(c)->height);
        framework::CreateRecord(c.className, c.text, c.style | WS_CHILD, c.exStyle, r, hwnd,
                                nullptr, c.id);
    }
    Attach(hwnd);
    framework::CurrentBackend().WindowChanged(hwnd);

    ended_ = false;
    result_ = 0;
    const bool disableOwner = framework::IsAlive(owner) && owner->enabled;
    if (disableOwner) {
        owner->enabled = false;
        framework::CurrentBackend().WindowChanged(owner);
    }
    framework::PushModal(this);
    const bool placeFocus = framework::Send(hwnd, WM_INITDIALOG) != FALSE;
    if (framework::IsAlive(hwnd) && !ended_) {
        if (placeFocus) {
            hwnd->focus = nullptr;
            if (HWND first = framework::NextTabStop(hwnd, nullptr, true))
                framework::SetFocusRecord(first, framework::FocusCause::kKeyboard);
        }
        ShowWindow(SW_SHOW);
        framework::CurrentBackend().RunModalLoop(
            hwnd, [this, hwnd] { return ended_ || !framework::IsAlive(hwnd); });
    }
    // The owner is usable again before the dialog goes, as on the platform.
    if (disableOwner && framework::IsAlive(owner)) {
        owner->enabled = true;
        framework::CurrentBackend().WindowChanged(owner);
    }
    framework::PopModal(this);
    if (framework::IsAlive(hwnd)) {
        ShowWindow(SW_HIDE);
        framework::DestroyRecord(hwnd);
    }
    m_hWnd = nullptr;
    return result_;
}

void CDialog::EndDialog(int result) {
    ended_ = true;
    result_ = result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control) framework::SetFocusRecord(control->m_hWnd, framework::FocusCause::kKeyboard);
}

void CDialog::MapDialogRect(LPRECT rect) const {
    if (!rect) return;
    rect->left = DialogUnitsToPixelsX(rect->left);
    rect->right = DialogUnitsToPixelsX(rect->right);
    rect->top = DialogUnitsToPixelsY(rect->top);
    rect->bottom = DialogUnitsToPixelsY(rect->bottom);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_CLOSE:
            // The close box and Alt+F4 of a dialog are its cancel command.
            framework::Send(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                            reinterpret_cast<LPARAM>(framework::FindChild(m_hWnd, IDCANCEL)));
            return 0;
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

// Controls

int CButton::GetCheck() const {
    return framework::IsAlive(m_hWnd) ? m_hWnd->check : 0;
}

void CButton::SetCheck(int check) {
    framework::SetCheck(m_hWnd, check);
}

UINT CButton::GetButtonStyle() const {
    return framework::IsAlive(m_hWnd) ? (m_hWnd->style & 0xFF) : 0;
}

void CEdit::SetSel(int start, int end, BOOL) {
    if (!framework::IsAlive(m_hWnd)) return;
    const int length = static_cast<int>(m_hWnd->text.size());
    if (start == -1) {
        m_hWnd->selStart = m_hWnd->selEnd = length;
        return;
    }
    if (end == -1 || end > length) end = length;
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    m_hWnd->selStart = std::min(start, end);
    m_hWnd->selEnd = std::max(start, end);
}

void CEdit::GetSel(int& start, int& end) const {
    start = framework::IsAlive(m_hWnd) ? m_hWnd->selStart : 0;
    end = framework::IsAlive(m_hWnd) ? m_hWnd->selEnd : 0;
}

void CEdit::ReplaceSel(LPCTSTR text, BOOL) {
    if (!framework::IsAlive(m_hWnd)) return;
    std::wstring value = m_hWnd->text;
    const auto length = static_cast<int>(value.size());
    const int start = std::clamp(m_hWnd->selStart, 0, length);
    const int end = std::clamp(m_hWnd->selEnd, start, length);
    const std::wstring insert = text ? text : L"";
    value.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), insert);
    framework::SetText(m_hWnd, value);
    m_hWnd->selStart = m_hWnd->selEnd = start + static_cast<int>(insert.size());
}

namespace {

void ListChanged(HWND hwnd) {
    if (framework::HasBackend()) framework::CurrentBackend().WindowChanged(hwnd);
}

}  // namespace

int CListBox::AddString(LPCTSTR text) {
    if (!framework::IsAlive(m_hWnd)) return LB_ERR;
    auto& rows = m_hWnd->rows;
    std::size_t at = rows.size();
    const std::wstring value = text ? text : L"";
    if (m_hWnd->style & LBS_SORT)
        at = static_cast<std::size_t>(std::upper_bound(rows.begin(), rows.end(), value) -
                                      rows.begin());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), value);
    if (m_hWnd->curSel >= static_cast<int>(at)) ++m_hWnd->curSel;
    ListChanged(m_hWnd);
    return static_cast<int>(at);
}

int CListBox::InsertString(int index, LPCTSTR text) {
    if (!framework::IsAlive(m_hWnd)) return LB_ERR;
    auto& rows = m_hWnd->rows;
    if (index == -1) index = static_cast<int>(rows.size());
    if (index < 0 || index > static_cast<int>(rows.size())) return LB_ERR;
    rows.insert(rows.begin() + index, text ? text : L"");
    if (m_hWnd->curSel >= index) ++m_hWnd->curSel;
    ListChanged(m_hWnd);
    return index;
}

int CListBox::DeleteString(UINT index) {
    if (!framework::IsAlive(m_hWnd)) return LB_ERR;
    auto& rows = m_hWnd->rows;
    if (index >= rows.size()) return LB_ERR;
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
    const int i = static_cast<int>(index);
    if (m_hWnd->curSel == i)
        m_hWnd->curSel = -1;
    else if (m_hWnd->curSel > i)
        --m_hWnd->curSel;
    ListChanged(m_hWnd);
    return static_cast<int>(rows.size());
}

void CListBox::ResetContent() {
    if (!framework::IsAlive(m_hWnd)) return;
    m_hWnd->rows.clear();
    m_hWnd->curSel = -1;
    ListChanged(m_hWnd);
}

int CListBox::GetCurSel() const {
    return framework::IsAlive(m_hWnd) ? m_hWnd->curSel : LB_ERR;
}

int CListBox::SetCurSel(int index) {
    if (!framework::IsAlive(m_hWnd)) return LB_ERR;
    if (index < 0 || index >= static_cast<int>(m_hWnd->rows.size())) {
        // -1 (or a row that does not exist) leaves no row selected.
        m_hWnd->curSel = -1;
        ListChanged(m_hWnd);
        return LB_ERR;
    }
    m_hWnd->curSel = index;
    ListChanged(m_hWnd);
    return index;
}

int CListBox::GetCount() const {
    return framework::IsAlive(m_hWnd) ? static_cast<int>(m_hWnd->rows.size()) : 0;
}

int CListBox::GetText(int index, CString& text) const {
    if (!framework::IsAlive(m_hWnd) || index < 0 ||
        index >= static_cast<int>(m_hWnd->rows.size())) {
        text.Empty();
        return LB_ERR;
    }
    text = CString(m_hWnd->rows[static_cast<std::size_t>(index)]);
    return text.GetLength();
}

BOOL CListBox::SetTabStops() {
    return SetTabStops(0, nullptr);
}

BOOL CListBox::SetTabStops(const int& eachStop) {
    return SetTabStops(1, &eachStop);
}

BOOL CListBox::SetTabStops(int count, const int* stops) {
    if (!framework::IsAlive(m_hWnd) || !(m_hWnd->style & LBS_USETABSTOPS)) return FALSE;
    m_hWnd->tabStops.assign(stops, stops + (stops ? std::max(count, 0) : 0));
    ListChanged(m_hWnd);
    return TRUE;
}

int CListBox::GetTextLen(int index) const {
    if (!framework::IsAlive(m_hWnd) || index < 0 || index >= static_cast<int>(m_hWnd->rows.size()))
        return LB_ERR;
    return static_cast<int>(m_hWnd->rows[static_cast<std::size_t>(index)].size());
}

namespace framework {

std::vector<TextPiece> ListRowPieces(HWND list, const std::wstring& row) {
    if (!IsAlive(list) || !(list->style & LBS_USETABSTOPS) || !HasBackend()) return {{0, row}};
    constexpr int kDefaultStop = 32;  // dialog units
    std::vector<int> stops;
    for (int units : list->tabStops) stops.push_back(DialogUnitsToPixelsX(units));
    const int every = DialogUnitsToPixelsX(stops.size() == 1 ? list->tabStops[0] : kDefaultStop);
    const auto next = [&stops, every](int x) {
        if (stops.size() > 1)
            for (int stop : stops)
                if (stop > x) return stop;
        return every > 0 ? (x / every + 1) * every : x;
    };
    std::vector<TextPiece> pieces;
    int x = 0;
    for (std::size_t start = 0;;) {
        const std::size_t tab = row.find(L'\t', start);
        pieces.push_back({x, row.substr(start, tab == std::wstring::npos ? tab : tab - start)});
        if (tab == std::wstring::npos) return pieces;
        x = next(x + CurrentBackend().TextWidth(pieces.back().text));
        start = tab + 1;
    }
}

}  // namespace framework

// Data exchange

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = framework::FindChild(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, id);
    // Exchanging with a control the template does not have is a mistake in the program.
    KURVO_ASSERT(control != nullptr);
    return control;
}

void CDataExchange::Fail() {
    failed = true;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = CString(control->text);
    } else if (control->text != value.str()) {
        framework::SetText(control, value.str());
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = control->check;
    else
        framework::SetCheck(control, value);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND hwnd = pDX->PrepareCtrl(id);
    // A control the framework already stands in for keeps its stand-in for old pointers.
    control.Attach(hwnd);
}
