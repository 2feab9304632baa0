#include "AppTestSupport.h"

#include "platform/CodePage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pv::test {

std::string batchFromFixture(const QTemporaryDir& dir, const std::string& fixture,
                             const std::function<void(std::string&)>& edit) {
    std::ifstream in(std::string(PV_SOURCE_DIR) + "/tests/fixtures/header/" + fixture);
    if (!in) throw std::runtime_error("missing fixture " + fixture);
    std::stringstream text;
    text << in.rdbuf();
    std::string utf8 = text.str();
    if (edit) edit(utf8);
    const std::string path = dir.filePath(QString::fromStdString(fixture)).toStdString() + ".txt";
    std::ofstream out(path, std::ios::binary);
    out << codepage::fromUtf16(codepage::utf8ToUtf16(utf8), codepage::kOem866);
    return path;
}

void RecordingReports::LoadFromFile(ReportId report, const std::string& path) {
    loads.emplace_back(report, path);
}

void RecordingReports::PrepareAndPreview(ReportId report) {
    shown.push_back(report);
    variablesAtShow.Assign(frVariables());
    if (onShow) onShow();
}

void whenModalAppears(const std::function<void(QWidget*)>& act, int ms) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < ms) return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (modal) act(modal);
    });
    timer->start();
}

std::string testName(std::string_view description) {
    std::string name;
    bool upper = true;
    for (const char c : description) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

} // namespace pv::test
