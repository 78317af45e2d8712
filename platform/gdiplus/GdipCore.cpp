// Start-up, GDI+ memory, the live-handle registry and shared helpers.
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/gdiplus/GdiPlusInternal.h"

namespace gdiplus_internal {
namespace {

struct TRegistry {
  std::mutex Lock;
  std::unordered_map<const void*, TKind> Live;
  std::set<std::uintptr_t> Tokens;
  std::uintptr_t NextToken = 1;
  // Blocks from GdipAlloc, so GdipFree refuses foreign pointers.
  std::set<void*> Blocks;
  std::uintptr_t HookToken = 0;
};

TRegistry& Reg() {
  static auto* r = new TRegistry();  // never destroyed: handles may be freed during static teardown
  return *r;
}

GpStatus NotificationHook(std::uintptr_t* token) {
  if (!token) return InvalidParameter;
  std::lock_guard lock(Reg().Lock);
  *token = ++Reg().HookToken;
  return Ok;
}

void NotificationUnhook(std::uintptr_t) {}

}  // namespace

void Track(TObject* o) {
  std::lock_guard lock(Reg().Lock);
  Reg().Live[o] = o->Kind;
}

void Untrack(TObject* o) {
  std::lock_guard lock(Reg().Lock);
  Reg().Live.erase(o);
}

bool Alive(const void* p, TKind kind) {
  if (!p) return false;
  std::lock_guard lock(Reg().Lock);
  auto it = Reg().Live.find(p);
  return it != Reg().Live.end() && it->second == kind;
}

bool Running() {
  std::lock_guard lock(Reg().Lock);
  return !Reg().Tokens.empty();
}

bool ValidMatrixOrder(GpMatrixOrder order) { return order == MatrixOrderPrepend || order == MatrixOrderAppend; }
bool ValidWrapMode(GpWrapMode mode) { return mode >= WrapModeTile && mode <= WrapModeClamp; }
bool Finite(REAL v) { return std::isfinite(v); }

void Combine(QTransform& m, const QTransform& op, GpMatrixOrder order) {
  // Row vectors: "prepend" applies op before m.
  m = order == MatrixOrderAppend ? m * op : op * m;
}

QTransform RotationTransform(REAL degrees) {
  double a = degrees * M_PI / 180.0;
  double c = std::cos(a), s = std::sin(a);
  // Exact quarter turns keep integer coordinates integral.
  if (std::fabs(c) < 1e-12) c = 0;
  if (std::fabs(s) < 1e-12) s = 0;
  return QTransform(c, s, -s, c, 0, 0);
}

}  // namespace gdiplus_internal

using namespace gdiplus_internal;

GpStatus GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (input->SuppressBackgroundThread && !output) return InvalidParameter;
  if (output) {
    output->NotificationHook = input->SuppressBackgroundThread ? &NotificationHook : nullptr;
    output->NotificationUnhook = input->SuppressBackgroundThread ? &NotificationUnhook : nullptr;
  }
  std::lock_guard lock(Reg().Lock);
  *token = Reg().NextToken++;
  Reg().Tokens.insert(*token);
  return Ok;
}

void GdiplusShutdown(std::uintptr_t token) {
  std::lock_guard lock(Reg().Lock);
  Reg().Tokens.erase(token);
}

bool GdiplusRunning() { return Running(); }

void* GdipAlloc(std::size_t size) {
  if (!Running()) return nullptr;
  void* p = std::malloc(size ? size : 1);
  if (!p) return nullptr;
  std::lock_guard lock(Reg().Lock);
  Reg().Blocks.insert(p);
  return p;
}

void GdipFree(void* ptr) {
  if (!ptr) return;
  {
    std::lock_guard lock(Reg().Lock);
    if (!Reg().Blocks.erase(ptr)) return;  // not ours: leave it alone
  }
  std::free(ptr);
}

// ---- Matrix --------------------------------------------------------------

namespace {
GpMatrix* M(const GpMatrix* m) { return Get(m, TKind::Matrix); }

template <class P>
GpStatus TransformPts(GpMatrix* matrix, P* pts, INT count, bool vectors) {
  GpMatrix* m = M(matrix);
  if (!m || !pts || count <= 0) return InvalidParameter;
  QTransform t = m->M;
  if (vectors) t = QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
  for (INT i = 0; i < count; ++i) {
    QPointF q = t.map(QPointF(pts[i].X, pts[i].Y));
    if constexpr (std::is_same_v<P, GpPoint>) {
      pts[i].X = INT(std::lround(q.x()));
      pts[i].Y = INT(std::lround(q.y()));
    } else {
      pts[i].X = REAL(q.x());
      pts[i].Y = REAL(q.y());
    }
  }
  return Ok;
}
}  // namespace

GpStatus GdipCreateMatrix(GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  return Hand(std::make_unique<GpMatrix>(), matrix);
}

GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto m = std::make_unique<GpMatrix>();
  m->M = QTransform(m11, m12, m21, m22, dx, dy);
  return Hand(std::move(m), matrix);
}

GpStatus GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix) {
  if (!rect || !dstplg || !matrix || rect->Width == 0 || rect->Height == 0) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  // Unit square -> parallelogram, preceded by rect -> unit square.
  const GpPointF& p0 = dstplg[0];
  const GpPointF& p1 = dstplg[1];
  const GpPointF& p2 = dstplg[2];
  QTransform toUnit = QTransform::fromTranslate(-rect->X, -rect->Y) * QTransform::fromScale(1.0 / rect->Width, 1.0 / rect->Height);
  QTransform plg(p1.X - p0.X, p1.Y - p0.Y, p2.X - p0.X, p2.Y - p0.Y, p0.X, p0.Y);
  auto m = std::make_unique<GpMatrix>();
  m->M = toUnit * plg;
  return Hand(std::move(m), matrix);
}

GpStatus GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix) {
  if (!rect || !dstplg) return InvalidParameter;
  GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  GpPointF p[3];
  for (int i = 0; i < 3; ++i) p[i] = {REAL(dstplg[i].X), REAL(dstplg[i].Y)};
  return GdipCreateMatrix3(&r, p, matrix);
}

GpStatus GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone) {
  GpMatrix* m = M(matrix);
  if (!m || !clone) return InvalidParameter;
  auto c = std::make_unique<GpMatrix>();
  c->M = m->M;
  return Hand(std::move(c), clone);
}

GpStatus GdipDeleteMatrix(GpMatrix* matrix) { return Delete(matrix, TKind::Matrix); }

GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  GpMatrix* m = M(matrix);
  if (!m) return InvalidParameter;
  m->M = QTransform(m11, m12, m21, m22, dx, dy);
  return Ok;
}

GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* out) {
  GpMatrix* m = M(matrix);
  if (!m || !out) return InvalidParameter;
  out[0] = REAL(m->M.m11());
  out[1] = REAL(m->M.m12());
  out[2] = REAL(m->M.m21());
  out[3] = REAL(m->M.m22());
  out[4] = REAL(m->M.dx());
  out[5] = REAL(m->M.dy());
  return Ok;
}

GpStatus GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, GpMatrixOrder order) {
  GpMatrix *m = M(matrix), *m2 = M(matrix2);
  if (!m || !m2 || !ValidMatrixOrder(order)) return InvalidParameter;
  Combine(m->M, m2->M, order);
  return Ok;
}

GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, GpMatrixOrder order) {
  GpMatrix* m = M(matrix);
  if (!m || !ValidMatrixOrder(order)) return InvalidParameter;
  Combine(m->M, QTransform::fromTranslate(offsetX, offsetY), order);
  return Ok;
}

GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, GpMatrixOrder order) {
  GpMatrix* m = M(matrix);
  if (!m || !ValidMatrixOrder(order)) return InvalidParameter;
  Combine(m->M, QTransform::fromScale(scaleX, scaleY), order);
  return Ok;
}

GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, GpMatrixOrder order) {
  GpMatrix* m = M(matrix);
  if (!m || !ValidMatrixOrder(order)) return InvalidParameter;
  Combine(m->M, RotationTransform(angle), order);
  return Ok;
}

GpStatus GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, GpMatrixOrder order) {
  GpMatrix* m = M(matrix);
  if (!m || !ValidMatrixOrder(order)) return InvalidParameter;
  Combine(m->M, QTransform(1, shearY, shearX, 1, 0, 0), order);
  return Ok;
}

GpStatus GdipInvertMatrix(GpMatrix* matrix) {
  GpMatrix* m = M(matrix);
  if (!m) return InvalidParameter;
  bool ok = false;
  QTransform inv = m->M.inverted(&ok);
  if (!ok || std::fabs(m->M.determinant()) < 1e-12) return InvalidParameter;
  m->M = inv;
  return Ok;
}

GpStatus GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count) {
  return TransformPts(matrix, pts, count, false);
}
GpStatus GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count) {
  return TransformPts(matrix, pts, count, false);
}
GpStatus GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count) {
  return TransformPts(matrix, pts, count, true);
}
GpStatus GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count) {
  return TransformPts(matrix, pts, count, true);
}

GpStatus GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result) {
  GpMatrix* m = M(matrix);
  if (!m || !result) return InvalidParameter;
  *result = std::fabs(m->M.determinant()) >= 1e-12 ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result) {
  GpMatrix* m = M(matrix);
  if (!m || !result) return InvalidParameter;
  *result = m->M.isIdentity() ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsMatrixEqual(const GpMatrix* matrix, const GpMatrix* matrix2, BOOL* result) {
  GpMatrix *m = M(matrix), *m2 = M(matrix2);
  if (!m || !m2 || !result) return InvalidParameter;
  *result = m->M == m2->M ? TRUE : FALSE;
  return Ok;
}
