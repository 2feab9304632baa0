#pragma once

#include "report/model/Graphic.h"
#include "report/model/View.h"

namespace pv {

// Picture `Flags` bits.
constexpr uint16_t flPictCenter = 2, flPictRatio = 4;

// A picture, stored in the template or taken from the data field named by the
// first line of `Memo`.
class TfrPictureView : public TfrView {
public:
    TfrPictureView();

    uint8_t typeCode() const override { return gtPicture; }
    const char* namePrefix() const override { return "Picture"; }
    std::unique_ptr<TfrView> clone() const override {
        return std::make_unique<TfrPictureView>(*this);
    }
    void readClassFields(ByteStream& s, const FrfContext& ctx) override;
    void writeClassFields(ByteStream& s) const override;

    std::optional<Variant> ReadProperty(std::string_view name) const override;
    bool WriteProperty(std::string_view name, const Variant& value) override;

    uint8_t BlobType = btBMP;
    Graphic Picture;

protected:
    std::vector<FlagName> flagNames() const override;
};

} // namespace pv
