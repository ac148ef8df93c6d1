// CString: the framework's wide string, with Format and resource loading.
#pragma once

#include <string>
#include <string_view>

#include "framework/types.h"

class CString {
  public:
    CString() = default;
    CString(const wchar_t* text) : text_(text ? text : L"") {}
    CString(const wchar_t* text, int length) : text_(text, static_cast<std::size_t>(length)) {}
    CString(std::wstring text) : text_(std::move(text)) {}
    CString(std::wstring_view text) : text_(text) {}
    CString(wchar_t c, int count = 1) : text_(static_cast<std::size_t>(count), c) {}

    operator const wchar_t*() const { return text_.c_str(); }
    const wchar_t* GetString() const { return text_.c_str(); }
    const std::wstring& str() const { return text_; }
    std::wstring& str() { return text_; }

    int GetLength() const { return static_cast<int>(text_.size()); }
    BOOL IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    wchar_t GetAt(int i) const { return text_.at(static_cast<std::size_t>(i)); }
    void SetAt(int i, wchar_t c) { text_.at(static_cast<std::size_t>(i)) = c; }
    wchar_t operator[](int i) const { return GetAt(i); }

    CString& operator=(const wchar_t* text) {
        text_ = text ? text : L"";
        return *this;
    }
    CString& operator+=(const CString& other) {
        text_ += other.text_;
        return *this;
    }
    CString& operator+=(const wchar_t* other) {
        text_ += other ? other : L"";
        return *this;
    }
    CString& operator+=(wchar_t c) {
        text_ += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.text_ + b.text_);
    }
    friend CString operator+(const CString& a, const wchar_t* b) {
        return CString(a.text_ + (b ? b : L""));
    }
    friend CString operator+(const wchar_t* a, const CString& b) {
        return CString((a ? a : L"") + b.text_);
    }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.text_ + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.text_ == (b ? b : L""); }
    friend bool operator!=(const CString& a, const CString& b) { return a.text_ != b.text_; }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.text_ < b.text_; }
    int Compare(const wchar_t* other) const { return text_.compare(other ? other : L""); }

    // printf-style formatting where, as on the platform the program was written for, %s and %c
    // take wide arguments (a wchar_t string, a wchar_t) and %hs a narrow string.
    void Format(const wchar_t* format, ...);
    void AppendFormat(const wchar_t* format, ...);

    // Loads string `id` of the application's string table, else of the framework's own;
    // FALSE (and the text emptied) when neither has it.
    BOOL LoadString(UINT id);

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    int Find(wchar_t c, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t c) const;
    // Replaces every occurrence of `from`; answers the number of replacements.
    int Replace(const wchar_t* from, const wchar_t* to);
    int Replace(wchar_t from, wchar_t to);
    // Upper/lower case of the C library's default locale: only a-z and A-Z change.
    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

  private:
    std::wstring text_;
};

// Formats like CString::Format into a std::wstring (same %s convention).
std::wstring FormatWide(const wchar_t* format, ...);
