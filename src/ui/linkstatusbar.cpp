#include "ui/linkstatusbar.h"

#include "ui/blockfaulttext.h"
#include "ui/labelelision.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int kLinkLabelStretch = 2;
constexpr int kReadLabelStretch = 3;
constexpr int kProgressWidth = 160;
// The link state and the search button each take at most this share of the
// screen's width, so that the status area fits the screen at any font size.
constexpr int kScreenShare = 4;

QLabel *statusLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

LinkStatusBar::LinkStatusBar(Port &port, QAction *searchAgain, QWidget *parent)
    : QWidget(parent)
    , searchAgain(searchAgain)
{
    setObjectName(QStringLiteral("link_status"));
    linkLabel = statusLabel(QStringLiteral("link_status_label"), this);
    elideLabel(linkLabel);
    readLabel = statusLabel(QStringLiteral("read_status_label"), this);
    // A long read text is cut short, never the window widened; the link
    // state keeps the width of its words.
    readLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    elideLabel(readLabel);
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("read_progress"));
    progress->setTextVisible(false);
    progress->setMaximumWidth(kProgressWidth);
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("read_cancel_button"));
    searchButton = new QToolButton(this);
    searchButton->setObjectName(QStringLiteral("search_again_button"));
    searchButton->setDefaultAction(searchAgain);
    searchAgain->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(linkLabel, kLinkLabelStretch);
    layout->addWidget(readLabel, kReadLabelStretch);
    layout->addWidget(progress);
    layout->addWidget(cancelButton);
    layout->addWidget(searchButton);

    progress->hide();
    cancelButton->hide();
    escape->setEnabled(false);
    connect(cancelButton, &QPushButton::clicked, this, &LinkStatusBar::cancelRequested);
    connect(escape, &QShortcut::activated, this, &LinkStatusBar::cancelRequested);
    connect(&port, &Port::linkStateChanged, this, &LinkStatusBar::showLinkState);
    connect(&port, &Port::answerAwaited, this, &LinkStatusBar::showAwaited);

    showLinkState(port.isInstrumentConnected() ? Port::LinkState::Connected : Port::LinkState::Searching,
                  port.instrumentPortName());
}

void LinkStatusBar::showLinkState(Port::LinkState state, const QString &portName)
{
    linkState = state;
    linkPort = portName;
    // What a lost instrument did to the last read is old news once it is back.
    if (state == Port::LinkState::Connected && outcomeLost && !reading) {
        outcomeLost = false;
        outcomeText = nullptr;
        showReadText(nullptr);
    }
    retranslate();
    enableSearch();
}

void LinkStatusBar::enableSearch()
{
    // Only while no port is being tried and no instrument is there to read.
    const bool idle = linkState != Port::LinkState::Trying && linkState != Port::LinkState::Connected;
    searchAgain->setEnabled(idle && !reading);
}

void LinkStatusBar::readStarted()
{
    reading = true;
    enableSearch();
    progress->setRange(0, 0);
    progress->show();
    cancelButton->setEnabled(true);
    cancelButton->show();
    escape->setEnabled(true);
    outcomeText = nullptr;
    outcomeLost = false;
    progressText = nullptr;
    showReadText(nullptr);
}

void LinkStatusBar::showAwaited(int seconds)
{
    if (!reading)
        return;
    if (seconds <= 0) {
        showReadText(progressText);
        return;
    }
    showReadText([seconds] { return tr("Ожидание ответа прибора… %1 с").arg(seconds); });
}

void LinkStatusBar::readProgress(int done, int count)
{
    progress->setRange(0, qMax(count, 1));
    progress->setValue(done);
    const int current = qMin(done + 1, count);
    progressText = [current, count] { return tr("Блок %1 из %2").arg(current).arg(count); };
    showReadText(progressText);
}

void LinkStatusBar::readEnded(BlockReader::Outcome outcome, int done, int count, int faulty)
{
    reading = false;
    progress->hide();
    cancelButton->hide();
    escape->setEnabled(false);
    enableSearch();
    outcomeLost = outcome == BlockReader::Outcome::InstrumentLost;

    switch (outcome) {
    case BlockReader::Outcome::Complete:
        if (faulty > 0)
            outcomeText = [done, faulty] {
                return tr("Прочитано блоков: %1, из них с ошибками: %2").arg(done).arg(faulty);
            };
        else
            outcomeText = [done] { return tr("Прочитано блоков: %1").arg(done); };
        break;
    case BlockReader::Outcome::Cancelled:
        outcomeText = [done, count] { return tr("Чтение прервано: %1 из %2 блоков").arg(done).arg(count); };
        break;
    case BlockReader::Outcome::InstrumentLost:
        if (count < 0)
            outcomeText = [] { return tr("Прибор отключён во время чтения: список блоков очищен"); };
        else
            outcomeText = [done, count] {
                return tr("Прибор отключён во время чтения: прочитано %1 из %2 блоков").arg(done).arg(count);
            };
        break;
    case BlockReader::Outcome::CountFailed:
        outcomeText = [] { return tr("Прибор не сообщил число блоков: список блоков очищен"); };
        break;
    }
    showReadText(outcomeText);
}

void LinkStatusBar::blockPicked(const MemoryBlock &block, int row)
{
    if (block.fault == BlockFault::None) {
        showReadText(outcomeText);
        return;
    }
    showReadText(
        [block, row] { return BlockFaultText::pickedBlock(block.name, row, BlockFaultText::reason(block)); });
}

void LinkStatusBar::showReadText(const std::function<QString()> &text)
{
    readText = text;
    readLabel->setText(readText ? readText() : QString());
}

void LinkStatusBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::FontChange)
        retranslate();
    QWidget::changeEvent(event);
}

void LinkStatusBar::retranslate()
{
    switch (linkState) {
    case Port::LinkState::Searching:
    case Port::LinkState::Trying:
        linkLabel->setText(tr("Поиск прибора…"));
        break;
    case Port::LinkState::Connected:
        linkLabel->setText(tr("Прибор на %1").arg(linkPort));
        break;
    case Port::LinkState::AnsweredWrongly:
        linkLabel->setText(tr("%1: ответ не похож на прибор").arg(linkPort));
        break;
    case Port::LinkState::Lost:
        linkLabel->setText(tr("Прибор отключён"));
        break;
    }
    // The link state is not cut short by the texts beside it; at a font too
    // large for the screen the search button shows its icon only.
    const int room = screen()->availableGeometry().width() / kScreenShare;
    linkLabel->setMinimumWidth(qMin(linkLabel->fontMetrics().horizontalAdvance(linkLabel->text()), room));
    const bool textFits = searchButton->fontMetrics().horizontalAdvance(searchAgain->text()) <= room;
    searchButton->setToolButtonStyle(textFits ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    cancelButton->setText(tr("Прервать"));
    if (readText)
        readLabel->setText(readText());
}
