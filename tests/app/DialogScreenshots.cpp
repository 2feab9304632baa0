#include "program/RegionWarningText.h"
#include "program/SignaturesPresenter.h"
#include "program/RegionWarningPresenter.h"
#include "app/dialogs/RegionWarningDialog.h"
#include "app/dialogs/SignaturesDialog.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <iostream>

using namespace pv;

// Shows both dialogs as the user first meets them and saves a picture of each,
// window frame included when the window system gives one.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
    QDir().mkpath(out);
    const QString programDir = QDir(out).absoluteFilePath("program") + "/";
    QDir().mkpath(programDir);

    DriverContext context;
    context.ProgramDir = programDir.toStdString();
    ScriptedUi ui;
    SignaturesPresenter setupPresenter{context, ui, [] { return std::string(); }};
    Tfm_setup setup{setupPresenter, ui};
    {
        QFile ini(programDir + "pachkaview.ini");
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(ru("[Enterprise]\r\nДолжность_Руководителя=Генеральный директор\r\n"
                     "ФИО_Руководителя=Иванов И.И.\r\nФИО_ГлавБух=Петрова П.П.\r\n"
                     "Должность_Исполнителя=Бухгалтер\r\nФИО_Исполнителя=Сидорова С.С.\r\n"
                     "ОКПО=12345678\r\nОКОНХ=91500\r\n")
                      .c_str());
    }
    RegionWarningPresenter errorPresenter{context, ui};
    TShowError warning;
    errorPresenter.setMessage(*regionWarningText("013-999-000123"));
    errorPresenter.FormActivate("013-999-000123");
    warning.present(errorPresenter);

    auto shoot = [&](QWidget& w, const QString& name) {
        w.show();
        w.raise();
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        QPixmap picture =
            w.screen()->grabWindow(0, w.frameGeometry().x(), w.frameGeometry().y(),
                                   w.frameGeometry().width(), w.frameGeometry().height());
        if (picture.isNull()) picture = w.grab();
        const QString path = QDir(out).absoluteFilePath(name);
        if (!picture.save(path)) std::cerr << "cannot write " << path.toStdString() << "\n";
        std::cout << path.toStdString() << "\n";
        w.hide();
    };
    QTimer::singleShot(300, [&] {
        shoot(setup, "fm_setup.png");
        shoot(warning, "ShowError.png");
        app.quit();
    });
    return app.exec();
}
