#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <exception>

class QWidget;

// Where an error that ends a handler reaches the user. The message box is not modal, so the
// clock goes on ticking behind it, and it is reused: an error that repeats every second updates
// one box instead of piling up windows.
class ErrorDisplay {
public:
    explicit ErrorDisplay(QWidget* owner) : owner_(owner) {}

    // Runs one event handler to its end or to its first error, which is shown. Never throws.
    template <typename Handler> void Run(Handler&& handler) noexcept {
        try {
            handler();
        } catch (const std::exception& error) {
            Show(QString::fromUtf8(error.what()));
        }
    }

    void Show(const QString& message) noexcept;

    QMessageBox* Box() const { return box_; }
    QString LastMessage() const { return lastMessage_; }
    int ErrorCount() const { return errorCount_; }

private:
    void present();

    QWidget* owner_;
    QPointer<QMessageBox> box_;
    QString lastMessage_;
    int errorCount_ = 0;
    int waitsForWindow_ = 0; // of the first box, for the window to become active
    bool presenting_ = false;
};
