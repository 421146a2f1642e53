#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "device/KeyboardInput.h"

class QListWidget;

namespace varnok {

class KeySlotsModel;

// The window's key tester on Qt: a list that gains a line per press of the keyboard's keys
// (the time, what arrived, which row defines it). The core's tester runs on a worker thread
// over the keyboard's input, which it reads only while the dialog is open.
class QtKeyTesterDialog : public QDialog {
    Q_OBJECT

public:
    // `model` must outlive the dialog and stay unchanged while it is open (it is modal).
    QtKeyTesterDialog(std::unique_ptr<KeyboardInput> input, const KeySlotsModel& model,
                      std::int32_t language, QWidget* parent);
    ~QtKeyTesterDialog() override;

    QListWidget* Lines() const { return lines_; }

private:
    void AddLine(const QString& line);

    QListWidget* lines_;
    std::unique_ptr<KeyboardInput> input_;
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

}  // namespace varnok
