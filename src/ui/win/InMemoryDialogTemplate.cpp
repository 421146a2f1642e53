#include "ui/win/InMemoryDialogTemplate.h"

#include <windows.h>

#include <string>

#include "store/win/WideText.h"

namespace varnok {

namespace {

// The predefined window classes, by the atoms a dialog template names them with.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kComboBoxClass = 0x0085;

struct KindStyle {
    ControlKind kind;
    std::uint16_t windowClass;  // 0: a class of the common controls, named by className
    DWORD style;
    const wchar_t* className = nullptr;
};

// clang-format off
constexpr KindStyle kKindStyles[] = {
    {ControlKind::PushButton,    kButtonClass,   BS_PUSHBUTTON},
    {ControlKind::CheckBox,      kButtonClass,   BS_AUTOCHECKBOX},
    {ControlKind::GroupBox,      kButtonClass,   BS_GROUPBOX},
    {ControlKind::StaticText,    kStaticClass,   SS_LEFT},
    {ControlKind::Icon,          kStaticClass,   SS_ICON},
    {ControlKind::DropDownCombo, kComboBoxClass, CBS_DROPDOWN},
    {ControlKind::DropDownList,  kComboBoxClass, CBS_DROPDOWNLIST},
    {ControlKind::ProgressBar,   0,              0,                 L"msctls_progress32"},
};
// clang-format on

DWORD WindowStyle(const DialogControlTemplate& control, const KindStyle& kind) {
    DWORD style = WS_CHILD | kind.style;
    if (!control.Has(ControlStyle::Hidden)) style |= WS_VISIBLE;
    if (control.Has(ControlStyle::TabStop)) style |= WS_TABSTOP;
    if (control.Has(ControlStyle::Group)) style |= WS_GROUP;
    if (control.Has(ControlStyle::DefaultButton)) style |= BS_DEFPUSHBUTTON;
    if (control.Has(ControlStyle::AutoHScroll)) style |= CBS_AUTOHSCROLL;
    if (control.Has(ControlStyle::VScroll)) style |= WS_VSCROLL;
    if (control.Has(ControlStyle::NoPrefix)) style |= SS_NOPREFIX;
    return style;
}

class TemplateWriter {
public:
    void Word(std::uint16_t value) { words_.push_back(value); }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(std::string_view utf8) {
        for (wchar_t c : WideFromUtf8(utf8)) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    // Each item starts on a DWORD boundary.
    void AlignDword() {
        if (words_.size() % 2 != 0) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(words_); }

private:
    std::vector<std::uint16_t> words_;
};

}  // namespace

std::vector<std::uint16_t> InMemoryDialogTemplate(const DialogTemplate& dialog,
                                                  std::uint16_t iconResource) {
    TemplateWriter out;
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature: the extended template
    out.Dword(0);      // helpID
    out.Dword(0);      // exStyle
    out.Dword(DS_MODALFRAME | DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Word(0);
    out.Word(0);
    out.Word(static_cast<std::uint16_t>(dialog.width));
    out.Word(static_cast<std::uint16_t>(dialog.height));
    out.Word(0);  // no menu
    out.Word(0);  // the standard dialog class
    out.Text(dialog.caption);
    out.Word(static_cast<std::uint16_t>(dialog.fontPoints));
    out.Word(FW_NORMAL);
    out.Word(DEFAULT_CHARSET << 8);  // italic 0, character set
    out.Text("MS Shell Dlg");

    for (const DialogControlTemplate& control : dialog.controls) {
        const KindStyle* kind = nullptr;
        for (const KindStyle& row : kKindStyles) {
            if (row.kind == control.kind) kind = &row;
        }
        out.AlignDword();
        out.Dword(0);  // helpID
        out.Dword(0);  // exStyle
        out.Dword(WindowStyle(control, *kind));
        out.Word(static_cast<std::uint16_t>(control.x));
        out.Word(static_cast<std::uint16_t>(control.y));
        out.Word(static_cast<std::uint16_t>(control.width));
        out.Word(static_cast<std::uint16_t>(control.height));
        out.Dword(static_cast<std::uint32_t>(control.id));
        if (kind->windowClass != 0) {
            out.Word(0xFFFF);
            out.Word(kind->windowClass);
        } else {
            for (const wchar_t* c = kind->className; *c != L'\0'; ++c) {
                out.Word(static_cast<std::uint16_t>(*c));
            }
            out.Word(0);
        }
        if (control.kind == ControlKind::Icon) {
            out.Word(0xFFFF);
            out.Word(iconResource);
        } else {
            out.Text(control.text);
        }
        out.Word(0);  // no creation data
    }
    return out.Take();
}

}  // namespace varnok
