#include "ui/logoloader.h"

#include "settings/logoimage.h"

#include <QThread>

namespace {

// Larger than the logo label ever is (half the report number's width).
constexpr int kCopySide = 512;
constexpr int kSampledSide = 2 * kCopySide;

} // namespace

LogoLoader::LogoLoader(QObject *parent)
    : QObject(parent)
{
}

LogoLoader::~LogoLoader()
{
    join();
}

void LogoLoader::start(const QString &base64)
{
    join();
    image = QImage();
    copy = QImage();
    if (base64.isEmpty())
        return;
    // The thread writes only these two, and only until join() has waited for it.
    thread = QThread::create([this, base64] {
        image = imageFromBase64(base64);
        copy = boundedCopy(image);
    });
    connect(thread, &QThread::finished, this, &LogoLoader::finished);
    thread->start();
}

bool LogoLoader::running() const
{
    return thread != nullptr;
}

QImage LogoLoader::takeImage()
{
    join();
    return image;
}

QImage LogoLoader::takeCopy()
{
    join();
    return copy;
}

QImage LogoLoader::boundedCopy(const QImage &image)
{
    if (image.width() <= kCopySide && image.height() <= kCopySide)
        return image;
    // Smooth scaling costs in proportion to the source's pixels (about 0.1 s
    // for 3000 x 3000); from a picture that large, a sampled copy at twice the
    // side goes first and looks the same at the label's size.
    if (image.width() > kSampledSide || image.height() > kSampledSide) {
        return image.scaled(kSampledSide, kSampledSide, Qt::KeepAspectRatio, Qt::FastTransformation)
            .scaled(kCopySide, kCopySide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image.scaled(kCopySide, kCopySide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void LogoLoader::join()
{
    if (!thread)
        return;
    thread->wait();
    delete thread;
    thread = nullptr;
}
