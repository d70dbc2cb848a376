#pragma once

#include "testports.h"
#include "ui/blocklist.h"
#include "ui/blockview.h"
#include "ui/mainwindow.h"
#include "ui/reportexport.h"
#include "ui/reportlogo.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QStandardPaths>
#include <map>
#include <type_traits>

// The form's objects by name, beside centralwidget.
// clang-format off
#define ZRV_FORM_OBJECTS(X) \
    X(actionRU) X(actionEN) X(about_program) X(about_company) X(action_font_size_increase) \
    X(action_font_size_decrease) X(action_font_size_reset) X(action_search_again) X(high_contrast) \
    X(action_history) X(action_history_storage) X(action_process_analysis) X(horizontalLayout) X(block_column_scroll) \
    X(block_column_contents) X(verticalLayout_4) X(verticalLayout) X(button_read_data) \
    X(button_export_to_excel) X(button_export_to_PDF) X(pdf_export_layout) X(sign_pdf_checkbox) X(block_splitter) X(block_list_pane) \
    X(verticalLayout_28) X(verticalLayout_2) X(label) X(block_names_list) X(block_table_pane) \
    X(verticalLayout_3) X(label_2) X(table_block_data) X(line_3) X(verticalLayout_6) X(stats_label) \
    X(formLayout) X(min_label) X(min_box) X(max_label) X(max_box) X(mean_label) X(mean_box) \
    X(stdev_label) X(stdev_box) X(out_of_band_label) X(out_of_band_value) X(verdict_label) \
    X(verdict_row_layout) X(verdict_value) X(cp_label) X(cp_row_layout) X(cp_value) X(cpk_label) X(cpk_row_layout) X(cpk_value) \
    X(pp_label) X(pp_value) X(ppk_label) X(ppk_value) X(capability_note) X(line) X(chart_column_scroll) \
    X(chart_column_contents) X(verticalLayout_26) X(verticalLayout_5) X(graph) X(horizontalLayout_2) \
    X(report_graph_checkbox) X(toolButton) X(label_6) X(graphs_limits_min) X(graphs_limits_max) \
    X(diagram) X(report_diagram_checkbox) X(include_analysis_checkbox) X(verticalLayout_7) X(set_limits_checkbox) \
    X(horizontalLayout_4) X(label_5) X(limits_min) X(label_4) X(limits_max) X(tolerance_kind_layout) \
    X(tolerance_kind_label) X(tolerance_kind) X(line_2) \
    X(decimals_layout) X(decimals_label) X(decimals_combo) \
    X(report_form_scroll) X(report_form_scroll_contents) X(verticalLayout_31) X(verticalLayout_27) \
    X(horizontalLayout_6) X(company_data_label) X(verticalLayout_13) X(horizontalLayout_3) \
    X(logo_action) X(logotype) X(verticalLayout_8) X(company_name_label) X(company_name) \
    X(verticalLayout_9) X(company_city_label) X(company_city) X(verticalLayout_10) \
    X(company_address_label) X(company_address) X(verticalLayout_11) X(company_phone_label) \
    X(company_phone) X(verticalLayout_12) X(company_website_label) X(company_website) X(line_5) \
    X(verticalLayout_29) X(horizontalLayout_7) X(report_data_label) X(verticalLayout_14) \
    X(verticalLayout_15) X(report_number_label) X(report_number) X(verticalLayout_16) \
    X(report_date_edit_label) X(report_date_edit) X(verticalLayout_17) X(report_operator_label) \
    X(report_operator) X(verticalLayout_18) X(report_detail_name_label) X(report_detail_name) \
    X(verticalLayout_19) X(report_material_label) X(report_material) X(verticalLayout_20) \
    X(report_batch_number_label) X(report_batch_number) X(report_unit_layout) \
    X(report_unit_label) X(report_unit) X(line_4) X(verticalLayout_30) \
    X(horizontalLayout_8) X(device_data_label) X(verticalLayout_25) X(verticalLayout_21) \
    X(device_name_label) X(device_name) X(horizontalLayout_5) X(verticalLayout_22) X(device_type_label) \
    X(device_type) X(verticalLayout_23) X(device_number_label) X(device_number) X(verticalLayout_24) \
    X(device_document_number_label) X(device_document_number) X(line_6) X(verticalLayout_32) \
    X(horizontalLayout_9) X(comments_label) X(comments_text) X(menubar) X(view) X(font_size) X(language) \
    X(about) X(data) X(action_report_signing) X(statusbar)
// clang-format on

// The window's form as a user of the window reaches it: each object found by
// its object name; the panels through the window's own interface.
class MainWindowTester
{
public:
    static Ui::MainWindow *ui(MainWindow &w)
    {
        // One form per window, found again at each call (a window may be
        // destroyed and another made in its place).
        static std::map<const MainWindow *, Ui::MainWindow> forms;
        Ui::MainWindow &form = forms[&w];
        form.centralwidget = w.centralWidget();
#define ZRV_FIND_OBJECT(name)                                                                                \
    form.name = w.findChild<std::remove_pointer_t<decltype(form.name)> *>(QStringLiteral(#name));
        ZRV_FORM_OBJECTS(ZRV_FIND_OBJECT)
#undef ZRV_FIND_OBJECT
        return &form;
    }
    static const QVector<MemoryBlock> &blocks(MainWindow &w)
    {
        return w.blockList().blocks();
    }
    // The settings' logo is decoded on a thread of its own: waits for it.
    static QImage logo(MainWindow &w)
    {
        return w.reportLogo().image();
    }
    static Port &port(MainWindow &w)
    {
        return w.instrumentPort();
    }
    static int shownRow(MainWindow &w)
    {
        return w.blockList().shownRow();
    }
    static BlockStatistics shownStatistics(MainWindow &w)
    {
        return w.blockView().statistics();
    }
    static BlockView &blockView(MainWindow &w)
    {
        return w.blockView();
    }
    static ReportExport &reportExport(MainWindow &w)
    {
        return w.reportExport();
    }
    // Shows the block of a row, as a double-click does.
    static void showBlock(MainWindow &w, int row)
    {
        w.blockList().showBlock(row);
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

// The window's size and place and the splitter's sizes: written at exit
// beside the 18 keys, never in a new file.
inline QStringList windowPlaceKeys()
{
    return {QStringLiteral("window_geometry"), QStringLiteral("splitter_sizes")};
}

// The signing certificate's path and the "Подписать PDF" box: written at exit
// beside the 18 keys too, never in a new file; no password among them.
inline QStringList signingKeys()
{
    return {QStringLiteral("signing_certificate_path"), QStringLiteral("sign_pdf")};
}

// Every key the window writes at exit beyond the 18.
inline QStringList keysWrittenAtExit()
{
    return windowPlaceKeys() + signingKeys();
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
