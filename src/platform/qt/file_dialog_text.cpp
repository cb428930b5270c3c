#include "platform/qt/file_dialog_text.h"

#include "failure/failure.h"

#include <QDir>
#include <QFileInfo>

namespace qb {

namespace {

/// The name without the pattern it may show at its end, in either separator form.
QString withoutShownPattern(const QString &name, const QString &pattern, const QString &qtPattern) {
    for (const QString &shown : {pattern, qtPattern}) {
        const QString tail = QLatin1Char('(') + shown + QLatin1Char(')');
        if (name.endsWith(tail))
            return name.chopped(tail.size()).trimmed();
    }
    return name;
}

} // namespace

QString QtNameFilter(const std::string &filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1].trimmed();
        const QString qtPattern = QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the pattern from the name's final parentheses; a name that shows its pattern
        // already would show it twice.
        const QString name = withoutShownPattern(parts[i].trimmed(), pattern, qtPattern);
        entries << name + QStringLiteral(" (") + qtPattern + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

std::string JoinChosenFiles(const QStringList &paths) {
    if (paths.isEmpty())
        return std::string();
    std::string answer;
    if (paths.size() == 1) {
        answer = paths.front().toStdString();
    } else {
        answer = FolderAnswer(QFileInfo(paths.front()).absolutePath());
        for (const QString &path : paths) {
            answer.push_back('\0');
            answer += QFileInfo(path).fileName().toStdString();
        }
    }
    if (answer.size() + 1 > fileNameBufferSize)
        throw Failure(20476, "CommonDialog",
                      "The FileName buffer is too small to store the selected file name(s)");
    return answer;
}

std::string FolderAnswer(const QString &folder) {
    QString path = QDir::cleanPath(folder);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.toStdString();
}

} // namespace qb
