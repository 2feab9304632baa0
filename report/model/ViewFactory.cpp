#include "report/model/ViewFactory.h"

#include "platform/TextCase.h"
#include "report/model/BandView.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/model/SubReportView.h"

#include <map>

namespace pv {
namespace {

std::map<std::string, AddInFactory>& addIns() {
    static std::map<std::string, AddInFactory> registry;
    return registry;
}

} // namespace

std::unique_ptr<TfrView> createView(uint8_t typeCode) {
    switch (typeCode) {
    case gtMemo:
        return std::make_unique<TfrMemoView>();
    case gtPicture:
        return std::make_unique<TfrPictureView>();
    case gtBand:
        return std::make_unique<TfrBandView>();
    case gtSubReport:
        return std::make_unique<TfrSubReportView>();
    case gtLine:
        return std::make_unique<TfrLineView>();
    default:
        return nullptr;
    }
}

void registerAddIn(const std::string& className, AddInFactory factory) {
    addIns()[upper1251(className)] = std::move(factory);
}

void unregisterAddIn(const std::string& className) {
    addIns().erase(upper1251(className));
}

std::unique_ptr<TfrView> createAddIn(const std::string& className) {
    auto it = addIns().find(upper1251(className));
    return it == addIns().end() ? nullptr : it->second();
}

} // namespace pv
