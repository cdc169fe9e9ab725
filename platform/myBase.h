#pragma once
// Basic types shared by every layer: text, bytes, the root object, rectangles
// and the error types the program raises. Plain C++, no Qt.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace magna {

/// Text inside the program: UTF-16 code units.
using WideString = std::u16string;
using WideView = std::u16string_view;
/// Bytes at file and clipboard edges, and results of explicit conversions.
using AnsiString = std::string;

/// The root object class: list items and event senders carry TObject*.
class TObject {
 public:
  virtual ~TObject() = default;
};

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// A rectangle as the platform gives it: right and bottom edges are outside.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

/// An integer outside its permitted range (the platform's range error).
class ERangeError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

/// An integer operation whose result does not fit its type.
class EIntOverflow : public std::overflow_error {
 public:
  using std::overflow_error::overflow_error;
};

/// The silent abort signal: the top level swallows it without a message.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

/// An index a list rejects.
class EListError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

}  // namespace magna
