// Command-line questions answered with a keyword, in the host's usual form: the keywords in
// square brackets separated by slashes, the default in angle brackets, then a colon. Matching
// (abbreviations, any case) is the host's. Nothing is printed or stored: 0 tells a cancel or a
// failure, and the answer is then left as it was.
#pragma once

#include "afx.h"

// Asks "<message> [Yes/No] <Yes|No>: " with value as the default (non-zero is yes). 1 with
// value 1 or 0, or with value unchanged when the user pressed Enter; 0 on Esc.
int AskYesNo(const CString& message, int& value);

// Asks "<message> [K1/K2/...] <default>: " for one of the blank-separated keywords (each blank
// shown as a slash); without a default "<message> [K1/K2/...] : ". 1 with the keyword as
// written in the list, or with the default on Enter; 0 on Esc, or on Enter without a default.
int AskKeyword(const CString& message, const CString& keywords, CString& result,
               const CString& defaultKeyword);
