#include "ui/formparts.h"

#include "settings/settingsvalues.h"
#include "ui/decimalschoice.h"
#include "ui_mainwindow.h"

namespace {
// The table takes most of a new splitter's height, as in the form's first layout.
constexpr int kTableStretch = 5;
} // namespace

BlockViewWidgets blockViewWidgets(const Ui::MainWindow &ui)
{
    return {ui.table_block_data,
            ui.min_box,
            ui.max_box,
            ui.mean_box,
            ui.stdev_box,
            ui.set_limits_checkbox,
            ui.limits_min,
            ui.limits_max,
            ui.tolerance_kind,
            ui.decimals_combo,
            ui.graphs_limits_min,
            ui.graphs_limits_max,
            ui.graph,
            ui.diagram,
            {ui.out_of_band_value, ui.verdict_value, ui.cp_value, ui.cpk_value, ui.pp_value, ui.ppk_value,
             ui.capability_note}};
}

ReportFormWidgets reportFormWidgets(const Ui::MainWindow &ui)
{
    ReportFormWidgets form;
    form.fields = {
        {ui.company_data_label, ui.company_name_label, ui.company_name},
        {ui.company_data_label, ui.company_city_label, ui.company_city},
        {ui.company_data_label, ui.company_address_label, ui.company_address},
        {ui.company_data_label, ui.company_phone_label, ui.company_phone},
        {ui.company_data_label, ui.company_website_label, ui.company_website},
        {ui.report_data_label, ui.report_number_label, ui.report_number},
        {ui.report_data_label, ui.report_date_edit_label, ui.report_date_edit},
        {ui.report_data_label, ui.report_operator_label, ui.report_operator},
        {ui.report_data_label, ui.report_detail_name_label, ui.report_detail_name},
        {ui.report_data_label, ui.report_material_label, ui.report_material},
        {ui.report_data_label, ui.report_batch_number_label, ui.report_batch_number},
        {ui.device_data_label, ui.device_name_label, ui.device_name},
        {ui.device_data_label, ui.device_type_label, ui.device_type},
        {ui.device_data_label, ui.device_number_label, ui.device_number},
        {ui.device_data_label, ui.device_document_number_label, ui.device_document_number},
    };
    form.number = ui.report_number;
    form.date = ui.report_date_edit;
    form.operatorName = ui.report_operator;
    form.companyName = ui.company_name;
    form.city = ui.company_city;
    form.unit = ui.report_unit;
    form.minimum = ui.min_label;
    form.maximum = ui.max_label;
    form.mean = ui.mean_label;
    form.stdev = ui.stdev_label;
    form.outOfBand = ui.out_of_band_label;
    form.verdict = ui.verdict_label;
    form.cp = ui.cp_label;
    form.cpk = ui.cpk_label;
    form.statisticsHeading = ui.stats_label;
    form.commentsHeading = ui.comments_label;
    form.withGraph = ui.report_graph_checkbox;
    form.withDiagram = ui.report_diagram_checkbox;
    form.withAnalysis = ui.include_analysis_checkbox;
    form.comments = ui.comments_text;
    return form;
}

ReportLogoWidgets reportLogoWidgets(const Ui::MainWindow &ui)
{
    return {ui.logo_action, ui.logotype, ui.report_number};
}

void showSettings(const SettingsValues &values, const Ui::MainWindow &ui, QWidget *window)
{
    for (const auto &text : values.texts)
        window->findChild<QLineEdit *>(text.first)->setText(text.second);
    // The limits keep the decimals chosen with them.
    ui.decimals_combo->setCurrentIndex(decimalsChoiceIndex(values.valueDecimals));
    for (QDoubleSpinBox *box : {ui.limits_min, ui.limits_max})
        box->setDecimals(boxDecimals(values.valueDecimals));
    ui.limits_min->setValue(values.limitsMin);
    ui.limits_max->setValue(values.limitsMax);
    ui.tolerance_kind->setCurrentIndex(values.toleranceKind);
    ui.comments_text->setPlainText(values.comments);
    ui.report_unit->setText(values.unit);
    ui.include_analysis_checkbox->setChecked(values.includeAnalysis);
    ui.block_splitter->setStretchFactor(1, kTableStretch);
    ui.block_splitter->restoreState(values.splitterSizes);
}

SettingsValues formSettings(const Ui::MainWindow &ui, QWidget *window)
{
    SettingsValues values = settingsFromObject({});
    for (auto &text : values.texts)
        text.second = window->findChild<QLineEdit *>(text.first)->text();
    values.fontSize = window->font().pointSize();
    values.limitsMin = ui.limits_min->value();
    values.limitsMax = ui.limits_max->value();
    values.toleranceKind = ui.tolerance_kind->currentIndex();
    values.valueDecimals = chosenDecimals(ui.decimals_combo);
    values.comments = ui.comments_text->document()->toPlainText();
    values.windowGeometry = window->saveGeometry();
    values.splitterSizes = ui.block_splitter->saveState();
    values.unit = ui.report_unit->text().trimmed();
    values.includeAnalysis = ui.include_analysis_checkbox->isChecked();
    return values;
}
