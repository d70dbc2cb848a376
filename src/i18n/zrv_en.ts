<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>MainWindow</name>
    <message>
        <source>Pp</source>
        <translation>Pp</translation>
    </message>
    <message>
        <source>Ppk</source>
        <translation>Ppk</translation>
    </message>
    <message>
        <source>Допуск:</source>
        <translation>Tolerance:</translation>
    </message>
    <message>
        <source>двусторонний</source>
        <translation>two-sided</translation>
    </message>
    <message>
        <source>только нижний</source>
        <translation>lower only</translation>
    </message>
    <message>
        <source>только верхний</source>
        <translation>upper only</translation>
    </message>
    <message>
        <source>Знаков после запятой</source>
        <translation>Decimal places</translation>
    </message>
    <message>
        <source>Авто</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Компания</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>Увеличить</source>
        <translation>Increase font size</translation>
    </message>
    <message>
        <source>Уменьшить</source>
        <translation>Decrease font size</translation>
    </message>
    <message>
        <source>Режим контрастности</source>
        <translation>High contrast mode</translation>
    </message>
    <message>
        <source>Прочитать данные</source>
        <translation>Read data</translation>
    </message>
    <message>
        <source>Сохранить в Excel</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>Сохранить в PDF</source>
        <translation>Export to PDF</translation>
    </message>
    <message>
        <source>Блоки памяти прибора</source>
        <translation>Memory arrays from device</translation>
    </message>
    <message>
        <source>Данные блока</source>
        <translation>Array data</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Data statistics</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Среднее</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>σ</source>
        <translation>σ</translation>
    </message>
    <message>
        <source>Включить график в отчет</source>
        <translation>Add plot to report</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Диапазон графиков:</source>
        <translation>Graph range:</translation>
    </message>
    <message>
        <source>Включить диаграмму в отчет</source>
        <translation>Add diagram to report</translation>
    </message>
    <message>
        <source>Включить анализ процесса в отчет</source>
        <translation>Include process analysis in the report</translation>
    </message>
    <message>
        <source>Гистограмма, карты I-MR, таблица пригодности и нарушенные правила: в PDF на отдельных страницах после статистики, в Excel на листе «Анализ»</source>
        <translation>Histogram, I-MR charts, capability table and broken rules: in the PDF on pages of their own after the statistics, in Excel on the sheet “Analysis”</translation>
    </message>
    <message>
        <source>Обозначить пределы</source>
        <translation>Show min/max</translation>
    </message>
    <message>
        <source>Данные о компании</source>
        <translation>Company information</translation>
    </message>
    <message>
        <source>Город</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone number</translation>
    </message>
    <message>
        <source>Вебсайт</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Данные об отчете</source>
        <translation>Report details</translation>
    </message>
    <message>
        <source>Номер отчета</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Оператор</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Наименование детали</source>
        <translation>Part name</translation>
    </message>
    <message>
        <source>Материал</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>Номер партии</source>
        <translation>Batch number</translation>
    </message>
    <message>
        <source>Единица измерения</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Данные о приборе</source>
        <translation>Device information</translation>
    </message>
    <message>
        <source>Название прибора</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>Тип прибора</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Номер прибора</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Свидетельство о поверке</source>
        <translation>Verification certificate number</translation>
    </message>
    <message>
        <source>Комментарии</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Шрифт</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>Добавить логотип</source>
        <translation>Add logo</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Remove logo</translation>
    </message>
    <message>
        <source>Поддерживаемые ОС: Windows 7, Windows 8, Windows 10 (x32,x64)</source>
        <translation>Supported systems: Windows 7, Windows 8, Windows 10 (x32,x64)</translation>
    </message>
    <message>
        <source>Сайт: </source>
        <translation>Website: </translation>
    </message>
    <message>
        <source>Электронная почта: </source>
        <translation>e-mail: </translation>
    </message>
    <message>
        <source>Тарвен</source>
        <translation>Tarven</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Тарвен&lt;/h3&gt;&lt;p&gt;Тарвен разрабатывает и выпускает портативные приборы неразрушающего контроля для заводских лабораторий, ОТК и сервисных служб.&lt;/p&gt;&lt;h4&gt;Продукция&lt;/h4&gt;&lt;ul&gt;&lt;li&gt;толщиномеры покрытий и ультразвуковые толщиномеры;&lt;/li&gt;&lt;li&gt;твердомеры для металлов и сплавов;&lt;/li&gt;&lt;li&gt;программы для чтения памяти приборов и составления протоколов контроля.&lt;/li&gt;&lt;/ul&gt;&lt;h4&gt;Услуги&lt;/h4&gt;&lt;ul&gt;&lt;li&gt;поверка и калибровка приборов;&lt;/li&gt;&lt;li&gt;обучение операторов;&lt;/li&gt;&lt;li&gt;гарантийный и послегарантийный ремонт.&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;h3&gt;Tarven&lt;/h3&gt;&lt;p&gt;Tarven designs and makes portable non-destructive testing instruments for factory laboratories, quality control departments and service teams.&lt;/p&gt;&lt;h4&gt;Products&lt;/h4&gt;&lt;ul&gt;&lt;li&gt;coating thickness gauges and ultrasonic thickness gauges;&lt;/li&gt;&lt;li&gt;hardness testers for metals and alloys;&lt;/li&gt;&lt;li&gt;software that reads instrument memory and writes test reports.&lt;/li&gt;&lt;/ul&gt;&lt;h4&gt;Services&lt;/h4&gt;&lt;ul&gt;&lt;li&gt;verification and calibration of instruments;&lt;/li&gt;&lt;li&gt;operator training;&lt;/li&gt;&lt;li&gt;warranty and post-warranty repair.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>Экспорт в PDF</source>
        <translation>Export to PDF</translation>
    </message>
    <message>
        <source>Экспорт в Excel</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>Отчет</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Включать незаполненные поля в отчет?</source>
        <translation>Include empty fields into the report?</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл.
Пожалуйста, проверьте права на запись и не открыта ли прошлая версия файла.</source>
        <translation>Failed to save the file.
