#include "ui/reportstatus.h"

#include "ui/labelelision.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QUrl>

namespace {
constexpr int kNoMargin = 0;
} // namespace

ReportStatus::ReportStatus(QWidget *parent)
    : QWidget(parent)
    , message(new QLabel(this))
    , folderLink(new QLabel(this))
    , progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("report_status"));
    message->setObjectName(QStringLiteral("report_saved_label"));
    message->setTextFormat(Qt::PlainText);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut short rather than the status beside it.
    elideLabel(message);
    elideLabel(folderLink);
    folderLink->setObjectName(QStringLiteral("report_folder_link"));
    folderLink->setTextFormat(Qt::RichText);
    folderLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    progress->setObjectName(QStringLiteral("report_progress"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(kNoMargin, kNoMargin, kNoMargin, kNoMargin);
    layout->addWidget(progress);
    layout->addWidget(message);
    layout->addWidget(folderLink);
    connect(folderLink, &QLabel::linkActivated, this, &ReportStatus::openFolder);
    progress->hide();
    clearSaved();
    retranslate();
}

void ReportStatus::showSaved(const QString &path)
{
    saved = path;
    retranslate();
    message->show();
    folderLink->show();
}

void ReportStatus::clearSaved()
{
    saved.clear();
    message->hide();
    folderLink->hide();
}

void ReportStatus::showProgress(int page, int pages)
{
    progress->setRange(0, pages);
    progress->setValue(page);
    progress->show();
}

void ReportStatus::finishProgress()
{
    progress->hide();
}

void ReportStatus::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void ReportStatus::openFolder()
{
    if (!saved.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(saved).absolutePath()));
}

void ReportStatus::retranslate()
{
    progress->setFormat(tr("Страница %v из %m"));
    if (saved.isEmpty())
        return;
    message->setText(tr("Отчёт сохранён: %1").arg(QDir::toNativeSeparators(saved)));
    folderLink->setText(QStringLiteral("<a href=\"folder\">%1</a>").arg(tr("Открыть папку").toHtmlEscaped()));
}
