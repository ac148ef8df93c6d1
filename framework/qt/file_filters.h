// File-dialog filters: the framework's (label, pattern) pairs as Qt's name filters.
#pragma once

#include <QStringList>
#include <string>
#include <utility>
#include <vector>

namespace qtbackend {

// "label (patterns)" for each pair: patterns separated by blanks instead of ';', and "*.*"
// as "*" so that names without a dot match too.
QStringList QtNameFilters(const std::vector<std::pair<std::wstring, std::wstring>>& filters);

}  // namespace qtbackend
