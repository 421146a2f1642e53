#include "ui/qt/QtMainWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include "keys/KeyTesterTexts.h"
#include "store/PathText.h"
#include "ui/ContextMenuTable.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/controls/qt/KeyCaptureEdit.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/DialogTemplateBuilder.h"
#include "ui/qt/LiveLineAccessible.h"
#include "ui/qt/NamedComboBoxAccessible.h"
#include "ui/qt/QtKeyTesterDialog.h"
#include "ui/qt/ScrollingRows.h"

namespace varnok {

namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// The field of a value box that records, and of one whose text is marked as not typed whole.
const QColor kRecordingColour(204, 232, 255);

}  // namespace

QComboBox* QtMainWindow::MakePlainValueBox(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    return combo;
}

QtMainWindow::QtMainWindow(const EventsFactory& makeEvents, const ValueBoxFactory& makeValueBox,
                           QWidget* parent)
    : QDialog(parent), executor_([this](std::function<void()> task) {
          QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
      }) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    // Screen readers name the lists as the behaviour names them (Qt installs a factory once).
    QAccessible::installFactory(NamedComboBoxAccessible::Factory);
    QAccessible::installFactory(LiveLineAccessible::Factory);
    const DialogTemplate& dialogTemplate = KeyDialogTemplate();
    auto makeCombo = [&](const DialogControlTemplate& control, QWidget* comboParent) {
        return ControlId::IsValueBox(control.id) ? makeValueBox(comboParent) : nullptr;
    };
    std::vector<QWidget*> widgets = DialogTemplateBuilder(dialogTemplate).Build(*this, makeCombo);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        int id = dialogTemplate.controls[i].id;
        if (id == ControlId::Unnamed) continue;
        controls_[id] = widgets[i];
        ConnectNotifications(id, widgets[i]);
    }
    rows_ = new ScrollingRows(*this, dialogTemplate, widgets,
                              qobject_cast<QLabel*>(Control(ControlId::Prompt)));
    progressText_ = qobject_cast<QLabel*>(Control(ControlId::ProgressText));
    progressBar_ = qobject_cast<QProgressBar*>(Control(ControlId::Progress));
    noticeText_ = qobject_cast<QLabel*>(Control(ControlId::Notice));
    noticeText_->setStyleSheet(QStringLiteral("color: #b00000;"));
    LiveLineAccessible::MarkLabel(*noticeText_, QAccessible::AlertMessage);
    if (auto* status = qobject_cast<QLabel*>(Control(ControlId::Status))) {
        LiveLineAccessible::MarkLabel(*status, QAccessible::StatusBar);
    }

    connect(qApp, &QApplication::focusChanged, this, &QtMainWindow::OnApplicationFocusChanged);
    events_ = makeEvents(*this, executor_);
}

QtMainWindow::~QtMainWindow() {
    // Destroying the controls moves the focus; that must not reach a half-destroyed window.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The behaviour goes before the controls: it may still address them while it is destroyed.
    events_.reset();
}

void QtMainWindow::ConnectNotifications(int id, QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        if (id == ControlId::Exit) {
            connect(button, &QPushButton::clicked, this, [this] {
                if (events_->OnCloseRequest()) reject();
            });
        } else {
            connect(button, &QPushButton::clicked, this,
                    [this, id] { events_->OnButtonClicked(id); });
        }
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // activated comes from the user alone (a pick from the list, the arrow keys, the
        // wheel); the program's own selections raise only currentIndexChanged.
        connect(combo, &QComboBox::activated, this,
                [this, id] { events_->OnSelectionChanged(id); });
        if (combo->lineEdit() != nullptr) combo->lineEdit()->installEventFilter(this);
    }
    widget->installEventFilter(this);
}

QWidget* QtMainWindow::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QComboBox* QtMainWindow::Combo(int id) const {
    return qobject_cast<QComboBox*>(Control(id));
}

void QtMainWindow::SetKeyPreFilter(KeyPreFilter filter) {
    keyPreFilter_ = std::move(filter);
}

int QtMainWindow::OwningControl(QWidget* widget) const {
    // Walks across window boundaries too: a combo box's dropped list is a popup window whose
    // parent is the combo box.
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        for (const auto& [id, control] : controls_) {
            if (control == w) return id;
        }
    }
    return 0;
}

void QtMainWindow::SetAccessibleText(int id, const std::string& name,
                                     const std::string& description) {
    QWidget* widget = Control(id);
    if (widget == nullptr) return;
    widget->setAccessibleName(QString::fromStdString(name));
    widget->setAccessibleDescription(QString::fromStdString(description));
}

int QtMainWindow::FocusedControl() const {
    return OwningControl(QApplication::focusWidget());
}

