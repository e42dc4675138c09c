// The host's DXF reader, for `_dxfin`: a group-code reader for ASCII and binary DXF and a
// parser into a plain in-memory drawing (header, tables, blocks, entities). Nothing here knows
// the drawing database; the command turns a Drawing into database objects.
//
// Strings in the model are UTF-8 (decoded from $DWGCODEPAGE before R2007, UTF-8 from R2007,
// \U+XXXX and \M+NXXXX escapes resolved). Angles are in degrees as the file holds them, except
// the ellipse and spline parameters, which are radians/parameters as in the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace plx::dxf {

// ---------------------------------------------------------------------------------------------
// Group codes

// What a group code's value is, by the code ranges of the format.
enum class ValueKind { kString, kDouble, kInt16, kInt32, kInt64, kBool, kBinary };
ValueKind KindOfCode(int code);

// One group: a code and its value. Views point into the data given to the reader (or into the
// reader's own buffer) and stay valid until the next call of GroupReader::Next.
struct Group {
  int code = 0;
  ValueKind kind = ValueKind::kString;
  // String value as bytes of the file's code page (trailing CR removed); for ASCII binary
  // chunks the hex text; for binary-file chunks the raw bytes.
  std::string_view text;
  double real = 0;      // kDouble
  int64_t integer = 0;  // kInt16, kInt32, kInt64, kBool
  // 1-based line of the group code (ASCII) or byte offset of the group code (binary).
  size_t position = 0;
};

// Reads groups one after the other from a DXF file held in memory. An ASCII file is split on
// LF only, CR is stripped, codes may carry leading and trailing blanks and numbers are trimmed.
// A binary file starts with "AutoCAD Binary DXF\r\n\x1a\0"; R12 files have one-byte codes
// (255 escapes a two-byte code), later ones two-byte codes.
class GroupReader {
 public:
  // data must outlive the reader.
  explicit GroupReader(std::string_view data);

  bool IsBinary() const { return binary_; }
  // Reads the next group into group. Returns false at the end of the data (Error() empty) or
  // when the data is damaged (Error() names the line or byte offset); after false, it stays false.
  bool Next(Group& group);
  // Makes the next call of Next return the group it returned last (one group deep).
  void Unread();
  // "line N" or "byte N": where the last group read (or the failure) is.
  std::string Where() const;
  const std::string& Error() const { return error_; }
  bool Failed() const { return !error_.empty(); }

 private:
  bool NextAscii(Group& group);
  bool NextAsciiChecked(Group& group);
  bool NextBinary(Group& group);
  bool Fail(size_t position, const std::string& what);
  bool ReadLine(std::string_view& line);

  std::string_view data_;
  size_t offset_ = 0;
  size_t line_ = 0;  // lines consumed so far
  bool binary_ = false;
  bool shortCodes_ = false;  // R12 binary: one-byte codes
  bool unread_ = false;
  bool done_ = false;
  Group last_;
  std::string error_;
};

// Decodes a group's hex text (ASCII) or raw bytes (binary file) and appends them to out.
// False for hex text of odd length or with a character that is not a hex digit.
bool AppendBinaryChunk(const Group& group, bool binaryFile, std::vector<uint8_t>& out);

// Turns string values of the file's code page into UTF-8.
class TextDecoder {
 public:
  TextDecoder();
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Sets the code page from a $DWGCODEPAGE value ("ANSI_1252", "dos932", ...). Unknown names
  // leave the code page as it was and return false.
  bool SetCodePage(std::string_view name);
  // From R2007 strings are UTF-8 whatever $DWGCODEPAGE says.
  void SetUtf8(bool utf8) { utf8_ = utf8; }
  bool IsUtf8() const { return utf8_; }
  const std::string& CodePage() const { return codePage_; }

  // The UTF-8 text of raw, with \U+XXXX and \M+NXXXX escapes resolved. Bytes that the code page
  // does not map (or invalid UTF-8) are read as Windows-1252, so nothing is dropped.
  std::string Decode(std::string_view raw) const;

 private:
  std::string codePage_ = "ANSI_1252";
  std::string iconvName_ = "CP1252";
  bool utf8_ = false;
  void* iconv_ = nullptr;  // iconv_t to UTF-8 from the code page
};

