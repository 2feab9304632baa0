#pragma once

#include <string>
#include <vector>

namespace pv {

// The message preparation shows once, at its end, when an object's expression
// or script failed (1251, lines separated by carriage returns): the heading, the
// object's text lines, the report component, the object when one is known, and
// the error. The box's caption is expressionErrorCaption().
std::string expressionErrorMessage(const std::vector<std::string>& objectLines,
                                   const std::string& reportName, const std::string& objectName,
                                   const std::string& error);
std::string expressionErrorCaption();

} // namespace pv
