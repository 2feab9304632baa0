#pragma once

#include "report/model/View.h"

namespace pv {

// Stands where the page `SubPage` (0-based) is printed instead of on its own.
class TfrSubReportView : public TfrView {
public:
    uint8_t typeCode() const override { return gtSubReport; }
    const char* namePrefix() const override { return "SubReport"; }
    std::unique_ptr<TfrView> clone() const override {
        return std::make_unique<TfrSubReportView>(*this);
    }
    void readClassFields(ByteStream& s, const FrfContext& ctx) override;
    void writeClassFields(ByteStream& s) const override;

    int32_t SubPage = 0;
};

} // namespace pv
