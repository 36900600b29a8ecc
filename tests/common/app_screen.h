#pragma once
// A headless console installed as the application's console for the length of a test.

#include "common/console.h"
#include "platform/console/console_fixture.h"

namespace sklad::testing {

class AppScreen : public platform::console::testing::HeadlessConsole {
  public:
    AppScreen() { INSTALL_CONSOLE(&console()); }
    ~AppScreen() { INSTALL_CONSOLE(nullptr); }
};

class AppScreenTest : public ::testing::Test {
  protected:
    AppScreen hc;
};

}  // namespace sklad::testing
