#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "keys/KeyRecord.h"
#include "keys/KeyReport.h"
#include "keys/KeyReportList.h"
#include "keys/KeySlots.h"
#include "keys/UsKeyboardLayout.h"
#include "store/SettingChange.h"
#include "store/SlotMap.h"

namespace varnok {

// The seven key slots as the user defines them: each slot's key reports, the text its row
// shows, whether it holds a definition, its function mode (0 Normal, 1 Once, 2 String; slot 0
// is always Normal), and the slot map that keeps texts and definitions in msmap.dat between
// runs. The window, the save, clear and read-back flows, the key capture and the command line
// all work on one of these; none of them reaches into another's state.
//
// Slots outside 0..6 are ignored by every operation and read as empty.
// A String row that shows less than the slot was given, because the keyboard types only what
// the row shows: msmap.dat stores a text with characters no key types or more than 14 of them,
// or the keyboard holds keys in the string that type no character.
struct StringShortfall {
    enum class Source { StoredText, ReadBackKeys };
    Source source;
    // StoredText: the text msmap.dat holds for the slot.
    std::string storedText;
};

class KeySlotsModel {
public:
    explicit KeySlotsModel(SlotMap slotMap);

    // Reads msmap.dat and restores every slot's text, report and defined state from it; a slot
    // without an entry is left as it is. The result is the slot map's load result: a file that
    // cannot be loaded leaves every slot as it is and is never written (see SlotMap::Load).
    FileResult Load();
    // Once the rows' modes are known after Load: a String row whose stored text the keyboard
    // does not type whole shows what it types instead, with the shortfall noted. msmap.dat
    // keeps the stored text until the next save.
    void ShowTypedStrings();
    // Writes msmap.dat with every slot map entry (see SlotMap::Save). A key another program
    // saved into the file since this model read it is then the file's: its slot takes the
    // entry as Load would, so that the keyboard gets what the file holds.
    FileResult SaveStore(std::span<const SettingChange> settings = {});
    // Every row's function mode as the settings keep it, for a change that writes them with
    // the map.
    std::vector<SettingChange> FunctionModeSettings() const;
    // When the last SaveStore wrote msmap.dat where it stands without a journal (see
    // SlotMap::Unguarded).
    const std::optional<FileResult>& Unguarded() const { return slotMap_.Unguarded(); }
    // Undoing a change of the store: msmap.dat and the settings become what this model holds, as
    // one change. PutBackStore writes the file's bytes as they were (none: no file); RevertStore
    // starts from now, the map as the window last read or wrote it, and keeps a key another
    // program saved since.
    FileResult PutBackStore(const std::optional<std::vector<std::uint8_t>>& bytes,
                            std::span<const SettingChange> settings);
    FileResult RevertStore(const SlotMap& now, std::span<const SettingChange> settings);
    // The slots the last SaveStore took from the file, in slot order.
    const std::vector<int>& SlotsChangedElsewhere() const { return changedElsewhere_; }
    // What the last SaveStore kept of a file that ended in part of a record (see
    // SlotMap::KeptCopy).
    const std::optional<FileResult>& KeptCopy() const { return slotMap_.KeptCopy(); }
    const SlotMap& Map() const { return slotMap_; }

    // The layout the computer types the String rows with: their texts are checked, encoded
    // and read back by it. The US table until one is set; the layout must outlive the model.
    void SetLayout(const KeyboardLayout& layout) { layout_ = &layout; }
    const KeyboardLayout& Layout() const { return *layout_; }

    const std::string& Text(int slot) const;
    bool IsDefined(int slot) const;
    // How many chords were stored into the slot since it was last emptied (0: none).
    int DefinedCount(int slot) const;
    const KeyReportList& Reports(int slot) const;
    // What a String row shows less than it was given; none once the slot changes.
    const std::optional<StringShortfall>& Shortfall(int slot) const;
    std::int32_t FunctionMode(int slot) const;
    void SetFunctionMode(int slot, std::int32_t mode);
    // Bit n-1 set for each row n whose mode is Once.
    std::uint8_t OnceMask() const;

    // What a user does to one slot.
    // Empties the slot: no text, no reports, no slot map entry.
    void ForgetSlot(int slot);
    // Takes the slot's record out of msmap.dat as the file is now, leaving every other record
    // as it is there.
    FileResult ForgetStoredSlot(int slot) const;
    // The Clear button: every slot forgets its definition; slot 0 keeps its (hidden) text.
    void ForgetAll();
    // Picks a command item of CommandItemTable; "Default" (item 0) stands for a mouse click
    // in rows 1..3 and for nothing in rows 4..6.
    void DefineCommandItem(int slot, std::size_t itemIndex);
    // Defines the slot as one chord with the text the window shows for it. A text longer than
    // msmap.dat's text field is shortened to what the field keeps, here as for a captured chord.
    void DefineChord(int slot, const KeyReport& report, const std::string& text);
    // The text the user typed or left in the slot's field; it changes no definition by itself.
    void TakeText(int slot, std::string text);

    // The steps of capturing a chord key by key (see KeyChordCapture).
    bool AddChordKey(int slot, std::uint8_t keyCode);
    void RemoveChordKey(int slot, std::uint8_t keyCode);
    // PrintScreen is a chord by itself: the slot's reports restart with it alone.
    void RestartChordWith(int slot, std::uint8_t keyCode);
    void RecordChord(int slot);
    // A chord begun but never released (the focus moved away): its keys and names go, and a
    // slot that held no chord before it is empty again.
    void AbandonChord(int slot);
    void AppendText(int slot, const std::string& text);
    // A chord was released: the slot counts as defined, and its first report and text go into
    // the slot map.
    void StoreCapturedChord(int slot);

    // What the keyboard returned for a slot (see ReadBackAllKeys). Each takes the definition
    // into the slot map too, so that the next Save and the next start agree with the keyboard;
    // a string that types nothing leaves the slot without a text or an entry, as an empty one.
    void TakeReadBackEmpty(int slot);
    void TakeReadBackString(int slot, const std::string& text,
                            std::span<const std::uint8_t> payload);
    void TakeReadBackReport(int slot, const KeyReport& report, const std::string& text);

    // Before a save: each String row whose text encodes to something keeps that text in the
    // slot map, so that the next start shows what the keyboard was given.
    void KeepTypedStrings();
    // The record Save sends for the slot. Changes nothing.
    KeyRecord RecordOf(int slot) const;

private:
    struct Slot {
        KeyReportList reports;
        std::string text;
        int definedCount = 0;
        std::int32_t functionMode = 0;
        std::optional<StringShortfall> shortfall;
    };

    static bool Valid(int slot) { return slot >= 0 && slot < kSlotCount; }
    // Stores the slot's first recorded report and its text in the slot map, the text
    // shortened to what msmap.dat's text field keeps.
    void KeepFirstReport(int slot);

    // The slot takes its msmap.dat entry's text and report, if the file has one.
    void TakeStoredEntry(int slot);

    SlotMap slotMap_;
    std::array<Slot, kSlotCount> slots_{};
    std::vector<int> changedElsewhere_;
    const KeyboardLayout* layout_ = &UsKeyboardLayout();
};

}  // namespace varnok
