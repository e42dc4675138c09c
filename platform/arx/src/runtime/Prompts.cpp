// The editor's prompt functions over the input channel: keywords of acedInitGet, numbers,
// points and strings, with the host's complaints for answers it refuses.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>

#include "Session.h"
#include "aced.h"
#include "win32/transcript.h"

using plx::host::InitGet;
using plx::host::ReadInput;

namespace plx::host {

// Keywords match as the host does: any case, the whole keyword, its capitals (the
// abbreviation), or a start of it that holds all its capitals. Returned as written.
const std::wstring* MatchKeyword(const InitGet& init, const std::wstring& input) {
  if (input.empty()) return nullptr;
  for (const std::wstring& keyword : init.keywords) {
    if (plx::host::EqualsNoCase(keyword, input)) return &keyword;
    std::wstring abbreviation;
    size_t lastCapital = 0;
    for (size_t i = 0; i < keyword.size(); ++i)
      if (std::iswupper(static_cast<wint_t>(keyword[i]))) {
        abbreviation += keyword[i];
        lastCapital = i + 1;
      }
    if (abbreviation.empty()) continue;
    if (plx::host::EqualsNoCase(abbreviation, input)) return &keyword;
    if (input.size() >= lastCapital && input.size() <= keyword.size() &&
        plx::host::EqualsNoCase(keyword.substr(0, input.size()), input))
      return &keyword;
  }
  return nullptr;
}

}  // namespace plx::host

namespace {

constexpr size_t kClassicResultLength = 133;  // what the three-argument forms may hold

int CopyResult(const std::wstring& text, ACHAR* result, size_t length) {
  if (!result || length == 0) return RTERROR;
  const size_t n = std::min(text.size(), length - 1);
  wmemcpy(result, text.data(), n);
  result[n] = L'\0';
  return n < text.size() ? RTINPUTTRUNCATED : RTNORM;
}

bool ParseReal(const std::wstring& text, double& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  value = std::wcstod(text.c_str(), &end);
  return end && *end == L'\0' && std::isfinite(value);
}

bool ParsePoint(std::wstring text, const double* base, ads_point out) {
  bool relative = false;
  if (!text.empty() && text[0] == L'@') {
    relative = true;
    text.erase(0, 1);
  }
  double v[3] = {0, 0, 0};
  int count = 0;
  size_t begin = 0;
  for (;;) {
    const size_t comma = text.find(L',', begin);
    const std::wstring part = plx::host::Trim(
        text.substr(begin, comma == std::wstring::npos ? std::wstring::npos : comma - begin));
    if (count == 3 || !ParseReal(part, v[count])) return false;
    ++count;
    if (comma == std::wstring::npos) break;
    begin = comma + 1;
  }
  if (count < 2) return false;
  for (int i = 0; i < 3; ++i) out[i] = v[i] + (relative && base ? base[i] : 0.0);
  return true;
}

// One answer: RTNORM when accept() takes it, RTNONE for an empty line where allowed, RTKWORD,
// or RTCAN. A refused answer prints the complaint and is asked again.
template <class Accept>
int Ask(const ACHAR* prompt, bool allowEmpty, const wchar_t* complaint, Accept accept) {
  const InitGet init = plx::host::TakeInitGet();
  const std::wstring text = prompt ? prompt : L"";
  for (;;) {
    std::optional<std::wstring> line = ReadInput(text);
    if (!line) return RTCAN;
    if (line->empty()) {
      if (allowEmpty && !(init.flags & RSG_NONULL)) return RTNONE;
      if (complaint) plx::WriteTranscript(complaint);
      continue;
    }
    if (const std::wstring* keyword = MatchKeyword(init, *line)) {
      plx::host::SetLastKeyword(*keyword);
      return RTKWORD;
    }
    if (accept(*line, init.flags)) return RTNORM;
    if (init.flags & RSG_OTHER) {
      plx::host::SetLastKeyword(*line);
      return RTKWORD;
    }
    if (complaint) plx::WriteTranscript(complaint);
  }
}

bool NumberAllowed(double value, int flags) {
  if ((flags & RSG_NOZERO) && value == 0.0) return false;
  if ((flags & RSG_NONEG) && value < 0.0) return false;
  return true;
}

}  // namespace

