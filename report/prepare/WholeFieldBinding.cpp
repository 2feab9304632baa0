#include "report/prepare/WholeFieldBinding.h"

#include "platform/TextCase.h"
#include "report/data/DataSet.h"
#include "report/prepare/DataSourceContext.h"
#include "report/data/FieldReference.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/data/MemoryTable.h"

namespace pv {

std::optional<std::string> wholeFieldReference(const TfrView& view) {
    if (view.typeCode() == gtBand) return std::nullopt;
    if (dynamic_cast<const TfrMemoView*>(&view) && view.flag(flTextOnly)) return std::nullopt;
    std::string text;
    for (size_t i = 0; i < view.Memo.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += view.Memo[i];
    }
    if (text.size() <= 2 || text[0] != '[') return std::nullopt;
    size_t close = text.rfind(']');
    if (close == 0 || close == std::string::npos) return std::nullopt;
    return text.substr(1, close - 1);
}

void WholeFieldBindings::bind(const std::vector<TfrView*>& objects, DataSourceContext& data) {
    for (TfrView* view : objects) {
        std::optional<std::string> reference = wholeFieldReference(*view);
        if (!reference) continue;
        size_t dot = lastDotOutsideQuotes(*reference);
        if (dot == std::string::npos) continue;
        std::string source = data.sourceFromAlias(trim(reference->substr(0, dot)));
        std::string field =
            unquoteDouble(data.fieldFromAlias(source, trim(reference->substr(dot + 1))));
        TField* found = data.findField(source, field);
        if (!found) continue;
        auto* dataset = dynamic_cast<TfrDBDataSet*>(data.sourceNamed(source));
        bindings_[view] = FieldBinding{dataset, found->FieldName()};
    }
}

namespace {

TField* boundField(const FieldBinding& binding, TFieldType type) {
    TRxMemoryData* table = binding.dataset ? binding.dataset->TableOrNull() : nullptr;
    TField* field = table ? table->FindField(binding.field) : nullptr;
    return field && field->DataType() == type ? field : nullptr;
}

} // namespace

std::optional<Lines> boundMemoLines(const FieldBinding& binding) {
    TField* field = boundField(binding, TFieldType::ftMemo);
    if (!field) return std::nullopt;
    Lines lines;
    const std::string text = field->AsString();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::optional<Graphic> boundPicture(const FieldBinding& binding, uint8_t blobType) {
    TField* field = boundField(binding, TFieldType::ftBlob);
    if (!field) return std::nullopt;
    Graphic graphic;
    graphic.data = field->AsString();
    if (graphic.data.empty()) return graphic;
    switch (blobType) {
    case btJPG:
        graphic.kind = gkJpeg;
        break;
    case btICO:
        graphic.kind = gkIcon;
        break;
    case btWMF:
        graphic.kind = gkMetafile;
        break;
    default:
        graphic.kind = gkBitmap;
    }
    return graphic;
}

const FieldBinding* WholeFieldBindings::find(const TfrView& view) const {
    auto it = bindings_.find(&view);
    return it == bindings_.end() ? nullptr : &it->second;
}

} // namespace pv
