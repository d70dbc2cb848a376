#pragma once

#include "report/verdicttexts.h"
#include "values/toleranceband.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <QVector>

class QLabel;

// Shows the band's verdict on a block in the statistics area: the
// out-of-band count, the verdict, Cp, Cpk, Pp and Ppk with the sample and intervals; "—" throughout while the
// band is off or no block is shown. The texts follow the interface language.
class BandVerdictView : public QObject
{
    Q_OBJECT

public:
    struct Labels
    {
        QLabel *outOfBand = nullptr;
        QLabel *verdict = nullptr;
        QLabel *cp = nullptr;
        QLabel *cpk = nullptr;
        QLabel *pp = nullptr;
        QLabel *ppk = nullptr;
        QLabel *note = nullptr; // the sample size, the intervals and a band that misleads
    };

    BandVerdictView(const Labels &labels, QObject *parent);

    void show(const QVector<float> &readings, const ToleranceBand &band);
    // What the labels show.
    VerdictTexts texts() const;
    // The texts for any readings and band, in the interface language.
    static VerdictTexts textsFor(const QVector<float> &readings, const ToleranceBand &band);

    // The locale of the numbers in texts of the interface language: the
    // decimal comma in Russian, the point in English.
    static QLocale numberLocale();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();

    Labels labels;
    QVector<float> readings;
    ToleranceBand band;
};
