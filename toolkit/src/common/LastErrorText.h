// One module's last-error text: built empty at load, replaced by each failure that has a reason.
#pragma once

#include "afx.h"

class LastErrorText {
 public:
  CString Get() const { return text_; }
  void Set(const CString& text) { text_ = text; }

 private:
  CString text_;
};
