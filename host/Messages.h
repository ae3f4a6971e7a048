// The message records handed to the entry point, and the strings it is called with.
#pragma once

#include <cstddef>

#include "host/BasicSuite.h"
#include "host/FourCC.h"
#include "host/HostTypes.h"

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

// On x64 the check word is followed by 4 bytes of padding, so every pointer after it moves.
static_assert(sizeof(SPMessageData) == ByAbi(16, 32), "basic message: 16 bytes on x86, 32 on x64");
static_assert(offsetof(SPMessageData, self) == ByAbi(4, 8), "plug-in reference after the check word");
static_assert(offsetof(SPMessageData, globals) == ByAbi(8, 16), "globals third");
static_assert(offsetof(SPMessageData, basic) == ByAbi(12, 24), "basic suite last");
static_assert(sizeof(PSActionsPlugInMessage) == ByAbi(20, 40), "action message: 20 bytes on x86, 40 on x64");
static_assert(offsetof(PSActionsPlugInMessage, actionParameters) == ByAbi(16, 32),
              "the parameters follow the basic message");
// Packed to 1 on both; on x64 the descriptor falls on its natural boundary anyway.
static_assert(sizeof(PIActionParameters) == ByAbi(12, 16), "action parameters: 12 bytes on x86, 16 on x64");
static_assert(offsetof(PIActionParameters, recordInfo) == 4, "record options second");
static_assert(offsetof(PIActionParameters, descriptor) == 8, "two 32-bit fields, then the descriptor");
static_assert(offsetof(SPAccessMessage, when) == ByAbi(16, 32), "the moment follows the basic message");
static_assert(sizeof(SPAccessMessage) == ByAbi(20, 40), "access message: 4 bytes of tail padding on x64");

}  // namespace host