// ACIS text of 3DSOLID, BODY and REGION from R13 to R2010: "^ " stands for "^", and every other
// character c but the space is stored as 159 - c.
std::string DecipherSat(std::string_view enciphered);
std::string EncipherSat(std::string_view plain);

// ---------------------------------------------------------------------------------------------
// The drawing model

struct Vec3 {
  double x = 0, y = 0, z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

constexpr int kColourByBlock = 0;
constexpr int kColourByLayer = 256;
constexpr int32_t kNoTrueColour = -1;  // otherwise 0x00RRGGBB from group 420

enum class EntityKind {
  kOther,  // not held by the model; counted in Drawing::skipped
  kPoint,
  kLine,  // LINE, and the 3DLINE of R10
  kRay,
  kXline,
  kCircle,
  kArc,
  kEllipse,
  kLwPolyline,
  kPolyline,  // POLYLINE with its VERTEX records (2D, 3D, polyface and polygon meshes)
  kSpline,
  kMline,
  kHatch,
  kSolid,  // 2D SOLID
  kTrace,
  kFace,  // 3DFACE
  kText,
  kMText,
  kInsert,
  k3dSolid,
  kBody,
  kRegion,
  kMesh,  // subdivision MESH
};

struct PointData {
  Vec3 position;
  double xAxisAngle = 0;  // 50
};

struct LineData {
  Vec3 start, end;
};

struct RayData {  // RAY and XLINE
  Vec3 base;
  Vec3 direction;  // unit vector as written
};

struct CircleData {  // CIRCLE and ARC; the arc runs counter-clockwise about the extrusion
  Vec3 center;       // in object coordinates
  double radius = 0;
  double startAngle = 0, endAngle = 360;  // degrees
};

struct EllipseData {
  Vec3 center;       // world coordinates
  Vec3 majorAxis;    // from the centre, world coordinates
  double ratio = 1;  // minor / major
  double startParam = 0, endParam = 6.283185307179586;
};

struct LwVertex {
  double x = 0, y = 0;
  double startWidth = 0, endWidth = 0;
  double bulge = 0;
};

struct LwPolylineData {
  int flags = 0;  // 1 closed, 128 linetype generation
  double constantWidth = 0;
  double elevation = 0;
  std::vector<LwVertex> vertices;
};

enum class PolylineKind { k2d, k3d, kPolyface, kPolygonMesh };

struct PolylineVertex {
  Vec3 point;  // object coordinates for 2D polylines, world otherwise
  double startWidth = 0, endWidth = 0, bulge = 0;
  int flags = 0;  // 70 of the VERTEX
};

// A polyface face record: one to four 1-based vertex indices; negative = the edge that starts
// at this vertex is invisible; 0 = absent.
struct PolyfaceFace {
  std::array<int, 4> indices{};
  int colour = kColourByLayer;
  int32_t trueColour = kNoTrueColour;
  std::string layer;  // empty: the polyline's layer
};

struct PolylineData {
  PolylineKind kind = PolylineKind::k2d;
  int flags = 0;                 // 70: 1 closed (M), 8 3D, 16 mesh, 32 closed in N, 64 polyface
  int meshM = 0, meshN = 0;      // 71/72 (for a polyface: vertex and face counts as written)
  int smoothM = 0, smoothN = 0;  // 73/74
  int curveType = 0;             // 75
  double elevation = 0;          // 30 of the POLYLINE
  double startWidth = 0, endWidth = 0;
  // For a polyface: the mesh vertices only. For a smoothed polygon mesh (70 & 4): the M x N
  // control vertices (vertex flag 16) and the smoothM x smoothN surface vertices, as written.
  std::vector<PolylineVertex> vertices;
  std::vector<PolyfaceFace> faces;  // polyface only
};

struct SplineData {
  int flags = 0;  // 1 closed, 2 periodic, 4 rational, 8 planar
  int degree = 3;
  std::vector<double> knots;
  std::vector<double> weights;  // empty when all are 1
  std::vector<Vec3> controlPoints;
  std::vector<Vec3> fitPoints;
  std::optional<Vec3> startTangent, endTangent;
  double knotTolerance = 1e-10, controlTolerance = 1e-10, fitTolerance = 1e-10;
};

struct MlineVertex {
  Vec3 point, direction, miter;
  std::vector<std::vector<double>> elementParams;   // per style element (74 + 41)
  std::vector<std::vector<double>> areaFillParams;  // per style element (75 + 42)
};

struct MlineData {
  std::string styleName;
  uint64_t styleHandle = 0;
  double scale = 1;
  int justification = 0;  // 0 top, 1 zero, 2 bottom
  int flags = 0;          // 2 closed, 4 suppress start caps, 8 suppress end caps
  int styleElements = 0;
  Vec3 start;
  std::vector<MlineVertex> vertices;
};

struct HatchEdge {
  enum Type { kLine = 1, kArc = 2, kEllipse = 3, kSpline = 4 };
  int type = kLine;
  double x0 = 0, y0 = 0, x1 = 0,
         y1 = 0;      // line ends; arc/ellipse centre in x0,y0, major axis end in x1,y1
  double radius = 0;  // arc radius; ellipse minor/major ratio
  double startAngle = 0, endAngle = 0;  // degrees
  bool counterClockwise = true;
  // Spline edges.
  int degree = 0;
  bool rational = false, periodic = false;
  std::vector<double> knots, weights;
  std::vector<std::array<double, 2>> controlPoints, fitPoints;
};

struct HatchLoop {
  int flags = 0;  // 92: 1 external, 2 polyline, 4 derived, 16 outermost
  bool closed = true;
  std::vector<LwVertex> polyline;  // when flags & 2
  std::vector<HatchEdge> edges;    // otherwise
};

struct HatchPatternLine {
  double angle = 0;  // degrees
  double baseX = 0, baseY = 0, offsetX = 0, offsetY = 0;
  std::vector<double> dashes;
};

struct HatchData {
  std::string pattern;
  bool solid = false;
  bool associative = false;
  double elevation = 0;  // 30 of the elevation point
  int style = 0, patternType = 1;
  double patternAngle = 0, patternScale = 1;
  bool patternDouble = false;
  std::vector<HatchLoop> loops;
  std::vector<HatchPatternLine> patternLines;
  std::vector<std::array<double, 2>> seeds;
};

struct CornerData {             // SOLID, TRACE, 3DFACE
  std::array<Vec3, 4> corners;  // a triangle repeats its third corner
  int invisibleEdges = 0;       // 3DFACE 70: bit i hides the edge from corner i
};

struct TextData {
  std::string text;
  Vec3 position, alignment;
  bool hasAlignment = false;
  double height = 0, rotation = 0, widthFactor = 1, oblique = 0;
  std::string style;
  int generation = 0, hAlign = 0, vAlign = 0;
};

struct MTextData {
  std::string text;  // 3 groups then the 1 group, formatting codes kept
  Vec3 position;
  Vec3 direction{1, 0, 0};
  bool hasDirection = false;
  double height = 0, width = 0, rotation = 0;  // rotation in degrees when no direction is given
  int attachment = 1;
  std::string style;
};

struct InsertData {
  std::string block;
  Vec3 position;
  Vec3 scale{1, 1, 1};
  double rotation = 0;  // degrees
  int columns = 1, rows = 1;
  double columnSpacing = 0, rowSpacing = 0;
  bool hasAttributes = false;  // ATTRIB records followed (they are counted as skipped)
};

struct ModelerData {  // 3DSOLID, BODY, REGION
  int version = 1;
  std::string sat;           // deciphered ACIS text, lines ended by LF (R13 to R2010)
  std::vector<uint8_t> sab;  // binary ACIS from ACDSDATA (R2013 and later)
  // Why the binary data found for the entity cannot be taken (its byte count does not match
  // the bytes); empty when it can, or when there is none.
  std::string sabDamage;
};

struct MeshData {
  int version = 2, blendCrease = 0, subdivisionLevel = 0;
  std::vector<Vec3> vertices;
  std::vector<std::vector<int>> faces;  // 0-based vertex indices
  std::vector<std::array<int, 2>> edges;
  std::vector<double> creases;
};

using EntityData =
    std::variant<std::monostate, PointData, LineData, RayData, CircleData, EllipseData,
                 LwPolylineData, PolylineData, SplineData, MlineData, HatchData, CornerData,
                 TextData, MTextData, InsertData, ModelerData, MeshData>;

struct Entity {
  std::string type;  // as in the file: "3DFACE", "LWPOLYLINE", ...
  EntityKind kind = EntityKind::kOther;
  uint64_t handle = 0;  // 5 (0: none)
  std::string layer = "0";
  std::string linetype;         // 6; empty = BYLAYER
  int colour = kColourByLayer;  // 62; 0 = BYBLOCK, 256 = BYLAYER
  int32_t trueColour = kNoTrueColour;
  Vec3 extrusion{0, 0, 1};
  double thickness = 0;
  bool paperSpace = false;  // 67
  size_t position = 0;      // line (or byte offset) of its 0 group
  EntityData data;
};

struct Layer {
  std::string name;
  int colour = 7;    // always positive; off is held apart
  bool off = false;  // negative colour in the file
  int32_t trueColour = kNoTrueColour;
  std::string linetype = "CONTINUOUS";
  int flags = 0;  // 1 frozen, 4 locked
  uint64_t handle = 0;
};

struct Linetype {
  std::string name;
  std::string description;
  double patternLength = 0;
  std::vector<double> dashes;  // 49: positive dash, negative gap, 0 dot
};

struct BlockRecord {
  std::string name;
  uint64_t handle = 0;
};

struct Block {
  std::string name;
  Vec3 base;
  int flags = 0;  // 1 anonymous, 2 has attributes, 4 xref
  std::string layer = "0";
  uint64_t handle = 0;
  std::vector<Entity> entities;
};

struct MlineStyleElement {
  double offset = 0;
  int colour = kColourByLayer;
  std::string linetype;
};

struct MlineStyle {
  std::string name;
  uint64_t handle = 0;
  int flags = 0;  // 16 start square cap, 32 start inner arcs, 64 start round, 256/512/1024 end
  double startAngle = 90, endAngle = 90;
  std::vector<MlineStyleElement> elements;
};

struct Drawing {
  std::string version;   // $ACADVER ("AC1015"); empty when the file has none
  std::string codePage;  // $DWGCODEPAGE as written
  int insUnits = 0;      // $INSUNITS
  bool binary = false;
  std::vector<Layer> layers;
  std::vector<Linetype> linetypes;
  std::vector<BlockRecord> blockRecords;
  std::vector<Block> blocks;
  std::vector<MlineStyle> mlineStyles;
  std::vector<Entity> entities;  // the ENTITIES section, in file order
  // Entities the model does not hold, by type, from the blocks and the entities (VERTEX and
  // SEQEND of polylines are not entities of their own).
  std::map<std::string, int> skipped;

