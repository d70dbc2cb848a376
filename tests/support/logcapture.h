#pragma once

#include <QDebug>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Collects the program's debug log (qDebug, category "default") while it
// exists; warnings and worse still go to the previous handler.
class LogCapture
{
public:
    LogCapture()
    {
        current() = this;
        previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(previous);
        current() = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    const QStringList &lines() const { return captured; }
    void clear() { captured.clear(); }
    int count(const QString &line) const { return captured.count(line); }
    int indexOf(const QString &line, int from = 0) const { return captured.indexOf(line, from); }
    int indexStartingWith(const QString &prefix, int from = 0) const
    {
        for (int i = qMax(0, from); i < captured.size(); ++i) {
            if (captured.at(i).startsWith(prefix))
                return i;
        }
        return -1;
    }
    // The captured lines from the first one equal to `line` on.
    QStringList from(const QString &line) const
    {
        const int start = captured.indexOf(line);
        return start < 0 ? QStringList() : captured.mid(start);
    }

private:
    static LogCapture *&current()
    {
        static LogCapture *instance = nullptr;
        return instance;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        LogCapture *capture = current();
        const bool defaultCategory = !context.category || qstrcmp(context.category, "default") == 0;
        if (capture && type == QtDebugMsg && defaultCategory) {
            capture->captured.append(message);
            return;
        }
        if (capture && capture->previous)
            capture->previous(type, context, message);
    }

    QtMessageHandler previous = nullptr;
    QStringList captured;
};

// One log line as the debug stream writes these items.
template <typename... Items>
QString debugLine(const Items &...items)
{
    QString line;
    {
        QDebug stream(&line);
        (stream << ... << items);
    }
    // The stream leaves a separator after its last item; the log has none.
    if (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}
