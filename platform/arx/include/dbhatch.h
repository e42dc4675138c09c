// The host's hatch: boundary loops in the object coordinate system of its normal at its
// elevation, filled solid or with a pattern of line families.
//
// A loop is either a polyline (2D vertices with bulges) or a list of edges: line segments
// (AcGeLineSeg2d) and circular arcs (AcGeCircArc2d); other edge kinds are refused. Loops nest
// by the even-odd rule: a point is inside when a ray from it crosses the boundaries an odd
// number of times, which is the host's normal style for islands.
//
// Pattern families: an angle, a base point, an offset from one line of the family to the next
// (both in object coordinates, rotated and scaled as the hatch draws them) and dashes (a
// positive length draws, a negative one skips; empty = a continuous line). Predefined patterns
// known here: "SOLID", "ANSI31" (45 degrees, 0.125 apart), "ANSI37" (45 and 135 degrees),
// "LINE" (0 degrees) and "NET" (0 and 90 degrees), scaled by the pattern scale and turned by
// the pattern angle; a user-defined pattern is lines at the pattern angle, pattern space apart,
// crossed at 90 degrees when doubled. Other names carry no lines until families are given with
// AppendPatternDefinition.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbmain.h"
#include "gearc2d.h"
#include "gedblar.h"
#include "geintarr.h"
#include "gelnsg2d.h"
#include "gept2dar.h"
#include "gevptar.h"

class AcDbHatch : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbHatch);
  enum HatchObjectType { kHatchObject = 0, kGradientObject = 1 };
  enum HatchLoopType {
    kDefault = 0,
    kExternal = 1,
    kPolyline = 2,
    kDerived = 4,
    kTextbox = 8,
    kOutermost = 0x10,
    kNotClosed = 0x20,
    kSelfIntersecting = 0x40,
    kTextIsland = 0x80,
    kDuplicate = 0x100
  };
  enum HatchEdgeType { kLine = 1, kCirArc = 2, kEllArc = 3, kSpline = 4 };
  enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
  enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };

  AcDbHatch();
  AcDbHatch(const AcDbHatch& other);
  ~AcDbHatch() override;
  AcRxObject* clone() const override { return new AcDbHatch(*this); }

  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double elevation);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  bool associative() const { return associative_; }
  Acad::ErrorStatus setAssociative(bool associative);
  HatchStyle hatchStyle() const { return style_; }
  Acad::ErrorStatus setHatchStyle(HatchStyle style);

  // Loops. eInvalidInput for fewer than two vertices, a bulge count other than zero or the
  // vertex count, non-finite values, an edge list that is empty or whose types do not match
  // its pointers, or an edge kind other than kLine and kCirArc. The hatch keeps copies.
  int numLoops() const;
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                               const AcGeDoubleArray& bulges);
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGeVoidPointerArray& edgePtrs,
                               const AcGeIntArray& edgeTypes);
  Acad::ErrorStatus insertLoopAt(int loopIndex, Adesk::Int32 loopType,
                                 const AcGePoint2dArray& vertices, const AcGeDoubleArray& bulges);
  Acad::ErrorStatus removeLoopAt(int loopIndex);  // eInvalidIndex
  Adesk::Int32 loopTypeAt(int loopIndex) const;   // 0 for a bad index
  // The polyline form: eInvalidInput for a loop of edges. The edge form hands out pointers to
  // the hatch's own edges (do not delete them; they live until the loop changes); a polyline
  // loop comes back as its segments.
  Acad::ErrorStatus getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                              AcGeDoubleArray& bulges) const;
  Acad::ErrorStatus getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGeVoidPointerArray& edgePtrs,
                              AcGeIntArray& edgeTypes) const;

  // Pattern.
  HatchObjectType hatchObjectType() const { return kHatchObject; }
  HatchPatternType patternType() const { return patternType_; }
  const ACHAR* patternName() const { return patternName_.c_str(); }
  // eInvalidInput for a null or empty name (a predefined or custom pattern) or a bad type.
  Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
  bool isSolidFill() const;
  double patternAngle() const { return patternAngle_; }
  Acad::ErrorStatus setPatternAngle(double angle);
  double patternScale() const { return patternScale_; }
  Acad::ErrorStatus setPatternScale(double scale);  // eInvalidInput unless positive
  double patternSpace() const { return patternSpace_; }
  Acad::ErrorStatus setPatternSpace(double space);  // eInvalidInput unless positive
  bool patternDouble() const { return patternDouble_; }
  Acad::ErrorStatus setPatternDouble(bool isDouble);
  int numPatternDefinitions() const;
  Acad::ErrorStatus getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY,
                                           double& offsetX, double& offsetY,
                                           AcGeDoubleArray& dashes) const;
  // Our own: a family as a file gives it (already rotated and scaled); the hatch then draws its
  // given families instead of those of its pattern name. eInvalidInput for a zero offset
  // across the lines or non-finite values.
  Acad::ErrorStatus AppendPatternDefinition(double angle, double baseX, double baseY,
                                            double offsetX, double offsetY,
                                            const AcGeDoubleArray& dashes);

  // Computes the pattern's line segments inside the boundary (object coordinates).
  // eHatchTooDense when they would be more than a million.
  Acad::ErrorStatus evaluateHatch(bool underEstimateNumLines = false);
  int numHatchLines() const { return static_cast<int>(lines_.size()); }
  Acad::ErrorStatus getHatchLineDataAt(int index, AcGePoint2d& startPoint,
                                       AcGePoint2d& endPoint) const;
  // The enclosed area by the even-odd rule (loops of opposite sense subtract).
  Acad::ErrorStatus getArea(double& area) const;

  // The box of the boundary; eInvalidExtents without loops.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Moves, turns, mirrors and scales uniformly (the pattern with it); eCannotScaleNonUniformly
  // otherwise.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  // The boundary as lines and arcs (world coordinates, loop by loop), then the pattern's lines
  // (none for a solid fill). eHatchTooDense as evaluateHatch.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  struct Edge;
  struct Loop;
  struct Family {
    double angle = 0, baseX = 0, baseY = 0, offsetX = 0, offsetY = 0;
    std::vector<double> dashes;
  };

 protected:
  void ListGeometry() const override;

 private:
  std::vector<Family> Families() const;
  Acad::ErrorStatus ComputeLines(std::vector<std::pair<AcGePoint2d, AcGePoint2d>>& lines) const;
  void ClearLoops();

  std::vector<Loop*> loops_;
  std::vector<Family> given_;
  std::vector<std::pair<AcGePoint2d, AcGePoint2d>> lines_;
  AcGePoint2d origin_;  // where the pattern's families start; moves with the hatch
  std::wstring patternName_ = L"ANSI31";
  HatchPatternType patternType_ = kPreDefined;
  HatchStyle style_ = kNormal;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double elevation_ = 0;
  double patternAngle_ = 0, patternScale_ = 1, patternSpace_ = 1;
  bool patternDouble_ = false, associative_ = false;
};
