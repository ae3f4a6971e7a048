// Result codes the host and the plug-in exchange.
#pragma once

#include <cstdint>

#include "host/FourCC.h"

namespace host {

constexpr int32_t kSPNoError = 0;
constexpr int32_t kSPUnimplementedError = static_cast<int32_t>(FourCC("!IMP"));
constexpr int32_t kSPBadParameterError = static_cast<int32_t>(FourCC("Parm"));
constexpr int32_t kSPSuiteNotFoundError = static_cast<int32_t>(FourCC("S!Fd"));
constexpr int32_t kSPUserCanceledError = static_cast<int32_t>(FourCC("stop"));
constexpr int32_t kSPOutOfMemoryError = -108;

constexpr int32_t kParamErr = -50;            // a bad parameter, classic code
constexpr int32_t kUserCanceledErr = -128;    // the user cancelled
constexpr int32_t kErrNoSuchObject = -1728;  // the object a reference names does not exist
constexpr int32_t kHostInsufficient = -30900;
constexpr int32_t kPropertyUndefined = -30901;

}  // namespace host
