#include "report/prepare/ViewPrint.h"

#include "report/script/ExpandText.h"
#include "report/prepare/ObjectPrintEvents.h"
#include "report/model/PictureView.h"
#include "report/prepared/PreparedObject.h"

namespace pv {

PrintRestorer::PrintRestorer(TfrView& view)
    : view_(view), tag_(view.Tag), bandAlign_(view.BandAlign), left_(view.Left), top_(view.Top),
      width_(view.Width), height_(view.Height) {}

PrintRestorer::~PrintRestorer() {
    view_.Tag = tag_;
    view_.BandAlign = bandAlign_;
    view_.Left = left_;
    view_.Top = top_;
    view_.Width = width_;
    view_.Height = height_;
}

void PlaceForRecord(TfrView& view, const PreparedPlacement* placement) {
    if (!placement) return;
    PlaceByBandAlign(view, placement->neighbours, placement->limits);
    view.BandAlign = baNone;
}

void ExpandTag(TfrView& view, ExpressionEngine& engine) {
    if (view.Tag.find('[') != std::string::npos) view.Tag = ExpandText(view.Tag, {}, engine);
}

namespace {

// A picture bound to a blob field shows the field's image for one print.
class FieldPicture {
public:
    FieldPicture(TfrView& view, ObjectPrintEvents& events)
        : picture_(dynamic_cast<TfrPictureView*>(&view)) {
        if (!picture_) return;
        std::optional<Graphic> bound = events.boundPicture(*picture_);
        if (!bound) return;
        own_ = std::move(picture_->Picture);
        picture_->Picture = std::move(*bound);
    }
    ~FieldPicture() {
        if (own_) picture_->Picture = std::move(*own_);
    }
    FieldPicture(const FieldPicture&) = delete;
    FieldPicture& operator=(const FieldPicture&) = delete;

private:
    TfrPictureView* picture_;
    std::optional<Graphic> own_;
};

} // namespace

bool WritePreparedView(ByteStream& page, TfrView& view, ExpressionEngine& engine,
                       ObjectPrintEvents& events, const PreparedPlacement* placement) {
    PrintRestorer restorer(view);
    events.runScript(view);
    FieldPicture fieldPicture(view, events);
    Lines lines = view.Memo;
    events.beforePrint(lines, view);
    if (!view.Visible) return false;
    PlaceForRecord(view, placement);
    ExpandTag(view, engine);
    WritePrepared(page, view);
    return true;
}

} // namespace pv
