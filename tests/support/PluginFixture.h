// A host model per test, the plug-in's process-wide state reset around it, and the checks every
// test ends with: nothing leaked, nothing freed twice, every suite given back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/PluginMain.h"
#include "hostaccess/HostSuites.h"
#include "hostaccess/PluginState.h"
#include "hostsim/Host.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/HostChecks.h"

class PluginFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPluginState();
    fake_dialogs::Reset();
  }

  void TearDown() override {
    if (parameters.descriptor != nullptr) sim.FreeDescriptor(parameters.descriptor);
    ExpectNothingLeft(sim);
    ResetPluginState();
  }

  static void ResetPluginState() {
    zem::HostBasicSuite = nullptr;
    zem::HostPluginRef = nullptr;
    zem::CurrentMode = 0;
    zem::RunStatus = 0;
    for (zem::HostSuite& holder : zem::HostSuites) {
      holder.suite = nullptr;
      holder.lastError = 0;
    }
  }

  int32_t DoIt() { return sim.CallDoIt(AutoPluginMain, &parameters); }

  // The plug-in's state as the entry point leaves it at the start of a call.
  void EnterCall() {
    zem::HostBasicSuite = sim.basic();
    zem::HostPluginRef = sim.pluginRef();
  }

  // The mode the call wrote back, or "" when it left the host's descriptor alone.
  std::string WrittenDescriptor() {
    return parameters.descriptor ? sim.DescriptorText(parameters.descriptor) : std::string();
  }

  hostsim::Host sim;
  host::PIActionParameters parameters{host::plugInDialogDontDisplay, host::plugInDialogRequired, nullptr};
};
