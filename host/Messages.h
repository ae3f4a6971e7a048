// The message records handed to the entry point, and the strings it is called with.
#pragma once

#include <cstddef>

#include "BasicSuite.h"
#include "FourCC.h"
#include "HostTypes.h"

namespace host {

constexpr int32_t kSPValidSPMessageData = static_cast<int32_t>(FourCC("SPCk"));

struct SPMessageData {
  int32_t SPCheck;
  SPPluginRef self;
  void* globals;
  SPBasicSuite* basic;
};

enum PIDialogPlayOptions : int32_t {
  plugInDialogDontDisplay = 0,
  plugInDialogDisplay = 1,
  plugInDialogSilent = 2,
};

enum PIDialogRecordOptions : int32_t {
  plugInDialogOptional = 0,
  plugInDialogRequired = 1,
  plugInDialogNone = 2,
};

#pragma pack(push, 1)
struct PIActionParameters {
  int32_t playInfo;    // a PIDialogPlayOptions value
  int32_t recordInfo;  // a PIDialogRecordOptions value
  PIActionDescriptor descriptor;
};
#pragma pack(pop)

struct PSActionsPlugInMessage {
  SPMessageData d;
  PIActionParameters* actionParameters;
};

// The "SP Access" caller's message: the basic message, then when the call happens.
struct SPAccessMessage {
  SPMessageData d;
  int32_t when;  // 0 startup, 1 runtime, 2 shutdown, 3 terminal
};

using SPPluginEntryPoint = SPErr(HOST_API*)(const char* caller, const char* selector, void* message);

constexpr const char kSPInterfaceCaller[] = "SP Interface";
constexpr const char kSPInterfaceStartupSelector[] = "Startup";
constexpr const char kSPInterfaceShutdownSelector[] = "Shutdown";
constexpr const char kSPInterfaceAboutSelector[] = "About";
constexpr const char kSPAccessCaller[] = "SP Access";
constexpr const char kSPAccessReloadSelector[] = "Reload";
constexpr const char kSPAccessUnloadSelector[] = "Unload";
constexpr const char kSPPropertiesCaller[] = "SP Properties";
constexpr const char kPSPhotoshopCaller[] = "PS Photoshop";
constexpr const char kPSDoIt[] = "Do It";

static_assert(offsetof(PSActionsPlugInMessage, actionParameters) == sizeof(SPMessageData),
              "the parameters follow the basic message");
static_assert(offsetof(PIActionParameters, descriptor) == 8, "two 32-bit fields, then the descriptor");
static_assert(!kIs32BitAbi || sizeof(SPMessageData) == 16, "16-byte basic message on Win32");
static_assert(!kIs32BitAbi || offsetof(SPMessageData, basic) == 12, "basic suite at offset 12");
static_assert(!kIs32BitAbi || sizeof(PSActionsPlugInMessage) == 20, "20-byte action message");
static_assert(!kIs32BitAbi || sizeof(PIActionParameters) == 12, "12-byte action parameters");

}  // namespace host
