#pragma once

#include <string>
#include <vector>

#include "ui/DialogEvents.h"

namespace varnok {

// The window's behaviour replaced by a log of what the window reported, one line per call:
// "init", "button 1000", "focus 1024", "press 1024",
// "left 1024", "select 1031", "clear", "help", "about", "key 256 65",
// "close request", "closing".
class RecordingEvents : public DialogEvents {
public:
    void OnInitDialog() override { log.push_back("init"); }
    void OnButtonClicked(int id) override { log.push_back("button " + std::to_string(id)); }
    void OnFocusGained(int id) override { log.push_back("focus " + std::to_string(id)); }
    void OnValueBoxPressed(int id) override { log.push_back("press " + std::to_string(id)); }
    void OnBackgroundPressed() override { log.push_back("background"); }
    void OnFocusLost(int id) override { log.push_back("left " + std::to_string(id)); }
    void OnSelectionChanged(int id) override { log.push_back("select " + std::to_string(id)); }
    void OnClearKey() override { log.push_back("clear"); }
    bool OnHelpRequest() override {
        log.push_back("help");
        return true;
    }
    void OnAboutCommand() override { log.push_back("about"); }
    bool OnKeyEvent(const KeyEvent& message) override {
        log.push_back("key " + std::to_string(static_cast<unsigned>(message.kind)) + " " +
                      std::to_string(message.virtualKey));
        return false;
    }
    void OnDevicesChanged() override { log.push_back("devices changed"); }
    bool OnCloseRequest() override {
        log.push_back("close request");
        return true;
    }
    void OnClosing() override { log.push_back("closing"); }
    bool OnTextEdit(int id, const std::string& before, const std::string& after) override {
        log.push_back("edit " + std::to_string(id) + " " + before + " > " + after);
        return true;
    }

    std::vector<std::string> log;
};

}  // namespace varnok
