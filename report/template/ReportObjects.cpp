#include "report/template/ReportObjects.h"

#include "platform/TextCase.h"
#include "report/script/ExpressionEngine.h"
#include "report/template/Report.h"

#include <charconv>

namespace pv {
namespace {

// "Page" followed by a 1-based number; 0 when the name is not of that form.
int pageNumber(std::string_view name) {
    constexpr std::string_view prefix = "Page";
    if (name.size() <= prefix.size() || !equalsNoCase(name.substr(0, prefix.size()), prefix))
        return 0;
    const std::string_view digits = name.substr(prefix.size());
    int n = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return error == std::errc() && end == digits.data() + digits.size() ? n : 0;
}

} // namespace

TfrObject* ReportObjects::find(std::string_view name) const {
    if (TfrView* exact = report_.FindObject(std::string(name))) return exact;
    for (const auto& page : report_.Pages)
        for (const auto& view : page->Objects)
            if (equalsNoCase(view->Name, name)) return view.get();
    for (const auto& page : report_.Pages)
        if (equalsNoCase(page->Name, name)) return page.get();
    const int n = pageNumber(name);
    if (n >= 1 && n <= report_.PageCount()) return &report_.Page(n - 1);
    return nullptr;
}

std::optional<Variant> ReportObjects::readProperty(std::string_view object,
                                                   std::string_view property) {
    TfrObject* target = find(object);
    return target ? target->ReadProperty(property) : std::nullopt;
}

bool ReportObjects::writeProperty(std::string_view object, std::string_view property,
                                  const Variant& value) {
    TfrObject* target = find(object);
    return target && target->WriteProperty(property, value);
}

std::optional<Variant> ReportObjects::callMethod(std::string_view object, std::string_view method,
                                                 const std::string& p1, const std::string& p2,
                                                 const std::string& p3) {
    TfrObject* target = find(object);
    if (!target) return std::nullopt;
    // The indexed-property methods name the property in their first argument.
    const bool indexed =
        equalsNoCase(method, "GETINDEXPROPERTY") || equalsNoCase(method, "SETINDEXPROPERTY");
    const Variant first = indexed ? Variant(p1) : argument(p1);
    return target->CallMethod(method, first, argument(p2), argument(p3));
}

Variant ReportObjects::argument(const std::string& text) const {
    if (text.empty() || !engine_) return Variant();
    return engine_->EvaluateText(text);
}

} // namespace pv
