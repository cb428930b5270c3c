#include "platform/qt/qsettings_store.h"

#include "failure/failure.h"
#include "platform/qt/ini_settings_format.h"

#include <QFileInfo>

namespace qb {
namespace {

constexpr const char *applicationFolder = "Tarnwick";
constexpr const char *section = "Quillbarrow";

} // namespace

QSettingsStore::QSettingsStore(const std::string &iniPath)
    : settings_(QString::fromStdString(iniPath), IniSettingsFormat()) {}

std::string QSettingsStore::pathIn(const std::string &configFolder) {
    return configFolder + "/" + applicationFolder + "/" + section + ".ini";
}

QString QSettingsStore::keyPath(const std::string &key) const {
    return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromStdString(key);
}

std::string QSettingsStore::read(const std::string &key, const std::string &fallback) {
    // Another program may have changed the file since the last look.
    settings_.sync();
    // A file that is there but cannot be read is not the same as no settings at all.
    if (settings_.status() == QSettings::AccessError && QFileInfo::exists(settings_.fileName()))
        throw Failure(error_number::permissionDenied, "Settings",
                      "The settings file cannot be read: " + location());
    const QVariant value = settings_.value(keyPath(key));
    if (!value.isValid())
        return fallback;
    // An unquoted value with commas reads as a list; it was one text when written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

void QSettingsStore::write(const std::string &key, const std::string &value) {
    settings_.setValue(keyPath(key), QString::fromStdString(value));
    settings_.sync();
    if (settings_.status() != QSettings::NoError)
        throw Failure(error_number::permissionDenied, "Settings",
                      "The settings file cannot be written: " + location());
}

std::string QSettingsStore::location() const {
    return settings_.fileName().toStdString();
}

} // namespace qb
