// The host's drawing commands with their prompts: POINT, LINE, CIRCLE, 3DFACE, PFACE, 3DMESH and
// 3DPOLY. Each entity is appended to model space as soon as it is complete.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "../db/Access.h"
#include "../runtime/Session.h"
#include "Commands.h"
#include "Editor.h"
#include "aced.h"
#include "db3dpolyline.h"
#include "dbents.h"
#include "dbpolyfacemesh.h"
#include "dbpolygonmesh.h"
#include "dbsymtb.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::editor {
namespace {

AcGePoint3d ToPoint(const ads_point p) { return {p[0], p[1], p[2]}; }

void ToAds(const AcGePoint3d& p, ads_point out) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
}

void PointCommand() {
  acutPrintf(L"Current point modes:  PDMODE=0  PDSIZE=0.0000\n");
  ads_point p;
  if (acedGetPoint(nullptr, L"Specify a point: ", p) == RTNORM) AppendToModelSpace(new AcDbPoint(ToPoint(p)));
}

void LineCommand() {
  ads_point first, previous, next;
  if (acedGetPoint(nullptr, L"Specify first point: ", first) != RTNORM) return;
  for (int i = 0; i < 3; ++i) previous[i] = first[i];
  std::vector<AcDbObjectId> segments;
  std::vector<AcGePoint3d> starts;
  for (;;) {
    const bool canClose = segments.size() >= 2;
    acedInitGet(0, canClose ? L"Close Undo" : L"Undo");
    const int status = acedGetPoint(previous, canClose ? L"Specify next point or [Close/Undo]: "
                                                       : L"Specify next point or [Undo]: ",
                                    next);
    if (status == RTNORM) {
      starts.push_back(ToPoint(previous));
      segments.push_back(AppendToModelSpace(new AcDbLine(ToPoint(previous), ToPoint(next))));
      for (int i = 0; i < 3; ++i) previous[i] = next[i];
      continue;
    }
    if (status != RTKWORD) return;
    ACHAR keyword[32];
    acedGetInput(keyword, 32);
    if (std::wstring(keyword) == L"Close") {
      AppendToModelSpace(new AcDbLine(ToPoint(previous), ToPoint(first)));
      return;
    }
    if (segments.empty()) {
      acutPrintf(L"All segments already undone.\n");
      continue;
    }
    EraseEntity(segments.back());
    ToAds(starts.back(), previous);
    segments.pop_back();
    starts.pop_back();
  }
}

// The circle through three points, in their plane; false when they lie on one line.
bool Circumcircle(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c, AcGePoint3d& center,
                  AcGeVector3d& normal, double& radius) {
  const AcGeVector3d ab = b - a, ac = c - a;
  const AcGeVector3d n = ab.crossProduct(ac);
  const double n2 = n.lengthSqrd();
  if (n2 <= 1e-24 * ab.lengthSqrd() * ac.lengthSqrd() || n2 == 0) return false;
  const AcGeVector3d toCenter = (n.crossProduct(ab) * ac.lengthSqrd() + ac.crossProduct(n) * ab.lengthSqrd()) / (2 * n2);
  center = a + toCenter;
  radius = toCenter.length();
  normal = n.normal();
  return true;
}

void CircleCommand() {
  acedInitGet(0, L"3P 2P Ttr");
  ads_point p;
  const int status = acedGetPoint(nullptr, L"Specify center point for circle or [3P/2P/Ttr (tan tan radius)]: ", p);
  if (status == RTKWORD) {
    ACHAR keyword[8];
    acedGetInput(keyword, 8);
    const std::wstring option = keyword;
    if (option == L"Ttr") {
      acutPrintf(L"Tangent circles need objects to be tangent to; this host draws circles by center, 2P or 3P.\n");
      return;
    }
    if (option == L"2P") {
      ads_point a, b;
      if (acedGetPoint(nullptr, L"Specify first end point of circle's diameter: ", a) != RTNORM) return;
      if (acedGetPoint(a, L"Specify second end point of circle's diameter: ", b) != RTNORM) return;
      const AcGePoint3d pa = ToPoint(a), pb = ToPoint(b);
      const double radius = pa.distanceTo(pb) / 2;
      if (radius <= 0) {
        acutPrintf(L"Circle does not exist: the two points are the same.\n");
        return;
      }
      AppendToModelSpace(new AcDbCircle(pa + (pb - pa) * 0.5, AcGeVector3d::kZAxis, radius));
      return;
    }
    ads_point a, b, c;
    if (acedGetPoint(nullptr, L"Specify first point on circle: ", a) != RTNORM) return;
    if (acedGetPoint(a, L"Specify second point on circle: ", b) != RTNORM) return;
    if (acedGetPoint(b, L"Specify third point on circle: ", c) != RTNORM) return;
    AcGePoint3d center;
    AcGeVector3d normal;
    double radius = 0;
    if (!Circumcircle(ToPoint(a), ToPoint(b), ToPoint(c), center, normal, radius)) {
      acutPrintf(L"Circle does not exist: the three points lie on one line.\n");
      return;
    }
    AppendToModelSpace(new AcDbCircle(center, normal, radius));
    return;
  }
  if (status != RTNORM) return;
  acedInitGet(RSG_NOZERO | RSG_NONEG, L"Diameter");
  double radius = 0;
  int answer = acedGetDist(p, L"Specify radius of circle or [Diameter]: ", &radius);
  if (answer == RTKWORD) {
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    double diameter = 0;
    answer = acedGetDist(p, L"Specify diameter of circle: ", &diameter);
    radius = diameter / 2;
  }
  if (answer != RTNORM || radius <= 0) return;
  AppendToModelSpace(new AcDbCircle(ToPoint(p), AcGeVector3d::kZAxis, radius));
}

