#include "hostaccess/HostWindow.h"

#include "hostaccess/HostSuites.h"

namespace zem {

intptr_t HostMainWindow() noexcept {
  const auto* hooks = OptionalSuite<host::PSUIHooksSuite1>(SuiteId::UIHooks);
  if (hooks == nullptr || hooks->MainAppWindow == nullptr) return 0;
  return hooks->MainAppWindow();
}

}  // namespace zem
