#include "ui/RadioGroup.h"

namespace zem {

void RadioGroup::Select(int id) const {
  if (!IsSet() || id < firstId || id > lastId) return;
  CheckRadioButton(window, firstId, lastId, id);
}

int RadioGroup::Selected() const {
  if (!IsSet()) return -1;
  for (int id = firstId; id <= lastId; ++id) {
    if (IsDlgButtonChecked(window, id) != 0) return id;
  }
  return -1;
}

}  // namespace zem
