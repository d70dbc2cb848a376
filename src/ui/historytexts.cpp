#include "ui/historytexts.h"

#include "history/readlistmodel.h"

#include <QDir>

QString HistoryTexts::title()
{
    return tr("История измерений");
}

QString HistoryTexts::cause(HistoryFailure failure, bool server)
{
    switch (failure) {
    case HistoryFailure::Unreachable:
        return server ? tr("сервер истории недоступен") : tr("не удалось открыть файл истории");
    case HistoryFailure::Locked:
        return tr("база истории занята другой программой");
    case HistoryFailure::DiskFull:
        return tr("нет места для записи");
    case HistoryFailure::Corrupt:
        return tr("база истории повреждена");
    case HistoryFailure::Rejected:
        return tr("сервер отклонил чтение");
    case HistoryFailure::Newer:
        return tr("история записана более новой версией ZRV");
    case HistoryFailure::Failed:
    case HistoryFailure::None:
        break;
    }
    return tr("не удалось записать в базу истории");
}

QString HistoryTexts::failure(const HistoryError &error, bool server)
{
    if (server)
        return tr("История измерений: %1. Чтения сохраняются на этом компьютере и будут отправлены на "
                  "сервер, когда он станет доступен.")
            .arg(cause(error.failure, true));
    return tr("История измерений: %1. Чтение показано и будет записано в историю, как только это станет "
              "возможно.")
        .arg(cause(error.failure, false));
}

QString HistoryTexts::keptLocally(int waiting)
{
    return tr("Сервер истории недоступен: чтение сохранено на этом компьютере (ожидают отправки: %1).")
        .arg(waiting);
}

QString HistoryTexts::sentToServer(int count)
{
    return tr("Сервер истории доступен: отправлено чтений, сохранённых на этом компьютере: %1.").arg(count);
}

QString HistoryTexts::storedAfterFailure(int count)
{
    return tr("История измерений снова доступна: записано отложенных чтений: %1.").arg(count);
}

QString HistoryTexts::corruptFileKept(const QString &path)
{
    return tr("Файл истории был повреждён и сохранён как %1; начат новый файл истории.")
        .arg(QDir::toNativeSeparators(path));
}

QString HistoryTexts::corruptFileKept(const QString &path, int recovered)
{
    return corruptFileKept(path) + QLatin1Char(' ')
           + tr("Восстановлено чтений из повреждённого файла: %1.").arg(recovered);
}

QString HistoryTexts::newerStore(const QString &spoolFolder)
{
    return tr("История измерений: файл истории записан более новой версией ZRV и оставлен без изменений. "
              "Чтения сохраняются в папке %1, пока история недоступна.")
        .arg(QDir::toNativeSeparators(spoolFolder));
}

QString HistoryTexts::setAside(const QString &refusal)
{
    return tr("История измерений: сервер не принял чтение (не записано на сервер: %1). Чтение сохранено на "
              "этом компьютере и отложено; остальные чтения отправляются.")
        .arg(refusal.trimmed());
}

QString HistoryTexts::unsavedAtExit(int count, const QString &spoolFolder)
{
    return tr("Не записано в историю чтений: %1. Они сохранены в папке %2 и будут записаны при следующем "
              "запуске.")
        .arg(count)
        .arg(QDir::toNativeSeparators(spoolFolder));
}

QString HistoryTexts::openedFromHistory(const QDateTime &startedAt)
{
    return tr("Из истории: %1").arg(historyTimeText(startedAt));
}

QString HistoryTexts::readInProgress()
{
    return tr("Идёт чтение прибора: откройте запись из истории после его окончания.");
}

QString HistoryTexts::storeInUse(const HistorySettings &settings, const QString &folder)
{
    if (settings.backend == HistoryBackend::Sqlite)
        return tr("История измерений хранится на этом компьютере: %1.")
            .arg(QDir::toNativeSeparators(historyDatabasePath(folder)));
    return tr("История измерений хранится на сервере PostgreSQL %1:%2, база «%3».")
        .arg(settings.server.host)
        .arg(settings.server.port)
        .arg(settings.server.database);
}
