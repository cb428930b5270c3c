#pragma once

#include <QIODevice>
#include <QSettings>

namespace qb {

/// The settings file's INI text, read and written for QSettings as a custom format. It reads and
/// writes the layout Qt's own INI format uses for texts ([Section], escaped keys, quoted and
/// escaped values, "a, b" lists), so files written before stay readable. Unlike Qt's own reader it
/// never rebuilds stored objects from the file ("@Variant(...)" and the like): such a value is
/// left out, as a damaged line is, so no file can make a read take more than time and memory in
/// proportion to its size.
///
/// Keys in the map are "Section/key"; keys of [General] have no section.
bool ReadIniText(QIODevice &device, QSettings::SettingsMap &map);

/// Writes texts and lists of texts; other values are written as their text.
bool WriteIniText(QIODevice &device, const QSettings::SettingsMap &map);

/// The format above, registered with QSettings once per process.
QSettings::Format IniSettingsFormat();

} // namespace qb
