#include "runtime/Errors.h"

std::string ErrorBoxText(const std::string& Text)
{
  // Any byte of a multi-byte UTF-8 character is above '.', as is the character it ends.
  if (!Text.empty() && static_cast<unsigned char>(Text.back()) > '.')
    return Text + ".";
  return Text;
}
