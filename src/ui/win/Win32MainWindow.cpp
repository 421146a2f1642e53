#include "ui/win/Win32MainWindow.h"

// clang-format off
#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>
#include <dbt.h>
// MinGW's hid.dll headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
#include <initguid.h>
#include <oleacc.h>
}
// clang-format on

#include <cwchar>
#include <string>
#include <vector>

#include "keys/KeyEvent.h"
#include "keys/KeyTesterTexts.h"
#include "store/win/WideText.h"
#include "ui/ContextMenuTable.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/controls/win/KeyCaptureComboBox.h"
#include "ui/win/AboutBox.h"
#include "ui/win/InMemoryDialogTemplate.h"
#include "ui/win/KeyTesterWindow.h"
#include "ui/win/ListWidening.h"
#include "ui/win/ScreenFit.h"

namespace varnok {

namespace {

// The flow's thread asks the window's thread to run what it queued.
constexpr UINT kRunTasksMessage = WM_APP + 1;
// The system menu's About entry reads the same in either language.
constexpr const wchar_t* kAboutText = L"About Varnok...";

// Where the progress line of a running flow goes: under the last row, in dialog units.
// Why the last input was refused: a line between the Group Key frame and the buttons.
constexpr COLORREF kNoticeColour = RGB(176, 0, 0);
// The edit field of a drop-down combo box is its child with this id.
constexpr int kEditFieldId = 1001;

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

// The keys an open list takes: they close it or move in it.
bool IsListKey(std::uint8_t virtualKey) {
    switch (virtualKey) {
        case VK_ESCAPE:
        case VK_RETURN:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_F4:
            return true;
        default:
            return false;
    }
}

bool IsCharacterMessage(UINT message) {
    return message == WM_CHAR || message == WM_SYSCHAR || message == WM_DEADCHAR ||
           message == WM_SYSDEADCHAR;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

Win32MainWindow::Win32MainWindow(EventsFactory makeEvents)
    : makeEvents_(std::move(makeEvents)), executor_([this](std::function<void()> task) {
          {
              const std::lock_guard<std::mutex> lock(tasksMutex_);
              tasks_.push_back(std::move(task));
          }
          PostMessageW(dialog_, kRunTasksMessage, 0, 0);
      }) {}

Win32MainWindow::~Win32MainWindow() {
    if (deviceNotification_ != nullptr) UnregisterDeviceNotification(deviceNotification_);
    events_.reset();
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    if (accessibility_ != nullptr) accessibility_->Release();
    if (comStarted_) CoUninitialize();
    if (icon_ != nullptr) DestroyIcon(icon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

void Win32MainWindow::Run() {
    const DialogTemplate fitted = ScreenFit::Shrunk(KeyDialogTemplate());
    const std::vector<std::uint16_t> dialogTemplate = InMemoryDialogTemplate(fitted, kIconResource);
    dialog_ = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        nullptr, DialogProcedure, reinterpret_cast<LPARAM>(this));
    if (dialog_ == nullptr) return;
    screenFit_.Fit(dialog_, fitted);
    ShowWindow(dialog_, SW_SHOW);
    // The window's own loop, as a modal dialog's, but with the window's key pre-filter in
    // front: key messages go to the behaviour (the capture, or Tab, Escape and Enter as the
    // behaviour takes them) or straight to the focused control, never to the dialog manager's
    // keyboard handling.
    MSG message;
    while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        const bool ours = message.hwnd == dialog_ || IsChild(dialog_, message.hwnd);
        if (ours && IsKeyMessage(message.message)) {
            if (PreFilterKey(message)) continue;
        } else if (!(ours && IsCharacterMessage(message.message)) &&
                   IsDialogMessageW(dialog_, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Win32MainWindow::PreFilterKey(const MSG& message) {
    if (!events_) return false;
    // While a list is open the keys that close it or move in it are the list's, as in any
    // Windows dialog: Escape and Enter close it, the arrows move in it; Escape does not end the
    // program there, nor do these keys become part of a chord. Any other key goes where it goes
    // when the list is closed, so that a row's box never shows what was typed into it as if it
    // were its chord. The release of a key the list took is the list's too.
    const auto virtualKey = static_cast<std::uint8_t>(message.wParam & 0xFF);
    const bool press = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (press && IsListKey(virtualKey)) {
        const HWND parent = GetParent(message.hwnd);
        const HWND combo = IsComboBox(message.hwnd) ? message.hwnd
                           : IsComboBox(parent)     ? parent
                                                    : nullptr;
        const bool listOpen =
            combo != nullptr && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
        keysOfOpenList_.set(virtualKey, listOpen);
        if (listOpen) return false;
    } else if (keysOfOpenList_.test(virtualKey)) {
        keysOfOpenList_.reset(virtualKey);
        return false;
    }
    const KeyEvent key{static_cast<KeyEventKind>(message.message), virtualKey,
                       static_cast<std::uint8_t>((message.lParam >> 16) & 0xFF)};
    return events_->OnKeyEvent(key);
}

INT_PTR CALLBACK Win32MainWindow::DialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<Win32MainWindow*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        window->dialog_ = dialog;
        window->OnInitDialog();
        // The dialog manager puts the focus on the first tab stop, Save.
        return TRUE;
    }
    auto* window = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return window != nullptr ? window->OnMessage(message, wParam, lParam) : FALSE;
}

void Win32MainWindow::OnInitDialog() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_ =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    // Windows users look for About in the system menu; Close and Move read the same in
    // either language.
    if (const HMENU menu = GetSystemMenu(dialog_, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, kAboutText);
        ModifyMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, L"Close");
        ModifyMenuW(menu, SC_MOVE, MF_BYCOMMAND | MF_STRING, SC_MOVE, L"Move");
    }
    for (int id = ControlId::ValueBox1; id <= ControlId::ValueBox6; ++id) {
        MakeKeyCaptureComboBox(Control(id), dialog_);
    }
    progressText_ = Control(ControlId::ProgressText);
    progressBar_ = Control(ControlId::Progress);
    noticeText_ = Control(ControlId::Notice);
    markTips_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_,
                                nullptr, instance, nullptr);

    // The status line follows the keyboard: Windows tells of every HID interface that comes
    // or goes.
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    deviceNotification_ =
        RegisterDeviceNotificationW(dialog_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);

    events_ = makeEvents_(*this, executor_);
    events_->OnInitDialog();
}

INT_PTR Win32MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kTextEditMessage: {
            const auto& request = *reinterpret_cast<const TextEditRequest*>(lParam);
            const bool kept = events_ && events_->OnTextEdit(static_cast<int>(wParam),
                                                             Utf8FromWide(*request.before),
                                                             Utf8FromWide(*request.after));
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, kept ? TRUE : FALSE);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == noticeText_) {
                const auto context = reinterpret_cast<HDC>(wParam);
                SetTextColor(context, kNoticeColour);
                SetBkColor(context, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CONTEXTMENU:
            // From the keyboard (Shift+F10, the Menu key) the place is -1, -1.
            if (lParam == -1) {
                ShowContextMenu();
            } else {
                OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            }
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            // Statics and frames let a click through: it fell on the background or a label.
            if (events_) events_->OnBackgroundPressed();
            return FALSE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == kAboutCommand) {
                if (events_) events_->OnAboutCommand();
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            RequestClose();
            return TRUE;
        case WM_HELP:
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, events_ && events_->OnHelpRequest());
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(icon_);
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case kValueBoxPressedMessage:
            if (events_) events_->OnValueBoxPressed(static_cast<int>(wParam));
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, 0);
            return TRUE;
        case kClearKeyMessage:
            if (events_) events_->OnClearKey();
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, 0);
            return TRUE;
        case kRunTasksMessage:
            RunPostedTasks();
            return TRUE;
        case WM_DPICHANGED: {
            // Moved to a screen of another scale: the dialog manager has converted the dialog
            // units anew; the window takes the size and place Windows suggests for it.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(dialog_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        case WM_MOUSEWHEEL:
            // The wheel goes to the focused control, and from it to the dialog; over the rows
            // it scrolls them, as the scroll area under the pointer does in the Qt window.
            if (const HWND band = screenFit_.Band()) {
                RECT area{};
                GetWindowRect(band, &area);
                if (PtInRect(&area, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                    SendMessageW(band, message, wParam, lParam);
                    return TRUE;
                }
            }
            return FALSE;
        case WM_DEVICECHANGE:
            if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && events_) {
                events_->OnDevicesChanged();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void Win32MainWindow::OnCommand(int id, int code) {
    if (!events_) return;
    if (id == IDCANCEL && code == BN_CLICKED) {
        RequestClose();
    } else if (code == BN_CLICKED && (id == ControlId::Save || id == ControlId::Clear ||
                                      id == ControlId::GetDefinedKey)) {
        events_->OnButtonClicked(id);
    } else if (code == CBN_SETFOCUS) {
        // The dialog manager leaves the last focused button drawn as the default one when the
        // focus goes to a list: no button is, so only the focused control looks focused.
        for (const int button : {ControlId::Clear, ControlId::Save, ControlId::Exit}) {
            SendMessageW(Control(button), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
        if (ControlId::IsValueBox(id)) events_->OnFocusGained(id);
    } else if (code == CBN_KILLFOCUS && ControlId::IsValueBox(id)) {
        // A box without the focus shows no selection: only the focused one looks selected.
        SendMessageW(Control(id), CB_SETEDITSEL, 0, MAKELPARAM(0xFFFF, 0));
        events_->OnFocusLost(id);
    } else if (code == CBN_SELCHANGE) {
        events_->OnSelectionChanged(id);
    }
}

// The About box and the read-back of the keyboard's keys, whose button the window never shows,
// in a context menu of the window's background: the dialog itself, its labels and the Group
// Key frame, not the operable controls. Statics and frames let the click through to the
// dialog, so the dialog is where it arrives.
void Win32MainWindow::OnContextMenu(HWND clicked, LPARAM where) {
    if (clicked != dialog_) return;
    OpenContextMenu({GET_X_LPARAM(where), GET_Y_LPARAM(where)});
}

void Win32MainWindow::ShowContextMenu() {
    RECT place{};
    const HWND focused = Control(FocusedControl());
    GetWindowRect(focused != nullptr ? focused : dialog_, &place);
    OpenContextMenu({place.left, focused != nullptr ? place.bottom : place.top});
}

void Win32MainWindow::OpenContextMenu(POINT where) {
    if (!events_) return;
    const HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    // The entries' ids are their commands.
    for (const ContextMenuEntry& entry : ContextMenuTable) {
        if (entry.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING | (menuEntryDisabled_[entry.id] ? MF_GRAYED : 0),
                        static_cast<UINT_PTR>(entry.id), menuEntryTexts_[entry.id].c_str());
        }
    }
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, where.x,
                                      where.y, 0, dialog_, nullptr);
    DestroyMenu(menu);
    if (chosen != 0) events_->OnButtonClicked(chosen);
}

void Win32MainWindow::RequestClose() {
    if (events_ && !events_->OnCloseRequest()) return;
    Close();
}

void Win32MainWindow::Close() {
    if (ended_) return;
    // A flow writing the keyboard finishes its record and stops first.
    if (events_) events_->OnClosing();
    ended_ = true;
    ShowWindow(dialog_, SW_HIDE);
}

void Win32MainWindow::RunPostedTasks() {
    for (;;) {
        std::function<void()> task;
        {
            const std::lock_guard<std::mutex> lock(tasksMutex_);
            if (tasks_.empty()) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

HWND Win32MainWindow::Control(int id) const {
    if (id == ControlId::Unnamed) return nullptr;
    const HWND control = GetDlgItem(dialog_, id);
    return control != nullptr || screenFit_.Band() == nullptr ? control
                                                              : GetDlgItem(screenFit_.Band(), id);
}

bool Win32MainWindow::IsComboBox(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"ComboBox") == 0;
}

void Win32MainWindow::SetText(int id, const std::string& text) {
    if (ControlId::IsMenuEntry(id)) {
        menuEntryTexts_[id] = WideFromUtf8(text);
        return;
    }
    if (const HWND control = Control(id)) SetWindowTextW(control, WideFromUtf8(text).c_str());
}

std::string Win32MainWindow::GetText(int id) const {
    if (ControlId::IsMenuEntry(id)) {
        const auto entry = menuEntryTexts_.find(id);
        return entry == menuEntryTexts_.end() ? std::string() : Utf8FromWide(entry->second);
    }
    const HWND control = Control(id);
    return control != nullptr ? Utf8FromWide(WindowText(control)) : std::string();
}

void Win32MainWindow::ClearList(int id) {
    if (const HWND control = Control(id)) SendMessageW(control, CB_RESETCONTENT, 0, 0);
}

void Win32MainWindow::AddListItem(int id, const std::string& text) {
    if (const HWND control = Control(id)) {
        const std::wstring item = WideFromUtf8(text);
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        WidenListToTexts(control);
    }
}

int Win32MainWindow::ListCount(int id) const {
    const HWND control = Control(id);
    if (control == nullptr || !IsComboBox(control)) return 0;
    const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string Win32MainWindow::ListItem(int id, int index) const {
    const HWND control = Control(id);
    if (control == nullptr || index < 0 || index >= ListCount(id)) return {};
    const LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    return Utf8FromWide(item);
}

void Win32MainWindow::SelectListIndex(int id, int index) {
    // An index the list does not have leaves it without a selection, as CB_SETCURSEL does.
    if (const HWND control = Control(id)) SendMessageW(control, CB_SETCURSEL, index, 0);
}

int Win32MainWindow::SelectedListIndex(int id) const {
    const HWND control = Control(id);
    if (control == nullptr || !IsComboBox(control)) return -1;
    const LRESULT index = SendMessageW(control, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32MainWindow::SetVisible(int id, bool visible) {
    if (const HWND control = Control(id)) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

bool Win32MainWindow::IsVisible(int id) const {
    const HWND control = Control(id);
    return control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32MainWindow::SetChecked(int id, bool checked) {
    if (Control(id) != nullptr) CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32MainWindow::IsChecked(int id) const {
    return Control(id) != nullptr && IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void Win32MainWindow::SetFocus(int id) {
    // Through the dialog manager, so that a focused push button is drawn as the one Space
    // presses. The behaviour moves the focus on Tab where the dialog manager would have, and,
    // as it would, the controls then draw their focus: the owner sees where the keys go.
    if (const HWND control = Control(id)) {
        SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        SendMessageW(dialog_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        screenFit_.ShowControl(control);
    }
}

int Win32MainWindow::FocusedControl() const {
    // A combo box's edit field is its child: the box is the control, a child of the dialog or
    // of its scrolling rows.
    for (HWND window = GetFocus(); window != nullptr; window = GetParent(window)) {
        const HWND parent = GetParent(window);
        if (parent == dialog_ && window != screenFit_.Band()) return GetDlgCtrlID(window);
        if (parent == screenFit_.Band() && parent != nullptr) return GetDlgCtrlID(window);
    }
    return 0;
}

void Win32MainWindow::SetAccessibleText(int id, const std::string& name,
                                        const std::string& description) {
    const HWND control = Control(id);
    if (control == nullptr) return;
    if (accessibility_ == nullptr) {
        // Once, on the window's thread: dynamic annotation is a COM service.
        if (!comStarted_)
            comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        void* services = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, &services))) {
            return;
        }
        accessibility_ = static_cast<IAccPropServices*>(services);
        // The status line is a status bar and the refusal line an alert: screen readers speak
        // them when they change.
        const std::pair<int, LONG> roles[] = {{ControlId::Status, ROLE_SYSTEM_STATUSBAR},
                                              {ControlId::Notice, ROLE_SYSTEM_ALERT}};
        for (const auto& [line, role] : roles) {
            VARIANT value;
            VariantInit(&value);
            value.vt = VT_I4;
            value.lVal = role;
            accessibility_->SetHwndProp(Control(line), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE,
                                        value);
        }
    }
    const std::pair<const MSAAPROPID*, const std::string*> properties[] = {
        {&PROPID_ACC_NAME, &name}, {&PROPID_ACC_DESCRIPTION, &description}};
    for (const auto& [property, text] : properties) {
        if (text->empty()) {
            accessibility_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, property, 1);
        } else {
            accessibility_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, *property,
                                           WideFromUtf8(*text).c_str());
        }
    }
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

HeldModifiers Win32MainWindow::Modifiers() const {
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
}

void Win32MainWindow::SetValueEntry(int id, ValueEntry entry) {
    if (!ControlId::IsValueBox(id)) return;
    if (const HWND control = Control(id)) SetTypedText(control, entry == ValueEntry::TypedText);
}

void Win32MainWindow::SetCaption(const std::string& text) {
    SetWindowTextW(dialog_, WideFromUtf8(text).c_str());
}

void Win32MainWindow::SetRecording(int id, bool recording) {
    if (!ControlId::IsValueBox(id)) return;
    if (const HWND control = Control(id)) SetRecordingColour(control, recording);
}

void Win32MainWindow::SetToolTip(int id, const std::string& text) {
    toolTips_[id] = WideFromUtf8(text);
    ShowTip(id);
}

// The message box's Yes, No and Cancel become Save, Discard and Cancel in the window's
// language: its buttons are renamed as it is activated, before it is drawn.
UnsavedAnswer Win32MainWindow::AskUnsaved(const UnsavedQuestion& question) {
    static thread_local const UnsavedQuestion* asking = nullptr;
    static thread_local HHOOK hook = nullptr;
    asking = &question;
    hook = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_ACTIVATE && asking != nullptr) {
                const auto box = reinterpret_cast<HWND>(wParam);
                SetDlgItemTextW(box, IDYES, WideFromUtf8(asking->saveButton).c_str());
                SetDlgItemTextW(box, IDNO, WideFromUtf8(asking->discardButton).c_str());
                SetDlgItemTextW(box, IDCANCEL, WideFromUtf8(asking->cancelButton).c_str());
                asking = nullptr;
            }
            return CallNextHookEx(hook, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    const std::string body = question.text + "\n\n" + question.detail;
    const int answer =
        MessageBoxW(dialog_, WideFromUtf8(body).c_str(), WideFromUtf8(question.caption).c_str(),
                    MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    hook = nullptr;
    asking = nullptr;
    if (answer == IDYES) return UnsavedAnswer::Save;
    if (answer == IDNO) return UnsavedAnswer::Discard;
    return UnsavedAnswer::Cancel;
}

// The box's field takes a warning colour; the reason shows as a tip over the field.
void Win32MainWindow::SetMark(int id, const std::string& reason) {
    const HWND control = Control(id);
    if (!ControlId::IsValueBox(id) || control == nullptr) return;
    SetMarked(control, !reason.empty());
    markReasons_[id] = WideFromUtf8(reason);
    ShowTip(id);
}

void Win32MainWindow::ShowTip(int id) {
    const HWND control = Control(id);
    const HWND edit = control != nullptr ? GetDlgItem(control, kEditFieldId) : nullptr;
    if (edit == nullptr || markTips_ == nullptr) return;
    std::wstring text = markReasons_[id].empty() ? toolTips_[id] : markReasons_[id];
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(edit);
    tool.lpszText = text.data();
    SendMessageW(markTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty()) SendMessageW(markTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32MainWindow::ShowNotice(const std::string& text) {
    SetWindowTextW(noticeText_, WideFromUtf8(text).c_str());
    ShowWindow(noticeText_, text.empty() ? SW_HIDE : SW_SHOW);
    if (!text.empty()) NotifyWinEvent(EVENT_SYSTEM_ALERT, noticeText_, OBJID_CLIENT, CHILDID_SELF);
}

void Win32MainWindow::SetEnabled(int id, bool enabled) {
    if (ControlId::IsMenuEntry(id)) menuEntryDisabled_[id] = !enabled;
    if (const HWND control = Control(id)) EnableWindow(control, enabled);
}

void Win32MainWindow::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    POINT cursor;
    GetCursorPos(&cursor);
    SetCursorPos(cursor.x, cursor.y);  // the cursor takes its new shape at once
}

void Win32MainWindow::ShowProgress(const std::string& text, int step, int steps) {
    const bool shown = steps > 0;
    SetWindowTextW(progressText_, WideFromUtf8(text).c_str());
    SendMessageW(progressBar_, PBM_SETRANGE32, 0, steps > 0 ? steps : 1);
    SendMessageW(progressBar_, PBM_SETPOS, shown ? step : 0, 0);
    ShowWindow(progressText_, shown ? SW_SHOW : SW_HIDE);
    ShowWindow(progressBar_, shown ? SW_SHOW : SW_HIDE);
}

void Win32MainWindow::ShowMessage(const std::string& text, const std::string& caption,
                                  MessageIcon icon, const std::string& detail) {
    const std::string body = detail.empty() ? text : text + "\n\n" + detail;
    MessageBoxW(dialog_, WideFromUtf8(body).c_str(), WideFromUtf8(caption).c_str(),
                MB_OK | (icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0));
}

void Win32MainWindow::SetLanguage(std::int32_t language) {
    language_ = language;
    SetThreadUILanguage(language != 0 ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                                      : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

void Win32MainWindow::ShowAbout() {
    ShowAboutBox(dialog_, kIconResource, language_);
}

void Win32MainWindow::SetKeyboardInputSource(KeyboardInputSource source) {
    keyboardInput_ = std::move(source);
}

void Win32MainWindow::ShowKeyTester(const KeySlotsModel& model, std::int32_t language) {
    std::string error;
    std::unique_ptr<KeyboardInput> input =
        keyboardInput_ ? keyboardInput_(language, error) : nullptr;
    if (!input) {
        ShowMessage(error, std::string(KeyTesterPhraseText(KeyTesterPhrase::Title, language)),
                    MessageIcon::Exclamation, {});
        return;
    }
    ShowKeyTesterWindow(dialog_, std::move(input), model, language);
}

std::filesystem::path Win32MainWindow::AskFileName(const FileQuestion& question) {
    const bool save = question.purpose == FileQuestion::Purpose::Save;
    const std::wstring extension = WideFromUtf8(question.extension);
    const std::wstring pattern = L"*." + extension;
    // Pairs of a name and its patterns, each ended by a null, the list by a second one.
    std::wstring filter = WideFromUtf8(question.typeName) + L" (" + pattern + L")";
    filter += L'\0' + pattern + L'\0' + WideFromUtf8(question.allFilesName) + L" (*.*)";
    filter += std::wstring(1, L'\0') + L"*.*" + L'\0';
    const std::wstring title = WideFromUtf8(question.title);
    // Room for the longest path Windows takes.
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = dialog_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return {};
    file.resize(wcsnlen(file.c_str(), file.size()));
    return std::filesystem::path(file);
}

}  // namespace varnok
