#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>

// Answers the next modal dialog from inside its own event loop: `handle` gets the
// dialog once it is the active modal widget (polled every 10 ms, up to 30 s).
// With `wanted`, other modal dialogs are left alone until a wanted one shows.
inline void whenModalAppears(std::function<void(QWidget *)> handle,
                             std::function<bool(QWidget *)> wanted = nullptr)
{
    // Parented to the application, so a watch that never fires is still freed.
    auto *timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, handle, wanted] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && wanted && !wanted(modal))
            modal = nullptr;
        if (!modal && clock->elapsed() < 30000)
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
    QString informativeText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
};

inline void answerNextMessageBox(MessageBoxSeen *seen, QMessageBox::StandardButton button)
{
    whenModalAppears(
        [seen, button](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            seen->shown = true;
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            seen->parent = box->parentWidget();
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->done(button);
        },
        [](QWidget *modal) { return qobject_cast<QMessageBox *>(modal) != nullptr; });
}

// Answers every modal dialog for as long as it exists, in the order they come:
// file dialogs take the next queued path (none queued, or an empty one:
// cancelled); the toolkit's own overwrite question inside a file dialog is
// confirmed; message boxes are recorded and closed with the next queued
// button (none queued: Ok).
class ModalAnswerer
{
public:
    ModalAnswerer()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] { answer(); });
        timer.start();
    }

    void queueFile(const QString &path) { files.append(path); }
    void queueButton(QMessageBox::StandardButton button) { buttons.append(button); }

    QVector<MessageBoxSeen> boxes;
    QStringList fileDialogProposals; // the file name each file dialog proposed

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal == answeredFileDialog || modal == lastAnswered) {
            // The dialog's directory model loads on its own thread and may
            // still rewrite the name field; choose again until it closes.
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (dialog && !chosenPath.isEmpty() && sinceChosen.elapsed() > kRetryMs)
                chooseFile(dialog);
            return;
        }
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (qobject_cast<QFileDialog *>(box->parentWidget())) {
                lastAnswered = box;
                // The static message boxes report the button clicked, not the result code.
                if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                    yes->click();
                else
                    box->done(QMessageBox::Yes);
                return;
            }
            MessageBoxSeen seen;
            seen.shown = true;
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.informativeText = box->informativeText();
            seen.icon = box->icon();
            seen.parent = box->parentWidget();
            boxes.append(seen);
            const QMessageBox::StandardButton button =
                buttons.isEmpty() ? QMessageBox::Ok : buttons.takeFirst();
            lastAnswered = box;
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->done(button);
            return;
        }
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            const QStringList proposed = dialog->selectedFiles();
            fileDialogProposals.append(proposed.value(0));
            chosenPath = files.isEmpty() ? QString() : files.takeFirst();
            lastAnswered = dialog;
            // It shows again for a moment after its own overwrite question.
            answeredFileDialog = dialog;
            if (chosenPath.isEmpty()) {
                dialog->reject();
                return;
            }
            chooseFile(dialog);
            return;
        }
        if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            lastAnswered = dialog;
            dialog->reject();
        }
    }

    // Types the full path into the name field and accepts once the current
    // event is done (an overwrite question then runs in its own loop).
    void chooseFile(QFileDialog *dialog)
    {
        dialog->setDirectory(QFileInfo(chosenPath).absolutePath());
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(chosenPath);
        else
            dialog->selectFile(chosenPath);
        sinceChosen.start();
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }

    static constexpr int kRetryMs = 300;
    QTimer timer;
    QPointer<QWidget> lastAnswered;
    QPointer<QWidget> answeredFileDialog;
    QString chosenPath;
    QElapsedTimer sinceChosen;
    QStringList files;
    QVector<QMessageBox::StandardButton> buttons;
};
