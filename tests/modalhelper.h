#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Answers the next modal dialog from inside its own event loop: `handle` gets the
// dialog once it is the active modal widget (polled every 10 ms, up to 5 s).
inline void whenModalAppears(std::function<void(QWidget *)> handle)
{
    // Parented to the application, so a watch that never fires is still freed.
    auto *timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, handle] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            handle(modal);
    });
    timer->start(10);
}

// Closes the next message box with the given button and hands back its texts.
struct MessageBoxSeen
{
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
};

inline void answerNextMessageBox(MessageBoxSeen *seen, QMessageBox::StandardButton button)
{
    whenModalAppears([seen, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            return;
        }
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->parent = box->parentWidget();
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->done(button);
    });
}
