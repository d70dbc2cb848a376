// The main window's form: every named object with its type and text in both
// languages, fonts, ranges and flags, the nesting of the layouts, the menus, and
// the start state the constructor leaves.

#include "mainwindowtester.h"
#include "settings/settingsfile.h"
#include "windowtestmain.h"

#include <QComboBox>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QtTest>

namespace {

QString textOf(QObject *object)
{
    if (auto *menu = qobject_cast<QMenu *>(object))
        return menu->title();
    if (auto *combo = qobject_cast<QComboBox *>(object))
        return combo->currentText();
    if (qobject_cast<QLabel *>(object) || qobject_cast<QAbstractButton *>(object)
        || qobject_cast<QAction *>(object))
        return object->property("text").toString();
    return QString();
}

QObject *findNamed(MainWindow &window, const QString &name)
{
    if (window.objectName() == name)
        return &window;
    return window.findChild<QObject *>(name);
}

// The layout item that holds the named widget or layout, searched below `root`.
QLayout *parentLayoutOf(QLayout *root, QObject *target)
{
    for (int i = 0; i < root->count(); ++i) {
        QLayoutItem *item = root->itemAt(i);
        if (item->widget() == target || item->layout() == target)
            return root;
        if (item->layout())
            if (QLayout *found = parentLayoutOf(item->layout(), target))
                return found;
    }
    return nullptr;
}

QStringList itemNames(QLayout *layout)
{
    QStringList names;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget())
            names << item->widget()->objectName();
        else if (item->layout())
            names << item->layout()->objectName();
        else if (item->spacerItem())
            names << QStringLiteral("<spacer>");
    }
    return names;
}

} // namespace

class FormTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { freshSettingsFolder(); }
    // Each case starts from a first run.
    void cleanup() { freshSettingsFolder(); }

    void namesTypesAndTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("english");
        struct Row
        {
            const char *name, *type, *ru, *en;
        };
        const Row rows[] = {
            {"button_read_data", "QPushButton", "Прочитать данные", "Read data"},
            {"button_export_to_excel", "QPushButton", "Сохранить в Excel", "Export to Excel"},
            {"button_export_to_PDF", "QPushButton", "Сохранить в PDF", "Export to PDF"},
            {"sign_pdf_checkbox", "QCheckBox", "Подписать PDF", "Sign PDF"},
            {"label", "QLabel", "Блоки памяти прибора", "Memory arrays from device"},
            {"block_names_list", "QListWidget", "", ""},
            {"label_2", "QLabel", "Данные блока", "Array data"},
            {"table_block_data", "QTableWidget", "", ""},
            {"stats_label", "QLabel", "Статистика", "Data statistics"},
            {"min_label", "QLabel", "Min", "Min"},
            {"max_label", "QLabel", "Max", "Max"},
            {"mean_label", "QLabel", "Среднее", "Mean"},
            {"stdev_label", "QLabel", "σ", "σ"},
            {"min_box", "QDoubleSpinBox", "", ""},
            {"max_box", "QDoubleSpinBox", "", ""},
            {"mean_box", "QDoubleSpinBox", "", ""},
            {"stdev_box", "QDoubleSpinBox", "", ""},
            {"graph", "QCustomPlot", "", ""},
            {"report_graph_checkbox", "QCheckBox", "Включить график в отчет", "Add plot to report"},
            {"toolButton", "QToolButton", "...", "..."},
            {"label_6", "QLabel", "Диапазон графиков:", "Graph range:"},
            {"graphs_limits_min", "QDoubleSpinBox", "", ""},
            {"graphs_limits_max", "QDoubleSpinBox", "", ""},
            {"diagram", "QCustomPlot", "", ""},
            {"report_diagram_checkbox", "QCheckBox", "Включить диаграмму в отчет", "Add diagram to report"},
            {"include_analysis_checkbox", "QCheckBox", "Включить анализ процесса в отчет",
             "Include process analysis in the report"},
            {"set_limits_checkbox", "QCheckBox", "Обозначить пределы", "Show min/max"},
            {"label_5", "QLabel", "Min", "Min"},
            {"limits_min", "QDoubleSpinBox", "", ""},
            {"label_4", "QLabel", "Max", "Max"},
            {"limits_max", "QDoubleSpinBox", "", ""},
            {"decimals_label", "QLabel", "Знаков после запятой", "Decimal places"},
            {"decimals_combo", "QComboBox", "Авто", "Auto"},
            {"company_data_label", "QLabel", "Данные о компании", "Company information"},
            {"logo_action", "QPushButton", "Добавить логотип", "Add logo"},
            {"logotype", "QLabel", "", ""},
            {"company_name_label", "QLabel", "Компания", "Company"},
            {"company_name", "QLineEdit", "", ""},
            {"company_city_label", "QLabel", "Город", "City"},
            {"company_city", "QLineEdit", "", ""},
            {"company_address_label", "QLabel", "Адрес", "Address"},
            {"company_address", "QLineEdit", "", ""},
            {"company_phone_label", "QLabel", "Телефон", "Phone number"},
            {"company_phone", "QLineEdit", "", ""},
            {"company_website_label", "QLabel", "Вебсайт", "Website"},
            {"company_website", "QLineEdit", "", ""},
            {"report_data_label", "QLabel", "Данные об отчете", "Report details"},
            {"report_number_label", "QLabel", "Номер отчета", "Number"},
            {"report_number", "QLineEdit", "", ""},
            {"report_date_edit_label", "QLabel", "Дата", "Date"},
            {"report_date_edit", "QDateEdit", "", ""},
            {"report_operator_label", "QLabel", "Оператор", "Operator"},
            {"report_operator", "QLineEdit", "", ""},
            {"report_detail_name_label", "QLabel", "Наименование детали", "Part name"},
            {"report_detail_name", "QLineEdit", "", ""},
            {"report_material_label", "QLabel", "Материал", "Material"},
            {"report_material", "QLineEdit", "", ""},
            {"report_batch_number_label", "QLabel", "Номер партии", "Batch number"},
            {"report_batch_number", "QLineEdit", "", ""},
            {"report_unit_label", "QLabel", "Единица измерения", "Unit"},
            {"report_unit", "QLineEdit", "", ""},
            {"device_data_label", "QLabel", "Данные о приборе", "Device information"},
            {"device_name_label", "QLabel", "Название прибора", "Device name"},
            {"device_name", "QLineEdit", "", ""},
            {"device_type_label", "QLabel", "Тип прибора", "Type"},
            {"device_type", "QLineEdit", "", ""},
            {"device_number_label", "QLabel", "Номер прибора", "Number"},
            {"device_number", "QLineEdit", "", ""},
            {"device_document_number_label", "QLabel", "Свидетельство о поверке",
             "Verification certificate number"},
            {"device_document_number", "QLineEdit", "", ""},
            {"comments_label", "QLabel", "Комментарии", "Notes"},
            {"comments_text", "QPlainTextEdit", "", ""},
            {"view", "QMenu", "Вид", "View"},
            {"font_size", "QMenu", "Шрифт", "Font size"},
            {"language", "QMenu", "Язык", "Language"},
            {"about", "QMenu", "Справка", "Help"},
            {"data", "QMenu", "Данные", "Data"},
            {"action_font_size_increase", "QAction", "Увеличить", "Increase font size"},
            {"action_font_size_decrease", "QAction", "Уменьшить", "Decrease font size"},
            {"action_font_size_reset", "QAction", "Обычный размер", "Default font size"},
            {"high_contrast", "QAction", "Режим контрастности", "High contrast mode"},
            {"action_search_again", "QAction", "Искать прибор снова", "Search for the instrument again"},
            {"actionRU", "QAction", "Русский", "Russian"},
            {"actionEN", "QAction", "English", "English"},
            {"about_program", "QAction", "О программе", "About"},
            {"about_company", "QAction", "Компания", "Company"},
            {"action_history", "QAction", "История измерений…", "Measurement history…"},
            {"action_process_analysis", "QAction", "Анализ процесса…", "Process analysis…"},
            {"action_report_signing", "QAction", "Подпись отчётов…", "Report signing…"},
            {"centralwidget", "QWidget", "", ""},
            {"report_form_scroll", "QScrollArea", "", ""},
            {"statusbar", "QStatusBar", "", ""},
        };
        for (const Row &row : rows)
            QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.type)
                                    << QString::fromUtf8(row.ru) << QString::fromUtf8(row.en);
    }

    void namesTypesAndTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, russian);
        QFETCH(QString, english);

        MainWindow window(noPorts());
        window.setWindowTitle(QStringLiteral("ZRV"));
        QObject *object = findNamed(window, name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(QString::fromLatin1(object->metaObject()->className()), type);
        QCOMPARE(textOf(object), russian);

        window.findChild<QAction *>(QStringLiteral("actionEN"))->trigger();
        QCOMPARE(textOf(object), english);
        QCOMPARE(window.windowTitle(), QStringLiteral("ZRV"));

        window.findChild<QAction *>(QStringLiteral("actionRU"))->trigger();
        QCOMPARE(textOf(object), russian);
        QCOMPARE(window.windowTitle(), QStringLiteral("ZRV"));
    }

    void fonts()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        for (QLabel *header : {ui->company_data_label, ui->report_data_label, ui->device_data_label}) {
            QCOMPARE(header->font().pointSize(), 12);
            QVERIFY(header->font().bold());
        }
        for (QWidget *w : std::initializer_list<QWidget *>{
                 ui->button_read_data, ui->label, ui->table_block_data, ui->min_box, ui->graphs_limits_min,
                 ui->company_name, ui->report_date_edit, ui->menubar, ui->language}) {
            QCOMPARE(w->font().pointSize(), 12);
            QVERIFY(!w->font().bold());
        }
        for (QAction *a : {ui->actionRU, ui->actionEN, ui->about_program, ui->about_company})
            QCOMPARE(a->font().pointSize(), 12);
    }

    void numberBoxes()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        for (QDoubleSpinBox *box : {ui->min_box, ui->max_box, ui->mean_box, ui->stdev_box}) {
            QVERIFY(box->isReadOnly());
            QCOMPARE(box->buttonSymbols(), QAbstractSpinBox::NoButtons);
            QCOMPARE(box->alignment(), Qt::AlignCenter);
            QCOMPARE(box->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
            QCOMPARE(box->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
        }
        for (QDoubleSpinBox *box :
             {ui->graphs_limits_min, ui->graphs_limits_max, ui->limits_min, ui->limits_max}) {
            QCOMPARE(box->decimals(), 1);
            QCOMPARE(box->minimum(), -999999.0);
            QCOMPARE(box->maximum(), 999999.0);
        }
        // The statistics boxes show any block's true statistics, up to a
        // billion, and keep one step below it for their dash.
        for (QDoubleSpinBox *box : {ui->min_box, ui->max_box, ui->mean_box, ui->stdev_box}) {
            QCOMPARE(box->decimals(), 1);
            QCOMPARE(box->minimum(), -1e9 - 0.1);
            QCOMPARE(box->maximum(), 1e9);
        }
        QCOMPARE(ui->graphs_limits_min->value(), 0.0);
        QCOMPARE(ui->graphs_limits_max->value(), 5.0);
        QCOMPARE(ui->table_block_data->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(ui->high_contrast->isCheckable());
    }

    void startState()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QVERIFY(!ui->button_read_data->isEnabled());
        QVERIFY(!ui->button_export_to_excel->isEnabled());
        QVERIFY(!ui->button_export_to_PDF->isEnabled());
        QVERIFY(ui->toolButton->isHidden());
        QVERIFY(!ui->high_contrast->isVisible());
        QVERIFY(ui->table_block_data->horizontalHeader()->isHidden());
        QVERIFY(!ui->table_block_data->verticalHeader()->isHidden());
        ui->table_block_data->setColumnCount(1);
        QCOMPARE(ui->table_block_data->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
        QCOMPARE(ui->report_date_edit->date(), QDate::currentDate());
        for (QCheckBox *box : {ui->report_graph_checkbox, ui->report_diagram_checkbox,
                               ui->include_analysis_checkbox, ui->set_limits_checkbox})
            QVERIFY(!box->isChecked());
        for (QCustomPlot *plot : {ui->graph, ui->diagram}) {
            QCOMPARE(plot->xAxis->range(), QCPRange(0, 5));
            QCOMPARE(plot->yAxis->range(), QCPRange(0, 5));
            QVERIFY(plot->interactions().testFlag(QCP::iRangeDrag));
            QVERIFY(plot->interactions().testFlag(QCP::iRangeZoom));
            QCOMPARE(plot->axisRect(0)->rangeZoom(), Qt::Horizontal);
            QCOMPARE(plot->itemCount(), 2);
        }
    }

    void nesting_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("items");
        auto row = [](const char *name, const QStringList &items) {
            QTest::newRow(name) << QString::fromLatin1(name) << items;
        };
        // The block and chart columns scroll, as the report form does.
        row("horizontalLayout",
            {"block_column_scroll", "line", "chart_column_scroll", "line_2", "report_form_scroll"});
        row("verticalLayout_4", {"verticalLayout", "block_splitter", "line_3", "verticalLayout_6"});
        row("verticalLayout", {"button_read_data", "button_export_to_excel", "pdf_export_layout"});
        row("pdf_export_layout", {"button_export_to_PDF", "sign_pdf_checkbox"});
        row("verticalLayout_28", {"verticalLayout_2"});
        row("verticalLayout_2", {"label", "block_names_list"});
        row("verticalLayout_3", {"label_2", "table_block_data"});
        row("verticalLayout_6", {"stats_label", "formLayout"});
        row("verticalLayout_26", {"verticalLayout_5", "verticalLayout_7"});
        row("verticalLayout_5", {"graph", "horizontalLayout_2", "diagram", "report_diagram_checkbox",
                                 "include_analysis_checkbox"});
        row("horizontalLayout_2", {"report_graph_checkbox", "toolButton", "<spacer>", "label_6",
                                   "graphs_limits_min", "graphs_limits_max"});
        row("verticalLayout_7", {"set_limits_checkbox", "horizontalLayout_4", "decimals_layout"});
        row("decimals_layout", {"decimals_label", "decimals_combo", "<spacer>"});
        row("horizontalLayout_4", {"label_5", "limits_min", "label_4", "limits_max", "<spacer>"});
        row("verticalLayout_31", {"verticalLayout_27", "line_5", "verticalLayout_29", "line_4",
                                  "verticalLayout_30", "line_6", "verticalLayout_32", "<spacer>"});
        row("verticalLayout_27", {"horizontalLayout_6", "verticalLayout_13"});
        row("horizontalLayout_6", {"company_data_label", "<spacer>"});
        row("verticalLayout_13", {"horizontalLayout_3", "verticalLayout_8", "verticalLayout_9",
                                  "verticalLayout_10", "verticalLayout_11", "verticalLayout_12"});
        row("horizontalLayout_3", {"logo_action", "logotype"});
        row("verticalLayout_8", {"company_name_label", "company_name"});
        row("verticalLayout_12", {"company_website_label", "company_website"});
        row("verticalLayout_29", {"horizontalLayout_7", "verticalLayout_14"});
        row("verticalLayout_14",
            {"verticalLayout_15", "verticalLayout_16", "verticalLayout_17", "verticalLayout_18",
             "verticalLayout_19", "verticalLayout_20", "report_unit_layout"});
        row("report_unit_layout", {"report_unit_label", "report_unit"});
        row("verticalLayout_16", {"report_date_edit_label", "report_date_edit"});
        row("verticalLayout_30", {"horizontalLayout_8", "verticalLayout_25"});
        row("verticalLayout_25", {"verticalLayout_21", "horizontalLayout_5", "verticalLayout_24"});
        row("horizontalLayout_5", {"verticalLayout_22", "verticalLayout_23"});
        row("verticalLayout_32", {"horizontalLayout_9", "comments_text"});
        row("horizontalLayout_9", {"comments_label", "<spacer>"});
    }

    void nesting()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, items);
        MainWindow window(noPorts());
        auto *found = window.findChild<QLayout *>(layout);
        QVERIFY2(found, qPrintable(layout));
        QCOMPARE(itemNames(found), items);
    }

    // The report form column scrolls up and down inside its scroll area and
    // keeps the width its fields need, so that no field is cut off.
    void reportFormScrolls()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QScrollArea *area = ui->report_form_scroll;
        QCOMPARE(area->widget()->layout(), window.findChild<QLayout *>(QStringLiteral("verticalLayout_31")));
        QVERIFY(area->widgetResizable());
        QCOMPARE(area->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        const int needed =
            area->widget()->minimumSizeHint().width() + area->verticalScrollBar()->sizeHint().width();
        // As wide as the fields need while the window fits the screen that
        // way; on a screen too narrow for that it scrolls sideways too.
        if (area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
            QVERIFY(area->minimumWidth() >= needed);
        } else {
            QVERIFY(area->minimumWidth() < needed);
            QVERIFY(window.minimumSizeHint().width() <= window.screen()->availableGeometry().width());
        }
    }

    // Stretch factors go by item index: they check that the columns that
    // should take the room still sit where they should.
    void stretchAndStatisticsRows()
    {
        MainWindow window(noPorts());
        auto layout = [&](const char *name) {
            return window.findChild<QBoxLayout *>(QString::fromLatin1(name));
        };
        const QList<int> outer{1, 1, 10, 1, 3};
        for (int i = 0; i < outer.size(); ++i)
            QCOMPARE(layout("horizontalLayout")->stretch(i), outer.at(i));
        const QList<int> data{0, 1, 0, 0};
        for (int i = 0; i < data.size(); ++i)
            QCOMPARE(layout("verticalLayout_4")->stretch(i), data.at(i));
        // The list and the table share the splitter's height, the table the larger part.
        auto *splitter = window.findChild<QSplitter *>(QStringLiteral("block_splitter"));
        QCOMPARE(splitter->orientation(), Qt::Vertical);
        QCOMPARE(splitter->widget(0)->layout(), layout("verticalLayout_28"));
        QCOMPARE(splitter->widget(1)->layout(), layout("verticalLayout_3"));
        QVERIFY(!splitter->childrenCollapsible());
        QCOMPARE(layout("verticalLayout_30")->stretch(0), 1);
        QCOMPARE(layout("verticalLayout_30")->stretch(1), 10);

        auto *form = window.findChild<QFormLayout *>(QStringLiteral("formLayout"));
        QCOMPARE(form->fieldGrowthPolicy(), QFormLayout::AllNonFixedFieldsGrow);
        const char *pairs[][2] = {{"min_label", "min_box"},
                                  {"max_label", "max_box"},
                                  {"mean_label", "mean_box"},
                                  {"stdev_label", "stdev_box"}};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(form->itemAt(row, QFormLayout::LabelRole)->widget()->objectName(),
                     QString::fromLatin1(pairs[row][0]));
            QCOMPARE(form->itemAt(row, QFormLayout::FieldRole)->widget()->objectName(),
                     QString::fromLatin1(pairs[row][1]));
        }
    }

    void menus()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QList<QAction *> bar = ui->menubar->actions();
        QCOMPARE(bar.size(), 4);
        QCOMPARE(bar.at(0)->menu(), ui->view);
        QCOMPARE(bar.at(1)->menu(), ui->language);
        // Help comes last, as in desktop programs.
        QCOMPARE(bar.at(2)->menu(), ui->data);
        QCOMPARE(bar.at(3)->menu(), ui->about);
        QCOMPARE(ui->view->actions().at(0)->menu(), ui->font_size);
        QCOMPARE(ui->view->actions().at(1), ui->high_contrast);
        QCOMPARE(ui->font_size->actions(),
                 (QList<QAction *>{ui->action_font_size_increase, ui->action_font_size_decrease,
                                   ui->action_font_size_reset}));
        QCOMPARE(ui->action_font_size_increase->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus));
        QCOMPARE(ui->action_font_size_decrease->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
        QCOMPARE(ui->action_font_size_reset->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(ui->language->actions(), (QList<QAction *>{ui->actionRU, ui->actionEN}));
        // The language menu marks the active language, one at a time.
        for (QAction *action : {ui->actionRU, ui->actionEN}) {
            QVERIFY(action->isCheckable());
            QVERIFY(action->actionGroup());
            QVERIFY(action->actionGroup()->isExclusive());
        }
        QCOMPARE(ui->actionRU->actionGroup(), ui->actionEN->actionGroup());
        QVERIFY(ui->actionRU->isChecked());
        QVERIFY(!ui->actionEN->isChecked());
        QCOMPARE(ui->about->actions(), (QList<QAction *>{ui->about_program, ui->about_company}));
        QCOMPARE(ui->data->actions(),
                 (QList<QAction *>{ui->action_history, ui->action_history_storage,
                                   ui->action_process_analysis, ui->action_report_signing}));
    }

    // Screen readers announce each report field by its caption.
    void captionsAreBuddies()
    {
        MainWindow window(noPorts());
        const QStringList fields = {
            "company_name",       "company_city",    "company_address",     "company_phone",
            "company_website",    "report_number",   "report_date_edit",    "report_operator",
            "report_detail_name", "report_material", "report_batch_number", "report_unit",
            "device_name",        "device_type",     "device_number",       "device_document_number",
            "comments_text"};
        for (const QString &field : fields) {
            auto *caption = window.findChild<QLabel *>(field == QLatin1String("comments_text")
                                                           ? QStringLiteral("comments_label")
                                                           : field + QStringLiteral("_label"));
            QVERIFY2(caption, qPrintable(field));
            QCOMPARE(caption->buddy(), window.findChild<QWidget *>(field));
        }
    }

    // Placed for the size it opens at: centred on the available area. Its
    // columns scroll, so the offscreen screen (800 x 600) takes the whole
    // window at any font size.
    void placement_data()
    {
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<bool>("fits");
        QTest::newRow("12 pt") << 12 << true;
        QTest::newRow("6 pt") << 6 << true;
        QTest::newRow("48 pt") << 48 << true;
    }

    void placement()
    {
        QFETCH(int, fontSize);
        QFETCH(bool, fits);
        freshSettingsFolder();
        QJsonObject config = defaultConfig();
        config.insert(QStringLiteral("app_font_size"), fontSize);
        QVERIFY(saveConfig(config));
        MainWindow window(noPorts());
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = window.frameGeometry();
        QCOMPARE(frame.size(), window.minimumSizeHint());
        QVERIFY2((frame.width() <= available.width() && frame.height() <= available.height()) == fits,
                 qPrintable(QStringLiteral("%1 x %2; menu %3, status %4, central %5 x %6")
                                .arg(frame.width())
                                .arg(frame.height())
                                .arg(window.menuBar()->minimumSizeHint().width())
                                .arg(window.statusBar()->minimumSizeHint().width())
                                .arg(window.centralWidget()->minimumSizeHint().width())
                                .arg(window.centralWidget()->minimumSizeHint().height())));
        QVERIFY(available.contains(frame.topLeft()));
        QCOMPARE(available.contains(frame), fits);
        // Each direction on its own: centred where it fits, else from the area's edge.
        if (frame.width() <= available.width())
            QVERIFY(qAbs((frame.left() - available.left()) - (available.right() - frame.right())) <= 1);
        else
            QCOMPARE(frame.left(), available.left());
        if (frame.height() <= available.height())
            QVERIFY(qAbs((frame.top() - available.top()) - (available.bottom() - frame.bottom())) <= 1);
        else
            QCOMPARE(frame.top(), available.top());
    }

    void opensAtItsLayoutMinimum()
    {
        MainWindow window(noPorts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), window.minimumSizeHint().expandedTo(window.minimumSize()));
    }
};

ZRV_WINDOW_TEST_MAIN(FormTest)

#include "tst_form.moc"
