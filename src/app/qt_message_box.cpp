#include "app/qt_message_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <memory>

namespace kovrel::app {

using platform::MessageAnswer;
using platform::MessageButtons;

namespace {

MessageAnswer DefaultOf(MessageButtons buttons, MessageAnswer defaultAnswer) {
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return defaultAnswer == MessageAnswer::No ? MessageAnswer::No : MessageAnswer::Yes;
}

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

struct QtMessageBox::Pending {
    bool done = false;
    MessageAnswer answer = MessageAnswer::Ok;
};

QtMessageBox::QtMessageBox(QObject* parent) : QObject(parent) {}

QtMessageBox::~QtMessageBox() {
    Close();
}

void QtMessageBox::SetOwner(QWidget* owner) {
    owner_ = owner;
}

void QtMessageBox::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    answered_.notify_all();
    for (const QPointer<QMessageBox>& box : open_) {
        if (box != nullptr) {
            box->reject();
        }
    }
}

MessageAnswer QtMessageBox::Show(const std::u16string& text, const std::u16string& caption,
                                 MessageButtons buttons, MessageAnswer defaultAnswer) {
    const MessageAnswer fallback = DefaultOf(buttons, defaultAnswer);
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return fallback;
        }
    }
    if (QThread::currentThread() == thread()) {
        return RunBox(text, caption, buttons, defaultAnswer);
    }
    auto pending = std::make_shared<Pending>();
    QMetaObject::invokeMethod(
        this,
        [this, pending, text, caption, buttons, defaultAnswer] {
            const MessageAnswer answer = RunBox(text, caption, buttons, defaultAnswer);
            {
                std::lock_guard lock(mutex_);
                pending->done = true;
                pending->answer = answer;
            }
            answered_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending->done || closed_; });
    return pending->done ? pending->answer : fallback;
}

MessageAnswer QtMessageBox::RunBox(const std::u16string& text, const std::u16string& caption,
                                   MessageButtons buttons, MessageAnswer defaultAnswer) {
    const MessageAnswer fallback = DefaultOf(buttons, defaultAnswer);
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return fallback;
        }
    }
    QMessageBox box(owner_);
    box.setWindowTitle(caption.empty() ? QGuiApplication::applicationDisplayName()
                                       : ToQString(caption));
    box.setText(ToQString(text));
    if (buttons == MessageButtons::YesNo) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(fallback == MessageAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    open_.emplace_back(&box);
    emit boxShown(&box);
    const int clicked = box.exec();
    std::erase_if(
        open_, [&](const QPointer<QMessageBox>& open) { return open == nullptr || open == &box; });
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return fallback; // closed at shutdown, not answered
        }
    }
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (clicked == QMessageBox::Yes) {
        return MessageAnswer::Yes;
    }
    if (clicked == QMessageBox::No) {
        return MessageAnswer::No;
    }
    return fallback; // closed from outside
}

} // namespace kovrel::app
