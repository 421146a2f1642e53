#include "ui/qt/QtKeyTesterDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QTime>
#include <QVBoxLayout>
#include <string>

#include "keys/KeyTesterRun.h"
#include "keys/KeyTesterTexts.h"

namespace varnok {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtKeyTesterDialog::QtKeyTesterDialog(std::unique_ptr<KeyboardInput> input,
                                     const KeySlotsModel& model, std::int32_t language,
                                     QWidget* parent)
    : QDialog(parent), lines_(new QListWidget(this)), input_(std::move(input)) {
    setObjectName(QStringLiteral("keyTester"));
    setWindowTitle(ToQString(KeyTesterPhraseText(KeyTesterPhrase::Title, language)));
    lines_->setObjectName(QStringLiteral("testedPresses"));
    // The keys under test must reach no control but the list, which takes none of them.
    lines_->setFocusPolicy(Qt::StrongFocus);
    auto* prompt =
        new QLabel(ToQString(KeyTesterPhraseText(KeyTesterPhrase::Prompt, language)), this);
    prompt->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(lines_);
    layout->addWidget(buttons);
    resize(480, 320);
    for (const std::string& notice : input_->Notices()) AddLine(ToQString(notice));
    lines_->setFocus();

    worker_ = std::thread([this, &model, language] {
        const std::string failure =
            RunKeyTester(*input_, model, stop_, [this, language](const TesterEvent& event) {
                const QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) +
                                     QStringLiteral("  ") +
                                     ToQString(KeyTesterLine(event, language));
                QMetaObject::invokeMethod(
                    this, [this, line] { AddLine(line); }, Qt::QueuedConnection);
                return true;
            });
        if (failure.empty()) return;
        QString ended = ToQString(KeyTesterPhraseText(KeyTesterPhrase::Ended, language));
        ended.replace(QStringLiteral("%1"), ToQString(failure));
        QMetaObject::invokeMethod(
            this, [this, ended] { AddLine(ended); }, Qt::QueuedConnection);
    });
}

// The input closes with the dialog, and with it the hold on the keyboard's keys.
QtKeyTesterDialog::~QtKeyTesterDialog() {
    stop_ = true;
    worker_.join();
}

void QtKeyTesterDialog::AddLine(const QString& line) {
    lines_->addItem(line);
    lines_->scrollToBottom();
}

}  // namespace varnok
