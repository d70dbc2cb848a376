#pragma once

#include "history/historyfailure.h"
#include "history/namedblock.h"
#include "values/trendanalysis.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class HistoryService;
class QCheckBox;
class TrendPlots;

namespace Ui {
class ProcessTrend;
}

// The trend across reads: the blocks of one name from the history, each
// read's block one subgroup, on X̄-R (or X̄-S) charts whose limits come from
// the first k subgroups, with the points that break a chosen rule marked and
// listed; each chart copies and saves as an image.
// It asks the history through the service's queued requests only and draws
// the answer to its latest question; a late answer to an older one is dropped.
class ProcessTrend : public QWidget
{
    Q_OBJECT

public:
    // `service` may be null (nothing can be loaded) and set later.
    explicit ProcessTrend(HistoryService *service, QWidget *parent = nullptr);
    ~ProcessTrend() override;

    void setService(HistoryService *service);
    // Puts a name into the chooser (the block on show, say) without loading.
    void setBlockName(const QString &name);
    // "Построить": asks for the blocks of the chosen name.
    void load();
    // A question for the blocks is out and its answer not in yet.
    bool isBusy() const { return blocksAsked != 0; }
    const TrendAnalysis &analysis() const { return trend; }

signals:
    // An answer to the latest question was drawn (or its failure shown).
    void drawn();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Stored names containing `part` (all when empty) for the chooser.
    void askNames(const QString &part);
    void namesListed(quint64 request, const QStringList &names, const HistoryError &error);
    void blocksLoaded(quint64 request, const QVector<NamedBlock> &blocks, const HistoryError &error);
    // From the blocks last loaded and the chosen k.
    void analyse();
    void showSummary();
    void showFailure(const HistoryError &error);
    QStringList ruleLines() const;
    QVector<QCheckBox *> ruleBoxes() const;
    // Bit i: rule i + 1 is judged.
    unsigned enabledRules() const;
    // The exact stored name for the chooser's text (names may hold NULs that are not shown).
    QString chosenName() const;

    Ui::ProcessTrend *ui = nullptr;
    QPointer<HistoryService> service;
    TrendPlots *plots = nullptr;
    // The answers awaited; 0: none.
    quint64 blocksAsked = 0;
    quint64 namesAsked = 0;
    QString askedName;
    QString loadedName;
    QVector<NamedBlock> loaded;
    TrendAnalysis trend;
    bool failed = false;
    bool namesKnown = false;
    QTimer namesSoon;
};
