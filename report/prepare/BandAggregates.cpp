#include "report/prepare/BandAggregates.h"

#include "platform/TextCase.h"
#include "report/script/BracketScan.h"
#include "report/script/ExpressionContext.h"
#include "report/script/ExpressionEngine.h"
#include "report/script/FunctionSplitter.h"
#include "report/script/ScriptInterpreter.h"
#include "report/prepare/RuntimeBand.h"
#include "report/model/View.h"

#include <algorithm>

namespace pv {

namespace {

constexpr char kSeparator = '\1';
constexpr double kMinStart = 1e300;

// The parts of a key, counted from its end: the band name may itself hold
// a separator.
struct KeyParts {
    AggregateFunction function = AggregateFunction::Sum;
    std::string expression;
    bool includeInvisible = false;
};

std::vector<std::string> splitKey(const std::string& key) {
    std::vector<std::string> parts(1);
    for (char c : key) {
        if (c == kSeparator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

KeyParts keyParts(const std::string& key) {
    std::vector<std::string> parts = splitKey(key);
    KeyParts k;
    if (parts.size() < 5) return k;
    const size_t n = parts.size();
    if (!parts[n - 4].empty()) k.function = static_cast<AggregateFunction>(parts[n - 4][0]);
    k.expression = parts[n - 3];
    k.includeInvisible = trim(parts[n - 2]) == "1";
    return k;
}

Variant startValue(AggregateFunction function) {
    return Variant(function == AggregateFunction::Min ? kMinStart : 0.0);
}

void addCalls(const std::string& text, std::vector<std::string>& calls) {
    static const TfrFunctionSplitter splitter;
    for (std::string& call : splitter.Split(text))
        calls.push_back(std::move(call));
}

// The contents of the outermost bracketed expressions of a line.
std::vector<std::string> bracketContents(const std::string& line) {
    std::vector<std::string> contents;
    for (size_t i = line.find('['); i != std::string::npos; i = line.find('[', i)) {
        size_t close = findClosing(line, i, '[', ']');
        if (close == std::string::npos) break;
        contents.push_back(line.substr(i + 1, close - i - 1));
        i = close + 1;
    }
    return contents;
}

void addTextCalls(const Lines& lines, DataContext* dictionary, std::vector<std::string>& calls) {
    for (const std::string& line : lines)
        for (const std::string& content : bracketContents(line)) {
            addCalls(content, calls);
            if (!dictionary) continue;
            if (auto expression = dictionary->dictionaryVariable(trim(content)))
                addCalls(*expression, calls);
        }
}

} // namespace

std::optional<AggregateFunction> aggregateFunction(std::string_view name) {
    const std::string upper = upper1251(name);
    if (upper == "SUM") return AggregateFunction::Sum;
    if (upper == "MIN") return AggregateFunction::Min;
    if (upper == "MAX") return AggregateFunction::Max;
    if (upper == "AVG") return AggregateFunction::Avg;
    if (upper == "COUNT") return AggregateFunction::Count;
    return std::nullopt;
}

std::string aggregateKey(const std::string& bandName, AggregateFunction function,
                         const std::string& expression, const std::string& includeInvisible) {
    std::string key = bandName;
    key += kSeparator;
    key += static_cast<char>(function);
    key += kSeparator;
    key += expression;
    key += kSeparator;
    key += includeInvisible;
    key += kSeparator;
    return key;
}

std::vector<std::string> aggregateCalls(const TfrBand& band, DataContext* dictionary) {
    std::vector<std::string> calls;
    if (band.view && !band.view->Script.empty())
        addCalls(prepareScriptText(band.view->Script), calls);
    for (const TfrView* view : band.objects) {
        addTextCalls(view->Memo, dictionary, calls);
        if (!view->Script.empty()) addCalls(prepareScriptText(view->Script), calls);
    }
    return calls;
}

void registerAggregate(TfrBand& data, const std::string& key) {
    if (data.aggregateValues.Contains(key)) return;
    const AggregateFunction function = keyParts(key).function;
    data.aggregateValues.SetValue(key, startValue(function));
}

void accumulateAggregates(TfrBand& data, bool visible, ExpressionEngine& engine) {
    TfrVariables& values = data.aggregateValues;
    std::optional<std::string> lastExpression;
    double lastValue = 0;
    ++data.aggregateRowCount;
    for (int i = 0; i < values.Count(); ++i) {
        const KeyParts k = keyParts(values.Name(i));
        double value = 0;
        if (k.function != AggregateFunction::Count) {
            if (k.expression != lastExpression) {
                Variant v = engine.EvaluateText(k.expression);
                lastValue = v.isVoid() ? 0 : v.toDouble();
                lastExpression = k.expression;
            }
            value = lastValue;
        }
        if (!visible && !k.includeInvisible) continue;
        const double current = values.ValueAt(i).toDouble();
        switch (k.function) {
        case AggregateFunction::Sum:
        case AggregateFunction::Avg:
            values.SetValueAt(i, Variant(current + value));
            break;
        case AggregateFunction::Min:
            values.SetValueAt(i, Variant(std::min(current, value)));
            break;
        case AggregateFunction::Max:
            values.SetValueAt(i, Variant(std::max(current, value)));
            break;
        case AggregateFunction::Count:
            values.SetValueAt(i, Variant(current + 1));
            break;
        }
    }
}

std::optional<Variant> readAggregate(const TfrBand& data, const std::string& key) {
    const int index = data.aggregateValues.IndexOf(key);
    if (index < 0) return std::nullopt;
    const Variant value = data.aggregateValues.ValueAt(index);
    if (keyParts(key).function != AggregateFunction::Avg) return value;
    const int rows = data.aggregateRowCount;
    if (rows == 0) return Variant(0.0);
    return Variant(value.toDouble() / rows);
}

void restartAggregates(TfrBand& data, const std::string& bandName) {
    const std::string prefix = bandName + kSeparator;
    TfrVariables& values = data.aggregateValues;
    bool any = false;
    for (int i = 0; i < values.Count(); ++i)
        if (values.Name(i).starts_with(prefix)) {
            values.SetValueAt(i, startValue(keyParts(values.Name(i)).function));
            any = true;
        }
    // The row count is the data band's, shared by every band reading it.
    if (any) data.aggregateRowCount = 0;
}

} // namespace pv
