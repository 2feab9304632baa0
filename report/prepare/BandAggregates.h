#pragma once

#include "report/value/Variant.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class DataContext;
class ExpressionEngine;
class TfrBand;

// The accumulators of SUM, AVG, MIN, MAX and COUNT live in the data band whose
// rows they count, each under a key naming the band that prints it, the
// function, the expression text and the include-invisible argument, so that
// the same call in two footers keeps two separate values.
enum class AggregateFunction : char { Sum = 11, Min = 12, Max = 13, Avg = 14, Count = 15 };

// None when the name is not one of the five.
std::optional<AggregateFunction> aggregateFunction(std::string_view name);

std::string aggregateKey(const std::string& bandName, AggregateFunction function,
                         const std::string& expression, const std::string& includeInvisible);

// The texts of the aggregate calls a band holds: in its script, in the
// bracketed expressions of its objects' texts (and in the dictionary
// variables those name) and in its objects' scripts.
std::vector<std::string> aggregateCalls(const TfrBand& band, DataContext* dictionary);

// Adds the accumulator at its starting value unless it is there already.
void registerAggregate(TfrBand& data, const std::string& key);

// One print of the data band (also a skipped invisible one): every
// accumulator takes the current row's value, and the data band counts one
// more row. The count is shared: AVG divides by the rows since any band
// reading this data band last restarted.
void accumulateAggregates(TfrBand& data, bool visible, ExpressionEngine& engine);

// The value read back under the key (AVG divided by its row count); none
// when the data band holds no such accumulator.
std::optional<Variant> readAggregate(const TfrBand& data, const std::string& key);

// Restarts the accumulators the named band prints and, when it has any
// here, the data band's row count.
void restartAggregates(TfrBand& data, const std::string& bandName);

} // namespace pv
