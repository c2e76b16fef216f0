#pragma once

#include "MyImageU/TMyImage3.h"

// The surface the main window creates.
class TMyImage : public TMyImage3 {
public:
  using TMyImage3::TMyImage3;
};
