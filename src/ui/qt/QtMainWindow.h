#pragma once

#include <QDialog>
#include <QEvent>
#include <QTranslator>
#include <functional>
#include <map>
#include <memory>

#include "device/KeyboardInput.h"
#include "ui/DialogControls.h"
#include "ui/DialogEvents.h"
#include "ui/ThreadFlowExecutor.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QProgressBar;

namespace varnok {

class ScrollingRows;

// The main key-definition window on Qt: a modal dialog built from the key dialog template.
// It is the DialogControls of the window's behaviour and reports what the user does to that
// behaviour's DialogEvents; it decides nothing itself.
class QtMainWindow : public QDialog, public DialogControls {
    Q_OBJECT

public:
    // Makes the window's behaviour once the controls exist; the window owns it. The executor
    // runs the behaviour's flows on a worker thread and brings their results back to the
    // window's thread.
    using EventsFactory = std::function<std::unique_ptr<DialogEvents>(DialogControls& controls,
                                                                      FlowExecutor& executor)>;
    // Makes the widget of one of the six value boxes (1024..1029).
    using ValueBoxFactory = std::function<QComboBox*(QWidget* parent)>;
    // The window's key pre-filter: sees every key press and release meant for one of the
    // window's controls before that control does; true when it consumed the key.
    using KeyPreFilter = std::function<bool(QKeyEvent& event)>;

    // An editable drop-down combo box without key capture of its own.
    static QComboBox* MakePlainValueBox(QWidget* parent);

    explicit QtMainWindow(const EventsFactory& makeEvents,
                          const ValueBoxFactory& makeValueBox = MakePlainValueBox,
                          QWidget* parent = nullptr);
    ~QtMainWindow() override;

    // The widget of a control, nullptr for an id the window does not have.
    QWidget* Control(int id) const;
    DialogEvents& Events() { return *events_; }

    void SetKeyPreFilter(KeyPreFilter filter);
    // Opens the keyboard's own input for the key tester; nullptr and the reason (in the
    // language given) when there is none to read.
    using KeyboardInputSource =
        std::function<std::unique_ptr<KeyboardInput>(std::int32_t language, std::string& error)>;
    void SetKeyboardInputSource(KeyboardInputSource source);

    // DialogControls
    void SetText(int id, const std::string& text) override;
    std::string GetText(int id) const override;
    void ClearList(int id) override;
    void AddListItem(int id, const std::string& text) override;
    int ListCount(int id) const override;
    std::string ListItem(int id, int index) const override;
    void SelectListIndex(int id, int index) override;
    int SelectedListIndex(int id) const override;
    void SetVisible(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void SetFocus(int id) override;
    int FocusedControl() const override;
    HeldModifiers Modifiers() const override { return heldModifiers_; }
    void CloseWindow() override { reject(); }
    void SetCaption(const std::string& text) override;
    void SetRecording(int id, bool recording) override;
    void SetToolTip(int id, const std::string& text) override;
    UnsavedAnswer AskUnsaved(const UnsavedQuestion& question) override;
    void SetAccessibleText(int id, const std::string& name,
                           const std::string& description) override;
    // Only the value boxes made as KeyCaptureComboBox take typed text.
    void SetValueEntry(int id, ValueEntry entry) override;
    void SetMark(int id, const std::string& reason) override;
    void ShowNotice(const std::string& text) override;
    void SetEnabled(int id, bool enabled) override;
    void SetBusy(bool busy) override;
    void ShowProgress(const std::string& text, int step, int steps) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                     const std::string& detail) override;
    // In Chinese, Qt's own Chinese texts (qtbase_zh_CN from Qt's translations) name the file
    // dialogs' parts and the message boxes' buttons.
    void SetLanguage(std::int32_t language) override;
    void ShowAbout() override;
    // Below the focused control, or at the window's middle when no control has the focus.
    void ShowContextMenu() override;
    void ShowKeyTester(const KeySlotsModel& model, std::int32_t language) override;
    std::filesystem::path AskFileName(const FileQuestion& question) override;

    // Every way of closing the window ends here: a running flow stops cleanly first.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The close box asks the behaviour first.
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A press on the background or a label (which take no focus) ends a recording.
    void mousePressEvent(QMouseEvent* event) override;

private:
    KeyboardInputSource keyboardInput_;
    QComboBox* Combo(int id) const;
    void ConnectNotifications(int id, QWidget* widget);
    void OnApplicationFocusChanged(QWidget* previous, QWidget* now);
    // An editable combo box or its edit field.
    static bool IsEditField(QWidget* widget);
    // The control that this widget belongs to (a value box for its edit field and its list),
    // or 0.
    int OwningControl(QWidget* widget) const;

    std::map<int, QWidget*> controls_;
    // A warning sign in a marked value box's field, by control id.
    std::map<int, QAction*> marks_;
    // The tooltips of the controls, shown while no mark's reason takes their place.
    std::map<int, QString> toolTips_;
    // The rows scroll where the window cannot fit its screen; owned by the window.
    ScrollingRows* rows_;
    QLabel* noticeText_;
    QLabel* progressText_;
    QProgressBar* progressBar_;
    bool busy_ = false;
    std::int32_t language_ = 0;
    QTranslator qtTexts_;
    bool qtTextsInstalled_ = false;
    // Declared before the behaviour, so that it outlives it: the behaviour waits for its flow
    // when it is destroyed.
    ThreadFlowExecutor executor_;
    std::unique_ptr<DialogEvents> events_;
    KeyPreFilter keyPreFilter_;
    // Held with the key event the pre-filter is handling.
    HeldModifiers heldModifiers_;
    bool initialised_ = false;
    // The context menu's entries (read-back, export, import) in the window's language, by
    // their ids.
    std::map<int, QString> menuEntryTexts_;
    // The entries disabled (Undo and Redo with nothing to do), by their ids.
    std::map<int, bool> menuEntryDisabled_;
    void OpenContextMenu(const QPoint& where);
};

}  // namespace varnok
