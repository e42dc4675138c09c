// Stand-in for model space until the drawing database holds 3D solids: the shape is kept for
// TakeAppendedSolids and reported as the entity it will become.
#include <mutex>
#include <utility>

#include "arxhost/Modeller.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

struct Appended {
  std::mutex mutex;
  std::vector<modeller::Shape> shapes;
};

Appended& State() {
  static Appended state;
  return state;
}

const wchar_t* EntityName(modeller::ShapeKind kind) {
  switch (kind) {
    case modeller::ShapeKind::kSolid: return L"3DSOLID";
    case modeller::ShapeKind::kBody: return L"BODY";
    case modeller::ShapeKind::kRegion: return L"REGION";
    default: return nullptr;
  }
}

}  // namespace

Acad::ErrorStatus AppendSolid(modeller::Shape shape) {
  const wchar_t* name = EntityName(shape.Kind());
  if (!name) return Acad::eInvalidInput;
  plx::WriteTranscript(std::wstring(name) + L" created.\n");
  std::lock_guard lock(State().mutex);
  State().shapes.push_back(std::move(shape));
  return Acad::eOk;
}

std::vector<modeller::Shape> TakeAppendedSolids() {
  std::lock_guard lock(State().mutex);
  return std::exchange(State().shapes, {});
}

}  // namespace plx::host
