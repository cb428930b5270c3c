#pragma once

#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/pst/pst_sample_store.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace qb::test {

/// A store maker's sample store written once for a test suite, with the options given, and opened
/// through the store layer with an empty profile in each test.
template <const pstmaker::SampleStoreOptions &Options>
class SampleStoreSuite : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new TempFolder;
        pstmaker::WriteSampleStore(*folder / "made.pst", Options);
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }

    /// Mail message `index` of the sample store.
    std::shared_ptr<mail::Message> message(std::uint64_t index) {
        return SampleStoreMessage(*mapi->folders()->GetLast(), index);
    }

    static inline TempFolder *folder = nullptr;
    TempFolder emptyProfile;
    PffMailStoreLayer layer{emptyProfile.path()};
    std::shared_ptr<outlook::Namespace> mapi = [this] {
        auto opened = layer.createApplication()->GetNamespace("MAPI");
        opened->AddStore(*folder / "made.pst");
        return opened;
    }();
};

} // namespace qb::test
