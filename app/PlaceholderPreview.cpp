#include "app/PlaceholderPreview.h"

#include "app/dialogs/QtUi.h"
#include "report/qt/QtText.h"
#include "platform/CodePage.h"
#include "report/value/Variables.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace pv {
namespace {

// The reports a preview of `report` draws from: the composite one joins the other three.
std::vector<ReportId> sourcesOf(ReportId report) {
    if (report == ReportId::frCompositeReport1)
        return {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3};
    return {report};
}

QString variableText(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Text:
        return qt1251(value.text(), CrLf::ToLf);
    case Variant::Kind::Integer:
        return QString::number(value.integer());
    case Variant::Kind::Double:
        return QString::number(value.real(), 'g', 15);
    case Variant::Kind::Boolean:
        return value.boolean() ? QStringLiteral("True") : QStringLiteral("False");
    case Variant::Kind::DateTime:
        return QString::number(value.days(), 'g', 15);
    case Variant::Kind::Null:
        return QStringLiteral("Null");
    case Variant::Kind::Empty:
        break;
    }
    return QString();
}

} // namespace

void PlaceholderPreview::LoadFromFile(ReportId report, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return;
    templates_[report] = path;
}

std::string PlaceholderPreview::templateOf(ReportId report) const {
    auto it = templates_.find(report);
    return it == templates_.end() ? std::string() : it->second;
}

QDialog* PlaceholderPreview::createWindow(ReportId report, QWidget* parent) const {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("PlaceholderPreview"));
    dialog->setWindowTitle(QStringLiteral("Предварительный просмотр"));
    auto* layout = new QVBoxLayout(dialog);

    QStringList lines;
    lines << QStringLiteral("Отчёт %1 (страницы появятся, когда будет готов генератор отчётов).")
                 .arg(QString::fromLatin1(reportName(report)));
    for (ReportId source : sourcesOf(report)) {
        const std::string path = templateOf(source);
        lines << QStringLiteral("%1: %2").arg(QString::fromLatin1(reportName(source)),
                                              path.empty() ? QStringLiteral("шаблон не загружен")
                                                           : QString::fromStdString(path));
    }
    auto* templates = new QLabel(lines.join('\n'), dialog);
    templates->setObjectName(QStringLiteral("Templates"));
    templates->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(templates);

    const TfrVariables& vars = frVariables();
    auto* table = new QTableWidget(vars.Count(), 2, dialog);
    table->setObjectName(QStringLiteral("Variables"));
    table->setHorizontalHeaderLabels({QStringLiteral("Переменная"), QStringLiteral("Значение")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < vars.Count(); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(qt1251(vars.Name(i), CrLf::ToLf)));
        table->setItem(i, 1, new QTableWidgetItem(variableText(vars.ValueAt(i))));
    }
    table->resizeColumnToContents(0);
    table->resizeRowsToContents();
    layout->addWidget(table);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog->resize(560, 420);
    return dialog;
}

void PlaceholderPreview::PrepareAndPreview(ReportId report) {
    QDialog* dialog = createWindow(report, parent_.data());
    dialog->exec();
    delete dialog;
}

} // namespace pv