// A corner of a 3D face: "Invisible" before it makes the edge that starts there invisible.
int FacePoint(const wchar_t* prompt, bool optional, ads_point p, bool& invisible) {
  invisible = false;
  for (;;) {
    acedInitGet(optional ? 0 : RSG_NONULL, L"Invisible");
    const int status = acedGetPoint(nullptr, prompt, p);
    if (status != RTKWORD) return status;
    invisible = true;
  }
}

void FaceCommand() {
  ads_point p[4];
  bool hidden[4];
  if (FacePoint(L"Specify first point or [Invisible]: ", false, p[0], hidden[0]) != RTNORM) return;
  if (FacePoint(L"Specify second point or [Invisible]: ", false, p[1], hidden[1]) != RTNORM) return;
  for (;;) {
    if (FacePoint(L"Specify third point or [Invisible] <exit>: ", true, p[2], hidden[2]) != RTNORM) return;
    int status = FacePoint(L"Specify fourth point or [Invisible] <create three-sided face>: ", true, p[3], hidden[3]);
    if (status == RTCAN) return;
    if (status != RTNORM) {
      for (int i = 0; i < 3; ++i) p[3][i] = p[2][i];
    }
    AppendToModelSpace(new AcDbFace(ToPoint(p[0]), ToPoint(p[1]), ToPoint(p[2]), ToPoint(p[3]), !hidden[0], !hidden[1],
                                    !hidden[2], !hidden[3]));
    // The next face goes on from the third and fourth corners.
    for (int i = 0; i < 3; ++i) {
      p[0][i] = p[2][i];
      p[1][i] = p[3][i];
    }
    hidden[0] = hidden[2];
    hidden[1] = hidden[3];
  }
}

struct PfaceFace {
  std::vector<int> corners;  // signed vertex numbers as typed
  AcCmColor color;
  bool colored = false;
  AcDbObjectId layer;
};

// Face records of at most four corners: a longer polygon becomes a fan from its first corner,
// the edges inside it invisible.
void AppendFaceRecords(AcDbPolyFaceMesh& mesh, const PfaceFace& face) {
  const std::vector<int>& c = face.corners;
  const size_t n = c.size();
  auto add = [&](std::vector<int> corners, std::vector<bool> visible) {
    Adesk::Int16 v[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < corners.size(); ++i) {
      const int number = std::abs(corners[i]);
      v[i] = static_cast<Adesk::Int16>(visible[i] && corners[i] > 0 ? number : -number);
    }
    auto* record = new AcDbFaceRecord(v[0], v[1], v[2], v[3]);
    if (face.colored) record->setColor(face.color);
    if (!face.layer.isNull()) record->setLayer(face.layer);
    mesh.appendFaceRecord(record);
  };
  if (n <= 4) {
    add(c, std::vector<bool>(n, true));
    return;
  }
  for (size_t k = 1; k + 1 < n; k += 2) {
    const bool firstChunk = k == 1;
    if (k + 2 < n) {
      const bool lastChunk = k + 2 == n - 1;
      add({c[0], c[k], c[k + 1], c[k + 2]}, {firstChunk, true, true, lastChunk});
    } else {
      add({c[0], c[k], c[k + 1]}, {firstChunk, true, true});
    }
  }
}

