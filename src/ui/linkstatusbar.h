#pragma once

#include "device/blockreader.h"
#include "device/port.h"

#include <QString>
#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;
class QToolButton;

// The status area: whether an instrument is there and on which port, how far
// a read is and how it ended, and what went wrong with a picked block. During
// a read it offers a cancel button (and Escape); otherwise the search for the
// instrument can be run again from it.
class LinkStatusBar : public QWidget
{
    Q_OBJECT

public:
    LinkStatusBar(Port &port, QAction *searchAgain, QWidget *parent = nullptr);

    void readStarted();
    void readProgress(int done, int count);
    void readEnded(BlockReader::Outcome outcome, int done, int count, int faulty);
    // Says what went wrong with the block the operator picked, if anything.
    void blockPicked(const MemoryBlock &block, int row);

signals:
    void cancelRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showLinkState(Port::LinkState state, const QString &portName);
    void showAwaited(int seconds);
    void showReadText(const std::function<QString()> &text);
    void retranslate();
    void enableSearch();

    QAction *searchAgain = nullptr;
    QLabel *linkLabel = nullptr;
    QLabel *readLabel = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *cancelButton = nullptr;
    QToolButton *searchButton = nullptr;
    QShortcut *escape = nullptr;

    Port::LinkState linkState = Port::LinkState::Searching;
    QString linkPort;
    bool reading = false;
    // The read texts are kept as functions so a change of language redoes them.
    std::function<QString()> readText;
    std::function<QString()> outcomeText;
    std::function<QString()> progressText;
    // The last read ended with the instrument lost.
    bool outcomeLost = false;
};
