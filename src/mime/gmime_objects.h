#pragma once

#include <gmime/gmime.h>

#include <memory>

namespace qb {

/// Drops the reference a GMime or GLib object pointer holds.
struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
/// A GObject owned by one reference, dropped when the pointer goes.
template <typename Object> using GObjectPtr = std::unique_ptr<Object, GObjectRelease>;

/// Drops the reference a GLib date and time pointer holds.
struct GDateTimeRelease {
    void operator()(GDateTime *time) const { g_date_time_unref(time); }
};

/// Frees memory GLib allocated.
struct GFreeRelease {
    void operator()(gpointer memory) const { g_free(memory); }
};

} // namespace qb
