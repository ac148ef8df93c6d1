// The backend in use, and the defaults of the backend interface: the default printer and the
// profile kept in an INI file under the user's configuration folder.
#include "framework/backend.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "common/assert.h"
#include "common/text_conversion.h"

namespace framework {
namespace {

Backend* g_backend = nullptr;

using Sections = ProfileSections;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

Sections ReadIni(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return ParseProfileText(text.str());
}

bool WriteIni(const std::string& path, const Sections& sections) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // Written beside and renamed over, so an interrupted write never leaves half a file.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file << FormatProfileText(sections);
        if (!file.flush()) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool IsSafeText(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A value the line would not keep as it is: a line break or another control character, a blank
// at either end (lines are trimmed), or a leading quote (the mark of a quoted value).
bool NeedsQuotes(const std::string& value) {
    if (value.empty()) return false;
    if (IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"') return true;
    for (char c : value)
        if (IsControl(c)) return true;
    return false;
}

// "..." with backslash escapes for the backslash, the quote and every control character.
std::string Quoted(const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (IsControl(c)) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of an entry's text: a quoted value loses its quotes and escapes; anything else (files
// written before values were quoted) is taken as it stands. An escape that means nothing stays.
std::string Unquoted(const std::string& text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return text;
    std::string out;
    const std::size_t end = text.size() - 1;
    for (std::size_t i = 1; i < end; ++i) {
        if (text[i] != '\\' || i + 1 >= end) {
            out += text[i];
            continue;
        }
        const char next = text[i + 1];
        if (next == '\\' || next == '"') {
            out += next;
        } else if (next == 'n') {
            out += '\n';
        } else if (next == 'r') {
            out += '\r';
        } else if (next == 't') {
            out += '\t';
        } else if (next == 'x' && i + 3 < end && HexDigit(text[i + 2]) >= 0 &&
                   HexDigit(text[i + 3]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 2;
        } else {
            out += '\\';
            out += next;
        }
        ++i;
    }
    return out;
}

}  // namespace

ProfileSections ParseProfileText(const std::string& text) {
    Sections sections;
    std::istringstream in(text);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        const std::string key = Trimmed(line.substr(0, equals));
        if (key.empty()) continue;
        sections[section][key] = Unquoted(line.substr(equals + 1));
    }
    return sections;
}

std::string FormatProfileText(const ProfileSections& sections) {
    std::ostringstream out;
    for (const auto& [section, entries] : sections) {
        out << '[' << section << "]\n";
        for (const auto& [key, value] : entries)
            out << key << '=' << (NeedsQuotes(value) ? Quoted(value) : value) << '\n';
        out << '\n';
    }
    return out.str();
}

void SetBackend(Backend* backend) {
    g_backend = backend;
}

Backend& CurrentBackend() {
    KURVO_ASSERT(g_backend != nullptr);
    return *g_backend;
}

bool HasBackend() {
    return g_backend != nullptr;
}

std::string ProfileFilePath(const std::wstring& key, const std::wstring& app) {
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".config";
    std::string path = base + "/";
    if (!key.empty()) path += WideToNarrow(key) + "/";
    return path + WideToNarrow(app.empty() ? std::wstring(L"application") : app) + ".conf";
}

DEVMODE Backend::DefaultPrinter() const {
    DEVMODE devMode;
    const wchar_t name[] = L"Imprimante";
    for (std::size_t i = 0; i < sizeof(name) / sizeof(name[0]); ++i)
        devMode.dmDeviceName[i] = name[i];
    devMode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    devMode.dmOrientation = DMORIENT_PORTRAIT;
    return devMode;
}

std::wstring Backend::ReadProfile(const std::wstring& key, const std::wstring& app,
                                  const std::wstring& section, const std::wstring& entry,
                                  const std::wstring& defaultValue, bool* found) {
    const Sections sections = ReadIni(ProfileFilePath(key, app));
    const auto s = sections.find(WideToNarrow(section));
    if (s != sections.end()) {
        const auto e = s->second.find(WideToNarrow(entry));
        if (e != s->second.end()) {
            if (found) *found = true;
            return NarrowToWide(e->second);
        }
    }
    if (found) *found = false;
    return defaultValue;
}

bool Backend::WriteProfile(const std::wstring& key, const std::wstring& app,
                           const std::wstring& section, const std::wstring& entry,
                           const std::wstring& value) {
    const std::string narrowSection = WideToNarrow(section);
    const std::string narrowEntry = WideToNarrow(entry);
    const std::string narrowValue = WideToNarrow(value);
    // Names are the program's own and never hold a line break. A value goes in whatever it holds,
    // but one that would come back as another text (a character with no UTF-8 form) is refused.
    if (!IsSafeText(narrowSection + narrowEntry) || narrowEntry.find('=') != std::string::npos ||
        NarrowToWide(narrowValue) != value)
        return false;
    const std::string path = ProfileFilePath(key, app);
    Sections sections = ReadIni(path);
    sections[narrowSection][narrowEntry] = narrowValue;
    return WriteIni(path, sections);
}

}  // namespace framework
