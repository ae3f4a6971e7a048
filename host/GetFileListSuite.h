// The GetFileList suite, version 4: 9 slots returning 32-bit codes. Only BrowseUrl (slot 3) is used.
#pragma once

#include <cstddef>

#include "host/HostTypes.h"

namespace host {

constexpr const char kPSGetFileListSuite[] = "Photoshop GetFileList Suite for Plug-ins";
constexpr int32_t kPSGetFileListSuiteVersion = 4;

struct PSGetFileListSuite4 {
  SPErr(HOST_API* GetFileHandleList)(PIActionDescriptor& descriptor, void* fileSpec, bool recurse);
  SPErr(HOST_API* GetBrowserNameList)(PIActionDescriptor& descriptor);
  SPErr(HOST_API* BrowseUrlWithIndexBrowser)(uint16_t browserIndex, const char* url);
  SPErr(HOST_API* BrowseUrl)(const char* url);
  SPErr(HOST_API* GetBrowserFileSpec)(uint16_t browserIndex, void* fileSpec);
  SPErr(HOST_API* GetDefaultSystemScript)(int16_t& script);
  SPErr(HOST_API* HasDoubleByteInString)(const char* text, bool& hasDoubleByte);
  SPErr(HOST_API* GetWebTemplateFolderSpec)(void* fileSpec);
  SPErr(HOST_API* GetWebTemplateList)(PIActionDescriptor& descriptor, bool recurse);
};

static_assert(sizeof(PSGetFileListSuite4) == 9 * sizeof(void*), "nine slots");
static_assert(offsetof(PSGetFileListSuite4, BrowseUrl) == 3 * sizeof(void*), "slot 3");

}  // namespace host
