#pragma once

#include "device/blockreader.h"
#include "device/port.h"
#include "device/portlister.h"
#include "settings/settingsfile.h"
#include "values/memoryblock.h"

#include <QImage>
#include <QPixmap>
#include <QMainWindow>
#include <QVector>
#include <memory>
#include <qcustomplot.h>

class BlockView;
class LogoLoader;
class QActionGroup;
class QLabel;
class LinkStatusBar;
class HistoryPanel;
class QListWidgetItem;
class QTranslator;
class ReportExport;

namespace Ui {
class MainWindow;
}

// The program's window. It wires the form, the device link, the block view,
// the report export, settings, language, logo and the about boxes; each
// widget's slot is one call into the piece that owns the job.
class MainWindow : public QMainWindow
{
    Q_OBJECT
    // Tests reach the block store and private helpers through this one class.
    friend class MainWindowTester;

public:
    // Watches the system's serial ports.
    explicit MainWindow(QWidget *parent = nullptr);
    // Watches the ports of the given lister (the demo's, a test's).
    explicit MainWindow(std::shared_ptr<const PortLister> ports, QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
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
    void on_action_font_size_reset_triggered();
    void on_graphs_limits_min_editingFinished();
    void on_graphs_limits_max_editingFinished();
    void on_limits_min_editingFinished();
    void on_limits_max_editingFinished();
    void on_action_search_again_triggered();

private:
    // Settings file (mainwindow_settings.cpp)
    void applySettings();
    // False when the settings could not be written.
    bool storeSettings();
    void tellUnreadableSettings();
    void tellSettingsNotSaved();

    // Languages (mainwindow_language.cpp)
    void setUpLanguages();
    void switchLanguage(bool english);
    void updateLogoButtonText();

    // Logo (mainwindow_logo.cpp)
    void sizeLogoLabel();
    void refreshLogo();
    // The logo read from the settings, once its decoding has ended (waits for it).
    void takeDecodedLogo();

    // Font size and screen fit (mainwindow_viewmenu.cpp)
    void setFontSize(int pointSize);
    void placeOnScreen();
    void fitToScreen(bool sizedByContents);
    void settleLayouts();
    void fitReportFormWidth();

    // Read flow (mainwindow_device.cpp)
    void startBlockList(int count);
    void listBlock(int done, int count, const MemoryBlock &block);
    // A block at the end of the list and its row, marked when it failed.
    void appendBlockRow(const MemoryBlock &block);
    void markFailedBlocks();

    // A read opened from the history (mainwindow_device.cpp).
    void openFromHistory(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt);

    // Shows the block of the list's row in the block view.
    void showBlock(int row);
    void enableExport(bool hasValues);

    Port port;
    Ui::MainWindow *ui = nullptr;
    QImage logoImage;
    // The settings text the logo was read from, while logoImage is that
    // image (same cache key): written back at exit without encoding again.
    QString logoText;
    qint64 logoTextKey = 0;
    LogoLoader *logoLoader = nullptr;
    // The settings' logo is still being decoded.
    bool logoDecoding = false;
    // A copy no larger than the logo is ever shown, to scale from.
    QImage logoCopy;
    qint64 logoCopyKey = 0;
    // The logo as shown: fitted once to the label's side, not on every resize.
    QPixmap logoShown;
    qint64 logoShownKey = 0;
    int logoSide = 0; // 0: the label is not sized yet
    BlockView *blockView = nullptr;
    ReportExport *reportExport = nullptr;
    BlockReader *blockReader = nullptr;
    LinkStatusBar *linkStatus = nullptr;
    HistoryPanel *historyPanel = nullptr;
    QTranslator *translator = nullptr;
    // Qt's own texts (dialog buttons, file dialogs) in Russian.
    QTranslator *qtTranslator = nullptr;
    QActionGroup *languages = nullptr;
    QVector<MemoryBlock> memoryBlocks;

    // Start-up found a settings file it could not parse; kept: its copy was made.
    bool settingsUnreadable = false;
    bool settingsKept = false;
    // The file's object as start-up read it, and when the file was written.
    QJsonObject settingsAtStart;
    ConfigStamp settingsStamp;

    // The list's row whose block the view shows (-1: none). A later read
    // replaces the list; the view keeps its own copy of the block.
    int shownBlockRow = -1;
};
