#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/HidPlatform.h"
#include "device/KeyboardFailure.h"

namespace varnok {

// The program's only path to the keyboard: finds it among the HID interfaces and moves byte
// blocks to it and page reports from it in 8-byte feature reports with report id 6. It knows
// nothing of what the bytes mean.
//
// The device handle and the qualifying collection belong to the link object, not to the
// process: each window owns its own link.
class KeyboardLink {
public:
    // A block length travels in one byte on the caller's side of the protocol.
    static constexpr std::size_t kMaxBlockLength = 255;

    // The collection through which an interface is the keyboard: its place among the
    // interface's top-level collections, counted from 0, and what it is.
    struct QualifyingCollection {
        std::size_t index = 0;
        HidCollection collection;
        bool operator==(const QualifyingCollection&) const = default;
    };
    // The first collection with the keyboard's 8-byte feature reports; nullopt when none has
    // them. An interface of an accepted device qualifies exactly when this finds one.
    static std::optional<QualifyingCollection> FindQualifyingCollection(
        std::span<const HidCollection> collections);

    explicit KeyboardLink(HidPlatform& platform);
    ~KeyboardLink();
    KeyboardLink(const KeyboardLink&) = delete;
    KeyboardLink& operator=(const KeyboardLink&) = delete;

    // True when a keyboard is open afterwards. An open link stays as it is; otherwise every
    // HID interface is examined in enumeration order and the first accepted one is taken.
    bool Open();
    // Closes the keyboard if one is open; the selected page is kept.
    void Close();
    // Sends the block as data reports of 7 bytes, the last one padded with zeros, pausing
    // 200 ms between two reports and not after the last. False when no keyboard is open (no
    // search is tried), when the block is longer than kMaxBlockLength (nothing is sent), or
    // when a report is refused, which also closes the link.
    bool WriteBlock(std::span<const std::uint8_t> block);
    // Fetches the next report of the page into buffer, opening the keyboard first if needed.
    // A page-select report precedes the get only when the page differs from the one selected
    // last on this link. A refused select or get leaves the link open.
    bool ReadPage(std::uint8_t page, FeatureReport* buffer);
    bool IsOpen() const;
    // Waits on the platform's clock, as the protocol's pauses do (the simulated keyboard's
    // tests run it on a virtual clock).
    void Pause(int milliseconds);
    // The collection that qualified the interface the last search took (its feature report
    // length is 8); nullopt before any search and after one that found no keyboard.
    const std::optional<QualifyingCollection>& Collection() const;
    // The path of the interface the last search took (a hidraw node, a Windows device path);
    // empty before any search and after one that found no keyboard.
    const std::string& InterfacePath() const { return path_; }
    // Why the last Open, WriteBlock or ReadPage failed, as the system said; nullopt after one
    // that succeeded or that found no keyboard to fail on. A search counts the failures of
    // interfaces known to be the keyboard (by ids listed beforehand or read), not of others.
    const std::optional<KeyboardFailure>& LastFailure() const { return failure_; }

private:
    // Examines one interface; true when it is the keyboard and is now the link's handle.
    bool TakeIfKeyboard(const HidInterface& hidInterface);
    bool SendReport(const FeatureReport& report);
    // Keeps the platform's reason for the call that just failed; returns false.
    bool Fail(KeyboardFailure::Step step, const std::string& path);

    HidPlatform& platform_;
    HidHandle handle_ = kNoHidHandle;
    std::optional<QualifyingCollection> collection_;
    std::string path_;
    std::optional<KeyboardFailure> failure_;
    std::uint8_t lastSelectedPage_;
};

}  // namespace varnok
