// Entities from ACIS SAT files: AcDbBody::acisIn and the host's ACISIN command. Each body of
// the file becomes the entity its geometry calls for (3D solid, region or body).
#include <filesystem>

#include "../editor/Commands.h"
#include "../runtime/Session.h"
#include "acdb.h"
#include "arxhost/Modeller.h"
#include "dbsol3d.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace {

using plx::modeller::SatReadResult;
using plx::modeller::Shape;
using plx::modeller::ShapeKind;

// The file's bodies as new entities (owned by the caller), or a status and its reason.
Acad::ErrorStatus ReadEntities(const std::wstring& path, std::vector<AcDbModelerEntity*>& entities,
                               std::wstring& reason) {
  SatReadResult read = plx::modeller::ReadSatFile(path);
  if (!read.Ok()) {
    reason = read.reason;
    return read.status;
  }
  for (Shape& shape : read.bodies) {
    AcDbModelerEntity* entity = nullptr;
    switch (shape.Kind()) {
      case ShapeKind::kSolid: entity = new AcDb3dSolid; break;
      case ShapeKind::kRegion: entity = new AcDbRegion; break;
      default: entity = new AcDbBody; break;
    }
    if (!shape.IsNull()) entity->setBody(&shape);
    entities.push_back(entity);
  }
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbBody::acisIn(const ACHAR* fileName, AcDbVoidPtrArray& entities) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  std::vector<AcDbModelerEntity*> made;
  std::wstring reason;
  const Acad::ErrorStatus status = ReadEntities(fileName, made, reason);
  if (status != Acad::eOk) return status;
  for (AcDbModelerEntity* entity : made) entities.append(entity);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dSolid::cleanBody() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return shape().Clean();
}

namespace plx::host {
namespace {

// ACISIN: asks for a file as DXFIN does (a name without extension means a .sat file) and
// appends its bodies to model space; nothing is appended when the file cannot be read.
void AcisinCommand() {
  const std::optional<std::filesystem::path> file = AskFileToImport(L"ACISIN", ".sat");
  if (!file) return;
  const std::filesystem::path& path = *file;

  std::vector<AcDbModelerEntity*> entities;
  std::wstring reason;
  if (ReadEntities(plx::WideFromUtf8(path.string()), entities, reason) != Acad::eOk) {
    WriteTranscript(L"ACISIN: " + reason + L"\n");
    FailCurrentCommand();
    return;
  }
  int appended = 0;
  for (AcDbModelerEntity* entity : entities) {
    if (entity->isNull()) {
      delete entity;
      continue;
    }
    if (!editor::AppendToModelSpace(entity).isNull()) ++appended;
  }
  WriteTranscript(plx::FormatWide(L"ACISIN: %d objects imported.\n", appended));
}

}  // namespace

void RegisterAcisinCommand() { AddHostCommand(L"ACISIN", AcisinCommand); }

}  // namespace plx::host
