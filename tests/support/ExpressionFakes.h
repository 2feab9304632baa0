#pragma once

#include "platform/TextCase.h"
#include "report/script/ExpressionContext.h"

#include <map>
#include <string>
#include <vector>

namespace pv::test {

// A dictionary and data sources held in maps; names match without case.
class FakeData : public DataContext {
public:
    std::map<std::string, std::string> dictionary; // name → expression text
    std::map<std::string, Variant> stored;         // dictionary values set by scripts
    // "SOURCE.FIELD" (upper case) → value; a null value reads as null
    std::map<std::string, Variant> fields;
    std::string currentSource = "FRDBDATASET1";
    std::map<std::string, std::string> sourceAliases; // alias → source

    std::optional<std::string> dictionaryVariable(std::string_view name) override {
        for (auto& [k, v] : dictionary)
            if (equalsNoCase(k, name)) return v;
        return std::nullopt;
    }
    bool setDictionaryVariable(std::string_view name, const Variant& value) override {
        for (auto& [k, v] : dictionary)
            if (equalsNoCase(k, name)) {
                stored[k] = value;
                return true;
            }
        return false;
    }
    std::string sourceFromAlias(std::string_view alias) override {
        for (auto& [k, v] : sourceAliases)
            if (equalsNoCase(k, alias)) return v;
        return std::string(alias);
    }
    FieldRead readField(std::string_view source, std::string_view field) override {
        std::string key = upper1251(source.empty() ? currentSource : std::string(source)) + "." +
                          upper1251(field);
        auto it = fields.find(key);
        if (it == fields.end()) return {};
        FieldRead r;
        r.found = true;
        r.isNull = it->second.isNull();
        r.value = r.isNull ? Variant(std::string()) : it->second;
        return r;
    }
};

class FakeState : public ReportState {
public:
    std::map<std::string, Variant> system; // PAGE# …
    std::map<std::string, Variant> page;   // CURY …
    std::map<std::string, Variant> assigned;
    bool collecting = false;
    bool dialogPage = false;

    std::optional<Variant> systemVariable(std::string_view name) override {
        auto it = system.find(std::string(name));
        if (it == system.end()) return std::nullopt;
        return it->second;
    }
    std::optional<Variant> pageValue(std::string_view name) override {
        auto it = page.find(std::string(name));
        if (it == page.end()) return std::nullopt;
        return it->second;
    }
    bool assignSpecial(std::string_view name, const Variant& value) override {
        if (name == "MODALRESULT" && !dialogPage) return false;
        assigned[std::string(name)] = value;
        return true;
    }
    bool collectingAggregates() const override { return collecting; }
};

class FakeObjects : public ObjectAccess {
public:
    std::map<std::string, Variant> properties; // "MEMO1.LEFT" → value
    std::vector<std::string> calls;            // "MEMO1.HIDE(p1|p2|p3)"

    std::optional<Variant> readProperty(std::string_view object,
                                        std::string_view property) override {
        auto it = properties.find(upper1251(object) + "." + upper1251(property));
        if (it == properties.end()) return std::nullopt;
        return it->second;
    }
    bool writeProperty(std::string_view object, std::string_view property,
                       const Variant& value) override {
        auto key = upper1251(object) + "." + upper1251(property);
        if (!properties.count(key)) return false;
        properties[key] = value;
        return true;
    }
    std::optional<Variant> callMethod(std::string_view object, std::string_view method,
                                      const std::string& p1, const std::string& p2,
                                      const std::string& p3) override {
        if (!equalsNoCase(object, "Memo1")) return std::nullopt;
        calls.push_back(upper1251(object) + "." + upper1251(method) + "(" + p1 + "|" + p2 + "|" +
                        p3 + ")");
        return Variant(int32_t(1));
    }
};

class FakeActions : public PreparationActions {
public:
    std::vector<std::string> log;

    std::optional<Variant> aggregate(std::string_view function, const std::string& p1,
                                     const std::string& p2, const std::string& p3) override {
        log.push_back(std::string(function) + "(" + p1 + "|" + p2 + "|" + p3 + ")");
        return Variant(int32_t(42));
    }
    void stopReport() override { log.push_back("stop"); }
    void newPage() override { log.push_back("newpage"); }
    void newColumn() override { log.push_back("newcolumn"); }
    void showBand(std::string_view name) override { log.push_back("show " + std::string(name)); }
};

} // namespace pv::test
