#include "report/script/ExpressionErrorMessage.h"

#include "platform/CodePage.h"

namespace pv {

std::string expressionErrorMessage(const std::vector<std::string>& objectLines,
                                   const std::string& reportName, const std::string& objectName,
                                   const std::string& error) {
    std::string out = ru("Возникла ошибка при обработке выражения");
    for (const auto& line : objectLines)
        out += "\r" + line;
    out += "\r\r" + ru("Документ:") + " " + reportName + "\r";
    if (!objectName.empty()) out += ru("Объект:") + " " + objectName + "\r";
    out += "\r" + error;
    return out;
}

std::string expressionErrorCaption() {
    return ru("Ошибка");
}

} // namespace pv