Please check write permissions and whether the previous version of the file is open.</translation>
    </message>
    <message>
        <source>Отчет о проведении контроля</source>
        <translation>Test report</translation>
    </message>
    <message>
        <source>ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ</source>
        <translation>TEST REPORT</translation>
    </message>
    <message>
        <source>Допуск: [</source>
        <translation>Tolerance: [</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Контроль проведён____________________________________________, подпись</source>
        <translation>Testing carried out________________________________,signature</translation>
    </message>
    <message>
        <source>Контроль проведён____________________________________, подпись</source>
        <translation>Testing carried out____________________________________,signature</translation>
    </message>
    <message>
        <source>Текст длиннее 32767 знаков не помещается в ячейку Excel и был сокращён.</source>
        <translation>Text longer than 32767 characters does not fit into an Excel cell and was shortened.</translation>
    </message>
    <message>
        <source>Обычный размер</source>
        <translation>Default font size</translation>
    </message>
    <message>
        <source>От: нижняя граница оси значений на обоих графиках</source>
        <translation>From: the lower end of the value axis of both plots</translation>
    </message>
    <message>
        <source>До: верхняя граница оси значений на обоих графиках</source>
        <translation>To: the upper end of the value axis of both plots</translation>
    </message>
    <message>
        <source>Диапазон графиков: от</source>
        <translation>Graph range: from</translation>
    </message>
    <message>
        <source>Диапазон графиков: до</source>
        <translation>Graph range: to</translation>
    </message>
    <message>
        <source>Колесо мыши меняет масштаб по номерам измерений, Shift+колесо — по значениям; перетаскивание мышью сдвигает графики.</source>
        <translation>The mouse wheel zooms the measurement numbers, Shift+wheel the values; drag with the mouse to move the plots.</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.
Прежний файл сохранён как %2.</source>
        <translation>The settings file %1 could not be read; the program started with empty settings.
The previous file was kept as %2.</translation>
    </message>
    <message>
        <source>Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.
Сохранить его копию не удалось; при выходе он не будет перезаписан.</source>
        <translation>The settings file %1 could not be read; the program started with empty settings.
A copy of it could not be made; it will not be overwritten at exit.</translation>
    </message>
    <message>
        <source>Настройки не удалось сохранить в папке %1.
Проверьте, что в неё можно записывать и что на диске есть место.</source>
        <translation>The settings could not be saved in the folder %1.
Check that the folder can be written and that the disk has free space.</translation>
    </message>
    <message>
        <source>Вне допуска</source>
        <translation>Out of tolerance</translation>
    </message>
    <message>
        <source>Заключение</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>Cp</source>
        <translation>Cp</translation>
    </message>
    <message>
        <source>Cpk</source>
        <translation>Cpk</translation>
    </message>
    <message>
        <source>Искать прибор снова</source>
        <translation>Search for the instrument again</translation>
    </message>
    <message>
        <source>Данные</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>История измерений…</source>
        <translation>Measurement history…</translation>
    </message>
    <message>
        <source>Подписать PDF</source>
        <translation>Sign PDF</translation>
    </message>
    <message>
        <source>Подпись отчётов…</source>
        <translation>Report signing…</translation>
    </message>
    <message>
        <source>Хранилище истории…</source>
        <translation>History storage…</translation>
    </message>
    <message>
        <source>Анализ процесса…</source>
        <translation>Process analysis…</translation>
    </message>
</context>
<context>
    <name>BandVerdictView</name>
    <message>
        <source>Допуск задан неверно: Min больше Max</source>
        <translation>Tolerance set wrongly: Min is above Max</translation>
    </message>
    <message>
        <source>все значения вне допуска — проверьте допуск</source>
        <translation>all values out of tolerance — check the tolerance</translation>
    </message>
    <message>
        <source>малая выборка (n &lt; 25)</source>
        <translation>small sample (n &lt; 25)</translation>
    </message>
    <message>
        <source>95 %: Cp %1, Cpk %2, Pp %3, Ppk %4</source>
        <translation>95 %: Cp %1, Cpk %2, Pp %3, Ppk %4</translation>
    </message>
    <message>
        <source>%1 из %2 (%3 %)</source>
        <translation>%1 of %2 (%3 %)</translation>
    </message>
    <message>
        <source>Соответствует</source>
        <translation>Conforms</translation>
    </message>
    <message>
        <source>Не соответствует</source>
        <translation>Does not conform</translation>
    </message>
    <message>
        <source>ru_RU</source>
        <comment>locale whose decimal point the numbers in texts take</comment>
        <translation>en_US</translation>
    </message>
</context>
<context>
    <name>ReportExport</name>
    <message>
        <source>▲ — выше Max</source>
        <translation>▲ — above Max</translation>
    </message>
    <message>
        <source>▼ — ниже Min</source>
        <translation>▼ — below Min</translation>
    </message>
    <message>
        <source>Допуск не задан — заключение не выносится</source>
        <translation>No tolerance set — no verdict given</translation>
    </message>
    <message>
        <source>Pp</source>
        <translation>Pp</translation>
    </message>
    <message>
        <source>Ppk</source>
        <translation>Ppk</translation>
    </message>
    <message>
        <source>Объём выборки, n</source>
        <translation>Sample size, n</translation>
    </message>
    <message>
        <source>Cp, 95 % интервал</source>
        <translation>Cp, 95 % interval</translation>
    </message>
    <message>
        <source>Cpk, 95 % интервал</source>
        <translation>Cpk, 95 % interval</translation>
    </message>
    <message>
        <source>Pp, 95 % интервал</source>
        <translation>Pp, 95 % interval</translation>
    </message>
    <message>
        <source>Ppk, 95 % интервал</source>
        <translation>Ppk, 95 % interval</translation>
    </message>
    <message>
        <source>Примечание</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Причина: имя файла длиннее 255 байт.</source>
        <translation>Cause: the file name is longer than 255 bytes.</translation>
    </message>
    <message>
        <source>Причина: в папку нельзя записывать.</source>
        <translation>Cause: the folder cannot be written to.</translation>
    </message>
    <message>
        <source>Причина: файл открыт в другой программе.</source>
        <translation>Cause: the file is open in another program.</translation>
    </message>
    <message>
        <source>Блок: %1; показаний: %2; считан: %3</source>
        <translation>Block: %1; readings: %2; read: %3</translation>
    </message>
    <message>
        <source>Отчет № %1</source>
        <translation>Report No. %1</translation>
    </message>
    <message>
        <source>стр. %1 из %2</source>
        <translation>page %1 of %2</translation>
    </message>
    <message>
        <source>Сводка</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>Блок</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>Показаний</source>
        <translation>Readings</translation>
    </message>
    <message>
        <source>Считан</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Данные</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>В допуске</source>
        <translation>In tolerance</translation>
    </message>
    <message>
        <source>Подписано: %1, %2</source>
        <translation>Signed: %1, %2</translation>
    </message>
</context>
<context>
    <name>ReportStatus</name>
    <message>
        <source>Страница %v из %m</source>
        <translation>Page %v of %m</translation>
    </message>
    <message>
        <source>Отчёт сохранён: %1</source>
        <translation>Report saved: %1</translation>
    </message>
    <message>
        <source>Открыть папку</source>
        <translation>Open folder</translation>
    </message>
</context>
<context>
    <name>LinkStatusBar</name>
    <message>
        <source>Поиск прибора…</source>
        <translation>Searching for the instrument…</translation>
    </message>
    <message>
        <source>Прибор на %1</source>
        <translation>Instrument on %1</translation>
    </message>
    <message>
        <source>%1: ответ не похож на прибор</source>
        <translation>%1: the answer does not look like the instrument</translation>
    </message>
    <message>
        <source>Прибор отключён</source>
        <translation>Instrument disconnected</translation>
    </message>
    <message>
        <source>Блок %1 из %2</source>
        <translation>Block %1 of %2</translation>
    </message>
    <message>
        <source>Прочитано блоков: %1</source>
        <translation>Blocks read: %1</translation>
    </message>
    <message>
        <source>Прочитано блоков: %1, из них с ошибками: %2</source>
        <translation>Blocks read: %1, with errors: %2</translation>
    </message>
    <message>
        <source>Чтение прервано: %1 из %2 блоков</source>
        <translation>Reading cancelled: %1 of %2 blocks</translation>
    </message>
    <message>
        <source>Прибор отключён во время чтения: прочитано %1 из %2 блоков</source>
        <translation>Instrument disconnected during the read: %1 of %2 blocks read</translation>
    </message>
    <message>
        <source>Прибор отключён во время чтения: список блоков очищен</source>
        <translation>Instrument disconnected during the read: the block list was cleared</translation>
    </message>
    <message>
        <source>Прибор не сообщил число блоков: список блоков очищен</source>
        <translation>The instrument did not report its number of blocks: the block list was cleared</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ожидание ответа прибора… %1 с</source>
        <translation>Waiting for the instrument to answer… %1 s</translation>
    </message>
</context>
<context>
    <name>BlockFaultText</name>
    <message>
        <source>ошибка запроса имени блока</source>
        <translation>the block name request failed</translation>
    </message>
    <message>
        <source>ошибка запроса размера блока</source>
        <translation>the block size request failed</translation>
    </message>
    <message>
        <source>ошибка запроса данных блока</source>
        <translation>the block data request failed</translation>
    </message>
    <message>
        <source>получено %1 из %2 значений</source>
        <translation>%1 of %2 values received</translation>
    </message>
    <message>
        <source>не прочитан: прибор отключён</source>
        <translation>not read: the instrument was disconnected</translation>
    </message>
    <message>
        <source>не прочитан: чтение прервано</source>
        <translation>not read: the read was cancelled</translation>
    </message>
    <message>
        <source>прибор не ответил</source>
        <translation>the instrument did not answer</translation>
    </message>
    <message>
        <source>прибор ответил ошибкой</source>
        <translation>the instrument answered with an error</translation>
    </message>
    <message>
        <source>Блок %1</source>
        <translation>Block %1</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>История измерений</source>
        <translation>Measurement history</translation>
    </message>
    <message>
        <source>Блок:</source>
        <translation>Block:</translation>
    </message>
    <message>
        <source>часть имени блока</source>
        <translation>part of a block name</translation>
    </message>
    <message>
        <source>Период с</source>
        <translation>Period from</translation>
    </message>
    <message>
        <source>по</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Чтения</source>
        <translation>Reads</translation>
    </message>
    <message>
        <source>Блоки выбранного чтения</source>
        <translation>Blocks of the selected read</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>CSV:</source>
        <translation>CSV:</translation>
    </message>
    <message>
        <source>«;» и десятичная запятая</source>
        <translation>“;” and decimal comma</translation>
    </message>
    <message>
        <source>«,» и десятичная точка</source>
        <translation>“,” and decimal point</translation>
    </message>
    <message>
        <source>Экспорт в CSV…</source>
        <translation>Export to CSV…</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Блок</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>Значений</source>
        <translation>Values</translation>
    </message>
    <message>
        <source>Ожидалось</source>
        <translation>Expected</translation>
    </message>
    <message>
        <source>Сбой чтения</source>
        <translation>Failed request</translation>
    </message>
    <message>
        <source>запрос имени</source>
        <translation>name request</translation>
    </message>
    <message>
        <source>запрос размера</source>
        <translation>size request</translation>
    </message>
    <message>
        <source>запрос данных</source>
        <translation>data request</translation>
    </message>
    <message>
        <source>данные неполные</source>
        <translation>data cut short</translation>
    </message>
    <message>
        <source>Удалить из истории выбранные чтения (%1)?</source>
        <translation>Delete the selected reads (%1) from the history?</translation>
    </message>
    <message>
        <source>Экспорт в CSV</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>Файлы CSV (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл CSV.
Проверьте права на запись и место на диске.</source>
        <translation>Failed to save the CSV file.
Please check write permissions and free disk space.</translation>
    </message>
    <message>
        <source>Сохранено: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>История недоступна: %1.</source>
        <translation>The history is unavailable: %1.</translation>
    </message>
    <message>
        <source>Отправить снова</source>
        <translation>Send again</translation>
    </message>
    <message>
        <source>Запрос к истории…</source>
        <translation>Asking the history…</translation>
    </message>
    <message>
        <source>%1: ожидает записи (сохранено в %2)</source>
        <translation>%1: waiting to be written (kept in %2)</translation>
    </message>
    <message>
        <source>%1: не записано на сервер: %2</source>
        <translation>%1: not written to the server: %2</translation>
    </message>
    <message>
        <source>%1: сохранено на этом компьютере, ожидает отправки на сервер</source>
        <translation>%1: kept on this computer, waiting to be sent to the server</translation>
    </message>
</context>
<context>
    <name>HistoryTexts</name>
    <message>
        <source>История измерений</source>
        <translation>Measurement history</translation>
    </message>
    <message>
        <source>сервер истории недоступен</source>
        <translation>the history server cannot be reached</translation>
    </message>
    <message>
        <source>не удалось открыть файл истории</source>
        <translation>the history file cannot be opened</translation>
    </message>
    <message>
        <source>база истории занята другой программой</source>
        <translation>the history database is locked by another program</translation>
    </message>
    <message>
        <source>нет места для записи</source>
        <translation>no space left to write</translation>
    </message>
    <message>
        <source>база истории повреждена</source>
        <translation>the history database is damaged</translation>
    </message>
    <message>
        <source>не удалось записать в базу истории</source>
        <translation>the history database refused the write</translation>
    </message>
    <message>
        <source>История измерений: %1. Чтения сохраняются на этом компьютере и будут отправлены на сервер, когда он станет доступен.</source>
        <translation>Measurement history: %1. Reads are kept on this computer and will be sent to the server when it is back.</translation>
    </message>
    <message>
        <source>История измерений: %1. Чтение показано и будет записано в историю, как только это станет возможно.</source>
        <translation>Measurement history: %1. The read is shown and will be written to the history as soon as possible.</translation>
    </message>
    <message>
        <source>Сервер истории недоступен: чтение сохранено на этом компьютере (ожидают отправки: %1).</source>
        <translation>History server unavailable: the read is kept on this computer (waiting to be sent: %1).</translation>
    </message>
    <message>
        <source>Сервер истории доступен: отправлено чтений, сохранённых на этом компьютере: %1.</source>
        <translation>History server is back: reads sent from this computer: %1.</translation>
    </message>
    <message>
        <source>История измерений снова доступна: записано отложенных чтений: %1.</source>
        <translation>Measurement history is available again: delayed reads written: %1.</translation>
    </message>
    <message>
        <source>Файл истории был повреждён и сохранён как %1; начат новый файл истории.</source>
        <translation>The history file was damaged and has been kept as %1; a new history file was started.</translation>
    </message>
    <message>
        <source>Из истории: %1</source>
        <translation>From history: %1</translation>
    </message>
    <message>
        <source>Идёт чтение прибора: откройте запись из истории после его окончания.</source>
        <translation>The instrument is being read: open the stored read once it has finished.</translation>
    </message>
    <message>
        <source>История измерений хранится на этом компьютере: %1.</source>
        <translation>The measurement history is kept on this computer: %1.</translation>
    </message>
    <message>
        <source>История измерений хранится на сервере PostgreSQL %1:%2, база «%3».</source>
        <translation>The measurement history is kept on the PostgreSQL server %1:%2, database “%3”.</translation>
    </message>
    <message>
        <source>сервер отклонил чтение</source>
        <translation>the server refused the read</translation>
    </message>
    <message>
        <source>история записана более новой версией ZRV</source>
        <translation>the history was written by a newer version of ZRV</translation>
    </message>
    <message>
        <source>Восстановлено чтений из повреждённого файла: %1.</source>
        <translation>Reads recovered from the damaged file: %1.</translation>
    </message>
    <message>
        <source>История измерений: файл истории записан более новой версией ZRV и оставлен без изменений. Чтения сохраняются в папке %1, пока история недоступна.</source>
        <translation>Measurement history: the history file was written by a newer version of ZRV and has been left unchanged. Reads are kept in the folder %1 while the history is unavailable.</translation>
    </message>
    <message>
        <source>История измерений: сервер не принял чтение (не записано на сервер: %1). Чтение сохранено на этом компьютере и отложено; остальные чтения отправляются.</source>
        <translation>Measurement history: the server did not accept a read (not written to the server: %1). The read is kept on this computer and set aside; the other reads are sent.</translation>
    </message>
    <message>
        <source>Не записано в историю чтений: %1. Они сохранены в папке %2 и будут записаны при следующем запуске.</source>
        <translation>Reads not written to the history: %1. They are kept in the folder %2 and will be written at the next start.</translation>
    </message>
</context>
<context>
    <name>ReadListModel</name>
    <message>
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Блоков</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>Значений</source>
        <translation>Values</translation>
    </message>
    <message>
        <source>Чтение</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>завершено</source>
        <translation>complete</translation>
    </message>
    <message>
        <source>отменено</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>прервано: прибор отключён</source>
        <translation>cut: instrument lost</translation>
    </message>
    <message>
        <source>завершено с ошибками: %1 из %2</source>
        <translation>completed with errors: %1 of %2</translation>
    </message>
</context>
<context>
    <name>HistoryStorageDialog</name>
    <message>
        <source>Хранилище истории</source>
        <translation>History storage</translation>
    </message>
    <message>
        <source>На этом компьютере</source>
        <translation>On this computer</translation>
    </message>
    <message>
        <source>Файл:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Сервер PostgreSQL</source>
        <translation>PostgreSQL server</translation>
    </message>
    <message>
        <source>Сервер:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>имя, адрес или папка сокета</source>
        <translation>name, address or socket folder</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>База данных:</source>
        <translation>Database:</translation>
    </message>
    <message>
        <source>Пользователь:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Пароль:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Пароль действует только до закрытия программы и не записывается ни в какой файл. Без пароля используется файл паролей сервера (~/.pgpass).</source>
        <translation>The password is used only until the program is closed and is never written to any file. Without a password the server's password file (~/.pgpass) is used.</translation>
    </message>
    <message>
        <source>Проверить соединение</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>Не удалось записать настройки в файл %1. Проверьте права на запись и место на диске. Хранилище истории не изменено.</source>
        <translation>The settings could not be written to the file %1. Check the write permissions and the free disk space. The history storage was not changed.</translation>
    </message>
    <message>
        <source>Соединение установлено, таблицы истории готовы.</source>
        <translation>Connected; the history tables are ready.</translation>
    </message>
    <message>
        <source>Сервер не отвечает: проверьте адрес, порт и что сервер запущен.</source>
        <translation>The server does not answer: check the address, the port and that the server is running.</translation>
    </message>
    <message>
        <source>Сервер с таким именем не найден: проверьте имя или адрес.</source>
        <translation>No server of that name was found: check the name or address.</translation>
    </message>
    <message>
        <source>Сервер не принял пользователя или пароль.</source>
        <translation>The server refused the user or the password.</translation>
    </message>
    <message>
        <source>На сервере нет такой базы данных.</source>
        <translation>The server has no such database.</translation>
    </message>
    <message>
        <source>Соединение установлено, но таблицы истории не удалось создать или прочитать: проверьте права пользователя.</source>
        <translation>Connected, but the history tables could not be created or read: check the user's permissions.</translation>
    </message>
    <message>
        <source>Драйвер PostgreSQL не установлен (пакет libqt5sql5-psql).</source>
        <translation>The PostgreSQL driver is not installed (package libqt5sql5-psql).</translation>
    </message>
    <message>
        <source>Не удалось соединиться с сервером.</source>
        <translation>Could not connect to the server.</translation>
    </message>
    <message>
        <source>Ответ драйвера: %1</source>
        <translation>Driver's answer: %1</translation>
    </message>
</context>
<context>
    <name>StationOptions</name>
    <message>
        <source>Справка: zrv-station --help</source>
        <translation>Help: zrv-station --help</translation>
    </message>
    <message>
        <source>--wait ждёт число секунд от 0 до 86400, а не «%1»</source>
        <translation>--wait takes a number of seconds from 0 to 86400, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--blocks ждёт all или номера блоков от 1 через запятую, а не «%1»</source>
        <translation>--blocks takes all or block numbers from 1 separated by commas, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--band ждёт MIN:MAX, а не «%1»</source>
        <translation>--band takes MIN:MAX, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>в --band нижняя граница %1 больше верхней %2</source>
        <translation>in --band the lower limit %1 is above the upper limit %2</translation>
    </message>
    <message>
        <source>%1 ждёт число, а не «%2»</source>
        <translation>%1 takes a number, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--min больше, чем --max</source>
        <translation>--min is above --max</translation>
    </message>
    <message>
        <source>--decimals ждёт auto или число от 1 до 4, а не «%1»</source>
        <translation>--decimals takes auto or a number from 1 to 4, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--report ждёт pdf, xlsx или both, а не «%1»</source>
        <translation>--report takes pdf, xlsx or both, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--history ждёт default, none, файл .sqlite или адрес postgresql://</source>
        <translation>--history takes default, none, a .sqlite file or a postgresql:// address</translation>
    </message>
    <message>
        <source>%1 ждёт значение</source>
        <translation>%1 takes a value</translation>
    </message>
    <message>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>лишний аргумент «%1»</source>
        <translation>unexpected argument &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 не принимает значения</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>--band нельзя давать вместе с --min или --max</source>
        <translation>--band cannot be given together with --min or --max</translation>
    </message>
    <message>
        <source>--sign и --sign-password-file даются только вместе</source>
        <translation>--sign and --sign-password-file go together</translation>
    </message>
    <message>
        <source>Использование: zrv-station [параметры]
Считывает прибор, оценивает каждый блок по допуску, пишет отчёты и историю.

  --port PATH            порт прибора (можно несколько: читаются одновременно);
                         без него — первый прибор на последовательных портах системы
  --wait SECONDS         сколько ждать ответа прибора (по умолчанию 30)
  --blocks all|N[,N…]    какие блоки оценивать (по умолчанию все)
  --band MIN:MAX         допуск; или --min MIN, --max MAX для одной границы
  --decimals auto|1-4    знаков после запятой у значений в отчётах
  --report pdf|xlsx|both формат отчётов (по умолчанию pdf)
  --out DIR              папка отчётов
  --form FILE.json       поля отчёта (по умолчанию из config.json)
  --history default|none|FILE.sqlite|postgresql://…
                         история считываний (по умолчанию как в окне программы)
  --sign FILE.p12        подписать каждый отчёт PDF сертификатом из файла PKCS#12
  --sign-password-file FILE
                         пароль к нему: первая строка файла (только вместе с --sign)
  --json                 итог одним документом JSON на stdout
  --quiet                без хода работы на stderr
  --help                 эта справка

Код возврата: 0 все блоки в допуске (или допуск не задан), 1 блок вне допуска,
2 прибор не найден или связь прервалась, 3 отчёт или история не записаны,
64 ошибка в параметрах, 130/143 прервано сигналом SIGINT/SIGTERM.
</source>
        <translation>Usage: zrv-station [options]
Reads the instrument, judges each block against the tolerance band, writes the reports and the history.

  --port PATH            the instrument's port (may be repeated: read at once);
                         without it, the first instrument on the system's serial ports
  --wait SECONDS         how long to wait for the instrument to answer (default 30)
  --blocks all|N[,N…]    the blocks to judge (default all)
  --band MIN:MAX         the tolerance band; or --min MIN, --max MAX for one limit
  --decimals auto|1-4    decimals of the values in the reports
  --report pdf|xlsx|both the reports' format (default pdf)
  --out DIR              the reports' folder
  --form FILE.json       the report's fields (default from config.json)
  --history default|none|FILE.sqlite|postgresql://…
                         the history of reads (default as in the program's window)
  --sign FILE.p12        sign each PDF report with the certificate of a PKCS#12 file
  --sign-password-file FILE
                         its password: the file's first line (only with --sign)
  --json                 the outcome as one JSON document on stdout
  --quiet                no progress on stderr
  --help                 this help

Exit status: 0 all blocks within tolerance (or no band given), 1 a block out of tolerance,
2 no instrument found or the link failed, 3 a report or the history not written,
64 a usage error, 130/143 stopped by SIGINT/SIGTERM.
</translation>
    </message>
</context>
<context>
    <name>StationForm</name>
    <message>
        <source>не удалось прочитать %1: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>в %1 нет объекта JSON</source>
        <translation>%1 holds no JSON object</translation>
    </message>
    <message>
        <source>дата отчёта «%1» не в виде дд.ММ.гггг</source>
        <translation>the report date &quot;%1&quot; is not dd.MM.yyyy</translation>
    </message>
</context>
<context>
    <name>Signing</name>
    <message>
        <source>не удалось прочитать %1: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 не файл PKCS#12</source>
        <translation>%1 is not a PKCS#12 file</translation>
    </message>
    <message>
        <source>неверный пароль к %1</source>
        <translation>wrong password for %1</translation>
    </message>
    <message>
        <source>не удалось раскрыть содержимое %1</source>
        <translation>cannot open the contents of %1</translation>
    </message>
    <message>
        <source>в %1 нет закрытого ключа к сертификату</source>
        <translation>%1 holds no private key with its certificate</translation>
    </message>
    <message>
        <source>срок действия сертификата в %1 истёк</source>
        <translation>the certificate in %1 has expired</translation>
    </message>
    <message>
        <source>сертификат в %1 ещё не действует</source>
        <translation>the certificate in %1 is not yet valid</translation>
    </message>
    <message>
        <source>сертификат в %1 не предназначен для подписи</source>
        <translation>the certificate in %1 is not meant for signing</translation>
    </message>
    <message>
        <source>ключ в %1 не подходит к сертификату</source>
        <translation>the key in %1 does not match its certificate</translation>
    </message>
    <message>
        <source>в файле не нашлось места для подписи</source>
        <translation>no place for the signature</translation>
    </message>
    <message>
        <source>не удалось создать подпись CMS</source>
        <translation>the CMS signature failed</translation>
    </message>
    <message>
        <source>не удалось записать %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>нет ключа для подписи</source>
        <translation>no signing identity</translation>
    </message>
    <message>
        <source>файла %1 нет</source>
        <translation>%1 does not exist</translation>
    </message>
    <message>
        <source>не удалось создать файл рядом с %1</source>
        <translation>cannot create a file beside %1</translation>
    </message>
    <message>
        <source>не удалось заменить %1</source>
        <translation>cannot replace %1</translation>
    </message>
</context>
<context>
    <name>StationHistory</name>
    <message>
        <source>адрес сервера истории «%1» не разобрать</source>
        <translation>cannot make out the history server address &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>StationProgress</name>
    <message>
        <source>%1: прибор найден</source>
        <translation>%1: instrument found</translation>
    </message>
    <message>
        <source>в допуске</source>
        <translation>within tolerance</translation>
    </message>
    <message>
        <source>вне допуска: %1</source>
        <translation>out of tolerance: %1</translation>
    </message>
    <message>
        <source>без оценки</source>
        <translation>not judged</translation>
    </message>
    <message>
        <source>%1: блок %2/%3 «%4»: %5 показ., среднее %6, σ %7, %8</source>
        <translation>%1: block %2/%3 &quot;%4&quot;: %5 readings, mean %6, σ %7, %8</translation>
    </message>
    <message>
        <source>считаны все блоки</source>
        <translation>every block read</translation>
    </message>
    <message>
        <source>прервано</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>связь с прибором потеряна</source>
        <translation>the instrument was lost</translation>
    </message>
    <message>
        <source>прибор не сообщил число блоков</source>
        <translation>the instrument did not give its number of blocks</translation>
    </message>
    <message>
        <source>прибор не найден</source>
        <translation>no instrument found</translation>
    </message>
    <message>
        <source>%1: %2, считано блоков: %3 из %4</source>
        <translation>%1: %2, blocks read: %3 of %4</translation>
    </message>
</context>
<context>
    <name>StationRun</name>
    <message>
        <source>Ожидание прибора на последовательных портах…</source>
        <translation>Waiting for an instrument on the serial ports…</translation>
    </message>
    <message>
        <source>Остановка: считывание прерывается</source>
        <translation>Stopping: the read is being ended</translation>
    </message>
    <message>
        <source>порт системы</source>
        <translation>system port</translation>
    </message>
    <message>
        <source>%1: отчёт не записан: %2</source>
        <translation>%1: report not written: %2</translation>
    </message>
    <message>
        <source>История: считывание сохранено</source>
        <translation>History: the read is stored</translation>
    </message>
    <message>
        <source>История: сервер недоступен, считывание ждёт в локальном файле</source>
        <translation>History: the server cannot be reached; the read waits in the local file</translation>
    </message>
    <message>
        <source>История: не записана, считывание сохранено до следующего запуска</source>
        <translation>History: not written; the read is kept for the next run</translation>
    </message>
    <message>
        <source>История: считывание не удалось сохранить</source>
        <translation>History: the read could not be kept</translation>
    </message>
    <message>
        <source>%1: на приборе нет блока %2</source>
        <translation>%1: the instrument holds no block %2</translation>
    </message>
    <message>
        <source>ошибка запроса имени</source>
        <translation>the name request failed</translation>
    </message>
    <message>
        <source>ошибка запроса размера</source>
        <translation>the size request failed</translation>
    </message>
    <message>
        <source>ошибка запроса показаний</source>
        <translation>the readings request failed</translation>
    </message>
    <message>
        <source>показания получены не полностью</source>
        <translation>the readings came cut short</translation>
    </message>
    <message>
        <source>%1: блок %2 считан повторно</source>
        <translation>%1: block %2 read again</translation>
    </message>
    <message>
        <source>%1: блок %2 не считан и после повтора: %3</source>
        <translation>%1: block %2 not read, even when tried again: %3</translation>
    </message>
    <message>
        <source>%1: отчёт PDF не подписан и не сохранён: %2 (%3)</source>
        <translation>%1: the PDF report was not signed and not kept: %2 (%3)</translation>
    </message>
</context>
<context>
    <name>StationSigning</name>
    <message>
        <source>файл сертификата не читается</source>
        <translation>the certificate file cannot be read</translation>
    </message>
    <message>
        <source>неверный пароль</source>
        <translation>wrong password</translation>
    </message>
    <message>
        <source>нет закрытого ключа</source>
        <translation>no private key</translation>
    </message>
    <message>
        <source>срок действия сертификата истёк</source>
        <translation>the certificate has expired</translation>
    </message>
    <message>
        <source>сертификат ещё не действует</source>
        <translation>the certificate is not yet valid</translation>
    </message>
    <message>
        <source>ключ не годится для подписи</source>
        <translation>the key cannot sign</translation>
    </message>
    <message>
        <source>файл пароля не читается</source>
        <translation>the password file cannot be read</translation>
    </message>
    <message>
        <source>отчёт не читается</source>
        <translation>the report cannot be read</translation>
    </message>
    <message>
        <source>подпись не создана</source>
        <translation>the signature could not be made</translation>
    </message>
    <message>
        <source>подписанный файл не записан</source>
        <translation>the signed file could not be written</translation>
    </message>
</context>
<context>
    <name>SigningDialog</name>
    <message>
        <source>Подпись отчётов</source>
        <translation>Report signing</translation>
    </message>
    <message>
        <source>PDF-отчёты подписываются сертификатом из файла PKCS#12 (.p12, .pfx). Пароль к нему спрашивается один раз за сеанс работы и нигде не сохраняется.</source>
        <translation>PDF reports are signed with the certificate from a PKCS#12 file (.p12, .pfx). Its password is asked once per session and is never saved.</translation>
    </message>
    <message>
        <source>Файл сертификата:</source>
        <translation>Certificate file:</translation>
    </message>
    <message>
        <source>Выбрать…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>Владелец:</source>
        <translation>Owner:</translation>
    </message>
    <message>
        <source>Действует:</source>
        <translation>Valid:</translation>
    </message>
    <message>
        <source>Показать сертификат…</source>
        <translation>Show certificate…</translation>
    </message>
    <message>
        <source>Не подписывать</source>
        <translation>Do not sign</translation>
    </message>
    <message>
        <source>Сертификат для подписи отчётов</source>
        <translation>Certificate for signing reports</translation>
    </message>
    <message>
        <source>Сертификаты PKCS#12 (*.p12 *.pfx)</source>
        <translation>PKCS#12 certificates (*.p12 *.pfx)</translation>
    </message>
    <message>
        <source>с %1 по %2</source>
        <translation>from %1 to %2</translation>
    </message>
    <message>
        <source>Сертификат не выбран: отчёты не подписываются.</source>
        <translation>No certificate chosen: reports are not signed.</translation>
    </message>
    <message>
        <source>Этим сертификатом подписать нельзя. %1</source>
        <translation>This certificate cannot sign. %1</translation>
    </message>
    <message>
        <source>Сертификат годен для подписи.</source>
        <translation>The certificate can sign.</translation>
    </message>
    <message>
        <source>Владелец и срок действия видны после ввода пароля.</source>
        <translation>The owner and validity are shown once the password is given.</translation>
    </message>
</context>
<context>
    <name>SigningPrompts</name>
    <message>
        <source>Неверный пароль к сертификату.</source>
        <translation>Wrong certificate password.</translation>
    </message>
    <message>
        <source>Срок действия сертификата истёк.</source>
        <translation>The certificate has expired.</translation>
    </message>
    <message>
        <source>Сертификат ещё не действует.</source>
        <translation>The certificate is not yet valid.</translation>
    </message>
    <message>
        <source>В файле сертификата нет закрытого ключа.</source>
        <translation>The certificate file holds no private key.</translation>
    </message>
    <message>
        <source>Ключ сертификата не годится для подписи.</source>
        <translation>The certificate's key cannot sign.</translation>
    </message>
    <message>
        <source>Файл сертификата не удалось прочитать.</source>
        <translation>The certificate file could not be read.</translation>
    </message>
    <message>
        <source>Подписать файл отчёта не удалось.</source>
        <translation>The report file could not be signed.</translation>
    </message>
    <message>
        <source>Пароль сертификата</source>
        <translation>Certificate password</translation>
    </message>
    <message>
        <source>Пароль к сертификату %1:</source>
        <translation>Password for the certificate %1:</translation>
    </message>
</context>
<context>
    <name>ReportSigning</name>
    <message>
        <source>Подпись отчёта</source>
        <translation>Report signature</translation>
    </message>
    <message>
        <source>Отчёт не подписан. %1</source>
        <translation>The report is not signed. %1</translation>
    </message>
    <message>
        <source>%1

Сохранить отчёт без подписи?</source>
        <translation>%1

Save the report unsigned?</translation>
    </message>
    <message>
        <source>Сохранить без подписи</source>
        <translation>Save unsigned</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Сертификат для подписи не выбран: Данные → Подпись отчётов…</source>
        <translation>No signing certificate chosen: Data → Report signing…</translation>
    </message>
    <message>
        <source>Подписывается сертификатом %1</source>
        <translation>Signed with the certificate %1</translation>
    </message>
</context>
<context>
    <name>ProcessAnalysisDialog</name>
    <message>
        <source>Тренд</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>Анализ процесса</source>
        <translation>Process analysis</translation>
    </message>
    <message>
        <source>Блок не показан</source>
        <translation>No block shown</translation>
    </message>
    <message>
        <source>Гистограмма</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>Карты I-MR</source>
        <translation>I-MR charts</translation>
    </message>
    <message>
        <source>Правила:</source>
        <translation>Rules:</translation>
    </message>
    <message>
        <source>1: точка за 3σ</source>
        <translation>1: a point beyond 3σ</translation>
    </message>
    <message>
        <source>2: 2 из 3 за 2σ</source>
        <translation>2: 2 of 3 beyond 2σ</translation>
    </message>
    <message>
        <source>3: 4 из 5 за 1σ</source>
        <translation>3: 4 of 5 beyond 1σ</translation>
    </message>
    <message>
        <source>4: 8 подряд по одну сторону</source>
        <translation>4: 8 in a row on one side</translation>
    </message>
    <message>
        <source>5: 6 подряд растут или убывают</source>
        <translation>5: 6 in a row rising or falling</translation>
    </message>
    <message>
        <source>Пригодность</source>
        <translation>Capability</translation>
    </message>
    <message>
        <source>Копировать таблицу</source>
        <translation>Copy table</translation>
    </message>
    <message>
        <source>Блок: %1</source>
        <translation>Block: %1</translation>
    </message>
    <message>
        <source>ЦЛ</source>
        <translation>CL</translation>
    </message>
    <message>
        <source>ВКГ</source>
        <translation>UCL</translation>
    </message>
    <message>
        <source>НКГ</source>
        <translation>LCL</translation>
    </message>
    <message>
        <source>Номер значения</source>
        <translation>Value number</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Число значений</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Скользящий размах</source>
        <translation>Moving range</translation>
    </message>
    <message>
        <source>правила не проверены: σ не определена или равна 0</source>
        <translation>rules not checked: σ is undefined or 0</translation>
    </message>
    <message>
        <source> … ещё %1</source>
        <translation> … %1 more</translation>
    </message>
    <message>
        <source>правило %1: значение %2</source>
        <translation>rule %1: value %2</translation>
    </message>
    <message>
        <source>правило %1: значения %2</source>
        <translation>rule %1: values %2</translation>
    </message>
    <message>
        <source>правила не нарушены</source>
        <translation>no rule broken</translation>
    </message>
</context>
<context>
    <name>CapabilityTable</name>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>исключено (не числа)</source>
        <translation>excluded (not numbers)</translation>
    </message>
    <message>
        <source>среднее</source>
        <translation>mean</translation>
    </message>
    <message>
        <source>σ внутренняя (MR̄ / 1.128)</source>
        <translation>σ within (MR̄ / 1.128)</translation>
    </message>
    <message>
        <source>σ общая</source>
        <translation>σ overall</translation>
    </message>
    <message>
        <source>ожидаемая доля вне допуска, ppm</source>
        <translation>expected share outside the tolerance, ppm</translation>
    </message>
    <message>
        <source>наблюдаемая доля вне допуска, ppm</source>
        <translation>observed share outside the tolerance, ppm</translation>
    </message>
    <message>
        <source>примечание</source>
        <translation>note</translation>
    </message>
    <message>
        <source>малая выборка (n &lt; %1)</source>
        <translation>small sample (n &lt; %1)</translation>
    </message>
    <message>
        <source>Показатель</source>
        <translation>Figure</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>95 % ДИ, от</source>
        <translation>95 % CI, from</translation>
    </message>
    <message>
        <source>95 % ДИ, до</source>
        <translation>95 % CI, to</translation>
    </message>
</context>
<context>
    <name>PlotExport</name>
    <message>
        <source>Копировать изображение</source>
        <translation>Copy image</translation>
    </message>
    <message>
        <source>Сохранить как PNG…</source>
        <translation>Save as PNG…</translation>
    </message>
    <message>
        <source>Сохранить как SVG…</source>
        <translation>Save as SVG…</translation>
    </message>
    <message>
        <source>Изображение PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Рисунок SVG (*.svg)</source>
        <translation>SVG drawing (*.svg)</translation>
    </message>
    <message>
        <source>Сохранить график</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1.</source>
        <translation>Could not write the file %1.</translation>
    </message>
</context>
<context>
    <name>ProcessTrend</name>
    <message>
        <source>Правила:</source>
        <translation>Rules:</translation>
    </message>
    <message>
        <source>1: точка за 3σ</source>
        <translation>1: a point beyond 3σ</translation>
    </message>
    <message>
        <source>2: 2 из 3 за 2σ</source>
        <translation>2: 2 of 3 beyond 2σ</translation>
    </message>
    <message>
        <source>3: 4 из 5 за 1σ</source>
        <translation>3: 4 of 5 beyond 1σ</translation>
    </message>
    <message>
        <source>4: 8 подряд по одну сторону</source>
        <translation>4: 8 in a row on one side</translation>
    </message>
    <message>
        <source>5: 6 подряд растут или убывают</source>
        <translation>5: 6 in a row rising or falling</translation>
    </message>
    <message>
        <source>Правила не выбраны.</source>
        <translation>No rules chosen.</translation>
    </message>
    <message>
        <source>Блок:</source>
        <translation>Block:</translation>
    </message>
    <message>
        <source>Границы по подгруппам:</source>
        <translation>Limits from subgroups:</translation>
    </message>
    <message>
        <source>Границы рассчитываются по первым k подгруппам и для следующих не меняются</source>
        <translation>The limits are computed from the first k subgroups and kept for the later ones</translation>
    </message>
    <message>
        <source>Построить</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>История не подключена.</source>
        <translation>No history is connected.</translation>
    </message>
    <message>
        <source>Выберите блок.</source>
        <translation>Choose a block.</translation>
    </message>
    <message>
        <source>Загрузка блоков «%1» из истории…</source>
        <translation>Loading the blocks “%1” from the history…</translation>
    </message>
    <message>
        <source>В истории нет блоков «%1».</source>
        <translation>The history holds no blocks “%1”.</translation>
    </message>
    <message>
        <source>«%1»: считываний %2, но ни в одном нет от 2 до 25 показаний.</source>
        <translation>“%1”: %2 reads, none with 2 to 25 readings.</translation>
    </message>
    <message>
        <source>«%1»: считываний %2, на карте %3; границы по первым %4, карта %5.</source>
        <translation>“%1”: %2 reads, %3 on the chart; limits from the first %4, %5 chart.</translation>
    </message>
    <message>
        <source>Не учтено считываний без 2–25 показаний: %1.</source>
        <translation>Reads left out (not 2–25 readings): %1.</translation>
    </message>
    <message>
        <source>Не учтено показаний NaN и бесконечных: %1.</source>
        <translation>Readings left out (NaN or infinite): %1.</translation>
    </message>
    <message>
        <source>Правила не нарушены.</source>
        <translation>No rule is broken.</translation>
    </message>
    <message>
        <source>правило %1: считывания %2</source>
        <translation>rule %1: reads %2</translation>
    </message>
    <message>
        <source>%1, правило 1: считывания %2</source>
        <translation>%1, rule 1: reads %2</translation>
    </message>
    <message>
        <source>История недоступна: %1.</source>
        <translation>The history is unavailable: %1.</translation>
    </message>
</context>
<context>
    <name>TrendPlots</name>
    <message>
        <source>Считывание</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>ЦЛ</source>
        <translation>CL</translation>
    </message>
    <message>
        <source>ВКГ</source>
        <translation>UCL</translation>
    </message>
    <message>
        <source>НКГ</source>
        <translation>LCL</translation>
    </message>
</context>
<context>
    <name>AnalysisReport</name>
    <message>
        <source>Анализ</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Карта индивидуальных значений (I)</source>
        <translation>Individuals chart (I)</translation>
    </message>
    <message>
        <source>Карта скользящих размахов (MR)</source>
        <translation>Moving range chart (MR)</translation>
    </message>
    <message>
        <source>Нарушения правил</source>
        <translation>Broken rules</translation>
    </message>
</context>
</TS>
