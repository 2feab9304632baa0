#include "pdf/PDFActions.h"

#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFFormat.h"

#include <algorithm>

namespace pv {

void TPDFURLAction::SetURL(std::string url) {
    if (url.empty()) throw TPDFException("URL cannot be empty");
    url_ = std::move(url);
}

void TPDFURLAction::Write(TPDFDocument& doc) {
    int number = ObjectNumber();
    doc.BeginObject(number);
    doc.WriteLine("/S /URI /URI (" + pdf::escapeString(doc.Encrypt(number, url_)) + ")");
    doc.EndDictionary();
    doc.EndObject();
}

TPDFAction& TPDFActions::Add(TPDFDocument& doc, std::unique_ptr<TPDFAction> action) {
    auto same = [&](const auto& held) { return held.get() == action.get(); };
    if (auto it = std::find_if(actions_.begin(), actions_.end(), same); it != actions_.end())
        return **it;
    if (action->ObjectNumber() < 1) action->SetObjectNumber(doc.NewObjectNumber());
    actions_.push_back(std::move(action));
    return *actions_.back();
}

void TPDFActions::AssignNumbers(TPDFDocument& doc) {
    for (auto& action : actions_)
        if (action->ObjectNumber() < 1) action->SetObjectNumber(doc.NewObjectNumber());
}

void TPDFActions::WriteAll(TPDFDocument& doc) {
    for (auto& action : actions_)
        action->Write(doc);
}

} // namespace pv
