#include "app/MainWindow.h"
#include "app/ProgramReports.h"
#include "app/dialogs/AppDialogs.h"
#include "app/dialogs/QtUi.h"
#include "app/dialogs/ScaledForm.h"
#include "batch/FormDataSources.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "program/ProgramSettingsReader.h"
#include "report/data/DataSourceRegistry.h"
#include "report/printer/Printer.h"
#include "report/qt/QtInstalledPrinter.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    pv::switchOffToolkitScaling();
    QApplication app(argc, argv);
    // Every text of the program is Russian; the toolkit's own buttons should be too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    // Qt has taken its own options out of argv by now. The path stays the bytes it was given.
    const std::string batchPath = argc > 1 ? argv[1] : "";

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

    fm_main.show();
    return app.exec();
}
