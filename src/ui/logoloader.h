#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class QThread;

// Decodes the logo stored in the settings on a thread of its own, so that a
// large picture does not hold up the window at start-up.
class LogoLoader : public QObject
{
    Q_OBJECT

public:
    explicit LogoLoader(QObject *parent);
    ~LogoLoader() override;

    void start(const QString &base64);
    bool running() const;
    // Waits for the decoding; null when nothing was stored or it is no picture.
    QImage takeImage();
    // A copy of the picture no larger than a logo is ever shown, made on the
    // same thread, to scale the shown logo from.
    QImage takeCopy();

    // A picture fitted into kCopySide x kCopySide, unless it is smaller.
    static QImage boundedCopy(const QImage &image);

signals:
    // From the GUI thread's event loop, once the decoding has ended.
    void finished();

private:
    void join();

    QThread *thread = nullptr;
    QImage image;
    QImage copy;
};
