#include "report/prepare/RunningBandObjects.h"

#include "platform/TextCase.h"
#include "report/data/DataSet.h"
#include "report/model/BandView.h"
#include "report/prepare/PageRuntime.h"

namespace pv {
namespace {

bool is(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

} // namespace

TfrBand* RunningBandObjects::band(std::string_view name) const {
    TfrBand* found = runtime_.findBand(name);
    return found && found->view ? found : nullptr;
}

std::optional<Variant> RunningBandObjects::readProperty(std::string_view object,
                                                        std::string_view property) {
    TfrBand* b = band(object);
    if (!b) return objects_.readProperty(object, property);
    if (is(property, "EOF")) return Variant(!b->DataSet() || b->DataSet()->Eof());
    if (is(property, "DataSource"))
        return Variant(b->DataSet() ? b->DataSet()->Name : std::string());
    if (is(property, "Left")) return Variant(int32_t(b->x));
    if (is(property, "Width")) return Variant(int32_t(b->width));
    if (is(property, "Height")) return Variant(int32_t(b->height));
    return objects_.readProperty(object, property);
}

bool RunningBandObjects::writeProperty(std::string_view object, std::string_view property,
                                       const Variant& value) {
    TfrBand* b = band(object);
    if (!objects_.writeProperty(object, property, value)) return false;
    if (!b) return true;
    // The view holds what was written; the running band takes it from there.
    const TfrBandView& view = *b->view;
    if (is(property, "Left")) b->x = view.Left;
    if (is(property, "Width")) b->width = view.Width;
    if (is(property, "Height")) b->height = view.Height;
    if (is(property, "Visible")) b->visible = view.Visible != 0;
    return true;
}

std::optional<Variant> RunningBandObjects::callMethod(std::string_view object,
                                                      std::string_view method,
                                                      const std::string& p1, const std::string& p2,
                                                      const std::string& p3) {
    TfrBand* b = band(object);
    if (b && (is(method, "NEXT") || is(method, "PRIOR") || is(method, "FIRST"))) {
        if (TfrDataset* data = b->DataSet()) {
            if (is(method, "NEXT")) data->Next();
            if (is(method, "PRIOR")) data->Prior();
            if (is(method, "FIRST")) data->First();
        }
        return Variant();
    }
    return objects_.callMethod(object, method, p1, p2, p3);
}

} // namespace pv