void PfaceCommand() {
  std::vector<AcGePoint3d> vertices;
  for (;;) {
    const std::wstring prompt =
        vertices.empty() ? L"Specify location for vertex 1: "
                         : plx::FormatWide(L"Specify location for vertex %d or <define faces>: ",
                                           static_cast<int>(vertices.size() + 1));
    acedInitGet(vertices.empty() ? RSG_NONULL : 0, nullptr);
    ads_point p;
    const int status = acedGetPoint(nullptr, prompt.c_str(), p);
    if (status == RTCAN) return;
    if (status != RTNORM) break;
    vertices.push_back(ToPoint(p));
  }
  if (vertices.size() > 32767) {
    acutPrintf(L"A polyface mesh holds at most 32767 vertices.\n");
    return;
  }
  std::vector<PfaceFace> faces;
  PfaceFace current;
  AcCmColor color;
  bool colored = false;
  AcDbObjectId layer;
  for (;;) {
    const int corner = static_cast<int>(current.corners.size()) + 1;
    const int faceNumber = static_cast<int>(faces.size()) + 1;
    const std::wstring prompt =
        plx::FormatWide(L"Face %d, vertex %d:\nEnter a vertex number or [Color/Layer]%ls: ", faceNumber, corner,
                        corner == 1 ? L"" : L" <next face>");
    acedInitGet(0, L"Color Layer");
    int number = 0;
    const int status = acedGetInt(prompt.c_str(), &number);
    if (status == RTCAN) return;
    if (status == RTKWORD) {
      ACHAR keyword[16];
      acedGetInput(keyword, 16);
      if (std::wstring(keyword) == L"Color") {
        if (!AskColor(L"New color [Truecolor/COlorbook] <BYLAYER>: ", false, AcCmColor(), color)) return;
        colored = true;
      } else {
        ACHAR name[256];
        if (acedGetString(1, L"Enter layer name <0>: ", name, 256) != RTNORM) return;
        const AcDbObjectId found = FindLayer(*name ? name : L"0");
        if (found.isNull()) acutPrintf(L"Cannot find layer \"%s\".\n", name);
        else layer = found;
      }
      continue;
    }
    if (status == RTNORM) {
      if (number == 0 || std::abs(number) > static_cast<int>(vertices.size())) {
        acutPrintf(L"Vertex number must be between 1 and %d (negative for an invisible edge).\n",
                   static_cast<int>(vertices.size()));
        continue;
      }
      current.corners.push_back(number);
      continue;
    }
    // An empty answer: the face is complete, or (at its first vertex) the faces are.
    if (current.corners.empty()) break;
    if (current.corners.size() < 3) {
      acutPrintf(L"A face needs at least three vertices; face %d dropped.\n", faceNumber);
    } else {
      current.color = color;
      current.colored = colored;
      current.layer = layer;
      faces.push_back(current);
    }
    current = PfaceFace();
  }
  if (faces.empty()) {
    acutPrintf(L"No faces defined; no polyface mesh made.\n");
    return;
  }
  auto* mesh = new AcDbPolyFaceMesh;
  for (const AcGePoint3d& p : vertices) mesh->appendVertex(new AcDbPolyFaceMeshVertex(p));
  for (const PfaceFace& face : faces) AppendFaceRecords(*mesh, face);
  AppendToModelSpace(mesh);
}

int AskMeshSize(const wchar_t* prompt, int& size) {
  for (;;) {
    acedInitGet(RSG_NONULL, nullptr);
    const int status = acedGetInt(prompt, &size);
    if (status != RTNORM) return status;
    if (size >= 2 && size <= 256) return RTNORM;
    acutPrintf(L"Requires an integer between 2 and 256.\n");
  }
}

void MeshCommand() {
  int m = 0, n = 0;
  if (AskMeshSize(L"Enter size of mesh in M direction: ", m) != RTNORM) return;
  if (AskMeshSize(L"Enter size of mesh in N direction: ", n) != RTNORM) return;
  AcGePoint3dArray points(m * n);
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c) {
      const std::wstring prompt = plx::FormatWide(L"Specify location for vertex (%d, %d): ", r, c);
      acedInitGet(RSG_NONULL, nullptr);
      ads_point p;
      if (acedGetPoint(nullptr, prompt.c_str(), p) != RTNORM) return;
      points.append(ToPoint(p));
    }
  AppendToModelSpace(new AcDbPolygonMesh(AcDb::kSimpleMesh, static_cast<Adesk::Int16>(m),
                                         static_cast<Adesk::Int16>(n), points, false, false));
}

void Poly3dCommand() {
  ads_point p;
  if (acedGetPoint(nullptr, L"Specify start point of polyline: ", p) != RTNORM) return;
  AcGePoint3dArray points;
  points.append(ToPoint(p));
  bool closed = false;
  for (;;) {
    const bool canClose = points.length() >= 3;
    acedInitGet(0, canClose ? L"Close Undo" : L"Undo");
    ads_point base, next;
    ToAds(points.last(), base);
    const int status = acedGetPoint(base, canClose ? L"Specify endpoint of line or [Close/Undo]: "
                                                   : L"Specify endpoint of line or [Undo]: ",
                                    next);
    if (status == RTNORM) {
      points.append(ToPoint(next));
      continue;
    }
    if (status == RTCAN && points.length() < 2) return;
    if (status != RTKWORD) break;
    ACHAR keyword[16];
    acedGetInput(keyword, 16);
    if (std::wstring(keyword) == L"Close") {
      closed = true;
      break;
    }
    if (points.length() > 1) points.removeLast();
    else acutPrintf(L"All segments already undone.\n");
  }
  if (points.length() < 2) return;
  AppendToModelSpace(new AcDb3dPolyline(AcDb::k3dSimplePoly, points, closed));
}

}  // namespace

void RegisterDrawCommands() {
  plx::host::AddHostCommand(L"POINT", PointCommand);
  plx::host::AddHostCommand(L"LINE", LineCommand);
  plx::host::AddHostCommand(L"CIRCLE", CircleCommand);
  plx::host::AddHostCommand(L"3DFACE", FaceCommand);
  plx::host::AddHostCommand(L"PFACE", PfaceCommand);
  plx::host::AddHostCommand(L"3DMESH", MeshCommand);
  plx::host::AddHostCommand(L"3DPOLY", Poly3dCommand);
}

}  // namespace plx::editor
