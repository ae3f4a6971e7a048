#include "ui/AboutBox.h"

#include <cstring>

#include "hostaccess/HostAllocation.h"
#include "hostaccess/HostSuites.h"
#include "platform/PluginInstance.h"
#include "resources/ResourceIds.h"
#include "ui/DialogEntry.h"

namespace zem {
namespace {

constexpr int kTextBufferSize = 256;
constexpr int kCaptionBufferSize = 256;
constexpr char kScheme[] = "http://";
constexpr size_t kSchemeLength = sizeof kScheme - 1;

}  // namespace

void AboutBox::OnInit() {
  char text[kTextBufferSize] = {};
  // The instance RunModal found when it opened the box.
  auto instance = static_cast<HINSTANCE>(GetPluginInstance(nullptr));
  LoadStringA(instance, static_cast<UINT>(resourceId), text, kTextBufferSize - 1);
  SetDlgItemTextA(window, ZEM_ABOUT_TEXT, text);
}

// A failure to get the buffer or the browser suite raises out of here and is dropped by the
// dialog procedure: the click then does nothing, the buffer is still handed back, and the box
// stays open.
void AboutBox::OnCommand(int item) {
  if (item != ZEM_ABOUT_LINK) return;
  HostBlock caption(kCaptionBufferSize);
  char* captionText = static_cast<char*>(caption.get());
  const int length = GetDlgItemTextA(window, item, captionText, kCaptionBufferSize);

  char address[kSchemeLength + kCaptionBufferSize] = {};
  std::memcpy(address, kScheme, kSchemeLength);
  std::memcpy(address + kSchemeLength, captionText, static_cast<size_t>(length));
  GetFileListSuite().BrowseUrl(address);
}

void AboutBox::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  const unsigned character = static_cast<unsigned>(wParam & 0xFF);
  const bool closingCharacter = message == WM_CHAR && (character == 0x1B || character == 0x0D);
  if (message == WM_LBUTTONDOWN || closingCharacter) EndDialog(window, 0);
}

int ShowAboutBox(host::SPPluginRef plugin, int32_t resourceId) {
  AboutBox box;
  return box.RunModal(plugin, resourceId);
}

}  // namespace zem
