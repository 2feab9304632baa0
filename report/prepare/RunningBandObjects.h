#pragma once

#include "report/script/ExpressionContext.h"

namespace pv {

class PageRuntime;
class TfrBand;

// The template objects as the scripts of a page being formed reach them: a
// band's Left, Top, Width, Height, Visible, DataSource and EOF are those of
// its running band, and NEXT, PRIOR and FIRST move the running band's data
// source. Everything else goes to the template objects underneath.
class RunningBandObjects : public ObjectAccess {
public:
    RunningBandObjects(ObjectAccess& objects, const PageRuntime& runtime)
        : objects_(objects), runtime_(runtime) {}

    std::optional<Variant> readProperty(std::string_view object,
                                        std::string_view property) override;
    bool writeProperty(std::string_view object, std::string_view property,
                       const Variant& value) override;
    std::optional<Variant> callMethod(std::string_view object, std::string_view method,
                                      const std::string& p1, const std::string& p2,
                                      const std::string& p3) override;

private:
    TfrBand* band(std::string_view name) const;

    ObjectAccess& objects_;
    const PageRuntime& runtime_;
};

} // namespace pv
