#pragma once
// The framework's standard message box on the interface thread: an OK box with a warning sign,
// or a Yes/No question whose default button Enter picks and which Escape answers No. Callers on
// other threads wait for the answer while the interface thread shows the box.
//
// Shutdown: Close() answers every waiting caller with the box's default (Ok, or the given
// default of a question) at once and closes the boxes still open, so a worker waiting for an
// answer can be joined.

#include "platform/message_box.h"

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <mutex>
#include <vector>

class QMessageBox;
class QWidget;

namespace kovrel::app {

class QtMessageBox final : public QObject, public platform::MessageBox {
    Q_OBJECT
public:
    // Created on the interface thread.
    explicit QtMessageBox(QObject* parent = nullptr);
    ~QtMessageBox() override;

    // The window the boxes belong to (the main window), or none.
    void SetOwner(QWidget* owner);
    void Close();

    // An empty caption shows the application's name, as the framework's box does.
    platform::MessageAnswer
    Show(const std::u16string& text, const std::u16string& caption,
         platform::MessageButtons buttons = platform::MessageButtons::Ok,
         platform::MessageAnswer defaultAnswer = platform::MessageAnswer::Yes) override;

signals:
    // Emitted on the interface thread right before a box runs (tests answer it from here).
    void boxShown(QMessageBox* box);

private:
    struct Pending;

    platform::MessageAnswer RunBox(const std::u16string& text, const std::u16string& caption,
                                   platform::MessageButtons buttons,
                                   platform::MessageAnswer defaultAnswer);

    QPointer<QWidget> owner_;
    std::vector<QPointer<QMessageBox>> open_; // interface thread

    std::mutex mutex_;
    std::condition_variable answered_;
    bool closed_ = false;
};

} // namespace kovrel::app
