// CString: formatting with the wide %s convention, resource loading, searching and casing.
#include "framework/cstring.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

#include "framework/resources.h"

namespace {

// Rewrites a format of the platform's convention (%s, %c wide; %hs, %hc narrow) into the C
// library's (%ls, %lc wide; %s, %c narrow).
std::wstring ToLibraryFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') {
            out += *p;
            continue;
        }
        // Flags, width, precision.
        while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
        bool narrow = false;
        bool wide = false;
        if (*p == L'h' && (p[1] == L's' || p[1] == L'c')) {
            narrow = true;
            ++p;
        } else if (*p == L'l' && (p[1] == L's' || p[1] == L'c')) {
            wide = true;
            ++p;
        } else {
            while (*p && std::wcschr(L"hlLqjzt", *p)) out += *p++;
        }
        if (!*p) break;
        if ((*p == L's' || *p == L'c') && !narrow) out += L'l';
        (void)wide;
        out += *p;
    }
    return out;
}

std::wstring FormatV(const wchar_t* format, va_list args) {
    const std::wstring fmt = ToLibraryFormat(format);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<std::size_t>(n) < buffer.size())
            return std::wstring(buffer.data(), n);
        // vswprintf answers -1 both for a short buffer and for a bad conversion; stop growing
        // at a size no text of the program comes near.
        if (buffer.size() >= (1u << 20)) return std::wstring();
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    text_ = FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    text_ += FormatV(format, args);
    va_end(args);
}

std::wstring FormatWide(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring result = FormatV(format, args);
    va_end(args);
    return result;
}

BOOL CString::LoadString(UINT id) {
    std::wstring text;
    const BOOL found = LoadResourceString(id, text);
    text_ = found ? text : std::wstring();
    return found;
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    return CString(text_.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (static_cast<std::size_t>(count) >= text_.size()) return *this;
    return CString(text_.substr(text_.size() - static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const {
    if (first < 0) first = 0;
    if (static_cast<std::size_t>(first) >= text_.size()) return CString();
    return CString(text_.substr(static_cast<std::size_t>(first)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count <= 0 || static_cast<std::size_t>(first) >= text_.size()) return CString();
    return CString(text_.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

int CString::Find(wchar_t c, int start) const {
    if (start < 0) start = 0;
    const auto at = text_.find(c, static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
    if (start < 0) start = 0;
    if (static_cast<std::size_t>(start) > text_.size()) return -1;
    const auto at = text_.find(sub ? sub : L"", static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t c) const {
    const auto at = text_.rfind(c);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const wchar_t* from, const wchar_t* to) {
    const std::wstring f = from ? from : L"";
    const std::wstring t = to ? to : L"";
    if (f.empty()) return 0;
    int count = 0;
    std::size_t at = 0;
    while ((at = text_.find(f, at)) != std::wstring::npos) {
        text_.replace(at, f.size(), t);
        at += t.size();
        ++count;
    }
    return count;
}

int CString::Replace(wchar_t from, wchar_t to) {
    int count = 0;
    for (auto& c : text_) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

CString& CString::MakeUpper() {
    for (auto& c : text_)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return *this;
}

CString& CString::MakeLower() {
    for (auto& c : text_)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return *this;
}

namespace {
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}
}  // namespace

CString& CString::TrimLeft() {
    std::size_t i = 0;
    while (i < text_.size() && IsBlank(text_[i])) ++i;
    text_.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!text_.empty() && IsBlank(text_.back())) text_.pop_back();
    return *this;
}

CString& CString::Trim() {
    TrimRight();
    return TrimLeft();
}
