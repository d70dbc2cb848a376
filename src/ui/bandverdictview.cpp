#include "ui/bandverdictview.h"

#include "ui/labelelision.h"

#include <QEvent>
#include <QLabel>

BandVerdictView::BandVerdictView(const Labels &labels, QObject *parent)
    : QObject(parent)
    , labels(labels)
{
    // A language switch reaches every widget; one label is enough to hear it.
    if (labels.verdict)
        labels.verdict->installEventFilter(this);
    // A long verdict is cut short, never the window widened.
    for (QLabel *label :
         {labels.outOfBand, labels.verdict, labels.cp, labels.cpk, labels.pp, labels.ppk, labels.note})
        if (label)
            elideLabel(label);
    refresh();
}

void BandVerdictView::show(const QVector<float> &shownReadings, const ToleranceBand &shownBand)
{
    readings = shownReadings;
    band = shownBand;
    refresh();
}

VerdictTexts BandVerdictView::texts() const
{
    return textsFor(readings, band);
}

VerdictTexts BandVerdictView::textsFor(const QVector<float> &readings, const ToleranceBand &band)
{
    return verdictTexts(readings, band);
}

QLocale BandVerdictView::numberLocale()
{
    return verdictNumberLocale();
}

bool BandVerdictView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        refresh();
    return QObject::eventFilter(watched, event);
}

void BandVerdictView::refresh()
{
    const VerdictTexts shown = texts();
    const QPair<QLabel *, QString> pairs[] = {{labels.outOfBand, shown.outOfBand},
                                              {labels.verdict, shown.verdict},
                                              {labels.cp, shown.cp},
                                              {labels.cpk, shown.cpk},
                                              {labels.pp, shown.pp},
                                              {labels.ppk, shown.ppk},
                                              {labels.note, capabilityNoteText(shown)}};
    for (const auto &pair : pairs)
        if (pair.first)
            pair.first->setText(pair.second);
}
