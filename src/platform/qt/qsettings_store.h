#pragma once

#include "platform/settings_store.h"

#include <QSettings>

namespace qb {

/// The settings in an INI file, group [Quillbarrow]. Every read looks at the file afresh and
/// every write reaches the file at once.
class QSettingsStore : public SettingsStore {
  public:
    /// The store in the given INI file.
    explicit QSettingsStore(const std::string &iniPath);

    /// The settings file in the user's configuration folder: configFolder +
    /// "/Tarnwick/Quillbarrow.ini".
    static std::string pathIn(const std::string &configFolder);

    std::string read(const std::string &key, const std::string &fallback) override;
    /// Throws Failure 70 when the file cannot be written.
    void write(const std::string &key, const std::string &value) override;
    std::string location() const override;

  private:
    QString keyPath(const std::string &key) const;

    QSettings settings_;
};

} // namespace qb
