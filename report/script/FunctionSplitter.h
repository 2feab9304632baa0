#pragma once

#include <string>
#include <vector>

namespace pv {

// Finds the aggregate calls (SUM, AVG, MIN, MAX, COUNT) inside an expression,
// also inside bracketed names and other functions' arguments, for the pass that
// collects their values. Quoted text is skipped.
class TfrFunctionSplitter {
public:
    TfrFunctionSplitter();
    explicit TfrFunctionSplitter(std::vector<std::string> functionNames);

    // The calls' whole texts ("SUM([x], MasterData1)") in the order they appear.
    std::vector<std::string> Split(const std::string& expression) const;

private:
    std::vector<std::string> names_;
};

} // namespace pv
