// Internals of the UTF-8 validator, exposed so that tests can check the vector path against the
// portable one.
#pragma once

#include <string_view>

namespace quillscan::detail {

// The portable validator: the same answers as isWellFormedUtf8, one sequence at a time.
bool isWellFormedUtf8Scalar(std::string_view bytes);

}  // namespace quillscan::detail
