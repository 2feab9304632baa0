#include "app/PlaceholderPreview.h"
#include "platform/CodePage.h"
#include "report/value/Variables.h"

#include <QDialog>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <memory>

using namespace pv;

class PlaceholderPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void missingTemplateKeepsTheOneLoadedBefore();
    void windowListsTemplatesAndVariables();
};

void PlaceholderPreviewTest::missingTemplateKeepsTheOneLoadedBefore() {
    QTemporaryDir dir;
    const std::string first = dir.filePath("szv_4_1.frf").toStdString();
    std::ofstream(first) << "x";
    PlaceholderPreview preview;
    QCOMPARE(preview.templateOf(ReportId::frReport1), std::string());
    preview.LoadFromFile(ReportId::frReport1, dir.filePath("missing.frf").toStdString());
    QCOMPARE(preview.templateOf(ReportId::frReport1), std::string());
    preview.LoadFromFile(ReportId::frReport1, first);
    preview.LoadFromFile(ReportId::frReport1, dir.filePath("missing.frf").toStdString());
    QCOMPARE(preview.templateOf(ReportId::frReport1), first);
    preview.LoadFromFile(ReportId::frReport1, dir.path().toStdString()); // a directory
    QCOMPARE(preview.templateOf(ReportId::frReport1), first);
}

void PlaceholderPreviewTest::windowListsTemplatesAndVariables() {
    QTemporaryDir dir;
    const QString list = dir.filePath("listk.frf");
    std::ofstream(list.toStdString()) << "x";
    PlaceholderPreview preview;
    preview.LoadFromFile(ReportId::frReport2, list.toStdString());
    frVariables().Clear();
    frVariables().SetValue("nazvan", Variant(ru("ООО \"Ромашка\"")));
    frVariables().SetValue("kolvo", Variant(int32_t(3)));

    std::unique_ptr<QDialog> window(preview.createWindow(ReportId::frCompositeReport1, nullptr));
    const QString templates = window->findChild<QLabel*>("Templates")->text();
    QVERIFY(templates.contains("frReport1: шаблон не загружен"));
    QVERIFY(templates.contains("frReport2: " + list));
    QVERIFY(templates.contains("frReport3: шаблон не загружен"));

    auto* table = window->findChild<QTableWidget*>("Variables");
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QString("kolvo"));
    QCOMPARE(table->item(0, 1)->text(), QString("3"));
    QCOMPARE(table->item(1, 0)->text(), QString("nazvan"));
    QCOMPARE(table->item(1, 1)->text(), QString("ООО \"Ромашка\""));
    frVariables().Clear();
}

QTEST_MAIN(PlaceholderPreviewTest)
#include "PlaceholderPreviewTest.moc"
