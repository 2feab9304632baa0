#include "app/MainWindow.h"
#include "app/ProgramReports.h"
#include "app/TitlePageCommands.h"
#include "app/dialogs/AppDialogs.h"
#include "app/dialogs/QtUi.h"
#include "app/dialogs/ScaledForm.h"
#include "batch/FormDataSources.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "program/ProgramSettingsReader.h"
#include "report/data/DataSourceRegistry.h"
#include "report/printer/Printer.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"
#include "program/TitlePage.h"
#include "report/designer/Designer.h"
#include "report/qt/QtInstalledPrinter.h"
#include "report/template/Report.h"
#include "report/value/Variables.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// `pachkaview --design FILE.frf`: the designer alone, on any template.
int designOnly(const std::string& path) {
    pv::QtUi ui;
    if (path.empty()) {
        ui.messageBox(pv::ru("Не указан файл шаблона: pachkaview --design ФАЙЛ.frf"),
                      pv::programName(), pv::MsgIcon::Error, pv::MsgButtons::Ok);
        return 1;
    }
    pv::TfrReport report;
    report.setUi(&ui);
    if (!report.LoadFromFile(path) || report.lastLoad() != pv::LoadResult::Ok) {
        ui.messageBox(pv::ru("Не удалось открыть шаблон ") + pv::utf8ToCp1251(path),
                      pv::programName(), pv::MsgIcon::Error, pv::MsgButtons::Ok);
        return 2;
    }
    pv::DataSourceRegistry sources;
    pv::ProgramReports reports(sources, ui);
    pv::TfrDesigner designer(report, path, ui);
    ui.setParentWidget(&designer);
    designer.setPreview([&](pv::TfrReport& r) {
        reports.setParentWidget(&designer);
        reports.previewTemplate(r);
        pv::frVariables().Clear();
    });
    designer.exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    pv::switchOffToolkitScaling();
    QApplication app(argc, argv);
    // Every text of the program is Russian; the toolkit's own buttons should be too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    // Qt has taken its own options out of argv by now. The path stays the bytes it was given.
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--design") return designOnly(argc > 2 ? argv[2] : "");
    const std::string batchPath = first;

    // The printer model binds to the system's printers before any template
    // takes its paper; with none it keeps the virtual printer.
    pv::frPrinter().setDevices(pv::installedPrinters());

    pv::QtUi ui;
    pv::DataSourceRegistry sources;
    pv::ProgramReports reports(sources, ui);
    pv::Tfm_main fm_main(ui, reports, batchPath);
    ui.setParentWidget(&fm_main);
    reports.setParentWidget(&fm_main);
    pv::FormTables tables(ui, [&fm_main] { return fm_main.driver().DocType(); });
    pv::FormDataSources dataSources(tables, sources);
    pv::FormParsers parsers(tables);
    fm_main.setParsers(&parsers);

    // The signatures dialog, then the warning dialog: both live until the program ends.
    pv::AppDialogs dialogs(fm_main.context(), &fm_main);
    fm_main.setSettingsReader(pv::readProgramSettings);
    fm_main.setRegionCheck(&dialogs.regionCheck());
    fm_main.setSignaturesAction([&dialogs](pv::Tfm_main&) { dialogs.N1Click(); });
    pv::installTitlePageCommands(
        fm_main, reports, [&](const std::string& path, const std::string& savePath) {
            pv::TfrDesigner designer(reports.engine().report(pv::ReportId::frReport1), path, ui,
                                     &fm_main);
            designer.setSavePath(savePath);
            designer.setPreview([&](pv::TfrReport& report) {
                // The template shown as the title page of the last batch would be.
                pv::TitlePage::publish(fm_main.driver().header());
                reports.previewTemplate(report);
                pv::frVariables().Clear();
            });
            designer.exec();
        });

    fm_main.show();
    return app.exec();
}
