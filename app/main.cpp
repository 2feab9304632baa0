#include "app/PlaceholderPreview.h"
#include "app/QtUi.h"
#include "app/Tfm_main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Every text of the program is Russian; the toolkit's own buttons should be too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    // Qt has taken its own options out of argv by now. The path stays the bytes it was given.
    const std::string batchPath = argc > 1 ? argv[1] : "";

    pv::QtUi ui;
    pv::PlaceholderPreview reports;
    pv::Tfm_main fm_main(ui, reports, batchPath);
    ui.setParentWidget(&fm_main);
    reports.setParentWidget(&fm_main);

    // Here, in this order, the signatures dialog (fm_setup) and the warning
    // dialog (ShowError) are created, both living until the program ends, and
    // handed to fm_main: its settings reader, region check and N1Click action.

    fm_main.show();
    return app.exec();
}
