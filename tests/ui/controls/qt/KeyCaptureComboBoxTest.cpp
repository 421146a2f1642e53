#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/controls/qt/KeyCaptureComboBox.h"
#include "ui/controls/qt/KeyCaptureEdit.h"
#include "ui/controls/qt/PhysicalKeyboard.h"
#include "ui/controls/qt/PopupWatch.h"

namespace varnok {
namespace {

// Counts the clear-key requests that reach a window.
class ClearKeyCounter : public QObject {
public:
    explicit ClearKeyCounter(QWidget& window) { window.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == KeyCaptureEdit::ClearKeyEventType()) ++count;
        return QObject::eventFilter(watched, event);
    }
};

// A value box in a window of its own, its edit field never painted until Show.
struct Host {
    QWidget window;
    KeyCaptureComboBox* box = new KeyCaptureComboBox(&window);
    ClearKeyCounter clears{window};
    PopupWatch popups;

    KeyCaptureEdit& Edit() const { return *qobject_cast<KeyCaptureEdit*>(box->lineEdit()); }
    void Show() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(QTest::qWaitFor([this] { return Edit().IsAttached(); }));
    }
    std::string TypeInto(const std::vector<const char*>& keys) {
        box->setEditText({});
        PhysicalKeyboard keyboard(box);
        for (const char* key : keys) keyboard.Tap(key);
        return box->currentText().toStdString();
    }
    void RightPress() {
        const QPointF at = QRectF(Edit().rect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, Edit().mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(&Edit(), &press);
        QApplication::processEvents();
    }
    // Asks for the context menu as the platform does after a right press.
    void AskForContextMenu() {
        const QPoint at = Edit().rect().center();
        QContextMenuEvent ask(QContextMenuEvent::Mouse, at, Edit().mapToGlobal(at));
        QApplication::sendEvent(&Edit(), &ask);
        popups.Sweep();
    }
};

// Until its first paint the edit field is a standard one; from then on it drops typed
// Backspace and "." (Delete keeps its effect), shows no context menu and posts the clear-key
// request to its window on a right press.
TEST(KeyCaptureComboBox, TakesItsEditFieldOverAtItsFirstPaint) {
    struct Case {
        const char* what;
        std::vector<const char*> keys;
        std::string standard;
        std::string taken;
    };
    const Case cases[] = {
        {"full stop", {"a", ".", "b"}, "a.b", "ab"},
        {"keypad full stop", {"a", "KP.", "b"}, "a.b", "ab"},
        {"Backspace", {"a", "b", "Backspace"}, "a", "ab"},
        {"Delete", {"a", "b", "Home", "Delete"}, "b", "b"},
    };
    Host host;
    EXPECT_TRUE(host.box->isEditable());
    EXPECT_EQ(host.box->insertPolicy(), QComboBox::NoInsert);
    for (const Case& c : cases) {
        EXPECT_EQ(host.TypeInto(c.keys), c.standard) << c.what;
    }
    host.RightPress();
    host.AskForContextMenu();
    EXPECT_EQ(host.clears.count, 0);
    EXPECT_EQ(host.popups.Count(), 1);

    host.Show();
    for (const Case& c : cases) {
        EXPECT_EQ(host.TypeInto(c.keys), c.taken) << c.what;
    }
    host.RightPress();
    host.AskForContextMenu();
    EXPECT_EQ(host.clears.count, 1);
    EXPECT_EQ(host.popups.Count(), 1);
}

}  // namespace
}  // namespace varnok
