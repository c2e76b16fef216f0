#pragma once

#include <stdexcept>
#include <string>

// The program's runtime errors. Each carries the fixed text that the error box shows;
// what() returns it as UTF-8.
class ERuntimeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A value left its declared range (a byte outside 0..255, a bar position outside 0..32,
// a pixel coordinate outside 32 bits, an empty vertex list).
class ERangeError : public ERuntimeError {
public:
  ERangeError() : ERuntimeError("範囲チェックエラー") {}
};

class EIntOverflow : public ERuntimeError {
public:
  EIntOverflow() : ERuntimeError("整数のオーバーフロー") {}
};

class EInvalidOp : public ERuntimeError {
public:
  EInvalidOp() : ERuntimeError("不正な浮動小数点数演算命令") {}
};

class EZeroDivide : public ERuntimeError {
public:
  EZeroDivide() : ERuntimeError("0 による浮動小数点数除算") {}
};

class EOverflow : public ERuntimeError {
public:
  EOverflow() : ERuntimeError("浮動小数点数のオーバーフロー") {}
};

// The text the default error handler shows: the error's text, with "." appended when its
// last character sorts after "." (so every Japanese text gets one).
std::string ErrorBoxText(const std::string& Text);
