// Every host operation the model serves, for counting calls and aiming faults.
#pragma once

namespace hostsim {

#define HOSTSIM_OPERATIONS(X)                                                                          \
  X(AcquireSuite) X(ReleaseSuite) X(IsEqual) X(AllocateBlock) X(FreeBlock) X(ReallocateBlock)           \
  X(DescriptorMake) X(DescriptorFree) X(DescriptorPutInteger) X(DescriptorPutUnitFloat)                 \
  X(DescriptorPutBoolean) X(DescriptorPutList) X(DescriptorPutObject) X(DescriptorPutEnumerated)         \
  X(DescriptorPutReference) X(DescriptorGetInteger) X(Play) X(ReferenceMake) X(ReferenceFree)            \
  X(ReferencePutName) X(ReferencePutEnumerated) X(ReferencePutProperty) X(ListMake) X(ListFree)          \
  X(ListPutObject) X(GetPluginName) X(ZStringRelease) X(GetPluginAccess) X(GetAccessInfo) X(BrowseUrl)   \
  X(GetProperty) X(MainAppWindow) X(ControlGet) X(SuspendHistory) X(HandleNew) X(HandleDispose)          \
  X(HandleSetLock) X(DescriptorPutAlias)

enum class Op {
#define HOSTSIM_ENUM(name) name,
  HOSTSIM_OPERATIONS(HOSTSIM_ENUM)
#undef HOSTSIM_ENUM
};

constexpr int kOpCount = 0
#define HOSTSIM_COUNT(name) +1
    HOSTSIM_OPERATIONS(HOSTSIM_COUNT)
#undef HOSTSIM_COUNT
    ;

const char* OpName(Op op);

// Operations whose only job is to give something back. A fault aimed at one of them reports its
// code, but the object, block or suite is still released, as a host that complains would do.
bool IsReleaseOp(Op op);

}  // namespace hostsim
