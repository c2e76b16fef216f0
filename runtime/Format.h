#pragma once

#include <string>

// "%2d": right-aligned in two characters (" 0", " 5", "12", "123").
inline std::string Format2d(int Value)
{
  std::string Text = std::to_string(Value);
  if (Text.size() < 2)
    Text.insert(0, 2 - Text.size(), ' ');
  return Text;
}
