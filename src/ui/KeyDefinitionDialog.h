#pragma once

#include "app/SettingsStore.h"
#include "device/KeyboardLink.h"
#include "keys/CaptureState.h"
#include "keys/KeyChordCapture.h"
#include "keys/KeyReportList.h"
#include "keys/MessageTexts.h"
#include "keys/RowTexts.h"
#include "store/SlotMap.h"
#include "ui/DialogControls.h"
#include "ui/DialogEvents.h"

#include <array>
#include <cstdint>
#include <string>

namespace varnok {

// The behaviour of the main key-definition window, toolkit-free: it drives the window's
// controls through DialogControls and reacts to what the platform reports through
// DialogEvents. It owns everything the key-definition model works on: the seven slots' key
// reports, row texts and defined flags, the slot map, the keyboard link and the capture state.
class KeyDefinitionDialog : public DialogEvents {
public:
    static constexpr int kMaxRowTextLength = 18;

    // applicationName is the caption of the window's own message boxes (the executable's
    // base name).
    KeyDefinitionDialog(DialogControls& controls, SettingsStore& settings, HidPlatform& hid,
                        SlotMap slotMap, std::string applicationName);
    ~KeyDefinitionDialog() override;

    // DialogEvents
    void OnInitDialog() override;
    void OnButtonClicked(int id) override;
    void OnFocusGained(int id) override;
    void OnSelectionChanged(int id) override;
    void OnClearKey() override;
    bool OnHelpRequest() override;
    void OnAboutCommand() override;
    bool OnKeyMessage(const KeyMessage& message) override;

    // Members to controls.
    void Refresh();
    // Controls to members; false (after telling the user) when a value text is too long.
    bool Collect();
    void ResetCapture();
    void RestoreFunctionModes();
    void ApplyLanguage();
    void ApplyKeyCount();
    void ClearCurrentSlot();
    // Bit n-1 set when row n's function list has Once selected.
    std::uint8_t OnceMask() const;

    // The row operations.
    void FocusRow(int slot);
    void PickCommandItem(int slot);
    void ChangeFunctionMode(int row);

    // The function mode of a slot as its list shows it (0 Normal, 1 Once, 2 String, -1 none);
    // slot 0 is always Normal.
    int FunctionMode(int slot) const;
    // Selects a mode in a row's list and stores it, as a read-back does.
    void StoreFunctionMode(int row, int mode);

    // Shows one of the flows' messages in the window's language, with an OK button only.
    void ShowMessage(MessageId id);

    DialogControls& Controls() { return controls_; }
    SettingsStore& Settings() { return settings_; }
    std::int32_t Language() const { return language_; }
    int CurrentSlot() const { return currentSlot_; }
    RowTexts& Texts() { return rowTexts_; }
    std::array<std::int32_t, 7>& DefinedFlags() { return slotDefinedFlags_; }
    std::array<KeyReportList, 7>& SlotReports() { return slotReports_; }
    SlotMap& Map() { return slotMap_; }
    KeyboardLink& Link() { return keyboardLink_; }
    // The HID platform the link runs on; the read-back flow paces its reads on it.
    HidPlatform& Hid() { return hid_; }
    std::array<std::uint8_t, 10>& ReadBackRecord() { return readBackRecord_; }
    CaptureState& Capture() { return capture_; }
    bool CtrlChecked() const { return ctrlChecked_ != 0; }
    bool AltChecked() const { return altChecked_ != 0; }
    bool ShiftChecked() const { return shiftChecked_ != 0; }
    const std::string& PromptText() const { return promptText_; }
    const std::string& HeadingText() const { return headingText_; }

private:
    // What the user typed into String rows is in their value boxes only until the next
    // Collect; the row operations refresh every row from the members, so they take it first.
    void TakeTypedTexts();

    // Notifications that arrive while the window moves data to or from its controls are its
    // own doing, not the user's.
    class ExchangeGuard;

    DialogControls& controls_;
    SettingsStore& settings_;
    HidPlatform& hid_;
    std::string applicationName_;
    bool exchanging_ = false;

    std::int32_t language_ = 0;
    std::array<std::uint8_t, 10> readBackRecord_{};
    std::int32_t ctrlChecked_ = 0;
    std::int32_t altChecked_ = 0;
    std::int32_t shiftChecked_ = 0;
    std::string promptText_;
    std::string headingText_;
    CaptureState capture_;
    KeyChordCapture chordCapture_{*this};
    SlotMap slotMap_;
    std::array<KeyReportList, 7> slotReports_;
    int currentSlot_ = 0;
    KeyboardLink keyboardLink_;

    RowTexts rowTexts_{};
    std::array<std::int32_t, 7> slotDefinedFlags_{};
};

}  // namespace varnok
