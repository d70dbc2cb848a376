#include "ui/mainwindow.h"

#include "settings/settingssession.h"
#include "ui/fontsize.h"
#include "ui/reportlogo.h"
#include "ui/settingsmessages.h"
#include "ui_mainwindow.h"

#include <QTimer>

namespace {
constexpr int kTableStretch = 5;
} // namespace

void MainWindow::applySettings()
{
    settings = std::make_unique<SettingsSession>();
    const SettingsValues values = settings->startValues();
    for (const auto &text : values.texts)
        findChild<QLineEdit *>(text.first)->setText(text.second);
    logoPanel->startDecoding(values.logoText);
    applyFontSize(this, values.fontSize);
    ui->limits_min->setValue(values.limitsMin);
    ui->limits_max->setValue(values.limitsMax);
    ui->comments_text->setPlainText(values.comments);
    // The table takes most of a new splitter's height, as in the form's first layout.
    ui->block_splitter->setStretchFactor(1, kTableStretch);
    ui->block_splitter->restoreState(values.splitterSizes);
    // Told from the event loop, over the window that is up by then.
    if (settings->unreadable())
        QTimer::singleShot(0, this, [this] { tellUnreadableSettings(this, settings->keptAside()); });
}

void MainWindow::storeSettings()
{
    SettingsValues values = settingsFromObject({});
    for (auto &text : values.texts)
        text.second = findChild<QLineEdit *>(text.first)->text();
    logoPanel->storeInto(values);
    values.fontSize = font().pointSize();
    values.limitsMin = ui->limits_min->value();
    values.limitsMax = ui->limits_max->value();
    values.comments = ui->comments_text->document()->toPlainText();
    values.windowGeometry = saveGeometry();
    values.splitterSizes = ui->block_splitter->saveState();
    if (!settings->store(values))
        tellSettingsNotSaved(this);
}
