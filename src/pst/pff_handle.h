#pragma once

#include <libpff.h>

#include <memory>

namespace qb {

/// Frees a libpff object with the library's own free function.
template <typename Object, int (*Free)(Object **, libpff_error_t **)> struct PffFree {
    void operator()(Object *object) const { Free(&object, nullptr); }
};

/// A libpff object owned by one reader and freed when the reader is done with it.
template <typename Object, int (*Free)(Object **, libpff_error_t **)>
using PffOwned = std::unique_ptr<Object, PffFree<Object, Free>>;

using PffFileHandle = PffOwned<libpff_file_t, libpff_file_free>;
using PffItem = PffOwned<libpff_item_t, libpff_item_free>;
using PffRecordSet = PffOwned<libpff_record_set_t, libpff_record_set_free>;
using PffRecordEntry = PffOwned<libpff_record_entry_t, libpff_record_entry_free>;

/// Hands libpff the place to put an object it creates, and gives the object to its owner when
/// the call is over, so that nothing libpff allocates is ever left without an owner:
/// `libpff_folder_get_sub_folder(folder, 0, Receive(child), error.out())`.
template <typename Owned> class PffReceiver {
  public:
    explicit PffReceiver(Owned &owner) : owner_(owner) {}
    ~PffReceiver() { owner_.reset(received_); }
    PffReceiver(const PffReceiver &) = delete;
    PffReceiver &operator=(const PffReceiver &) = delete;

    operator typename Owned::pointer *() { return &received_; }

  private:
    Owned &owner_;
    typename Owned::pointer received_ = nullptr;
};

template <typename Owned> PffReceiver<Owned> Receive(Owned &owner) {
    return PffReceiver<Owned>(owner);
}

} // namespace qb
