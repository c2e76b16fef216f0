#include "MyImageU/TMyImage3.h"

#include "runtime/Errors.h"

#include <cmath>

namespace {
constexpr double Tiny = 1e-10;

using TRow = std::array<double, 3>;

// Rows A and B := C * A - S * B and S * A + C * B: one plane rotation of the matrix.
void Rotate(TRow& A, TRow& B, double C, double S)
{
  for (std::size_t J = 0; J < 3; ++J) {
    const double NewA = C * A[J] - S * B[J];
    const double NewB = S * A[J] + C * B[J];
    A[J] = NewA;
    B[J] = NewB;
  }
}
} // namespace

TMyImage3::TMyImage3(QWidget* Owner) : TMyImage2(Owner)
{
  SetViewDirection(0, 0, 1);
  SetUpVector(0, 1, 0);
  SetViewCenter(0, 0, 0);
  SetEyePoint(std::sqrt(3.0), 1, 6);
  ViewReady = true;
}

void TMyImage3::SetViewDirection(double X, double Y, double Z)
{
  const double Squares = X * X + Y * Y + Z * Z;
  if (std::isnan(Squares) || Squares == 0)
    throw EInvalidOp();
  if (std::isinf(Squares))
    throw EOverflow();
  const double Length = std::sqrt(Squares);
  ViewDirection = {X / Length, Y / Length, Z / Length};
  UpdateViewRotation();
}

void TMyImage3::SetUpVector(double X, double Y, double Z)
{
  UpVector = {X, Y, Z};
  UpdateViewRotation();
}

void TMyImage3::SetViewCenter(double X, double Y, double Z)
{
  ViewCenter = {X, Y, Z};
  UpdateProjection();
}

void TMyImage3::SetEyePoint(double X, double Y, double Z)
{
  EyePoint = {X, Y, Z};
  UpdateProjection();
}

TTriple TMyImage3::WorldToView(double X, double Y, double Z) const
{
  const TTriple D{X - ViewCenter[0], Y - ViewCenter[1], Z - ViewCenter[2]};
  TTriple Result{};
  for (std::size_t I = 0; I < 3; ++I)
    Result[I] = ViewRotation[I][0] * D[0] + ViewRotation[I][1] * D[1] + ViewRotation[I][2] * D[2];
  return Result;
}

void TMyImage3::UpdateViewRotation()
{
  ViewRotation = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  const auto [DX, DY, DZ] = ViewDirection;

  // About x: carry the direction into the x-z plane.
  const double YZ = std::sqrt(DY * DY + DZ * DZ);
  double Z = DZ;
  if (YZ > Tiny) {
    Rotate(ViewRotation[1], ViewRotation[2], DZ / YZ, DY / YZ);
    Z = YZ;
  }
  // About y: onto +z.
  Rotate(ViewRotation[0], ViewRotation[2], Z, DX);

  // About z: the up vector into the half-plane x = 0, y > 0.
  const double UX = ViewRotation[0][0] * UpVector[0] + ViewRotation[0][1] * UpVector[1] +
                    ViewRotation[0][2] * UpVector[2];
  const double UY = ViewRotation[1][0] * UpVector[0] + ViewRotation[1][1] * UpVector[1] +
                    ViewRotation[1][2] * UpVector[2];
  const double Up = std::sqrt(UX * UX + UY * UY);
  if (Up > Tiny)
    Rotate(ViewRotation[0], ViewRotation[1], UY / Up, UX / Up);
  UpdateProjection();
}

void TMyImage3::UpdateProjection()
{
  EyeInView = WorldToView(EyePoint[0], EyePoint[1], EyePoint[2]);
  double A = 1e20;
  double B = 1e20;
  if (std::fabs(EyeInView[2]) >= Tiny) {
    A = EyeInView[0] / EyeInView[2];
    B = EyeInView[1] / EyeInView[2];
  }
  for (std::size_t J = 0; J < 3; ++J) {
    Projection[J][0] = ViewRotation[0][J] - A * ViewRotation[2][J];
    Projection[J][1] = ViewRotation[1][J] - B * ViewRotation[2][J];
  }
}
