#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb {

/// Splits a command line into arguments as Windows programs do. Blanks and tabs separate
/// arguments outside double quotes; a double quote starts or ends a quoted stretch and is
/// dropped, and "" gives an empty argument. Backslashes are literal except before a double quote:
/// 2n backslashes and a quote give n backslashes and the quote starts or ends a quoted stretch;
/// 2n+1 backslashes and a quote give n backslashes and a literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

} // namespace qb
