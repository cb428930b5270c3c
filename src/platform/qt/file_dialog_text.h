#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace qb {

/// Room for the names a multi-select open dialog returns, final NUL included.
inline constexpr std::size_t fileNameBufferSize = 64 * 1024;

/// Turns a "Description|pattern|Description|pattern|" filter into Qt's "Description (pattern)"
/// entries joined by ";;". Patterns separated by ";" become Qt's blank-separated list; a
/// description that ends with its pattern in parentheses shows it once.
QString QtNameFilter(const std::string &filter);

/// The answer of a multi-select open dialog: the one full path, or the folder, a NUL and the
/// names separated by NULs. Throws Failure 20476 when the answer would not fit the file-name
/// buffer.
std::string JoinChosenFiles(const QStringList &paths);

/// A folder path as the folder picker answers it: without a final "/", except the root "/".
std::string FolderAnswer(const QString &folder);

} // namespace qb
