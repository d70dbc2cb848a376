#include "ui/historydialog.h"

#include "history/csvexport.h"
#include "history/historyservice.h"
#include "history/historyworker.h"
#include "history/readlistmodel.h"
#include "ui/blockfaulttext.h"
#include "ui/historytexts.h"
#include "ui_historydialog.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTime>
#include <algorithm>

namespace {

enum CsvChoice { RussianCsv, EnglishCsv };
enum BlockColumn { NumberColumn, NameColumn, ValuesColumn, ExpectedColumn, FaultColumn, BlockColumnCount };

constexpr int kDefaultRangeDays = 30;

CsvFormat csvFormatOf(int choice)
{
    if (choice == RussianCsv)
        return {QLatin1Char(';'), QLatin1Char(',')};
    return {QLatin1Char(','), QLatin1Char('.')};
}

QStandardItem *numberItem(qint64 number)
{
    auto *item = new QStandardItem(QString::number(number));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

HistoryDialog::HistoryDialog(HistoryService *service, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::HistoryDialog)
    , service(service)
{
    ui->setupUi(this);
    ui->busy_label->hide();
    ui->waiting_label->hide();
    ui->retry_button->hide();
    reads = new ReadListModel(service, this);
    ui->reads_view->setModel(reads);
    blocks = new QStandardItemModel(0, BlockColumnCount, this);
    setBlockHeaders();
    ui->blocks_view->setModel(blocks);

    const QDate today = QDate::currentDate();
    ui->date_from->setDate(today.addDays(-kDefaultRangeDays));
    ui->date_to->setDate(today);
    // A spreadsheet that writes decimal commas expects ';' between fields.
    ui->csv_format->setCurrentIndex(QLocale().decimalPoint() == QLatin1Char(',') ? RussianCsv : EnglishCsv);

    connect(ui->block_filter, &QLineEdit::textChanged, this, &HistoryDialog::applyFilter);
    connect(ui->date_filter, &QCheckBox::toggled, this, &HistoryDialog::applyFilter);
    connect(ui->date_from, &QDateEdit::dateChanged, this, &HistoryDialog::applyFilter);
    connect(ui->date_to, &QDateEdit::dateChanged, this, &HistoryDialog::applyFilter);
    connect(ui->date_filter, &QCheckBox::toggled, ui->date_from, &QWidget::setEnabled);
    connect(ui->date_filter, &QCheckBox::toggled, ui->date_to, &QWidget::setEnabled);
    connect(reads, &ReadListModel::failed, this, &HistoryDialog::showFailure);
    connect(reads, &QAbstractItemModel::modelReset, this, &HistoryDialog::selectionChanged);
    connect(ui->reads_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryDialog::selectionChanged);
    connect(ui->reads_view, &QAbstractItemView::doubleClicked, this, &HistoryDialog::openCurrent);
    connect(ui->open_button, &QPushButton::clicked, this, &HistoryDialog::openCurrent);
    connect(ui->delete_button, &QPushButton::clicked, this, &HistoryDialog::deleteSelected);
    connect(ui->export_button, &QPushButton::clicked, this, &HistoryDialog::exportCsv);
    // Reads waiting in the store arrive several at once: the list is fetched
    // again once they are all in.
    refreshSoon.setSingleShot(true);
    connect(&refreshSoon, &QTimer::timeout, this, [this] {
        if (isVisible())
            refresh();
    });
    HistoryWorker *worker = service->worker();
    connect(worker, &HistoryWorker::readStored, &refreshSoon, qOverload<>(&QTimer::start));
    connect(worker, &HistoryWorker::readSetAside, &refreshSoon, qOverload<>(&QTimer::start));
    connect(worker, &HistoryWorker::keptLocally, &refreshSoon, qOverload<>(&QTimer::start));
    connect(reads, &ReadListModel::busyChanged, this, &HistoryDialog::updateBusy);
    connect(worker, &HistoryWorker::blocksListed, this,
            [this](quint64 request, const QVector<StoredBlock> &found, const HistoryError &error) {
                if (request != blocksAsked)
                    return;
                blocksAsked = 0;
                shownBlocks = found;
                fillBlockRows();
                if (error.isError())
                    showFailure(error);
                updateBusy();
            });
    connect(worker, &HistoryWorker::readLoaded, this, &HistoryDialog::readLoaded);
    connect(worker, &HistoryWorker::readsDeleted, this, [this](quint64 request, const HistoryError &error) {
        if (request != deleteAsked)
            return;
        deleteAsked = 0;
        updateBusy();
        if (error.isError())
            showFailure(error);
        else
            refresh();
    });
    connect(worker, &HistoryWorker::waitingListed, this, &HistoryDialog::showWaiting);
    connect(ui->retry_button, &QPushButton::clicked, this, [this] {
        this->service->retrySetAside();
        refreshSoon.start();
    });
}

bool HistoryDialog::isBusy() const
{
    return reads->isBusy() || blocksAsked != 0 || loadAsked != 0 || deleteAsked != 0 || waitingAsked != 0;
}

void HistoryDialog::updateBusy()
{
    const bool busy = isBusy();
    ui->busy_label->setVisible(busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void HistoryDialog::showWaiting(quint64 request, const QVector<ReadRecord> &unsaved,
                                const QVector<StoredRead> &waiting, const HistoryError &error)
{
    if (request != waitingAsked)
        return;
    waitingAsked = 0;
    updateBusy();
    QStringList lines;
    for (const ReadRecord &read : unsaved)
        lines << tr("%1: ожидает записи (сохранено в %2)")
                     .arg(historyTimeText(read.startedAt), QDir::toNativeSeparators(service->spoolFolder()));
    bool setAside = false;
    for (const StoredRead &read : waiting) {
        if (read.pending == kSetAside) {
            setAside = true;
            lines << tr("%1: не записано на сервер: %2").arg(historyTimeText(read.startedAt), read.refusal);
        } else {
            lines << tr("%1: сохранено на этом компьютере, ожидает отправки на сервер")
                         .arg(historyTimeText(read.startedAt));
        }
    }
    if (error.isError())
        lines << tr("История недоступна: %1.")
                     .arg(HistoryTexts::cause(error.failure,
                                              service->settings().backend == HistoryBackend::Postgres));
    ui->waiting_label->setText(lines.join(QLatin1Char('\n')));
    ui->waiting_label->setVisible(!lines.isEmpty());
    ui->retry_button->setVisible(setAside);
}

HistoryDialog::~HistoryDialog()
{
    delete ui;
}

void HistoryDialog::changeEvent(QEvent *event)
{
    // The form may be asked before the models exist.
    if (event->type() == QEvent::LanguageChange && reads) {
        ui->retranslateUi(this);
        setBlockHeaders();
        reads->retranslate();
        // The shown blocks' words, without asking the store again.
        fillBlockRows();
    }
    QDialog::changeEvent(event);
}

void HistoryDialog::setBlockHeaders()
{
    blocks->setHorizontalHeaderLabels(
        {tr("№"), tr("Блок"), tr("Значений"), tr("Ожидалось"), tr("Сбой чтения")});
}

void HistoryDialog::refresh()
{
    ui->status_label->clear();
    reads->reload();
    waitingAsked = service->listWaiting();
    updateBusy();
}

void HistoryDialog::applyFilter()
{
    ReadFilter filter;
    filter.blockName = ui->block_filter->text().trimmed();
    if (ui->date_filter->isChecked()) {
        // Whole local days, the last one included.
        filter.from = QDateTime(ui->date_from->date(), QTime(0, 0)).toUTC();
        filter.to = QDateTime(ui->date_to->date().addDays(1), QTime(0, 0)).toUTC();
    }
    ui->status_label->clear();
    reads->setFilter(filter);
}

int HistoryDialog::currentRow() const
{
    const QModelIndexList rows = ui->reads_view->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const QModelIndex current = ui->reads_view->currentIndex();
    if (current.isValid() && ui->reads_view->selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    return rows.first().row();
}

QVector<qint64> HistoryDialog::selectedReadIds() const
{
    QVector<qint64> ids;
    for (const QModelIndex &row : ui->reads_view->selectionModel()->selectedRows())
        ids.append(reads->read(row.row()).id);
    return ids;
}

void HistoryDialog::selectionChanged()
{
    const bool one = currentRow() >= 0;
    ui->open_button->setEnabled(one);
    ui->export_button->setEnabled(one);
    ui->delete_button->setEnabled(one);
    showBlocksOfCurrent();
}

void HistoryDialog::showBlocksOfCurrent()
{
    shownBlocks.clear();
    blocksAsked = 0;
    const int row = currentRow();
    if (row >= 0)
        blocksAsked = service->listBlocks(reads->read(row).id);
    fillBlockRows();
    updateBusy();
}

void HistoryDialog::fillBlockRows()
{
    blocks->removeRows(0, blocks->rowCount());
    for (const StoredBlock &block : qAsConst(shownBlocks)) {
        auto *fault =
            new QStandardItem(BlockFaultText::reason(block.fault, block.valueCount, block.expectedSize));
        blocks->appendRow(
            {numberItem(block.position + 1), new QStandardItem(block.name), numberItem(block.valueCount),
             block.expectedSize < 0 ? new QStandardItem() : numberItem(block.expectedSize), fault});
    }
}

void HistoryDialog::loadCurrent(bool forCsv)
{
    const int row = currentRow();
    if (row < 0)
        return;
    loadForCsv = forCsv;
    loadAsked = service->loadRead(reads->read(row).id);
    updateBusy();
}

void HistoryDialog::readLoaded(quint64 request, const ReadRecord &read, const HistoryError &error)
{
    if (request != loadAsked)
        return;
    loadAsked = 0;
    updateBusy();
    if (error.isError()) {
        showFailure(error);
        return;
    }
    if (loadForCsv) {
        writeCsv(read);
        return;
    }
    emit readOpened(read.blocks, read.startedAt);
    accept();
}

void HistoryDialog::openCurrent()
{
    loadCurrent(false);
}

void HistoryDialog::deleteSelected()
{
    const QVector<qint64> ids = selectedReadIds();
    if (ids.isEmpty())
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, HistoryTexts::title(), tr("Удалить из истории выбранные чтения (%1)?").arg(ids.size()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    deleteAsked = service->deleteReads(ids);
    updateBusy();
}

void HistoryDialog::exportCsv()
{
    loadCurrent(true);
}

void HistoryDialog::writeCsv(const ReadRecord &read)
{
    // The selected blocks of the read, or all of them.
    QVector<int> positions;
    for (const QModelIndex &row : ui->blocks_view->selectionModel()->selectedRows())
        positions.append(row.row());
    std::sort(positions.begin(), positions.end());
    QVector<MemoryBlock> chosen;
    for (const int position : qAsConst(positions))
        chosen.append(read.blocks.value(position));
    if (positions.isEmpty())
        chosen = read.blocks;

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString proposal =
        QStringLiteral("%1/ZRV %2.csv")
            .arg(folder, read.startedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Экспорт в CSV"), proposal, tr("Файлы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray bytes = blocksToCsv(chosen, csvFormatOf(ui->csv_format->currentIndex()),
                                         {tr("Блок"), tr("Номер"), tr("Значение")});
    if (!writeCsvFile(path, bytes)) {
        QMessageBox::warning(
            this, tr("Ошибка"),
            tr("Не удалось сохранить файл CSV.\nПроверьте права на запись и место на диске."));
        return;
    }
    ui->status_label->setText(tr("Сохранено: %1").arg(QDir::toNativeSeparators(path)));
}

void HistoryDialog::showFailure(const HistoryError &error)
{
    const bool server = service->settings().backend == HistoryBackend::Postgres;
    ui->status_label->setText(tr("История недоступна: %1.").arg(HistoryTexts::cause(error.failure, server)));
    ui->status_label->setToolTip(error.text);
}
