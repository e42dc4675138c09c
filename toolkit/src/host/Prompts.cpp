// Keyword prompts: acedInitGet with flags 0 (Enter allowed, only the listed keywords), then
// acedGetKword into an answer buffer of 20 characters, widened when a keyword of the list
// would not fit, so that no answer is cut.
#include "toolkit/Prompts.h"

#include <algorithm>
#include <vector>

#include "aced.h"

namespace {

constexpr size_t kAnswerLength = 20;

// Room for the longest keyword of the list and its terminator, at least the classic 20.
size_t AnswerLength(const CString& keywords) {
  size_t longest = 0, current = 0;
  for (int i = 0; i < keywords.GetLength(); ++i) {
    current = keywords[i] == L' ' ? 0 : current + 1;
    longest = std::max(longest, current);
  }
  return std::max(kAnswerLength, longest + 1);
}

}  // namespace

int AskYesNo(const CString& message, int& value) {
  if (acedInitGet(0, L"Yes No") != RTNORM) return 0;
  CString prompt;
  prompt.Format(L"%s [Yes/No] <%s>: ", message.GetString(), value ? L"Yes" : L"No");
  wchar_t answer[kAnswerLength] = {};
  const int status = acedGetKword(prompt, answer, kAnswerLength);
  if (status == RTNONE) return 1;
  if (status != RTNORM) return 0;
  const CString given(answer);
  if (given == L"Yes" || given == L"YES" || given == L"Y") {
    value = 1;
    return 1;
  }
  if (given == L"No" || given == L"NO" || given == L"N") {
    value = 0;
    return 1;
  }
  return 0;
}

int AskKeyword(const CString& message, const CString& keywords, CString& result,
               const CString& defaultKeyword) {
  if (acedInitGet(0, keywords) != RTNORM) return 0;
  CString shown(keywords);
  shown.Replace(L' ', L'/');
  CString prompt;
  prompt.Format(L"%s [%s] ", message.GetString(), shown.GetString());
  if (!defaultKeyword.IsEmpty()) {
    CString withDefault;
    withDefault.Format(L"%s<%s>", prompt.GetString(), defaultKeyword.GetString());
    prompt = withDefault;
  }
  prompt += L": ";
  std::vector<wchar_t> answer(AnswerLength(keywords), L'\0');
  const int status = acedGetKword(prompt, answer.data(), answer.size());
  if (status == RTNONE) {
    if (defaultKeyword.IsEmpty()) return 0;
    result = defaultKeyword;
    return 1;
  }
  if (status != RTNORM) return 0;
  result = answer.data();
  return 1;
}
