// Resource types (menus, accelerators, string table, dialog templates, icons) and their lookup.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/types.h"

// One item of a menu or of a popup. A popup has `flags` MF_POPUP, a text and its items; a
// separator has `flags` MF_SEPARATOR; a command item has its id, its text ("\t" separates the
// key shown at the right) and optionally MF_GRAYED.
struct MenuItemTemplate {
    MenuItemTemplate() = default;
    MenuItemTemplate(std::wstring text_, UINT id_ = 0, UINT flags_ = 0,
                     std::vector<MenuItemTemplate> items_ = {})
        : text(std::move(text_)), id(id_), flags(flags_), items(std::move(items_)) {}
    std::wstring text;
    UINT id = 0;
    UINT flags = 0;
    std::vector<MenuItemTemplate> items;
};

struct MenuTemplate {
    MenuTemplate() = default;
    MenuTemplate(UINT id_, std::vector<MenuItemTemplate> items_)
        : id(id_), items(std::move(items_)) {}
    UINT id = 0;
    std::vector<MenuItemTemplate> items;  // the menu bar: popups
};

// `flags`: FVIRTKEY with FCONTROL / FSHIFT / FALT; `key`: a virtual key ('N', VK_F6 ...).
struct AcceleratorEntry {
    AcceleratorEntry() = default;
    AcceleratorEntry(BYTE flags_, WORD key_, WORD command_)
        : flags(flags_), key(key_), command(command_) {}
    BYTE flags = FVIRTKEY;
    WORD key = 0;
    WORD command = 0;
};

struct AcceleratorTable {
    AcceleratorTable() = default;
    AcceleratorTable(UINT id_, std::vector<AcceleratorEntry> entries_)
        : id(id_), entries(std::move(entries_)) {}
    UINT id = 0;
    std::vector<AcceleratorEntry> entries;
};

struct StringEntry {
    StringEntry() = default;
    StringEntry(UINT id_, std::wstring text_) : id(id_), text(std::move(text_)) {}
    UINT id = 0;
    std::wstring text;
};

// Control classes of dialog templates.
inline constexpr const wchar_t* kButtonClass = L"Button";
inline constexpr const wchar_t* kEditClass = L"Edit";
inline constexpr const wchar_t* kStaticClass = L"Static";
inline constexpr const wchar_t* kListBoxClass = L"ListBox";

// One control of a dialog template; position and size in dialog units. `style` holds the
// class's own style bits (BS_*, ES_*, SS_*, LBS_*) and the window bits (WS_VISIBLE, WS_TABSTOP,
// WS_BORDER, WS_DISABLED ...); a control without WS_VISIBLE starts hidden. For a static icon
// (SS_ICON) `text` is the icon's id written in decimal, e.g. L"128".
struct DialogControlTemplate {
    DialogControlTemplate() = default;
    DialogControlTemplate(std::wstring className_, int id_, std::wstring text_, DWORD style_,
                          int x_, int y_, int cx_, int cy_, DWORD exStyle_ = 0)
        : className(std::move(className_)),
          id(id_),
          text(std::move(text_)),
          style(style_),
          x(x_),
          y(y_),
          cx(cx_),
          cy(cy_),
          exStyle(exStyle_) {}
    std::wstring className;
    int id = -1;
    std::wstring text;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD exStyle = 0;
};

// A dialog template: position and size (of the client area) in dialog units, style bits
// (WS_POPUP, WS_CAPTION, WS_SYSMENU, DS_MODALFRAME ...), caption, font.
struct DialogTemplate {
    DialogTemplate() = default;
    DialogTemplate(UINT id_, DWORD style_, int x_, int y_, int cx_, int cy_, std::wstring caption_,
                   std::wstring fontName_, int fontSize_,
                   std::vector<DialogControlTemplate> controls_, DWORD exStyle_ = 0)
        : id(id_),
          style(style_),
          x(x_),
          y(y_),
          cx(cx_),
          cy(cy_),
          caption(std::move(caption_)),
          fontName(std::move(fontName_)),
          fontSize(fontSize_),
          controls(std::move(controls_)),
          exStyle(exStyle_) {}
    UINT id = 0;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::wstring caption;
    std::wstring fontName = L"MS Sans Serif";
    int fontSize = 8;
    std::vector<DialogControlTemplate> controls;
    DWORD exStyle = 0;
};

// An icon drawn as rows of characters; each character is looked up in the palette (ARGB,
// alpha 0 = transparent).
struct IconResource {
    IconResource() = default;
    IconResource(UINT id_, int width_, int height_,
                 std::vector<std::pair<char, std::uint32_t>> palette_,
                 std::vector<std::string> rows_)
        : id(id_),
          width(width_),
          height(height_),
          palette(std::move(palette_)),
          rows(std::move(rows_)) {}
    UINT id = 0;
    int width = 32;
    int height = 32;
    std::vector<std::pair<char, std::uint32_t>> palette;
    std::vector<std::string> rows;
};

// The name the file dialogs give the files of one of the application's own extensions.
struct FileTypeEntry {
    FileTypeEntry() = default;
    FileTypeEntry(std::wstring extension_, std::wstring name_)
        : extension(std::move(extension_)), name(std::move(name_)) {}
    std::wstring extension;  // without the dot, in lower case: L"gen"
    std::wstring name;
};

// Everything an application declares; handed to the framework once with AfxSetResources.
struct ResourceSet {
    std::vector<MenuTemplate> menus;
    std::vector<AcceleratorTable> accelerators;
    std::vector<StringEntry> strings;
    std::vector<DialogTemplate> dialogs;
    std::vector<IconResource> icons;
    std::vector<FileTypeEntry> fileTypes;
};

// The application's resources (the set must outlive the program's run). May be called again
// with another set (tests).
void AfxSetResources(const ResourceSet* resources);
const ResourceSet* AfxGetResources();

// Lookups: the application's resources first; strings also in the framework's own table.
const MenuTemplate* FindMenuResource(UINT id);
const AcceleratorTable* FindAcceleratorResource(UINT id);
const DialogTemplate* FindDialogResource(UINT id);
const IconResource* FindIconResource(UINT id);
// The application's name for files of `extension` (without the dot, in any case); "" when it
// names none.
std::wstring FileTypeName(const std::wstring& extension);
// FALSE when neither table holds `id`.
BOOL LoadResourceString(UINT id, std::wstring& text);
// The string or "" when absent.
std::wstring ResourceString(UINT id);

// Dialog units to pixels for "MS Sans Serif" 8 pt: one horizontal unit is 6/4 pixel, one
// vertical unit 13/8 pixel, rounded as the platform's MapDialogRect.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

// Texts of the framework itself (its own string table), French.
constexpr UINT AFX_IDP_ASK_TO_SAVE = 0xF000;         // "%s": the document's title
constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 0xF001;  // "%s": the path, then the reason
constexpr UINT AFX_IDP_FAILED_TO_START_PRINT = 0xF002;
constexpr UINT AFX_IDP_ASK_TO_REPLACE = 0xF003;  // "%s": the path
constexpr UINT AFX_IDS_OPENFILE = 0xF004;
constexpr UINT AFX_IDS_SAVEFILE = 0xF005;
constexpr UINT AFX_IDS_UNTITLED = 0xF006;
