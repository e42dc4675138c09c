// ZOOM: our host has no view, so the command takes the host's answers (its options, a window
// by two corners, a scale factor) and only remembers which zoom was asked, for scripts and
// tests that check that a caller zoomed.
#include <cwchar>

#include "../editor/Editor.h"
#include "../runtime/Session.h"
#include "aced.h"
#include "acedads.h"
#include "arxhost/DxfImport.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

std::wstring g_lastZoom;
int g_zoomCount = 0;

// "2", "0.5X", "2XP": a positive scale factor.
bool IsScaleFactor(std::wstring text) {
  text = Upper(text);
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"XP") == 0)
    text.resize(text.size() - 2);
  else if (!text.empty() && text.back() == L'X')
    text.pop_back();
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  const double value = std::wcstod(text.c_str(), &end);
  return end && *end == 0 && value > 0;
}

// Asks until the answer passes; false when cancelled.
template <class Accept>
bool Ask(const std::wstring& prompt, const wchar_t* refusal, Accept accept) {
  for (;;) {
    const std::optional<std::wstring> answer = ReadInput(prompt);
    if (!answer) return false;
    if (accept(Trim(*answer))) return true;
    WriteTranscript(refusal);
  }
}

bool IsPoint(const std::wstring& text) { return plx::editor::ParsePointText(text).has_value(); }

void ZoomCommand() {
  const InitGet options{
      0, {L"All", L"Center", L"Dynamic", L"Extents", L"Previous", L"Scale", L"Window", L"Object"}};
  std::wstring option;
  bool named = false;  // the option was named, so its own prompts follow
  for (;;) {
    const std::optional<std::wstring> answer = ReadInput(
        L"Specify corner of window, enter a scale factor (nX or nXP), or\n"
        L"[All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>: ");
    if (!answer) return;
    const std::wstring text = Trim(*answer);
    if (text.empty()) {
      option = L"Realtime";
      break;
    }
    // A leading '_' names the option by its global name, as scripts and programs do.
    if (const std::wstring* keyword =
            MatchKeyword(options, text[0] == L'_' ? text.substr(1) : text)) {
      option = *keyword;
      named = true;
      break;
    }
    if (IsScaleFactor(text)) {
      option = L"Scale";
      break;
    }
    if (IsPoint(text)) {
      if (!Ask(L"Specify opposite corner: ", L"Requires a point.\n", IsPoint)) return;
      option = L"Window";
      break;
    }
    WriteTranscript(L"Point or option keyword required.\n");
  }
  if (option == L"Window" && named) {
    if (!Ask(L"Specify first corner: ", L"Requires a point.\n", IsPoint)) return;
    if (!Ask(L"Specify opposite corner: ", L"Requires a point.\n", IsPoint)) return;
  } else if (option == L"Center") {
    if (!Ask(L"Specify center point: ", L"Requires a point.\n", IsPoint)) return;
    if (!Ask(L"Enter magnification or height <1.0000>: ", L"Requires a positive number.\n",
             [](const std::wstring& t) { return t.empty() || IsScaleFactor(t); }))
      return;
  } else if (option == L"Scale" && named) {
    if (!Ask(L"Enter a scale factor (nX or nXP): ", L"Requires a positive number, nX or nXP.\n",
             IsScaleFactor))
      return;
  } else if (option == L"Object") {
    ads_name set;
    const int status = acedSSGet(nullptr, nullptr, nullptr, nullptr, set);
    if (status == RTCAN) return;
    if (status == RTNORM) acedSSFree(set);
  }
  g_lastZoom = option;
  ++g_zoomCount;
}

}  // namespace

void RegisterZoomCommand() {
  g_lastZoom.clear();
  g_zoomCount = 0;
  AddHostCommand(L"ZOOM", ZoomCommand);
}

std::wstring LastZoom() { return g_lastZoom; }
int ZoomCount() { return g_zoomCount; }

}  // namespace plx::host