int acedInitGet(int flags, const ACHAR* keywords) {
  InitGet init;
  init.flags = flags;
  const std::wstring list = keywords ? keywords : L"";
  size_t begin = 0;
  while (begin < list.size()) {
    size_t end = list.find(L' ', begin);
    if (end == std::wstring::npos) end = list.size();
    if (end > begin) {
      std::wstring word = list.substr(begin, end - begin);
      if (word == L"_") break;  // the global keywords that follow name the same choices
      init.keywords.push_back(std::move(word));
    }
    begin = end + 1;
  }
  plx::host::SetInitGet(std::move(init));
  return RTNORM;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t resultLength) {
  const int status = Ask(prompt, true, L"Invalid option keyword.\n",
                         [](const std::wstring&, int) { return false; });
  if (status == RTKWORD) return CopyResult(plx::host::LastKeyword(), result, resultLength);
  if (status == RTNONE && result && resultLength) result[0] = L'\0';
  return status;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result) {
  return acedGetKword(prompt, result, kClassicResultLength);
}

int acedGetInput(ACHAR* result, size_t resultLength) {
  return CopyResult(plx::host::LastKeyword(), result, resultLength);
}

int acedGetInput(ACHAR* result) { return acedGetInput(result, kClassicResultLength); }

int acedGetString(int, const ACHAR* prompt, ACHAR* result, size_t resultLength) {
  plx::host::TakeInitGet();  // strings take no keywords
  // Text is taken as typed: a name or a text may begin with '\''.
  std::optional<std::wstring> line = plx::host::ReadTextInput(prompt ? prompt : L"");
  if (!line) return RTCAN;
  return CopyResult(*line, result, resultLength);
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result) {
  return acedGetString(cronly, prompt, result, kClassicResultLength);
}

int acedGetInt(const ACHAR* prompt, int* result) {
  int value = 0;
  const int status = Ask(prompt, true, L"Requires an integer value.\n",
                         [&](const std::wstring& text, int flags) {
                           wchar_t* end = nullptr;
                           errno = 0;
                           const long v = std::wcstol(text.c_str(), &end, 10);
                           if (!end || *end || errno || v < -32768 || v > 32767) return false;
                           if (!NumberAllowed(static_cast<double>(v), flags)) return false;
                           value = static_cast<int>(v);
                           return true;
                         });
  if (status == RTNORM && result) *result = value;
  return status;
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
  double value = 0;
  const int status = Ask(prompt, true, L"Requires numeric value.\n",
                         [&](const std::wstring& text, int flags) {
                           return ParseReal(text, value) && NumberAllowed(value, flags);
                         });
  if (status == RTNORM && result) *result = value;
  return status;
}

int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result) {
  double value = 0;
  const int status =
      Ask(prompt, true, L"Requires numeric distance or second point.\n",
          [&](const std::wstring& text, int flags) {
            if (ParseReal(text, value)) return NumberAllowed(value, flags);
            ads_point p;
            if (!base || !ParsePoint(text, base, p)) return false;
            value = std::sqrt((p[0] - base[0]) * (p[0] - base[0]) + (p[1] - base[1]) * (p[1] - base[1]) +
                              (p[2] - base[2]) * (p[2] - base[2]));
            return NumberAllowed(value, flags);
          });
  if (status == RTNORM && result) *result = value;
  return status;
}

int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result) {
  ads_point value = {0, 0, 0};
  const int status = Ask(prompt, true, L"Invalid point.\n", [&](const std::wstring& text, int) {
    return ParsePoint(text, base, value);
  });
  if (status == RTNORM && result)
    for (int i = 0; i < 3; ++i) result[i] = value[i];
  return status;
}

int acedGetCorner(const ads_point base, const ACHAR* prompt, ads_point result) {
  return acedGetPoint(base, prompt, result);
}
