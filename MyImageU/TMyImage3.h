#pragma once

#include "MyImageU/TMyImage2.h"

#include <array>

using TTriple = std::array<double, 3>;

// The surface with a three-dimensional viewing set-up: a rotation that looks along
// ViewDirection with UpVector up, and a parallel projection along the eye direction.
class TMyImage3 : public TMyImage2 {
public:
  explicit TMyImage3(QWidget* Owner);

  void SetViewDirection(double X, double Y, double Z);
  void SetUpVector(double X, double Y, double Z);
  void SetViewCenter(double X, double Y, double Z);
  void SetEyePoint(double X, double Y, double Z);
  [[nodiscard]] TTriple WorldToView(double X, double Y, double Z) const;

  [[nodiscard]] const std::array<std::array<double, 2>, 3>& GetProjection() const
  {
    return Projection;
  }
  [[nodiscard]] const std::array<std::array<double, 3>, 3>& GetViewRotation() const
  {
    return ViewRotation;
  }
  [[nodiscard]] const TTriple& GetViewDirection() const { return ViewDirection; }
  [[nodiscard]] const TTriple& GetUpVector() const { return UpVector; }
  [[nodiscard]] const TTriple& GetViewCenter() const { return ViewCenter; }
  [[nodiscard]] const TTriple& GetEyePoint() const { return EyePoint; }
  [[nodiscard]] const TTriple& GetEyeInView() const { return EyeInView; }
  [[nodiscard]] bool IsViewReady() const { return ViewReady; }

private:
  void UpdateViewRotation();
  void UpdateProjection();

  std::array<std::array<double, 2>, 3> Projection{};
  std::array<std::array<double, 3>, 3> ViewRotation{};
  TTriple ViewCenter{};
  TTriple EyePoint{};
  TTriple EyeInView{};
  TTriple ViewDirection{};
  TTriple UpVector{};
  bool ViewReady = false;
};