void QtMainWindow::OnApplicationFocusChanged(QWidget* previous, QWidget* now) {
    // Moving between a value box's own parts (its field and its list) is no focus change of the
    // box; coming back from another control, another window or another program is.
    const int box = OwningControl(now);
    const int left = OwningControl(previous);
    if (box == left) return;
    if (ControlId::IsValueBox(left)) events_->OnFocusLost(left);
    if (ControlId::IsValueBox(box)) events_->OnFocusGained(box);
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // A key the focused control ignores travels up to its parent; the pre-filter sees it
        // once, at the control that received it first.
        bool first = widget != nullptr && widget == QApplication::focusWidget();
        if (first && keyPreFilter_) {
            heldModifiers_ = {key->modifiers().testFlag(Qt::ShiftModifier),
                              key->modifiers().testFlag(Qt::ControlModifier)};
            if (keyPreFilter_(*key)) return true;
        }
        // Qt's editable combo box takes Enter as a pick of the item named like the typed text,
        // which would turn a typed string "Default" into the Default command. A Windows edit
        // field ignores Enter; so do these.
        bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && IsEditField(widget)) return true;
    }
    // A left press in a value box's field: the box records. Qt has moved the focus already.
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        qobject_cast<QLineEdit*>(watched) != nullptr) {
        const int box = OwningControl(static_cast<QWidget*>(watched));
        if (ControlId::IsValueBox(box)) events_->OnValueBoxPressed(box);
    }
    return QDialog::eventFilter(watched, event);
}

bool QtMainWindow::IsEditField(QWidget* widget) {
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (combo == nullptr && qobject_cast<QLineEdit*>(widget) != nullptr) {
        combo = qobject_cast<QComboBox*>(widget->parentWidget());
    }
    return combo != nullptr && combo->isEditable();
}

bool QtMainWindow::event(QEvent* event) {
    if (event->type() == KeyCaptureEdit::ClearKeyEventType()) {
        events_->OnClearKey();
        return true;
    }
    return QDialog::event(event);
}

void QtMainWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        events_->OnInitDialog();
    }
}

// The window has no keyboard handling of its own: the behaviour moves the focus on Tab and
// closes on Escape where those keys are not captured, and Enter presses nothing; what the
// controls leave of those keys stops here. F1 asks for help.
void QtMainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        events_->OnHelpRequest();
        return;
    }
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (!events_->OnCloseRequest()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// Nor does Qt move the focus on Tab: the behaviour does, in the template's tab order.
bool QtMainWindow::focusNextPrevChild(bool) {
    return false;
}

// Linux window managers own the window menu, so the About command sits in the context menu of
// the window's background (its labels and frame included, the operable controls not), with
// the read-back of the keyboard's keys, whose button the window never shows, and the rest of
// the template's entries.
// The keyboard's way to the menu (Shift+F10, the Menu key) is the behaviour's ShowContextMenu.
void QtMainWindow::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* under = childAt(event->pos());
    if (event->reason() == QContextMenuEvent::Keyboard ||
        (under != nullptr && !rows_->IsBackground(under) &&
         qobject_cast<QLabel*>(under) == nullptr && qobject_cast<QGroupBox*>(under) == nullptr)) {
        return;
    }
    OpenContextMenu(event->globalPos());
}

void QtMainWindow::ShowContextMenu() {
    QWidget* focused = Control(FocusedControl());
    OpenContextMenu(focused != nullptr ? focused->mapToGlobal(focused->rect().bottomLeft())
                                       : mapToGlobal(rect().center()));
}

