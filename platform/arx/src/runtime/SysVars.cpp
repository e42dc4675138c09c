// System variables: a table of typed values with ranges and read-only ones, read and written
// by acedGetVar/acedSetVar and by the SETVAR and GETVAR commands.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <optional>
#include <variant>

#include "Session.h"
#include "aced.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

struct SysVar {
  short type = RTSTR;  // RTREAL, RTSHORT or RTSTR
  bool readOnly = false;
  double low = 0, high = 0;  // numeric range; equal bounds mean none
  double number = 0;
  std::wstring text;
};

std::map<std::wstring, SysVar>& Table() {
  static std::map<std::wstring, SysVar> table;
  return table;
}

SysVar* Find(const std::wstring& name) {
  auto it = Table().find(Upper(name));
  return it == Table().end() ? nullptr : &it->second;
}

// The version string of a release-18 host for each release letter it may report.
std::wstring VersionString(const std::wstring& release) {
  if (release.empty()) return std::wstring();
  static const std::map<wchar_t, const wchar_t*> builds = {
      {L'D', L".215.0.0 (UNICODE)"}, {L'E', L".206.0.0 (UNICODE)"}, {L'F', L".107.0.0 (UNICODE)"}};
  auto it = builds.find(release[0]);
  return release.substr(0, 1) + (it != builds.end() ? it->second : L".0.0.0 (UNICODE)");
}

SysVar Real(double value, double low, double high) {
  SysVar v;
  v.type = RTREAL;
  v.number = value;
  v.low = low;
  v.high = high;
  return v;
}
SysVar Short(int value, int low, int high) {
  SysVar v;
  v.type = RTSHORT;
  v.number = value;
  v.low = low;
  v.high = high;
  return v;
}
SysVar Text(std::wstring value, bool readOnly = false) {
  SysVar v;
  v.type = RTSTR;
  v.text = std::move(value);
  v.readOnly = readOnly;
  return v;
}

std::wstring Show(const SysVar& v) {
  if (v.type == RTREAL) return FormatWide(L"%.4f", v.number);
  if (v.type == RTSHORT) return std::to_wstring(static_cast<int>(v.number));
  return L"\"" + v.text + L"\"";
}

bool InRange(const SysVar& v, double value) {
  return v.low == v.high || (value >= v.low && value <= v.high);
}

void SetVarCommand() {
  std::optional<std::wstring> name = ReadInput(L"Enter variable name or [?]: ");
  if (!name || name->empty()) return;
  SysVar* v = Find(*name);
  if (!v) {
    WriteTranscript(L"Unknown variable name.  Type SETVAR ? for a list of variables.\n");
    return;
  }
  const std::wstring upper = Upper(*name);
  if (v->readOnly) {
    WriteTranscript(upper + L" = " + Show(*v) + L" (read only)\n");
    return;
  }
  for (;;) {
    std::optional<std::wstring> value =
        ReadInput(L"Enter new value for " + upper + L" <" + (v->type == RTSTR ? v->text : Show(*v)) + L">: ");
    if (!value || value->empty()) return;
    if (v->type == RTSTR) {
      v->text = *value == L"." ? std::wstring() : *value;
      return;
    }
    wchar_t* end = nullptr;
    const double number = std::wcstod(value->c_str(), &end);
    const bool integral = v->type != RTSHORT || number == std::floor(number);
    if (end && !*end && std::isfinite(number) && integral && InRange(*v, number)) {
      v->number = number;
      return;
    }
    if (v->low != v->high)
      WriteTranscript(FormatWide(v->type == RTREAL ? L"Requires a value between %.4f and %.4f.\n"
                                                   : L"Requires an integer between %.0f and %.0f.\n",
                                 v->low, v->high));
    else
      WriteTranscript(L"Requires numeric value.\n");
  }
}

void GetVarCommand() {
  std::optional<std::wstring> name = ReadInput(L"Enter variable name: ");
  if (!name || name->empty()) return;
  const SysVar* v = Find(*name);
  if (!v) {
    WriteTranscript(L"Unknown variable name.\n");
    return;
  }
  WriteTranscript(Upper(*name) + L" = " + Show(*v) + (v->readOnly ? L" (read only)\n" : L"\n"));
}

}  // namespace

void ResetSysVars(const SessionOptions& options) {
  auto& t = Table();
  t.clear();
  t[L"_VERNUM"] = Text(VersionString(options.release), true);
  t[L"ACADVER"] = Text(L"18.1s (LMS Tech)", true);
  t[L"FACETRES"] = Real(0.5, 0.01, 10.0);
  t[L"ISOLINES"] = Short(4, 0, 2047);
  t[L"FILEDIA"] = Short(0, 0, 1);
  t[L"CMDECHO"] = Short(1, 0, 1);
  t[L"EXPERT"] = Short(0, 0, 5);
  t[L"HIGHLIGHT"] = Short(1, 0, 1);
  t[L"PICKFIRST"] = Short(1, 0, 1);
  t[L"PDMODE"] = Short(0, -32768, 32767);
  t[L"SURFTAB1"] = Short(6, 2, 32766);
  t[L"SURFTAB2"] = Short(6, 2, 32766);
  t[L"DELOBJ"] = Short(3, -3, 3);
  t[L"CLAYER"] = Text(L"0");
  t[L"CECOLOR"] = Text(L"BYLAYER");
  t[L"DWGNAME"] = Text(L"Drawing1.dwg", true);
  t[L"DWGPREFIX"] = Text(L"", true);
}

void RemoveSysVar(const std::wstring& name) { Table().erase(Upper(name)); }

void ForceSysVarString(const std::wstring& name, const std::wstring& value) {
  SysVar* v = Find(name);
  if (v && v->type == RTSTR) v->text = value;
  else Table()[Upper(name)] = Text(value, true);
}

void RegisterSysVarCommands() {
  AddHostCommand(L"SETVAR", SetVarCommand);
  AddHostCommand(L"GETVAR", GetVarCommand);
}

}  // namespace plx::host

int acedGetVar(const ACHAR* name, resbuf* result) {
  if (!name || !result) return RTERROR;
  const plx::host::SysVar* v = plx::host::Find(name);
  if (!v) return RTERROR;
  if (result->restype == RTSTR) std::free(result->resval.rstring);
  result->restype = v->type;
  if (v->type == RTREAL) result->resval.rreal = v->number;
  else if (v->type == RTSHORT) result->resval.rint = static_cast<short>(v->number);
  else result->resval.rstring = acutNewString(v->text.c_str());
  return RTNORM;
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
  if (!name || !value) return RTERROR;
  plx::host::SysVar* v = plx::host::Find(name);
  if (!v || v->readOnly) return RTERROR;
  if (v->type == RTSTR) {
    if (value->restype != RTSTR || !value->resval.rstring) return RTERROR;
    v->text = value->resval.rstring;
    return RTNORM;
  }
  double number = 0;
  switch (value->restype) {
    case RTREAL: number = value->resval.rreal; break;
    case RTSHORT: number = value->resval.rint; break;
    case RTLONG: number = value->resval.rlong; break;
    default: return RTERROR;
  }
  if (!std::isfinite(number) || !plx::host::InRange(*v, number)) return RTERROR;
  if (v->type == RTSHORT && number != std::floor(number)) return RTERROR;
  v->number = number;
  return RTNORM;
}
