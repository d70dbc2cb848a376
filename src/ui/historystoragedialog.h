#pragma once

#include "history/historysettings.h"
#include "history/servercheck.h"

#include <QDialog>

namespace Ui {
class HistoryStorageDialog;
}

// Where the history is kept: the local file or a PostgreSQL server, with a
// trial connection. OK writes history.json and stays open when it cannot;
// the caller then switches the store to chosenSettings().
class HistoryStorageDialog : public QDialog
{
    Q_OBJECT
    // Tests reach the form's widgets through this one class.
    friend class HistoryStorageDialogTester;

public:
    HistoryStorageDialog(const QString &folder, const HistorySettings &current, QWidget *parent = nullptr);
    ~HistoryStorageDialog() override;

    // The values entered, the password for this run included.
    HistorySettings chosenSettings() const;

public slots:
    void accept() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    enum class Shown { Nothing, Check, SaveFailed };

    void checkConnection();
    void showResult();
    QString checkText() const;

    Ui::HistoryStorageDialog *ui = nullptr;
    QString folder;
    Shown shown = Shown::Nothing;
    ServerCheck lastCheck;
};