  const Layer* FindLayer(std::string_view name) const;
  const Block* FindBlock(std::string_view name) const;
};

// The error of a reading that ran out of memory (the sink's own failures included).
inline constexpr std::string_view kReadOutOfMemory = "not enough memory to read the drawing";

// Reads a whole DXF file held in memory. A damaged or truncated file (a group that does not
// parse, a section or polyline left open, no EOF) gives nullopt and sets error to a message
// that names the line ("line 1234: ...") or, for a binary file, the byte offset.
std::optional<Drawing> ReadDxf(std::string_view data, std::string& error);
// The same for a file on disk; a file that cannot be read gives its reason.
std::optional<Drawing> ReadDxfFile(const std::filesystem::path& path, std::string& error);

// Takes the entities of the ENTITIES section in batches while the file is read, so that a large
// drawing is never held whole. The drawing passed has everything read so far (header, tables,
// blocks). A batch kept stays in Drawing::entities, with every later one: the sink is not asked
// again, so the entities keep their order.
enum class SinkAnswer { kTaken, kKept, kFailed };
class EntitySink {
 public:
  virtual ~EntitySink() = default;
  // kFailed sets error; reading stops with it.
  virtual SinkAnswer Take(const Drawing& drawing, std::vector<Entity>& batch,
                          std::string& error) = 0;
};
// Reads the file into drawing, handing entities to sink as it goes. A damaged file fails with
// the message ReadDxf gives, even where the sink has stopped the reading earlier; the sink may
// have taken batches of it by then. A sink that fails (kFailed) stops the reading. On any
// failure, what the sink took is its own to undo.
//
// The file is read once, except from R2013 ($ACADVER AC1027 on), whose solids keep their ACIS
// data in ACDSDATA after them: such a file is checked whole first (holding a batch at most), so
// that the sink sees nothing of a damaged one and gets each solid with its data. In a file read
// once, the first solid that such data could still reach stops the handing over (as kKept).
bool ReadDxfFile(const std::filesystem::path& path, Drawing& drawing, std::string& error,
                 EntitySink& sink);

}  // namespace plx::dxf
