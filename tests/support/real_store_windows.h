#pragma once

#include "app/express_window.h"
#include "app/main_window.h"
#include "pst/pff_mail_store.h"
#include "support/test_platform.h"

namespace qb::test {

/// Both windows over the scripted platform, with the mail stores read by libpff from a profile
/// folder of their own, and an output folder for what the windows write.
struct RealStoreWindows {
    TestPlatform fixture;
    TempFolder profile;
    TempFolder output;
    PffMailStoreLayer stores{profile.path()};
    Platform platform = fixture.withMailStores(stores);
    Settings settings{fixture.settings, platform.messages};
    ExpressWindow form2{platform, settings};
    MainWindow form1{platform, settings, form2};
};

} // namespace qb::test
