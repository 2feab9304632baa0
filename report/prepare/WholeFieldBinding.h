#pragma once

#include "report/model/Graphic.h"
#include "report/model/View.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pv {

class DataSourceContext;
class TfrDBDataSet;

// The reference of an object whose whole text is one bracketed expression
// ("[frDBDataSet1."F_Foto"]"): the text between the first "[" and the last
// "]". None for other texts, band views and text boxes that print their text
// as it is.
std::optional<std::string> wholeFieldReference(const TfrView& view);

// A whole-field object's data field. Pictures load their image from a blob
// field and text boxes their lines from a memo field; an object bound to a
// field of another kind prints through the ordinary expansion of its
// reference, display format included.
struct FieldBinding {
    TfrDBDataSet* dataset = nullptr;
    std::string field; // as the table names it
};

// The current row's memo text split into lines; none unless the binding is
// to a memo field.
std::optional<Lines> boundMemoLines(const FieldBinding& binding);
// The current row's blob decoded as `blobType` says; none unless the
// binding is to a blob field. An empty blob gives an empty picture.
std::optional<Graphic> boundPicture(const FieldBinding& binding, uint8_t blobType);

// The whole-field objects of a report's pages and the fields they are bound
// to; the views and data sets are not owned.
class WholeFieldBindings {
public:
    // Binds each object whose reference names an existing field (aliases
    // translated through the context); other objects stay unbound.
    void bind(const std::vector<TfrView*>& objects, DataSourceContext& data);
    void clear() { bindings_.clear(); }
    const FieldBinding* find(const TfrView& view) const;
    size_t size() const { return bindings_.size(); }

private:
    std::map<const TfrView*, FieldBinding> bindings_;
};

} // namespace pv
