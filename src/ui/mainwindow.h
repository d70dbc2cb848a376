#pragma once

#include "device/blockreader.h"
#include "device/port.h"
#include "device/portlister.h"
#include "settings/settingskeys.h"
#include "ui/blocklist.h"
#include "ui/blockview.h"
#include "ui/reportexport.h"
#include "ui/reportlogo.h"
#include "ui/windowfit.h"

#include <QMainWindow>
#include <memory>

class HistoryPanel;
class LanguageSwitch;
class LinkStatusBar;
class ProcessAnalysisPanel;
class ReportSigning;
class QListWidgetItem;
class SettingsSession;

namespace Ui {
class MainWindow;
}

// The program's window: it connects the panels (block list, block view, logo,
// report export and its signing, status bar, language, screen fit, history,
// process analysis) and the settings session; each widget's slot forwards to
// the panel that owns the job.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Watches the system's serial ports.
    explicit MainWindow(QWidget *parent = nullptr);
    // Watches the ports of the given lister (the demo's, a test's).
    explicit MainWindow(std::shared_ptr<const PortLister> ports, QWidget *parent = nullptr);
    ~MainWindow() override;

    BlockList &blockList() const { return *blocksPanel; }
    HistoryPanel &historyPanel() const { return *history; }
    ProcessAnalysisPanel &processAnalysis() const { return *analysis; }
    BlockView &blockView() const { return *viewPanel; }
    ReportLogo &reportLogo() const { return *logoPanel; }
    ReportExport &reportExport() const { return *exportPanel; }
    ReportSigning &reportSigning() const { return *signing; }
    Port &instrumentPort() { return port; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void validPortFound();
    void validPortDisconnected();
    void update_graph_limits(QCPRange newRange) { viewPanel->showValueRange(newRange); }
    void on_button_read_data_clicked() { blocksPanel->read(); }
    void on_block_names_list_itemDoubleClicked(QListWidgetItem *item);
    void on_button_export_to_excel_clicked() { exportPanel->exportExcel(); }
    void on_logo_action_clicked() { logoPanel->addOrRemove(); }
    void on_set_limits_checkbox_stateChanged(int arg1);
    // The four valueChanged slots only exist for the form's connections by name.
    void on_graphs_limits_min_valueChanged(double) {}
    void on_graphs_limits_max_valueChanged(double) {}
    void on_limits_max_valueChanged(double) {}
    void on_limits_min_valueChanged(double) {}
    void on_actionRU_triggered() { switchLanguage(false); }
    void on_actionEN_triggered() { switchLanguage(true); }
    void on_toolButton_clicked() {}
    void on_button_export_to_PDF_clicked() { exportPanel->exportPdf(); }
    void on_about_program_triggered();
    void on_about_company_triggered();
    void on_action_font_size_increase_triggered() { screenFit->setFontSize(font().pointSize() + 1); }
    void on_action_font_size_decrease_triggered() { screenFit->setFontSize(font().pointSize() - 1); }
    void on_action_font_size_reset_triggered() { screenFit->setFontSize(SettingsKeys::kDefaultFontSize); }
    void on_graphs_limits_min_editingFinished() { viewPanel->rangeLowerEdited(); }
    void on_graphs_limits_max_editingFinished() { viewPanel->rangeUpperEdited(); }
    void on_limits_min_editingFinished() { viewPanel->bandEdited(); }
    void on_limits_max_editingFinished() { viewPanel->bandEdited(); }
    void on_action_search_again_triggered() { port.searchAgain(); }
    void on_action_report_signing_triggered();

private:
    void applySettings();
    void storeSettings();
    void switchLanguage(bool english);
    void wireBlockList();
    void enableExport(bool hasValues);

    // "Открыть" in the history window: the list takes the read, unless one is running.
    void openFromHistory(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt);

    Port port;
    Ui::MainWindow *ui = nullptr;
    std::unique_ptr<SettingsSession> settings;
    BlockList *blocksPanel = nullptr;
    BlockView *viewPanel = nullptr;
    ReportLogo *logoPanel = nullptr;
    ReportExport *exportPanel = nullptr;
    ReportSigning *signing = nullptr;
    LinkStatusBar *linkStatus = nullptr;
    LanguageSwitch *language = nullptr;
    WindowFit *screenFit = nullptr;

    HistoryPanel *history = nullptr;
    ProcessAnalysisPanel *analysis = nullptr;
};
