#pragma once

#include "blockstatistics.h"
#include "memoryblock.h"
#include "port.h"
#include "reportcontent.h"

#include <QImage>
#include <QMainWindow>
#include <QVector>
#include <qcustomplot.h>

class QListWidgetItem;
class QTranslator;
struct ReportData;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT
    // Tests reach the block store and private helpers through this one class.
    friend class MainWindowTester;

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void validPortFound();
    void validPortDisconnected();
    void update_graph_limits(QCPRange newRange);
    void on_button_read_data_clicked();
    void on_block_names_list_itemDoubleClicked(QListWidgetItem *item);
    void on_button_export_to_excel_clicked();
    void on_logo_action_clicked();
    void on_set_limits_checkbox_stateChanged(int arg1);
    void on_graphs_limits_min_valueChanged(double arg1);
    void on_graphs_limits_max_valueChanged(double arg1);
    void on_limits_max_valueChanged(double arg1);
    void on_limits_min_valueChanged(double arg1);
    void on_actionRU_triggered();
    void on_actionEN_triggered();
    void on_toolButton_clicked();
    void on_button_export_to_PDF_clicked();
    void on_about_program_triggered();
    void on_about_company_triggered();
    void on_action_font_size_increase_triggered();
    void on_action_font_size_decrease_triggered();
    void on_graphs_limits_min_editingFinished();
    void on_graphs_limits_max_editingFinished();
    void on_limits_min_editingFinished();
    void on_limits_max_editingFinished();

private:
    // Settings file (mainwindow_settings.cpp)
    void applySettings();
    void storeSettings();

    // Languages (mainwindow_language.cpp)
    void switchLanguage(bool english);
    void updateLogoButtonText();

    // Logo (mainwindow_logo.cpp)
    void sizeLogoLabel();
    void refreshLogo();

    // Block view: table, statistics, band, plots (mainwindow_blockview.cpp)
    void showBlock(int row);
    void updateStatistics();
    void updateLimitLines();
    void markOutOfLimitValues();
    void drawBlockPlots(QListWidgetItem *item);
    void drawBlockPlotsForRow(int row);
    void drawPlotsOf(const QVector<float> &readings);
    // The statistics as the four boxes show them (one decimal, clamped);
    // NaN where a box shows no number.
    BlockStatistics shownStatistics() const;

    // Report export (mainwindow_export.cpp)
    ExportTarget askExportTarget(const QString &caption, const QString &extension);
    ReportContent collectReportContent() const;
    void writePdfReport(const QString &path, bool includeEmptyFields);
    void writeExcelReport(const QString &path, bool includeEmptyFields);
    // What both writers print, with plots drawn at the given size.
    ReportData gatherReportData(bool includeEmptyFields, const QSize &plotSize);
    void showSaveFailure();

    Port port;
    Ui::MainWindow *ui = nullptr;
    QImage logoImage;
    QCPItemStraightLine *graphMinLine = nullptr;
    QCPItemStraightLine *graphMaxLine = nullptr;
    QCPItemStraightLine *diagramMinLine = nullptr;
    QCPItemStraightLine *diagramMaxLine = nullptr;
    QTranslator *translator = nullptr;
    QVector<MemoryBlock> memoryBlocks;

    // Row of memoryBlocks last shown by a double-click (-1: none); the table,
    // statistics, plots and reports always describe this one block.
    int shownBlockRow = -1;
    // Its values as shown: a later read replaces memoryBlocks, and the band
    // must still be redrawn for the block beside the table, not for the new
    // block at the same row.
    QVector<float> shownValues;
    // True while a read rebuilds memoryBlocks.
    bool readInProgress = false;
};
