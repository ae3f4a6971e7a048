// The About box: the plug-in's text, and a button that opens the project's web site.
#pragma once

#include "ui/ModalDialog.h"

namespace zem {

class AboutBox : public ModalDialog {
 public:
  // Fills the text control from the string numbered like the template.
  void OnInit() override;
  // The link button opens "http://" followed by its caption; the box stays open.
  void OnCommand(int item) override;
  // A click outside the link button, or Esc or Enter as a character, closes the box with 0.
  void OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace zem
