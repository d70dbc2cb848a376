#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

// What the dialogs of one export showed.
struct ExportSeen
{
    QString dialogCaption;
    QString proposedPath;
    QString filter;
    QStringList messageTitles; // boxes without a parent, in order
    QStringList messageTexts;
    QStringList messageCauses; // the informative text below each box's text
    QStringList buttonTexts;   // "|"-joined per box
    bool questionAsked = false;
};

// Answers the modal dialogs of one export while it lives: the save dialog with
// `path` (cancelled when empty), Qt's own "replace it?" confirmation with yes,
// the empty-fields question with `yes` (after running `onQuestion`), any other
// box with Ok.
class ExportAnswerer : public QObject
{
public:
    ExportAnswerer(ExportSeen *seen, const QString &path, bool yes, std::function<void()> onQuestion = {})
        : seen(seen)
        , path(path)
        , yes(yes)
        , onQuestion(std::move(onQuestion))
    {
        connect(&poll, &QTimer::timeout, this, &ExportAnswerer::answer);
        poll.start(10);
    }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            seen->dialogCaption = dialog->windowTitle();
            seen->proposedPath = dialog->selectedFiles().value(0);
            seen->filter = dialog->nameFilters().join(';');
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            // A folder: the proposed name in that folder.
            const QString chosen =
                path.endsWith('/') ? path + QFileInfo(seen->proposedPath).fileName() : path;
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(chosen);
            // Queued: the dialog's own boxes run inside accept(), and this
            // timer cannot fire again until its slot returns.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        if (box->parentWidget()) { // the file dialog's replace confirmation
            box->button(QMessageBox::Yes)->click();
            return;
        }
        seen->messageTitles.append(box->windowTitle());
        seen->messageTexts.append(box->text());
        seen->messageCauses.append(box->informativeText());
        QStringList buttons;
        for (QAbstractButton *button : box->buttons())
            buttons.append(button->text());
        seen->buttonTexts.append(buttons.join('|'));
        if (box->icon() == QMessageBox::Question) {
            seen->questionAsked = true;
            if (onQuestion)
                onQuestion();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (QAbstractButton *ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->close();
        }
    }

    ExportSeen *seen;
    QString path;
    bool yes;
    std::function<void()> onQuestion;
    QTimer poll;
};
