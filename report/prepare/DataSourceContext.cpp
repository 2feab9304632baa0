#include "report/prepare/DataSourceContext.h"

#include "platform/TextCase.h"
#include "report/model/DataDictionary.h"
#include "report/data/DataSourceRegistry.h"
#include "report/data/FieldReference.h"
#include "report/data/MemoryTable.h"

namespace pv {

std::optional<std::string> DataSourceContext::dictionaryVariable(std::string_view name) {
    if (!dictionary_ || TfrDataDictionary::IsCategory(std::string(name))) return std::nullopt;
    int i = dictionary_->Variables.IndexOf(name);
    if (i < 0 || TfrDataDictionary::IsCategory(dictionary_->Variables.Name(i))) return std::nullopt;
    return dictionary_->Variables.ValueAt(i).toText();
}

bool DataSourceContext::setDictionaryVariable(std::string_view name, const Variant& value) {
    if (!dictionaryVariable(name)) return false;
    dictionary_->Variables.SetValueAt(dictionary_->Variables.IndexOf(name), value);
    return true;
}

std::string DataSourceContext::sourceFromAlias(std::string_view alias) {
    if (dictionary_) {
        const TfrVariables& aliases = dictionary_->SourceAliases;
        for (int i = 0; i < aliases.Count(); ++i)
            if (equalsNoCase(aliases.ValueAt(i).toText(), trim(alias))) return aliases.Name(i);
    }
    return std::string(alias);
}

std::string DataSourceContext::fieldFromAlias(std::string_view source, std::string_view alias) {
    if (dictionary_) {
        const TfrVariables& aliases = dictionary_->FieldAliases;
        for (int i = 0; i < aliases.Count(); ++i) {
            const std::string& reference = aliases.Name(i); // DataSet.Field
            size_t dot = lastDotOutsideQuotes(reference);
            if (dot == std::string::npos) continue;
            if (equalsNoCase(trim(reference.substr(0, dot)), trim(source)) &&
                equalsNoCase(aliases.ValueAt(i).toText(), unquoteDouble(std::string(alias))))
                return reference.substr(dot + 1);
        }
    }
    return std::string(alias);
}

TfrDataset* DataSourceContext::sourceNamed(std::string_view source) const {
    return source.empty() ? current_ : registry_.find(source);
}

TField* DataSourceContext::findField(std::string_view source, std::string_view field) {
    auto* dataset = dynamic_cast<TfrDBDataSet*>(sourceNamed(source));
    if (!dataset) return nullptr;
    TRxMemoryData* table = dataset->TableOrNull();
    if (!table) return nullptr;
    if (!table->Active()) table->Open();
    return table->FindField(field);
}

FieldRead DataSourceContext::readField(std::string_view source, std::string_view field) {
    TField* f = findField(source, field);
    if (!f) return {};
    FieldRead read;
    read.found = true;
    read.isNull = f->IsNull();
    if (!read.isNull)
        read.value = f->AsVariant();
    else if (f->DataType() != TFieldType::ftInteger && f->DataType() != TFieldType::ftFloat)
        read.value = Variant(std::string());
    else
        read.value = Variant(int32_t(0));
    return read;
}

} // namespace pv
