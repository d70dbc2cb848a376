#pragma once

#include "testports.h"
#include "ui/blockview.h"
#include "ui/mainwindow.h"
#include "ui/reportexport.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QStandardPaths>

// Test access to the main window's private state.
class MainWindowTester
{
public:
    static Ui::MainWindow *ui(MainWindow &w) { return w.ui; }
    static QVector<MemoryBlock> &blocks(MainWindow &w) { return w.memoryBlocks; }
    // The settings' logo is decoded on a thread of its own: waits for it.
    static QImage &logo(MainWindow &w)
    {
        w.takeDecodedLogo();
        return w.logoImage;
    }
    static Port &port(MainWindow &w) { return w.port; }
    static int shownRow(MainWindow &w) { return w.shownBlockRow; }
    static BlockStatistics shownStatistics(MainWindow &w) { return w.blockView->statistics(); }
    static BlockView &blockView(MainWindow &w) { return *w.blockView; }
    static ReportExport &reportExport(MainWindow &w) { return *w.reportExport; }
    // Shows the block of a row, as a double-click does.
    static void showBlock(MainWindow &w, int row) { w.showBlock(row); }

    // Puts blocks into the store and the list as a finished read would.
    static void setBlocks(MainWindow &w, const QVector<MemoryBlock> &blocks)
    {
        w.memoryBlocks = blocks;
        w.ui->block_names_list->clear();
        for (const MemoryBlock &block : blocks)
            w.ui->block_names_list->addItem(block.name);
    }
};

// The test-mode settings folder, emptied so that each case starts as a first run.
inline QString freshSettingsFolder()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(folder).removeRecursively();
    // The spool of unsaved reads, apart from the settings folder, emptied too.
    const QString state = folder + QStringLiteral("-state");
    qputenv("XDG_STATE_HOME", state.toUtf8());
    QDir(state).removeRecursively();
    return folder;
}

// The 18 keys of config.json, in the file's order.
inline QStringList allSettingsKeys()
{
    return {QStringLiteral("company_name"),
            QStringLiteral("company_city"),
            QStringLiteral("company_address"),
            QStringLiteral("company_phone"),
            QStringLiteral("company_website"),
            QStringLiteral("device_name"),
            QStringLiteral("device_type"),
            QStringLiteral("device_number"),
            QStringLiteral("device_document_number"),
            QStringLiteral("logo_image"),
            QStringLiteral("report_operator"),
            QStringLiteral("report_detail_name"),
            QStringLiteral("report_material"),
            QStringLiteral("report_batch_number"),
            QStringLiteral("app_font_size"),
            QStringLiteral("limits_min_val"),
            QStringLiteral("limits_max_val"),
            QStringLiteral("comments")};
}
