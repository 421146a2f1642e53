#include "ui/win/KeyTesterWindow.h"

#include <array>
#include <atomic>
#include <cwchar>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "keys/KeyTesterRun.h"
#include "keys/KeyTesterTexts.h"
#include "store/win/WideText.h"
#include "ui/DialogTemplate.h"
#include "ui/win/InMemoryDialogTemplate.h"

namespace varnok {
namespace {

constexpr int kPromptId = 100;
constexpr int kLinesId = 101;
constexpr int kCloseId = 102;
// The worker has lines waiting for the list.
constexpr UINT kLinesWaiting = WM_APP + 1;
// Where the list goes, in dialog units (the dialog manager places the template's controls).
constexpr RECT kLinesRect = {7, 27, 313, 178};

using enum ControlKind;
using namespace ControlStyle;

// clang-format off
constexpr std::array kControls{
    //                    id         kind        x    y    w    h   text  style
    DialogControlTemplate{kPromptId, StaticText, 7,   7,   306, 16, "",   NoPrefix},
    DialogControlTemplate{kCloseId,  PushButton, 263, 183, 50,  14, "",   TabStop | Group},
};
// clang-format on

constexpr DialogTemplate kTemplate{0, "", 320, 204, 9, kControls};

struct Session {
    std::unique_ptr<KeyboardInput> input;
    const KeySlotsModel* model;
    std::int32_t language;
    HWND lines = nullptr;
    std::atomic<bool> stop{false};
    std::thread worker;
    std::mutex mutex;
    std::vector<std::wstring> waiting;  // lines for the list, guarded by mutex
};

std::wstring Text(KeyTesterPhrase phrase, std::int32_t language) {
    return WideFromUtf8(KeyTesterPhraseText(phrase, language));
}

// Runs on the worker: hands a line to the window's thread.
void Hand(Session& session, HWND dialog, std::wstring line) {
    {
        const std::lock_guard lock(session.mutex);
        session.waiting.push_back(std::move(line));
    }
    PostMessageW(dialog, kLinesWaiting, 0, 0);
}

std::wstring Now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    wchar_t text[16];
    std::swprintf(text, 16, L"%02u:%02u:%02u", time.wHour, time.wMinute, time.wSecond);
    return text;
}

void AddLines(Session& session) {
    std::vector<std::wstring> lines;
    {
        const std::lock_guard lock(session.mutex);
        lines.swap(session.waiting);
    }
    for (const std::wstring& line : lines) {
        SendMessageW(session.lines, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    const LRESULT count = SendMessageW(session.lines, LB_GETCOUNT, 0, 0);
    if (count > 0) SendMessageW(session.lines, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
}

void Start(Session& session, HWND dialog) {
    SetWindowTextW(dialog, Text(KeyTesterPhrase::Title, session.language).c_str());
    SetDlgItemTextW(dialog, kPromptId, Text(KeyTesterPhrase::Prompt, session.language).c_str());
    SetDlgItemTextW(dialog, kCloseId, Text(KeyTesterPhrase::Close, session.language).c_str());
    RECT rect = kLinesRect;
    MapDialogRect(dialog, &rect);
    session.lines = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"LISTBOX", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinesId)), GetModuleHandleW(nullptr),
        nullptr);
    SendMessageW(session.lines, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    for (const std::string& notice : session.input->Notices()) {
        Hand(session, dialog, WideFromUtf8(notice));
    }
    // The keys under test reach the list, which takes none of them.
    SetFocus(session.lines);
    session.worker = std::thread([&session, dialog] {
        const std::string failure = RunKeyTester(
            *session.input, *session.model, session.stop, [&](const TesterEvent& event) {
                Hand(session, dialog,
                     Now() + L"  " + WideFromUtf8(KeyTesterLine(event, session.language)));
                return true;
            });
        if (failure.empty()) return;
        std::wstring ended = Text(KeyTesterPhrase::Ended, session.language);
        const std::size_t at = ended.find(L"%1");
        if (at != std::wstring::npos) ended.replace(at, 2, WideFromUtf8(failure));
        Hand(session, dialog, std::move(ended));
    });
}

INT_PTR CALLBACK TesterProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* session = reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (session == nullptr && message != WM_INITDIALOG) return FALSE;
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            Start(*reinterpret_cast<Session*>(lParam), dialog);
            return FALSE;  // the focus is set
        case kLinesWaiting:
            AddLines(*session);
            return TRUE;
        case WM_COMMAND:
            // Enter and Escape come as IDOK and IDCANCEL: keys under test, not an end.
            if (LOWORD(wParam) != kCloseId) return FALSE;
            [[fallthrough]];
        case WM_CLOSE:
            // The input closes with the window, after the worker has let go of it.
            session->stop = true;
            if (session->worker.joinable()) session->worker.join();
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowKeyTesterWindow(HWND owner, std::unique_ptr<KeyboardInput> input,
                         const KeySlotsModel& model, std::int32_t language) {
    Session session;
    session.input = std::move(input);
    session.model = &model;
    session.language = language;
    const std::vector<std::uint16_t> tester = InMemoryDialogTemplate(kTemplate, 0);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(tester.data()), owner,
                            TesterProcedure, reinterpret_cast<LPARAM>(&session));
    session.stop = true;
    if (session.worker.joinable()) session.worker.join();
}

}  // namespace varnok
