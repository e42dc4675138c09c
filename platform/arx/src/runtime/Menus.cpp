// Partial menu files (.mnu) and the menu bar. A file names its group ("***MENUGROUP=name")
// and holds pop-up sections ("***POPn"), whose first label line is the pop-up's title and
// whose "**alias" lines give further names. acedMenuCmd inserts and removes pop-ups.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "Session.h"
#include "aced.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

struct Popup {
  std::wstring section;               // "POP1"
  std::vector<std::wstring> aliases;  // from "**alias" lines
  std::wstring title;
  std::vector<std::wstring> items;
};

struct MenuGroup {
  std::wstring name;
  std::wstring file;
  std::vector<Popup> popups;
};

struct MenuState {
  std::vector<MenuGroup> groups;
  std::vector<MenuBarEntry> bar;  // sorted by position
};

MenuState& State() {
  static MenuState state;
  return state;
}

MenuGroup* FindGroup(const std::wstring& name) {
  for (MenuGroup& g : State().groups)
    if (EqualsNoCase(g.name, name)) return &g;
  return nullptr;
}

const Popup* FindPopup(const MenuGroup& group, const std::wstring& alias) {
  for (const Popup& p : group.popups) {
    if (EqualsNoCase(p.section, alias)) return &p;
    for (const std::wstring& a : p.aliases)
      if (EqualsNoCase(a, alias)) return &p;
  }
  return nullptr;
}

// Reads a menu file; false with the reason when it holds no group.
bool ParseMenu(const std::wstring& path, MenuGroup& group, std::wstring& error) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) {
    error = L"Unable to open menu file \"" + path + L"\".";
    return false;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::wistringstream lines(WideFromUtf8(buffer.str()));
  group = MenuGroup{};
  group.file = path;
  Popup* popup = nullptr;
  for (std::wstring line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    line = Trim(line);
    if (line.empty() || line.rfind(L"//", 0) == 0) continue;
    if (line.rfind(L"***", 0) == 0) {
      const std::wstring head = Upper(line.substr(3));
      popup = nullptr;
      if (head.rfind(L"MENUGROUP=", 0) == 0) {
        group.name = Trim(line.substr(3 + 10));
      } else if (head.rfind(L"POP", 0) == 0) {
        group.popups.push_back(Popup{head, {}, {}, {}});
        popup = &group.popups.back();
      }
      continue;
    }
    if (!popup) continue;
    if (line.rfind(L"**", 0) == 0) {
      popup->aliases.push_back(Trim(line.substr(2)));
    } else if (line[0] == L'[') {
      const size_t close = line.find(L']');
      const std::wstring label = line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
      if (popup->title.empty()) popup->title = label;
      else popup->items.push_back(line);
    }
  }
  if (group.name.empty()) {
    error = L"Menu file \"" + path + L"\" has no MENUGROUP.";
    return false;
  }
  return true;
}

void MenuLoadCommand() {
  std::optional<std::wstring> path = ReadInput(L"Enter name of customization file to load: ");
  if (!path || path->empty()) return;
  MenuGroup group;
  std::wstring error;
  if (!ParseMenu(*path, group, error)) {
    WriteTranscript(error + L"\n");
    return;
  }
  if (FindGroup(group.name)) {
    WriteTranscript(L"Customization group \"" + group.name + L"\" is already loaded.\n");
    return;
  }
  WriteTranscript(L"Customization file loaded successfully. Customization Group: " + Upper(group.name) + L"\n");
  State().groups.push_back(std::move(group));
}

void MenuBarCommand() {
  if (State().bar.empty()) {
    WriteTranscript(L"The menu bar holds no inserted pop-up menus.\n");
    return;
  }
  for (const MenuBarEntry& e : State().bar)
    WriteTranscript(FormatWide(L"  P%d  %s.%s  %s\n", e.position, e.group.c_str(), e.popup.c_str(),
                               e.title.c_str()));
}

}  // namespace

std::vector<MenuBarEntry> MenuBar() { return State().bar; }

std::vector<std::wstring> LoadedMenuGroups() {
  std::vector<std::wstring> names;
  for (const MenuGroup& g : State().groups) names.push_back(g.name);
  return names;
}

void ResetMenus() { State() = MenuState{}; }

void RegisterMenuCommands() {
  AddHostCommand(L"MENULOAD", MenuLoadCommand);
  AddHostCommand(L"MENUBAR", MenuBarCommand);
}

}  // namespace plx::host

int acedMenuCmd(const ACHAR* command) {
  using namespace plx::host;
  if (!command) return RTERROR;
  const std::wstring text = Trim(command);
  // "P<n>=+<group>.<pop>" or "P<n>=-"
  if (text.size() < 4 || (text[0] != L'P' && text[0] != L'p')) return RTERROR;
  const size_t eq = text.find(L'=');
  if (eq == std::wstring::npos || eq < 2) return RTERROR;
  wchar_t* end = nullptr;
  const std::wstring digits = text.substr(1, eq - 1);
  const long position = std::wcstol(digits.c_str(), &end, 10);
  if (!end || *end || position < 1 || position > 999) return RTERROR;
  auto& bar = State().bar;
  const std::wstring action = text.substr(eq + 1);
  if (action == L"-") {
    auto it = std::find_if(bar.begin(), bar.end(), [&](const MenuBarEntry& e) { return e.position == position; });
    if (it == bar.end()) return RTERROR;
    bar.erase(it);
    for (MenuBarEntry& e : bar)
      if (e.position > position) --e.position;
    return RTNORM;
  }
  if (action.size() < 2 || action[0] != L'+') return RTERROR;
  const std::wstring ref = action.substr(1);
  const size_t dot = ref.find(L'.');
  if (dot == std::wstring::npos) return RTERROR;
  MenuGroup* group = FindGroup(ref.substr(0, dot));
  const Popup* popup = group ? FindPopup(*group, ref.substr(dot + 1)) : nullptr;
  if (!popup) return RTERROR;
  // An insertion moves the pop-ups at and after its place one further.
  for (MenuBarEntry& e : bar)
    if (e.position >= position) ++e.position;
  bar.push_back(MenuBarEntry{static_cast<int>(position), group->name, ref.substr(dot + 1), popup->title});
  std::sort(bar.begin(), bar.end(), [](const MenuBarEntry& a, const MenuBarEntry& b) { return a.position < b.position; });
  return RTNORM;
}
