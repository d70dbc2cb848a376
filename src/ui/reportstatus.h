#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

// The export's part of the status bar: "Отчёт сохранён: <path>" with a link
// that opens the report's folder once a report is written, and a progress bar
// with the page being written while a PDF is printed.
class ReportStatus : public QWidget
{
    Q_OBJECT

public:
    explicit ReportStatus(QWidget *parent = nullptr);

    void showSaved(const QString &path);
    void clearSaved();
    QString savedPath() const { return saved; }

    // The page being written (from 1) of the pages; the bar shows from the
    // first call until finishProgress.
    void showProgress(int page, int pages);
    void finishProgress();

protected:
    void changeEvent(QEvent *event) override;

private:
    void openFolder();
    void retranslate();

    QLabel *message = nullptr;
    QLabel *folderLink = nullptr;
    QProgressBar *progress = nullptr;
    QString saved;
};
