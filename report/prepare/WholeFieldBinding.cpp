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

const FieldBinding* WholeFieldBindings::find(const TfrView& view) const {
    auto it = bindings_.find(&view);
    return it == bindings_.end() ? nullptr : &it->second;
}

} // namespace pv