void QtMainWindow::OpenContextMenu(const QPoint& where) {
    QMenu menu(this);
    for (const ContextMenuEntry& entry : ContextMenuTable) {
        if (entry.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(menuEntryTexts_[entry.id]);
        action->setEnabled(!menuEntryDisabled_[entry.id]);
        connect(action, &QAction::triggered, this,
                [this, id = entry.id] { events_->OnButtonClicked(id); });
    }
    menu.exec(where);
}

void QtMainWindow::mousePressEvent(QMouseEvent* event) {
    events_->OnBackgroundPressed();
    QDialog::mousePressEvent(event);
}

void QtMainWindow::SetText(int id, const std::string& text) {
    if (ControlId::IsMenuEntry(id)) {
        menuEntryTexts_[id] = ToQString(text);
        return;
    }
    QWidget* widget = Control(id);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A drop-down list has no text of its own beside its selected item.
        if (combo->isEditable()) combo->setEditText(ToQString(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(ToQString(text));
        if (id == ControlId::Prompt) rows_->Fit();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQString(text));
        DialogTemplateBuilder::WidenToTexts(*button);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(ToQString(text));
    }
}

std::string QtMainWindow::GetText(int id) const {
    if (ControlId::IsMenuEntry(id)) {
        const auto entry = menuEntryTexts_.find(id);
        return entry == menuEntryTexts_.end() ? std::string() : ToUtf8(entry->second);
    }
    QWidget* widget = Control(id);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return ToUtf8(combo->currentText());
    if (auto* label = qobject_cast<QLabel*>(widget)) return ToUtf8(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return ToUtf8(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return ToUtf8(group->title());
    return {};
}

void QtMainWindow::ClearList(int id) {
    if (QComboBox* combo = Combo(id)) combo->clear();
}

void QtMainWindow::AddListItem(int id, const std::string& text) {
    QComboBox* combo = Combo(id);
    if (combo == nullptr) return;
    // Qt selects the first item added to an empty list, and shows it in the edit field; a
    // Windows combo box selects nothing and leaves its field as it was.
    int selected = combo->currentIndex();
    QString field = combo->currentText();
    combo->addItem(ToQString(text));
    if (combo->currentIndex() != selected) combo->setCurrentIndex(selected);
    if (combo->isEditable() && combo->currentText() != field) combo->setEditText(field);
    DialogTemplateBuilder::WidenToTexts(*combo);
}

int QtMainWindow::ListCount(int id) const {
    QComboBox* combo = Combo(id);
    return combo == nullptr ? 0 : combo->count();
}

std::string QtMainWindow::ListItem(int id, int index) const {
    QComboBox* combo = Combo(id);
    if (combo == nullptr || index < 0 || index >= combo->count()) return {};
    return ToUtf8(combo->itemText(index));
}

void QtMainWindow::SelectListIndex(int id, int index) {
    QComboBox* combo = Combo(id);
    if (combo == nullptr) return;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int QtMainWindow::SelectedListIndex(int id) const {
    QComboBox* combo = Combo(id);
    return combo == nullptr ? -1 : combo->currentIndex();
}

void QtMainWindow::SetVisible(int id, bool visible) {
    if (QWidget* widget = Control(id)) widget->setVisible(visible);
}

// The control's own state, as the window's behaviour set it, whether or not the window is on
// screen yet.
bool QtMainWindow::IsVisible(int id) const {
    QWidget* widget = Control(id);
    return widget != nullptr && !widget->isHidden();
}

void QtMainWindow::SetChecked(int id, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(Control(id))) box->setChecked(checked);
}

bool QtMainWindow::IsChecked(int id) const {
    auto* box = qobject_cast<QCheckBox*>(Control(id));
    return box != nullptr && box->isChecked();
}

// The behaviour moves the focus on Tab where Qt would have; as after Qt's own Tab, the
// style then draws the focus of every control, buttons, boxes and lists included.
void QtMainWindow::SetFocus(int id) {
    QWidget* widget = Control(id);
    if (widget == nullptr) return;
    setAttribute(Qt::WA_KeyboardFocusChange);
    widget->setFocus(Qt::OtherFocusReason);
}

void QtMainWindow::SetValueEntry(int id, ValueEntry entry) {
    QComboBox* combo = Combo(id);
    auto* edit = combo == nullptr ? nullptr : qobject_cast<KeyCaptureEdit*>(combo->lineEdit());
    if (edit == nullptr) return;
    // The behaviour decides every edit the user makes, in a chord row too (where it takes none).
    auto check = [this, id](const QString& before, const QString& after) {
        return events_->OnTextEdit(id, ToUtf8(before), ToUtf8(after));
    };
    if (entry == ValueEntry::CapturedKeys) {
        edit->CaptureKeys(std::move(check));
    } else {
        edit->TakeTypedText(std::move(check));
    }
}

void QtMainWindow::SetCaption(const std::string& text) {
    setWindowTitle(ToQString(text));
}

void QtMainWindow::SetRecording(int id, bool recording) {
    QComboBox* combo = Combo(id);
    if (combo == nullptr || combo->lineEdit() == nullptr) return;
    QPalette palette = combo->lineEdit()->palette();
    palette.setColor(QPalette::Base,
                     recording ? kRecordingColour : combo->palette().color(QPalette::Base));
    combo->lineEdit()->setPalette(palette);
}

void QtMainWindow::SetToolTip(int id, const std::string& text) {
    toolTips_[id] = ToQString(text);
    if (marks_.find(id) == marks_.end()) {
        if (QWidget* widget = Control(id)) widget->setToolTip(toolTips_[id]);
    }
}

UnsavedAnswer QtMainWindow::AskUnsaved(const UnsavedQuestion& question) {
    QMessageBox box(QMessageBox::Question, ToQString(question.caption), ToQString(question.text),
                    QMessageBox::NoButton, this);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(ToQString(question.detail));
    QPushButton* save = box.addButton(ToQString(question.saveButton), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(ToQString(question.discardButton), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(ToQString(question.cancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return UnsavedAnswer::Save;
    if (box.clickedButton() == discard) return UnsavedAnswer::Discard;
    return UnsavedAnswer::Cancel;
}

// A warning sign at the end of the box's field; the reason is the tooltip of the sign and of
// the box.
void QtMainWindow::SetMark(int id, const std::string& reason) {
    QComboBox* combo = Combo(id);
    if (combo == nullptr || combo->lineEdit() == nullptr) return;
    const auto found = marks_.find(id);
    if (reason.empty()) {
        if (found != marks_.end()) {
            combo->lineEdit()->removeAction(found->second);
            delete found->second;
            marks_.erase(found);
        }
        combo->setToolTip(toolTips_[id]);
        return;
    }
    QAction* mark = found != marks_.end() ? found->second : nullptr;
    if (mark == nullptr) {
        mark = combo->lineEdit()->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                            QLineEdit::TrailingPosition);
        mark->setObjectName(QStringLiteral("mark"));
        marks_[id] = mark;
    }
    mark->setToolTip(ToQString(reason));
    combo->setToolTip(ToQString(reason));
}

void QtMainWindow::ShowNotice(const std::string& text) {
    noticeText_->setText(ToQString(text));
    noticeText_->setVisible(!text.empty());
    if (!text.empty()) {
        QAccessibleEvent alert(noticeText_, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void QtMainWindow::SetEnabled(int id, bool enabled) {
    if (ControlId::IsMenuEntry(id)) menuEntryDisabled_[id] = !enabled;
    if (QWidget* widget = Control(id)) widget->setEnabled(enabled);
}

void QtMainWindow::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void QtMainWindow::ShowProgress(const std::string& text, int step, int steps) {
    const bool shown = steps > 0;
    progressText_->setText(ToQString(text));
    progressBar_->setRange(0, std::max(steps, 1));
    progressBar_->setValue(shown ? step : 0);
    progressText_->setVisible(shown);
    progressBar_->setVisible(shown);
}

void QtMainWindow::done(int result) {
    events_->OnClosing();
    QDialog::done(result);
}

void QtMainWindow::ShowMessage(const std::string& text, const std::string& caption,
                               MessageIcon icon, const std::string& detail) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    ToQString(caption), ToQString(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    if (!detail.empty()) {
        box.setInformativeText(ToQString(detail));
        // The detail's label guesses its format on its own, and a detail is never markup.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            label->setTextFormat(Qt::PlainText);
        }
    }
    box.exec();
}

void QtMainWindow::SetLanguage(std::int32_t language) {
    language_ = language;
    const bool chinese = language != 0;
    if (chinese == qtTextsInstalled_) return;
    if (chinese) {
        // Without Qt's translations on the system Qt's texts stay English; the window's own
        // are Chinese all the same.
        qtTextsInstalled_ = qtTexts_.load(QLocale(QLocale::Chinese, QLocale::China),
                                          QStringLiteral("qtbase"), QStringLiteral("_"),
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                            QCoreApplication::installTranslator(&qtTexts_);
    } else {
        QCoreApplication::removeTranslator(&qtTexts_);
        qtTextsInstalled_ = false;
    }
}

void QtMainWindow::ShowAbout() {
    AboutDialog about(language_, this);
    about.exec();
}

void QtMainWindow::SetKeyboardInputSource(KeyboardInputSource source) {
    keyboardInput_ = std::move(source);
}

void QtMainWindow::ShowKeyTester(const KeySlotsModel& model, std::int32_t language) {
    std::string error;
    std::unique_ptr<KeyboardInput> input =
        keyboardInput_ ? keyboardInput_(language, error) : nullptr;
    if (!input) {
        ShowMessage(error, std::string(KeyTesterPhraseText(KeyTesterPhrase::Title, language)),
                    MessageIcon::Exclamation, {});
        return;
    }
    QtKeyTesterDialog tester(std::move(input), model, language, this);
    tester.exec();
}

std::filesystem::path QtMainWindow::AskFileName(const FileQuestion& question) {
    const bool save = question.purpose == FileQuestion::Purpose::Save;
    QFileDialog dialog(this, ToQString(question.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({ToQString(question.typeName + " (*." + question.extension + ")"),
                           ToQString(question.allFilesName + " (*)")});
    dialog.setDefaultSuffix(ToQString(question.extension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return PathFromText(ToUtf8(dialog.selectedFiles().constFirst()));
}

}  // namespace varnok
