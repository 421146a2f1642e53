#include "support/WindowHarness.h"

#include "support/PrivateTestState.h"
#include "ui/ControlIds.h"

namespace varnok {

// Every test that saves keys does so in a state folder of its own.
[[maybe_unused]] static const bool kPrivateState = UsePrivateTestState();

void FocusReportingControls::SetFocus(int id) {
    const int previous = focused;
    MemoryDialogControls::SetFocus(id);
    if (events == nullptr) return;
    if (ControlId::IsValueBox(previous) && previous != id) events->OnFocusLost(previous);
    events->OnFocusGained(id);
}

WindowHarness::WindowHarness() {
    // The template creates these two hidden.
    controls.SetVisible(1019, false);
    controls.SetVisible(1030, false);
}

MainWindowBehaviour& WindowHarness::Start() {
    window = std::make_unique<MainWindowBehaviour>(
        controls, settings, keyboard,
        KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
        "varnok");
    controls.events = window.get();
    window->SetSystemLanguage(systemLanguage);
    if (layoutSource != nullptr) window->SetLayoutSource(*layoutSource);
    window->OnInitDialog();
    return *window;
}

void WindowHarness::Choose(int list, int index) {
    controls.SelectListIndex(list, index);
    window->OnSelectionChanged(list);
}

void WindowHarness::Focus(int valueBox) {
    controls.SetFocus(valueBox);
    window->OnValueBoxPressed(valueBox);
}

void WindowHarness::Type(int valueBox, const std::string& text) {
    Focus(valueBox);
    if (controls.At(valueBox).entry != ValueEntry::TypedText) {
        controls.SetText(valueBox, controls.GetText(valueBox) + text);
        return;
    }
    for (std::size_t i = 0; i < text.size();) {
        // One UTF-8 character: its lead byte and the continuation bytes after it.
        std::size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
            ++length;
        const std::string before = controls.GetText(valueBox);
        const std::string after = before + text.substr(i, length);
        if (window->OnTextEdit(valueBox, before, after)) controls.SetText(valueBox, after);
        i += length;
    }
}

void WindowHarness::Backspace(int valueBox) {
    const std::string before = controls.GetText(valueBox);
    std::size_t cut = before.empty() ? 0 : before.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(before[cut]) & 0xC0) == 0x80) --cut;
    const std::string after = before.substr(0, cut);
    if (window->OnTextEdit(valueBox, before, after)) controls.SetText(valueBox, after);
}

void WindowHarness::Press(std::uint8_t virtualKey, std::uint8_t scanByte) {
    window->OnKeyEvent({KeyEventKind::KeyDown, virtualKey, scanByte});
}

void WindowHarness::Release(std::uint8_t virtualKey, std::uint8_t scanByte) {
    window->OnKeyEvent({KeyEventKind::KeyUp, virtualKey, scanByte});
}

void WindowHarness::Chord(const std::vector<std::pair<std::uint8_t, std::uint8_t>>& keys) {
    for (const auto& [virtualKey, scanByte] : keys) Press(virtualKey, scanByte);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) Release(it->first, it->second);
}

void WindowHarness::Click(int button) {
    window->OnButtonClicked(button);
}

std::vector<std::uint8_t> WindowHarness::Reports(int slot) {
    std::array<std::uint8_t, 64> buffer{};
    std::size_t copied = 0;
    if (!window->Model().Reports(slot).CopyReports(buffer, copied)) return {};
    return std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + copied);
}

std::vector<std::string> WindowHarness::Messages() const {
    std::vector<std::string> shown;
    for (const auto& message : controls.messages)
        shown.push_back(message.caption + ": " + message.text);
    return shown;
}

}  // namespace varnok
