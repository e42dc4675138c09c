// The host's primitive commands, asked on the command line in the host's order, one input a
// prompt, so that a script builds solids with one line an answer. A cancelled prompt ends the
// command with nothing made; sizes the modeller refuses are named and nothing is made.
#include "../runtime/Session.h"
#include "aced.h"
#include "arxhost/Modeller.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

using modeller::Point3;
using modeller::Shape;
using modeller::ShapeResult;

bool AskPoint(const ads_point base, const wchar_t* prompt, Point3& point) {
  ads_point p;
  acedInitGet(RSG_NONULL, nullptr);
  if (acedGetPoint(base, prompt, p) != RTNORM) return false;
  point = {p[0], p[1], p[2]};
  return true;
}

bool AskDistance(const Point3& base, const wchar_t* prompt, int flags, double& value) {
  const ads_point from = {base.x, base.y, base.z};
  acedInitGet(RSG_NONULL | flags, nullptr);
  return acedGetDist(from, prompt, &value) == RTNORM;
}

void Finish(ShapeResult made) {
  if (!made.Ok()) {
    plx::WriteTranscript(made.reason + L"\n");
    return;
  }
  AppendSolid(std::move(made.shape));
}

void BoxCommand() {
  Point3 a, b;
  if (!AskPoint(nullptr, L"Specify first corner: ", a)) return;
  const ads_point base = {a.x, a.y, a.z};
  if (!AskPoint(base, L"Specify other corner: ", b)) return;
  Finish(Shape::Box(a, b));
}

void WedgeCommand() {
  Point3 a, b;
  if (!AskPoint(nullptr, L"Specify first corner: ", a)) return;
  const ads_point base = {a.x, a.y, a.z};
  if (!AskPoint(base, L"Specify other corner: ", b)) return;
  Finish(Shape::Wedge(a, b));
}

void SphereCommand() {
  Point3 centre;
  double radius = 0;
  if (!AskPoint(nullptr, L"Specify center point: ", centre)) return;
  if (!AskDistance(centre, L"Specify radius: ", RSG_NOZERO | RSG_NONEG, radius)) return;
  Finish(Shape::Sphere(centre, radius));
}

// Cylinder and cone ask the same: base centre, base radius, height (negative goes down).
template <ShapeResult (*Make)(const Point3&, double, double)>
void AxialCommand() {
  Point3 base;
  double radius = 0, height = 0;
  if (!AskPoint(nullptr, L"Specify center point of base: ", base)) return;
  if (!AskDistance(base, L"Specify base radius: ", RSG_NOZERO | RSG_NONEG, radius)) return;
  if (!AskDistance(base, L"Specify height: ", RSG_NOZERO, height)) return;
  Finish(Make(base, radius, height));
}

void TorusCommand() {
  Point3 centre;
  double radius = 0, tube = 0;
  if (!AskPoint(nullptr, L"Specify center point: ", centre)) return;
  if (!AskDistance(centre, L"Specify radius: ", RSG_NOZERO | RSG_NONEG, radius)) return;
  if (!AskDistance(centre, L"Specify tube radius: ", RSG_NOZERO | RSG_NONEG, tube)) return;
  Finish(Shape::Torus(centre, radius, tube));
}

}  // namespace

void RegisterSolidCommands() {
  AddHostCommand(L"BOX", BoxCommand);
  AddHostCommand(L"SPHERE", SphereCommand);
  AddHostCommand(L"CYLINDER", AxialCommand<&Shape::Cylinder>);
  AddHostCommand(L"CONE", AxialCommand<&Shape::Cone>);
  AddHostCommand(L"TORUS", TorusCommand);
  AddHostCommand(L"WEDGE", WedgeCommand);
  RegisterAcisinCommand();
}

}  // namespace plx::host
