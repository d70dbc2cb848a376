// What signing adds to a 1 000-value PDF report: bytes (goal at most 60 kB)
// and time (goal at most 0.3 s), the median of several runs. The identity is a
// self-signed RSA 2048 certificate made by the openssl tool.

#include "figures.h"
#include "../tests/support/reporttestdata.h"
#include "report/pdfreport.h"
#include "signing/pdfsigner.h"
#include "signing/signingidentity.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int kRuns = 9;
constexpr int kValues = 1000;
constexpr double kBytesGoal = 60 * 1024;
constexpr double kSecondsGoal = 0.3;

bool openssl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString key = dir.filePath("key.pem"), cert = dir.filePath("cert.pem");
    const QString p12 = dir.filePath("id.p12");
    if (!openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                  "-days", "30", "-subj", "/CN=Bench"})
        || !openssl({"pkcs12", "-export", "-in", cert, "-inkey", key, "-out", p12, "-passout",
                     "pass:bench"})) {
        out << "openssl could not make the identity\n";
        return 1;
    }
    SigningError error;
    const SigningIdentity identity = SigningIdentity::load(p12, "bench", &error);
    const QString original = dir.filePath("report.pdf");
    if (!error.ok() || !writePdfReportFile(original, sampleReportData(kValues))) {
        out << "no identity or report: " << error.text << '\n';
        return 1;
    }
    const qint64 unsignedSize = QFile(original).size();
    QVector<double> seconds;
    qint64 signedSize = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QString copy = dir.filePath(QStringLiteral("signed%1.pdf").arg(run));
        QFile::copy(original, copy);
        QElapsedTimer timer;
        timer.start();
        error = signPdfFile(copy, identity, {QStringLiteral("1"), QStringLiteral("Тула")});
        seconds.append(timer.nsecsElapsed() / 1e9);
        if (!error.ok()) {
            out << "signing failed: " << error.text << '\n';
            return 1;
        }
        signedSize = QFile(copy).size();
    }
    const Figures time = summary(seconds);
    const double added = signedSize - unsignedSize;
    out << "report of " << kValues << " values: " << unsignedSize << " bytes unsigned\n"
        << "bytes added by signing: " << added << " (goal <= " << kBytesGoal << ") "
        << (added <= kBytesGoal ? "ok" : "MISSED") << '\n'
        << "time added by signing: median " << time.median << " s, worst " << time.worst
        << " s (goal <= " << kSecondsGoal << ") " << (time.median <= kSecondsGoal ? "ok" : "MISSED")
        << '\n';
    return 0;
}
