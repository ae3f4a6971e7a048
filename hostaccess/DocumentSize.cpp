#include "hostaccess/DocumentSize.h"

#include "host/Keys.h"
#include "hostaccess/HostSuites.h"

namespace zem {

static int32_t QueryDocumentProperty(uint32_t key, int32_t* size) {
  const host::PSPropertySuite& suite = PropertySuite();
  // The simple value is pointer-sized; it is copied out only when the host reports success.
  intptr_t value = *size;
  int32_t error = suite.getPropertyProc(host::kPhotoshopSignature, key, 0, &value, nullptr);
  if (error == 0) *size = static_cast<int32_t>(value);
  return error;
}

int32_t QueryDocumentHeight(int32_t* height) { return QueryDocumentProperty(host::kPropDocumentHeight, height); }

int32_t QueryDocumentWidth(int32_t* width) { return QueryDocumentProperty(host::kPropDocumentWidth, width); }

}  // namespace zem
