#pragma once

#include "report/script/ExpressionContext.h"

namespace pv {

class ExpressionEngine;
class TfrObject;
class TfrReport;

// The template objects of one report as expressions and scripts reach them:
// "Memo1.Font.Size" reads a view's property, "Page2.Orientation" the second
// page's. Object names match without regard to case, as component names do.
class ReportObjects : public ObjectAccess {
public:
    explicit ReportObjects(TfrReport& report) : report_(report) {}

    // Method arguments arrive as raw expression texts; this engine evaluates
    // them. Without one, methods are called with empty arguments.
    void setEngine(ExpressionEngine* engine) { engine_ = engine; }

    // A view of that name, or the page named so or addressed as "Page" N.
    TfrObject* find(std::string_view name) const;

    std::optional<Variant> readProperty(std::string_view object,
                                        std::string_view property) override;
    bool writeProperty(std::string_view object, std::string_view property,
                       const Variant& value) override;
    std::optional<Variant> callMethod(std::string_view object, std::string_view method,
                                      const std::string& p1, const std::string& p2,
                                      const std::string& p3) override;

private:
    Variant argument(const std::string& text) const;

    TfrReport& report_;
    ExpressionEngine* engine_ = nullptr;
};

} // namespace pv
