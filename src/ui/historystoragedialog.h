#pragma once

#include "history/historysettings.h"
#include "history/servercheck.h"

#include <QDialog>

class HistoryService;

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
    // The connection is checked by the history's worker, not on the window's thread.
    HistoryStorageDialog(const QString &folder, const HistorySettings &current, HistoryService *service,
                         QWidget *parent = nullptr);
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
    void checked(quint64 request, const ServerCheck &check);
    void showResult();
    QString checkText() const;

    Ui::HistoryStorageDialog *ui = nullptr;
    QString folder;
    Shown shown = Shown::Nothing;
    ServerCheck lastCheck;
    HistoryService *service = nullptr;
    quint64 checkAsked = 0;
};
