// ACISOUT and MASSPROP: the selected 3D solids, bodies and regions to a SAT file, and their
// volume, bounding box and centroid on the transcript. Other selected objects are named and
// left out. ACISOUT asks for the file as the host's other file commands do with file
// dialogues off (one line, ".sat" added, the overwrite question).
#include <cmath>
#include <vector>

#include "../runtime/Session.h"
#include "aced.h"
#include "acedads.h"
#include "afxdlgs.h"
#include "arxhost/Modeller.h"
#include "dbsol3d.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

// The selected solids, bodies and regions, open for read; closes them when it goes.
class SelectedModellerEntities {
 public:
  SelectedModellerEntities() {
    ads_name set;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return;
    Adesk::Int32 length = 0;
    acedSSLength(set, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
      ads_name name;
      AcDbObjectId id;
      AcDbEntity* entity = nullptr;
      if (acedSSName(set, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk ||
          acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
        ++others_;
        continue;
      }
      if (AcDbModelerEntity::cast(entity) && !AcDbModelerEntity::cast(entity)->isNull()) {
        entities_.append(entity);
      } else {
        ++others_;
        entity->close();
      }
    }
    acedSSFree(set);
  }
  ~SelectedModellerEntities() {
    for (int i = 0; i < entities_.length(); ++i) static_cast<AcDbEntity*>(entities_[i])->close();
  }
  SelectedModellerEntities(const SelectedModellerEntities&) = delete;
  SelectedModellerEntities& operator=(const SelectedModellerEntities&) = delete;

  const AcDbVoidPtrArray& Entities() const { return entities_; }
  // Says how many selected objects were left out; false when nothing is left to work on.
  bool Report(const wchar_t* command) const {
    if (others_ > 0)
      WriteTranscript(
          FormatWide(L"%d object(s) not a 3D solid, body or region left out.\n", others_));
    if (entities_.isEmpty()) {
      WriteTranscript(std::wstring(command) + L": no 3D solid, body or region was selected.\n");
      return false;
    }
    return true;
  }

 private:
  AcDbVoidPtrArray entities_;
  int others_ = 0;
};

void AcisOutCommand() {
  SelectedModellerEntities selected;
  if (!selected.Report(L"ACISOUT")) {
    FailCurrentCommand();
    return;
  }
  CFileDialog dialog(FALSE, L"sat", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     L"ACIS (*.sat)|*.sat||");
  if (dialog.DoModal() != IDOK) {
    FailCurrentCommand();
    return;
  }
  const CString path = dialog.GetPathName();
  std::vector<const modeller::Shape*> shapes;
  for (int i = 0; i < selected.Entities().length(); ++i)
    shapes.push_back(static_cast<const modeller::Shape*>(
        AcDbModelerEntity::cast(static_cast<AcDbEntity*>(selected.Entities()[i]))->body()));
  std::wstring reason;
  if (modeller::WriteSat(static_cast<const wchar_t*>(path), shapes, &reason) != Acad::eOk) {
    WriteTranscript(L"ACISOUT: " + reason + L"\n");
    FailCurrentCommand();
    return;
  }
  WriteTranscript(FormatWide(L"ACISOUT: %d object(s) written to %s.\n",
                             selected.Entities().length(), static_cast<const wchar_t*>(path)));
}

std::wstring Number(double value) {
  return FormatWide(L"%.4f", std::fabs(value) < 5e-5 ? 0.0 : value);
}

void MassPropCommand() {
  SelectedModellerEntities selected;
  if (!selected.Report(L"MASSPROP")) {
    FailCurrentCommand();
    return;
  }
  double volume = 0, area = 0;
  double weighted[3] = {0, 0, 0};
  modeller::Point3 low{HUGE_VAL, HUGE_VAL, HUGE_VAL}, high{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int i = 0; i < selected.Entities().length(); ++i) {
    const auto& shape = *static_cast<const modeller::Shape*>(
        AcDbModelerEntity::cast(static_cast<AcDbEntity*>(selected.Entities()[i]))->body());
    modeller::MassProperties properties;
    modeller::Point3 a, b;
    if (modeller::GetMassProperties(shape, properties) != Acad::eOk ||
        shape.Extents(a, b) != Acad::eOk) {
      WriteTranscript(L"MASSPROP: the modeller could not measure an object.\n");
      FailCurrentCommand();
      return;
    }
    volume += properties.volume;
    area += properties.area;
    // Solids weigh by volume; where nothing has volume, faces weigh by area.
    const double weight = properties.volume != 0 ? properties.volume : 0;
    weighted[0] += weight * properties.centroid.x;
    weighted[1] += weight * properties.centroid.y;
    weighted[2] += weight * properties.centroid.z;
    low = {std::fmin(low.x, a.x), std::fmin(low.y, a.y), std::fmin(low.z, a.z)};
    high = {std::fmax(high.x, b.x), std::fmax(high.y, b.y), std::fmax(high.z, b.z)};
  }
  modeller::Point3 centroid;
  if (volume != 0) {
    centroid = {weighted[0] / volume, weighted[1] / volume, weighted[2] / volume};
  } else {
    for (int i = 0; i < selected.Entities().length(); ++i) {
      const auto& shape = *static_cast<const modeller::Shape*>(
          AcDbModelerEntity::cast(static_cast<AcDbEntity*>(selected.Entities()[i]))->body());
      modeller::MassProperties properties;
      modeller::GetMassProperties(shape, properties);
      centroid.x += properties.area * properties.centroid.x;
      centroid.y += properties.area * properties.centroid.y;
      centroid.z += properties.area * properties.centroid.z;
    }
    if (area != 0) centroid = {centroid.x / area, centroid.y / area, centroid.z / area};
  }
  std::wstring text = L"----------------   SOLIDS   ----------------\n\n";
  text += L"Mass:                    " + Number(volume) + L"\n";
  text += L"Volume:                  " + Number(volume) + L"\n";
  text += L"Area:                    " + Number(area) + L"\n";
  text += L"Bounding box:         X: " + Number(low.x) + L"  --  " + Number(high.x) + L"\n";
  text += L"                      Y: " + Number(low.y) + L"  --  " + Number(high.y) + L"\n";
  text += L"                      Z: " + Number(low.z) + L"  --  " + Number(high.z) + L"\n";
  text += L"Centroid:             X: " + Number(centroid.x) + L"\n";
  text += L"                      Y: " + Number(centroid.y) + L"\n";
  text += L"                      Z: " + Number(centroid.z) + L"\n";
  WriteTranscript(text);
}

}  // namespace

void RegisterAcisOutCommands() {
  AddHostCommand(L"ACISOUT", AcisOutCommand);
  AddHostCommand(L"MASSPROP", MassPropCommand);
}

}  // namespace plx::host
