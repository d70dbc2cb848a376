#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Receives "open this file" instead of a desktop viewer; install it with
// QDesktopServices::setUrlHandler("file", &opened, "open").
class OpenedFiles : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;

    QStringList paths() const
    {
        QStringList local;
        for (const QUrl &url : urls)
            local.append(url.toLocalFile());
        return local;
    }

public slots:
    void open(const QUrl &url) { urls.append(url); }
};
